// The result grids and windows on their own: headings, the parameter table,
// the RMSE, the correlation matrix, the selection and its copy, the cell
// colours and the arrangement of the windows.
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMenu>
#include <memory>

#include <gtest/gtest.h>

#include "CorrelationGrid.h"
#include "NumberText.h"
#include "ResondixData.h"
#include "Results.h"
#include "Statistics.h"
#include "StatisticsGrid.h"

namespace {

// Qt's widgets need one application object.
struct TQtEnvironment : ::testing::Environment {
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "result_view_tests", *argv[] = {name, nullptr};
    Application = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { Application.reset(); }
  std::unique_ptr<QApplication> Application;
};
::testing::Environment* const QtEnvironment = ::testing::AddGlobalTestEnvironment(new TQtEnvironment);

// Every cell, rows joined by "|" and cells by ";", to compare a grid whole.
std::string Cells(const TResultGrid& grid) {
  std::string text;
  for (int row = 0; row < grid.rowCount(); ++row) {
    if (row > 0) text += '|';
    for (int column = 0; column < grid.columnCount(); ++column)
      text += (column > 0 ? ";" : "") + grid.Cell(column, row).toStdString();
  }
  return text;
}

// A three-layer model as a fit leaves it: resistivity 1 and the depth of
// layer 2 were unknowns, the rest fixed.
TResondixData ThreeLayerResult() {
  TResondixData d;
  const double rho[] = {0, 152.5, 28.125, 480}, depth[] = {0, 3.2, 19.75, HalfSpaceDepth};
  for (int i = 1; i <= 3; ++i) d.LayerRho[i] = rho[i], d.LayerDepth[i] = depth[i];
  d.RhoUnknown[1] = d.DepthUnknown[2] = true;
  d.RhoPercentText[1] = " 12%", d.RhoIntervalText[1] = "135 - 172";
  d.DepthPercentText[2] = "  7%", d.DepthIntervalText[2] = "18 - 21";
  // Texts of values that were not unknowns must not show.
  d.RhoPercentText[2] = d.DepthPercentText[1] = "old";
  return d;
}

TEST(StatisticsGrid, HeadingsFollowTheTwoSwitches) {
  const struct {
    const char* Name;
    bool AbsStats, Rmse;
    const char* Headings;
    int Columns;
  } rows[] = {{"percentages", false, false, "Rho;%;Depth;%", 4},
              {"intervals", true, false, "Rho;Interval;Depth;Interval", 4},
              {"RMSE", false, true, "RMSE;log unit", 2},
              {"RMSE with intervals", true, true, "RMSE;log unit", 2}};
  for (const auto& row : rows) {
    TStatisticsGrid grid;
    EXPECT_FALSE(grid.AbsStats() || grid.RMSE()) << "the switches start off";
    grid.SetAbsStats(row.AbsStats);
    grid.SetRMSE(row.Rmse);
    EXPECT_EQ(grid.columnCount(), row.Columns) << row.Name;
    EXPECT_EQ(Cells(grid).substr(0, Cells(grid).find('|')), row.Headings) << row.Name;
    if (row.Rmse) {
      EXPECT_EQ(Cells(grid), "RMSE;log unit|RMSE;") << row.Name;
    }
    // Back to the parameter form: four columns with all their headings.
    grid.SetRMSE(false);
    EXPECT_EQ(grid.columnCount(), 4) << row.Name;
    EXPECT_EQ(grid.Cell(0, 0) + grid.Cell(2, 0), "RhoDepth") << row.Name;
  }
}

TEST(StatisticsGrid, ParameterTableShowsTheTextsOfUnknownsAndFixedForTheRest) {
  const TResondixData d = ThreeLayerResult();
  const struct {
    const char* Name;
    bool AbsStats;
    const char* Separator;
    const char* Table;
  } rows[] = {
      {"percentages", false, ".",
       "Rho;%;Depth;%|152.50; 12%;3.20;fixed|28.12;fixed;19.75;  7%|480.00;fixed;;"},
      {"intervals", true, ".",
       "Rho;Interval;Depth;Interval|152.50;135 - 172;3.20;fixed|28.12;fixed;19.75;18 - 21|480.00;fixed;;"},
      {"decimal comma", false, ",",
       "Rho;%;Depth;%|152,50; 12%;3,20;fixed|28,12;fixed;19,75;  7%|480,00;fixed;;"},
  };
  for (const auto& row : rows) {
    SetDecimalSeparator(row.Separator);
    TStatisticsGrid grid;
    grid.SetAbsStats(row.AbsStats);
    grid.Data = &d;
    grid.UpdateFromData();
    EXPECT_EQ(Cells(grid), row.Table) << row.Name;
  }
  SetDecimalSeparator(".");

  // Without a document the grid keeps what it shows; a new document shows
  // its placeholders.
  TStatisticsGrid grid;
  grid.Data = &d;
  grid.UpdateFromData();
  const std::string before = Cells(grid);
  grid.Data = nullptr;
  grid.UpdateFromData();
  EXPECT_EQ(Cells(grid), before);
  TResondixData fresh;
  fresh.RhoUnknown[1] = true;
  grid.Data = &fresh;
  grid.UpdateFromData();
  EXPECT_EQ(Cells(grid), "Rho;%;Depth;%|0.00;  * ;0.00;fixed|0.00;fixed;0.00;fixed|0.00;fixed;;");
}

TEST(StatisticsGrid, RmseGridIsHiddenUntilAFitResultExists) {
  TResondixData d;
  TStatisticsGrid grid;
  grid.SetRMSE(true);
  grid.Data = &d;
  grid.UpdateFromData();
  EXPECT_TRUE(grid.isHidden());
  d.HasFitResult = true;
  d.Rmse = 0.0345;
  SetDecimalSeparator(",");
  grid.UpdateFromData();
  SetDecimalSeparator(".");
  EXPECT_FALSE(grid.isHidden());
  EXPECT_EQ(Cells(grid), "RMSE;log unit|RMSE;3,4500E-02");
  d.ClearFitResult();  // New, Open and Import
  grid.UpdateFromData();
  EXPECT_TRUE(grid.isHidden());
}

// Unknowns Rho 1, Rho 2, Depth 1 and Depth 2 with a covariance whose
// correlations are known: r21 = 6 / √(4·25) = 0.6, r31 = -1 / √(4·1) = -0.5,
// r32 = 0.5 / √(25·1) = 0.1; Depth 2 has no variance.
TResondixData KnownCovariance() {
  TResondixData d;
  d.HasFitResult = true;
  d.UnknownCount = 4;
  const char* names[] = {"Rho 1", "Rho 2", "Depth 1", "Depth 2"};
  const double covariance[4][4] = {{4, 6, -1, 0}, {6, 25, 0.5, 0}, {-1, 0.5, 1, 0}, {0, 0, 0, 0}};
  for (int j = 1; j <= 4; ++j) {
    d.ParameterNames[j] = names[j - 1];
    for (int k = 1; k <= 4; ++k) d.Covariance()[j][k] = covariance[j - 1][k - 1];
  }
  return d;
}

TEST(CorrelationGrid, ShowsTheLowerTriangleAsWholePercentages) {
  const TResondixData d = KnownCovariance();
  TCorrelationGrid grid;
  grid.Data = &d;
  grid.UpdateFromData();
  EXPECT_EQ(Cells(grid),
            "Correlation matrix;Rho 1;Rho 2;Dth 1;Dth 2"
            "|Rho 1;100%;;;"
            "|Rho 2;60%;100%;;"
            "|Depth 1;-50%;10%;100%;"
            "|Depth 2;;;;");  // no variance: no figure, not even on the diagonal
  EXPECT_EQ(grid.NaturalSize(), QSize(97 + 4 * 41 + 3, 5 * 25 + 3));
}

TEST(CorrelationGrid, FallsBackToItsOneCellFormWithoutAFit) {
  const struct {
    const char* Name;
    void (*Change)(TResondixData& d);
  } rows[] = {{"no fit result (New, Open, Import)", [](TResondixData& d) { d.ClearFitResult(); }},
              {"no unknowns", [](TResondixData& d) { d.UnknownCount = 0; }}};
  for (const auto& row : rows) {
    TResondixData d = KnownCovariance();
    TCorrelationGrid grid;
    grid.Data = &d;
    grid.UpdateFromData();
    row.Change(d);
    grid.UpdateFromData();
    EXPECT_EQ(Cells(grid), "Correlation matrix|") << row.Name;
    EXPECT_EQ(grid.NaturalSize(), QSize(97 + 3, 2 * 25 + 3)) << row.Name;
  }
  TCorrelationGrid grid;
  grid.UpdateFromData();  // no document
  EXPECT_EQ(Cells(grid), "Correlation matrix|");
}

TEST(ResultGrids, SelectAllAndCopyPutTheCellsOnTheClipboard) {
  TResondixData d = KnownCovariance();
  d.Rmse = 0.0345;
  TStatisticsGrid rmse;
  rmse.SetRMSE(true);
  rmse.Data = &d;
  rmse.UpdateFromData();
  rmse.SelectAll();
  rmse.CopySelection();
  EXPECT_EQ(QApplication::clipboard()->text(), "RMSE\tlog unit\r\nRMSE\t3.4500E-02\r\n");

  d.UnknownCount = 2;
  TCorrelationGrid correlation;
  correlation.Data = &d;
  correlation.UpdateFromData();
  correlation.SelectAll();
  correlation.CopyToClipboard();
  EXPECT_EQ(QApplication::clipboard()->text(),
            "Correlation matrix\tRho 1\tRho 2\r\nRho 1\t100%\t\r\nRho 2\t60%\t100%\r\n");

  // A rectangle of data cells; then only the current cell.
  const TResondixData layers = ThreeLayerResult();
  TStatisticsGrid parameters;
  parameters.Data = &layers;
  parameters.UpdateFromData();
  parameters.selectionModel()->select(
      QItemSelection(parameters.model()->index(2, 1), parameters.model()->index(3, 3)),
      QItemSelectionModel::ClearAndSelect);
  EXPECT_EQ(parameters.Selection(), QRect(QPoint(1, 2), QPoint(3, 3)));
  parameters.CopyToClipboard();
  EXPECT_EQ(QApplication::clipboard()->text(), "fixed\t19.75\t  7%\r\nfixed\t\t\r\n");
  parameters.clearSelection();
  parameters.setCurrentCell(1, 0);
  parameters.CopyToClipboard();
  EXPECT_EQ(QApplication::clipboard()->text(), "152.50\r\n");

  // The context menu offers the same two commands.
  auto* menu = parameters.findChild<QMenu*>("PopupMenu");
  ASSERT_NE(menu, nullptr);
  QStringList captions;
  for (QAction* action : menu->actions()) captions << (action->isSeparator() ? "-" : action->text());
  EXPECT_EQ(captions, (QStringList{"Copy", "-", "Select All"}));
  menu->findChild<QAction*>("poSelectAll")->trigger();
  menu->findChild<QAction*>("poCopy")->trigger();
  EXPECT_TRUE(QApplication::clipboard()->text().startsWith("Rho\t%\tDepth\t%\r\n152.50\t 12%\t3.20\tfixed\r\n"));
}

TEST(ResultGrids, SelectedDataCellsAreDrawnOnTheHighlightColour) {
  const TResondixData d = ThreeLayerResult();
  TStatisticsGrid grid;
  grid.Data = &d;
  grid.UpdateFromData();
  const QSize size = grid.NaturalSize();
  grid.resize(size);
  grid.selectionModel()->select(QItemSelection(grid.model()->index(1, 1), grid.model()->index(1, 2)),
                                QItemSelectionModel::ClearAndSelect);
  const QImage image = grid.grab().toImage();
  // A pixel inside a cell, away from its text: column c, row r of the grid
  // with the frame's pixel before them.
  const auto pixel = [&image](int column, int row) { return image.pixelColor(1 + column * 97 + 1, 1 + row * 25 + 22); };
  const QColor highlight = grid.palette().color(QPalette::Active, QPalette::Highlight);
  EXPECT_EQ(pixel(1, 1), highlight);
  EXPECT_EQ(pixel(2, 1), highlight);
  EXPECT_EQ(pixel(3, 1), QColor(Qt::white));
  EXPECT_EQ(pixel(1, 2), QColor(Qt::white));
  EXPECT_EQ(pixel(1, 0), grid.palette().color(QPalette::Button)) << "the heading row keeps its face";
  // Selected, white text on the highlight; elsewhere the text colour on white.
  const auto hasColour = [&image](int column, int row, const QColor& colour) {
    for (int x = 1 + column * 97; x < 1 + (column + 1) * 97 - 1; ++x)
      for (int y = 1 + row * 25 + 2; y < 1 + row * 25 + 20; ++y)
        if (image.pixelColor(x, y) == colour) return true;
    return false;
  };
  EXPECT_TRUE(hasColour(1, 1, Qt::white)) << "the selected cell's text";
  EXPECT_FALSE(hasColour(3, 1, highlight));
}

TEST(ResultWindows, ArrangeGridsSizesGridsAndWindowToTheirContents) {
  // Four layers: a heading and four rows of 24 + 1 pixels, four columns of
  // 96 + 1, and 3 for the frame.
  const int statisticsWidth = 4 * 97 + 3, statisticsHeight = 5 * 25 + 3;
  const int rmseHeight = 2 * 25 + 3;
  TResondixData d;
  d.LayerCount = 4;
  TResultsForm results(nullptr);
  TStatisticsForm statistics(nullptr);
  for (TResultWindow* window : {static_cast<TResultWindow*>(&results), static_cast<TResultWindow*>(&statistics)})
    window->SetData(&d);
  results.UpdateFromData();
  results.ArrangeGrids();
  EXPECT_EQ(results.size(), QSize(statisticsWidth, statisticsHeight)) << "before the first fit";

  d.HasFitResult = true;
  results.UpdateFromData();
  results.ArrangeGrids();
  EXPECT_EQ(results.size(), QSize(statisticsWidth, statisticsHeight + 3 + rmseHeight));
  EXPECT_EQ(results.findChild<QWidget*>("RMSEGrid")->geometry(),
            QRect(0, statisticsHeight + 3, 2 * 97 + 3, rmseHeight));

  for (int n = 1; n <= 7; ++n) {
    d.UnknownCount = n;
    statistics.UpdateFromData();
    statistics.ArrangeGrids();
    const int correlationTop = statisticsHeight + 3 + rmseHeight + 3;
    const QSize correlation(97 + n * 41 + 3, (n + 1) * 25 + 3);
    EXPECT_EQ(statistics.findChild<QWidget*>("CorrelationGrid")->geometry(),
              QRect(QPoint(0, correlationTop), correlation))
        << n << " unknowns";
    EXPECT_EQ(statistics.size(), QSize(std::max(statisticsWidth, correlation.width()),
                                       correlationTop + correlation.height()))
        << n << " unknowns";
  }
  // Without the RMSE grid the matrix moves up under the parameters.
  d.HasFitResult = false;
  statistics.UpdateFromData();
  statistics.ArrangeGrids();
  EXPECT_EQ(statistics.size(), QSize(statisticsWidth, statisticsHeight + 3 + 2 * 25 + 3));
}

TEST(ResultWindows, AreToolWindowsAboveTheMainWindowAtTheirPositions) {
  QWidget owner;
  TResultsForm results(&owner);
  TStatisticsForm statistics(&owner);
  const struct {
    TResultWindow* Window;
    const char* Caption;
    QPoint Position;
  } rows[] = {{&results, "Optimization results", {360, 240}}, {&statistics, "Statistics", {360, 420}}};
  for (const auto& row : rows) {
    EXPECT_EQ(row.Window->windowTitle(), row.Caption);
    EXPECT_TRUE(row.Window->isHidden()) << row.Caption;
    EXPECT_EQ(row.Window->pos(), row.Position) << row.Caption;
    EXPECT_EQ(row.Window->windowType(), Qt::Tool) << row.Caption;
    EXPECT_TRUE(row.Window->windowFlags() & Qt::WindowStaysOnTopHint) << row.Caption;
    EXPECT_EQ(row.Window->parentWidget(), &owner) << row.Caption;
    EXPECT_EQ(row.Window->font().pointSize(), 8) << row.Caption;
    for (auto* grid : row.Window->findChildren<TResultGrid*>()) {
      EXPECT_EQ(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
      EXPECT_EQ(grid->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
      EXPECT_FALSE(grid->accessibleName().isEmpty()) << grid->objectName().toStdString();
    }
  }
}

}  // namespace
