// The result windows in the main window: the View commands and their check
// marks, the windows after a fit and after a new content, and the Edit
// commands in an active result window.
#include <QAction>
#include <QClipboard>

#include "tests/app/AppTestSupport.h"
#include "views/CorrelationGrid.h"
#include "views/Results.h"
#include "views/Statistics.h"
#include "views/StatisticsGrid.h"

namespace {

using TResultWindowsTest = TWindowTest;

// Waits until window is the application's active window. (Qt's own wait
// also takes a window whose tool window is active for an active one.)
bool BecomesActive(QWidget* window) {
  return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

QString RowText(const TResultGrid& grid, int row) {
  QStringList cells;
  for (int column = 0; column < grid.columnCount(); ++column) cells << grid.Cell(column, row);
  return cells.join(';');
}

TEST_F(TResultWindowsTest, CheckMarksFollowTheWindows) {
  auto window = MakeWindow();
  const struct {
    const char* Window;
    const char* Item;
    void (TMainForm::*Command)();
  } rows[] = {{"ResultsForm", "ViewResults", &TMainForm::ViewResultsClick},
              {"StatisticsForm", "ViewStatistics", &TMainForm::ViewStatisticsClick}};
  for (const auto& row : rows) {
    auto* form = Child<TResultWindow>(*window, row.Window);
    auto* item = Child<QAction>(*window, row.Item);
    EXPECT_FALSE(form->isVisible() || item->isChecked()) << row.Window << " starts hidden";
    for (bool visible : {true, false, true}) {
      ((*window).*row.Command)();
      EXPECT_EQ(form->isVisible(), visible) << row.Window;
      EXPECT_EQ(item->isChecked(), visible) << row.Window;
    }
    // Closed by its own close box: the mark follows when the menu opens.
    form->close();
    window->ViewClick();
    EXPECT_FALSE(item->isChecked()) << row.Window;
  }
}

TEST_F(TResultWindowsTest, AFitFillsTheWindowsAndANewContentDropsTheMatrix) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  auto* results = Child<TResultsForm>(*window, "ResultsForm");
  auto* statistics = Child<TStatisticsForm>(*window, "StatisticsForm");
  window->ViewStatisticsClick();
  auto* correlation = Child<TCorrelationGrid>(*statistics, "CorrelationGrid");
  auto* rmse = Child<TStatisticsGrid>(*statistics, "RMSEGrid");
  EXPECT_TRUE(rmse->isHidden()) << "before the first fit";

  MarkAllUnknown(window->Document());
  window->DataFitClick();
  ASSERT_TRUE(results->isVisible()) << "a successful fit opens the results";
  // The texts the statistics write after the fit's first change notice.
  const TResondixData& d = window->Document();
  ASSERT_NE(d.DepthIntervalText[2], NoStatisticText);
  EXPECT_EQ(Child<TStatisticsGrid>(*results, "StatisticsGrid")->Cell(3, 2).toStdString(), d.DepthPercentText[2].str());
  EXPECT_EQ(Child<TStatisticsGrid>(*statistics, "StatisticsGrid")->Cell(3, 2).toStdString(), d.DepthIntervalText[2].str());
  EXPECT_FALSE(rmse->isHidden());
  EXPECT_EQ(RowText(*correlation, 0), "Correlation matrix;Rho 1;Rho 2;Rho 3;Dth 1;Dth 2");
  EXPECT_EQ(results->size(), QSize(4 * 97 + 3, 4 * 25 + 3 + 3 + 2 * 25 + 3 + 3 + 16 * 25 + 3));

  // A single cell edit leaves the windows as they are.
  window->Document().SetValue(0, 1, true, 77);
  EXPECT_NE(Child<TStatisticsGrid>(*results, "StatisticsGrid")->Cell(0, 1), "77.00");

  // A new content clears the fit result: no RMSE and no matrix until the next fit.
  FileDialogs.Paths = {Example("four-layer-wenner.rxd")};
  Messages.Answers = {TSaveAnswer::No};
  window->FileOpenClick();
  EXPECT_EQ(RowText(*correlation, 0) + "|" + RowText(*correlation, 1), "Correlation matrix|");
  EXPECT_TRUE(rmse->isHidden() && Child<TStatisticsGrid>(*results, "RMSEGrid")->isHidden());
  EXPECT_EQ(Child<TStatisticsGrid>(*results, "StatisticsGrid")->rowCount(), 5) << "four layers";
}

TEST_F(TResultWindowsTest, EditCommandsActOnTheFocusedGridOfTheActiveResultWindow) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  MarkAllUnknown(window->Document());
  window->show();
  window->DataFitClick();
  window->ViewStatisticsClick();
  auto* statistics = Child<TStatisticsForm>(*window, "StatisticsForm");
  auto* rmse = Child<TStatisticsGrid>(*statistics, "RMSEGrid");
  statistics->activateWindow();
  ASSERT_TRUE(BecomesActive(statistics));
  rmse->setFocus();
  ASSERT_EQ(window->ActiveEditTarget(), static_cast<TEditTarget*>(rmse));

  const QString expected = "RMSE\tlog unit\r\nRMSE\t" + rmse->Cell(1, 1) + "\r\n";
  window->EditSelectAllClick();
  window->EditCopyClick();
  EXPECT_EQ(QApplication::clipboard()->text(), expected);

  // Cut, Paste and Clear change nothing there.
  QApplication::clipboard()->setText("1\t2\r\n");
  const std::string before = Tables(window->Document());
  window->EditCutClick();
  window->EditPasteClick();
  window->EditClearClick();
  EXPECT_EQ(QApplication::clipboard()->text(), "1\t2\r\n");
  EXPECT_EQ(Tables(window->Document()), before);
  EXPECT_EQ(RowText(*rmse, 0), "RMSE;log unit");

  // The keys do the same as the menu.
  QTest::keyClick(rmse, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), expected);

  // With the main window active again the commands leave the result grids.
  window->activateWindow();
  ASSERT_TRUE(BecomesActive(window.get()));
  EXPECT_NE(window->ActiveEditTarget(), static_cast<TEditTarget*>(rmse));
}

}  // namespace
