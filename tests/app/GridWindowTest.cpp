// The grids in the window: the Edit commands and the toolbar reach the
// focused grid, and a whole interpretation done by keyboard (type a
// sounding and a model, tick the unknowns, fit, save, reopen) ends where the
// command line's fit of the same values ends.
#include <QApplication>
#include <QClipboard>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTabWidget>

#include "AppTestSupport.h"
#include "MeasurementsGrid.h"
#include "ModelGrid.h"
#include "NumberText.h"
#include "Plaatje.h"
#include "Results.h"

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

TEST_F(TGridWindowTest, ASoundingTypedByKeyboardFitsAsTheCommandLineFitsIt) {
  // The example's sounding, typed.
  TResondixData example;
  ASSERT_TRUE(example.LoadFromFile(ExamplePath("three-layer-schlumberger.rxd")));
  // A starting model away from the one the sounding was made from
  // (150 / 3, 30 / 20, 500).
  const QStringList model = {"100", "5", "20", "10", "300"};
  const QString path = File("typed.rxd");
  double fitted[2][4] = {};  // rho and depth of layers 1..3
  {
    auto window = ShowWindow();
    auto* measurementsGrid = Child<TMeasurementsGrid>(*window, "MeasurementsGrid");
    measurementsGrid->setFocus();
    for (int i = 1; i <= example.MeasurementCount; ++i)
      for (const double value : {example.HalfSpacing[i], example.ApparentRho[i]}) {
        Type(QString::number(value));
        Press(Qt::Key_Tab);
      }
    ShowPage(*window, "ModelPage");
    auto* modelGrid = Child<TModelGrid>(*window, "ModelGrid");
    modelGrid->setFocus();
    modelGrid->setCurrentCell(0, 0);
    for (const QString& value : model) {
      Type(value);
      Press(Qt::Key_Tab);
    }
    // Every unknown ticked from the keyboard: the five boxes.
    modelGrid->setCurrentCell(0, 0);
    for (Qt::Key move : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Down, Qt::Key_Space}) {
      Press(Qt::Key_Space);
      if (move != Qt::Key_Space) Press(move);
    }
    EXPECT_TRUE(Messages.Shown.isEmpty()) << Messages.Shown.join("; ").toStdString();
    const TResondixData& d = window->Document();
    EXPECT_EQ(Tables(d).substr(0, 22), "1.5:138.17 2:140.76 2.");
    EXPECT_EQ(d.LayerRho[3], 300);
    EXPECT_EQ(d.LayerDepth[2], 10);
    ASSERT_TRUE(d.RhoUnknown[1] && d.RhoUnknown[2] && d.RhoUnknown[3] && d.DepthUnknown[1] && d.DepthUnknown[2]);

    // The typed document is saved, then fitted in the window.
    FileDialogs.Paths = {path};
    window->FileSaveAsClick();
    ASSERT_TRUE(Child<QAction>(*window, "FitButton")->isEnabled());
    Child<QAction>(*window, "FitButton")->trigger();
    ASSERT_EQ(d.FitStatus, 0);
    EXPECT_TRUE(Child<TResultsForm>(*window, "ResultsForm")->isVisible());

    // The command line's fit of the saved file.
    QProcess cli;
    cli.start(RESONDIX_BINARY_DIR "/cli/resondix-cli", {"fit", path, "--unknowns", "all"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QJsonArray layers = QJsonDocument::fromJson(cli.readAllStandardOutput()).object()["layers"].toArray();
    ASSERT_EQ(layers.size(), 3);
    for (int i = 1; i <= 3; ++i) {
      // Both run the same fit on the same values: the same numbers.
      EXPECT_EQ(d.LayerRho[i], layers[i - 1].toObject()["rho"].toDouble()) << "layer " << i;
      EXPECT_EQ(d.LayerDepth[i], layers[i - 1].toObject()["depth"].toDouble()) << "layer " << i;
    }
    // And the fit explains the readings, which were made from a layered
    // model and rounded to two decimals, to well below a hundredth of a
    // decade.
    EXPECT_LT(d.Rmse, 0.01);
    EXPECT_EQ(modelGrid->item(0, 0)->text(), QString::fromStdString(FormatFixed2(d.LayerRho[1])))
        << "the grid shows the fit";
    for (int i = 1; i <= 3; ++i) fitted[0][i] = d.LayerRho[i], fitted[1][i] = d.LayerDepth[i];
    window->FileSaveClick();
  }
  // Reopened, the fitted model is there, to the file's two decimals.
  auto window = ShowWindow({path});
  auto* modelGrid = Child<TModelGrid>(*window, "ModelGrid");
  for (int i = 1; i <= 3; ++i) {
    EXPECT_NEAR(window->Document().LayerRho[i], fitted[0][i], 0.005) << "layer " << i;
    EXPECT_EQ(modelGrid->item(i - 1, 0)->text(), QString::number(fitted[0][i], 'f', 2)) << "layer " << i;
  }
  EXPECT_NEAR(window->Document().LayerDepth[2], fitted[1][2], 0.005);
}

}  // namespace
