// The result grids and windows on their own: headings, the parameter table,
// the RMSE, the correlation matrix, the selection and its copy, the cell
// colours and the arrangement of the windows.
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMenu>
#include <QSet>

#include <gtest/gtest.h>

#include "document/NumberText.h"
#include "document/ResondixData.h"
#include "views/CorrelationGrid.h"
#include "views/Results.h"
#include "views/Statistics.h"
#include "views/StatisticsGrid.h"

namespace {

// Every cell, rows joined by "|" and cells by ";", to compare a grid whole.
std::string Cells(const TResultGrid& grid) {
  QStringList rows;
  for (int row = 0; row < grid.rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < grid.columnCount(); ++column) cells << grid.Cell(column, row);
    rows << cells.join(';');
  }
  return rows.join('|').toStdString();
}

template <class TGrid>
void Show(TGrid& grid, const TResondixData* data) {
  grid.Data = data;
  grid.UpdateFromData();
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
  d.RhoPercentText[2] = d.DepthPercentText[1] = "old";  // not unknowns: must not show
  d.HasFitResult = true, d.Rmse = 0.0345;
  return d;
}

TEST(StatisticsGrid, TablesOfParametersAndRmseInTheUsersSeparator) {
  const TResondixData d = ThreeLayerResult();
  const struct {
    const char* Name;
    bool AbsStats, Rmse;
    const char* Separator;
    const char* Cells;
  } rows[] = {
      {"percentages", false, false, ".", "Rho;%;Depth;%|152.50; 12%;3.20;fixed|28.12;fixed;19.75;  7%|480.00;fixed;;"},
      {"intervals", true, false, ".",
       "Rho;Interval;Depth;Interval|152.50;135 - 172;3.20;fixed|28.12;fixed;19.75;18 - 21|480.00;fixed;;"},
      {"decimal comma", false, false, ",", "Rho;%;Depth;%|152,50; 12%;3,20;fixed|28,12;fixed;19,75;  7%|480,00;fixed;;"},
      {"RMSE", false, true, ".", "RMSE;log unit|RMSE;3.4500E-02"},
      {"RMSE, decimal comma", true, true, ",", "RMSE;log unit|RMSE;3,4500E-02"},
  };
  for (const auto& row : rows) {
    SetDecimalSeparator(row.Separator);
    TStatisticsGrid grid;
    grid.SetAbsStats(row.AbsStats);
    grid.SetRMSE(row.Rmse);
    Show(grid, &d);
    EXPECT_EQ(Cells(grid), row.Cells) << row.Name;
  }
  SetDecimalSeparator(".");
  // A new document: its placeholders; no document: the grid stays.
  TResondixData fresh;
  fresh.RhoUnknown[1] = true;
  TStatisticsGrid grid;
  Show(grid, &fresh);
  Show(grid, nullptr);
  EXPECT_EQ(Cells(grid), "Rho;%;Depth;%|0.00;  * ;0.00;fixed|0.00;fixed;0.00;fixed|0.00;fixed;;");
}

// Unknowns whose correlations are known: r21 = 6 / √(4·25) = 0.6,
// r31 = -1 / √(4·1) = -0.5, r32 = 0.5 / √(25·1) = 0.1; Depth 2 has no
// variance.
TResondixData KnownCovariance() {
  TResondixData d = ThreeLayerResult();
  d.LastFit.UnknownCount = 4;
  const char* names[] = {"Rho 1", "Rho 2", "Depth 1", "Depth 2"};
  const double covariance[4][4] = {{4, 6, -1, 0}, {6, 25, 0.5, 0}, {-1, 0.5, 1, 0}, {0, 0, 0, 0}};
  for (int j = 1; j <= 4; ++j) {
    d.ParameterNames[j] = names[j - 1];
    for (int k = 1; k <= 4; ++k) d.LastFit.Covariance[j][k] = covariance[j - 1][k - 1];
  }
  return d;
}

TEST(CorrelationGrid, LowerTriangleAfterAFitAndTheOneCellFormOtherwise) {
  TResondixData d = KnownCovariance();
  TCorrelationGrid grid;
  Show(grid, &d);
  EXPECT_EQ(Cells(grid),
            "Correlation matrix;Rho 1;Rho 2;Dth 1;Dth 2|Rho 1;100%;;;|Rho 2;60%;100%;;|Depth 1;-50%;10%;100%;"
            "|Depth 2;;;;");  // no variance: no figure, not even on the diagonal
  EXPECT_EQ(grid.NaturalSize(), QSize(97 + 4 * 41 + 3, 5 * 25 + 3));

  d.ClearFitResult();  // New, Open, Import: the unknowns of the earlier fit stay in the document
  Show(grid, &d);
  EXPECT_EQ(Cells(grid), "Correlation matrix|");
  EXPECT_EQ(grid.NaturalSize(), QSize(97 + 3, 2 * 25 + 3));
  const TResondixData fitted = KnownCovariance();
  Show(grid, &fitted);
  Show(grid, nullptr);
  EXPECT_EQ(Cells(grid), "Correlation matrix|");
}

