// The grids in the window: the Edit commands and the toolbar reach the
// focused grid, and a value still being typed is stored (or refused) before
// the window saves, fits or closes.
#include <QApplication>
#include <QClipboard>
#include <QTabWidget>

#include "chart/Plaatje.h"
#include "tests/app/AppTestSupport.h"
#include "views/MeasurementsGrid.h"
#include "views/ModelGrid.h"

namespace {

class TGridWindowTest : public TWindowTest {
protected:
  std::unique_ptr<TMainForm> ShowWindow(const QStringList& arguments = {}) {
    auto window = MakeWindow(arguments);
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    return window;
  }
  static void ShowPage(TMainForm& window, const char* page) {
    Child<QTabWidget>(window, "PageControl")->setCurrentWidget(Child<QWidget>(window, page));
  }
  static QString Clipboard() { return QGuiApplication::clipboard()->text(); }
};

TEST_F(TGridWindowTest, EditCommandsAndToolbarButtonsReachTheFocusedGridOnly) {
  auto window = ShowWindow({Example("three-layer-schlumberger.rxd")});
  auto* measurements = Child<TMeasurementsGrid>(*window, "MeasurementsGrid");
  auto* model = Child<TModelGrid>(*window, "ModelGrid");
  measurements->setFocus();
  window->EditSelectAllClick();
  window->EditCopyClick();
  EXPECT_TRUE(Clipboard().startsWith("1.5\t138.17\r\n2\t140.76\r\n")) << Clipboard().toStdString();
  EXPECT_EQ(Clipboard().count("\r\n"), 15);
  window->EditClearClick();
  EXPECT_EQ(measurements->item(0, 1)->text(), "");
  EXPECT_EQ(model->item(0, 0)->text(), "150.00") << "the other grid is untouched";

  ShowPage(*window, "ModelPage");
  model->setFocus();
  model->setCurrentCell(0, 0);
  Child<QAction>(*window, "CutButton")->trigger();
  EXPECT_EQ(Clipboard(), "150.00\r\n");
  EXPECT_EQ(model->item(0, 0)->text(), "");
  model->setCurrentCell(1, 0);
  Child<QAction>(*window, "PasteButton")->trigger();
  EXPECT_EQ(window->Document().LayerRho[2], 150);
  EXPECT_FALSE(window->Document().Saved);

  // While a cell is edited the commands act on the editor's text.
  Press(Qt::Key_F2);
  window->EditSelectAllClick();
  window->EditCutClick();
  EXPECT_EQ(Clipboard(), "150.00");
  EXPECT_EQ(model->item(1, 0)->text(), "");
  Press(Qt::Key_Escape);

  // The menu's shortcuts reach the grid too.
  model->setCurrentCell(2, 0);
  QTest::keyClick(model, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(Clipboard(), "500.00\r\n");
  model->setCurrentCell(1, 0);
  QTest::keyClick(model, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(window->Document().LayerRho[2], 500);

  // Elsewhere they do nothing.
  Child<TPlaatje>(*window, "Plaatje")->setFocus();
  const QString before = model->item(2, 0)->text();
  window->EditSelectAllClick();
  window->EditClearClick();
  EXPECT_EQ(model->item(2, 0)->text(), before);
}

TEST_F(TGridWindowTest, AValueStillBeingTypedIsStoredBeforeSaveFitOrCloseOrRefusedWithItsMessage) {
  // A copy of the example, which a faulty Save would write.
  const QString copy = File("copy.rxd");
  WriteWholeFile(copy.toStdString(), ReadWholeFile(ExamplePath("three-layer-schlumberger.rxd")));
  auto window = ShowWindow({copy});
  auto* measurements = Child<TMeasurementsGrid>(*window, "MeasurementsGrid");
  measurements->setFocus();
  measurements->setCurrentCell(0, 1);
  Type("-1");
  window->FileSaveClick();
  window->DataFitClick();
  EXPECT_FALSE(window->close());
  EXPECT_EQ(Messages.Shown, QStringList(3, "Error: Value must be greater than 0!"));
  EXPECT_TRUE(window->Document().Saved) << "neither saved nor fitted";
  EXPECT_FALSE(window->Document().HasFitResult);
  Press(Qt::Key_Backspace);
  Press(Qt::Key_Backspace);
  Type("139");
  const QString path = File("saved.rxd");
  FileDialogs.Paths = {path};
  window->FileSaveAsClick();
  EXPECT_NE(ReadWholeFile(path.toStdString()).find("        1.50      139.00"), std::string::npos);
}

}  // namespace