TEST(ResultGrids, CopyPutsTheSelectionOnTheClipboard) {
  TResondixData d = KnownCovariance();
  const auto copied = [](TResultGrid& grid) {
    grid.CopySelection();
    return QApplication::clipboard()->text().toStdString();
  };
  TStatisticsGrid rmse;
  rmse.SetRMSE(true);
  Show(rmse, &d);
  rmse.SelectAll();
  EXPECT_EQ(copied(rmse), "RMSE\tlog unit\r\nRMSE\t3.4500E-02\r\n");

  d.LastFit.UnknownCount = 2;
  TCorrelationGrid correlation;
  Show(correlation, &d);
  correlation.SelectAll();
  EXPECT_EQ(copied(correlation), "Correlation matrix\tRho 1\tRho 2\r\nRho 1\t100%\t\r\nRho 2\t60%\t100%\r\n");

  TStatisticsGrid parameters;
  Show(parameters, &d);
  parameters.selectionModel()->select(QItemSelection(parameters.model()->index(2, 1), parameters.model()->index(3, 3)),
                                      QItemSelectionModel::ClearAndSelect);
  EXPECT_EQ(copied(parameters), "fixed\t19.75\t  7%\r\nfixed\t\t\r\n");
  parameters.clearSelection();
  parameters.setCurrentCell(1, 0);
  EXPECT_EQ(copied(parameters), "152.50\r\n") << "nothing selected: the current cell";

  // The context menu: "Copy", a separator, "Select All".
  auto* menu = parameters.findChild<QMenu*>("PopupMenu");
  ASSERT_TRUE(menu && menu->actions().size() == 3 && menu->actions()[1]->isSeparator());
  menu->findChild<QAction*>("poSelectAll")->trigger();
  menu->findChild<QAction*>("poCopy")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text().count("\r\n"), 4);
}

TEST(ResultGrids, SelectedDataCellsAreDrawnWhiteOnTheHighlightColour) {
  const TResondixData d = ThreeLayerResult();
  TStatisticsGrid grid;
  Show(grid, &d);
  grid.resize(grid.NaturalSize());
  grid.selectionModel()->select(QItemSelection(grid.model()->index(1, 1), grid.model()->index(1, 2)),
                                QItemSelectionModel::ClearAndSelect);
  const QImage image = grid.grab().toImage();
  // The colours in a cell's area (column c, row r; after the frame's pixel).
  const auto colours = [&image](int column, int row) {
    QSet<QRgb> found;
    for (int x = 2 + column * 97; x < column * 97 + 96; ++x)
      for (int y = 2 + row * 25; y < row * 25 + 24; ++y) found << image.pixel(x, y);
    return found;
  };
  const QRgb highlight = grid.palette().color(QPalette::Active, QPalette::Highlight).rgb(), white = qRgb(255, 255, 255);
  EXPECT_TRUE(colours(1, 1).contains(highlight) && colours(1, 1).contains(white)) << "white text on the highlight";
  EXPECT_TRUE(colours(2, 1).contains(highlight));
  EXPECT_TRUE(colours(3, 1).contains(white) && !colours(3, 1).contains(highlight));
  EXPECT_TRUE(colours(1, 0).contains(grid.palette().color(QPalette::Button).rgb())) << "the heading keeps its face";
}

TEST(ResultWindows, ArrangeGridsSizesGridsAndWindowToTheirContents) {
  // Four layers: five rows of 24 + 1 pixels and four columns of 96 + 1,
  // and 3 for the frame; the RMSE grid has two of each, the misfit grid of
  // the results a row per measurement below its headings.
  const int width = 4 * 97 + 3, height = 5 * 25 + 3, rmseHeight = 2 * 25 + 3, misfitHeight = 16 * 25 + 3;
  TResondixData d;
  d.LayerCount = 4;
  TResultsForm results(nullptr);
  TStatisticsForm statistics(nullptr);
  for (TResultWindow* window : std::initializer_list<TResultWindow*>{&results, &statistics}) {
    window->SetData(&d);
    window->UpdateFromData();
    window->ArrangeGrids();
  }
  EXPECT_EQ(results.size(), QSize(width, height)) << "no RMSE before the first fit";
  EXPECT_EQ(statistics.size(), QSize(width, height + 3 + rmseHeight));

  d.HasFitResult = true;
  d.FitDiagnostics.MeasurementCount = 15;
  for (int n = 1; n <= 7; ++n) {
    d.LastFit.UnknownCount = n;
    for (TResultWindow* window : std::initializer_list<TResultWindow*>{&results, &statistics}) {
      window->UpdateFromData();
      window->ArrangeGrids();
    }
    EXPECT_EQ(results.size(), QSize(width, height + 3 + rmseHeight + 3 + misfitHeight));
    const int top = height + 3 + rmseHeight + 3;
    const QSize matrix(97 + n * 41 + 3, (n + 1) * 25 + 3);
    EXPECT_EQ(statistics.findChild<QWidget*>("CorrelationGrid")->geometry(), QRect(QPoint(0, top), matrix)) << n;
    EXPECT_EQ(statistics.size(), QSize(std::max(width, matrix.width()), top + matrix.height())) << n;
  }
}

}  // namespace
