// Data > Automatic model... and Data > Smooth model: a sounding without a
// model interpreted from its measurements, the results window with the
// misfit and the warning, and the smooth model on the chart for as long as
// the measurements stay as they were.
#include <QAction>
#include <QLabel>
#include <QRadioButton>

#include "app/AutomaticModelDialog.h"
#include "chart/Plaatje.h"
#include "document/NumberText.h"
#include "tests/app/AppTestSupport.h"
#include "views/MisfitGrid.h"
#include "views/Results.h"

namespace {

using TInterpretationWindowTest = TWindowTest;

TEST_F(TInterpretationWindowTest, AutomaticModelOfASoundingWithoutAModelShowsItsMisfitAndWarning) {
  // The example's measurements with no model entered.
  TResondixData file;
  ASSERT_TRUE(file.LoadFromFile(ExamplePath("three-layer-schlumberger.rxd")));
  file.LayerRho.Fill(0), file.LayerDepth.Fill(0);
  ASSERT_TRUE(file.SaveToFile(File("no-model.rxd").toStdString()));
  auto window = MakeWindow({File("no-model.rxd")});
  TResondixData& d = window->Document();
  window->DataClick();
  EXPECT_FALSE(Child<QAction>(*window, "DataFit")->isEnabled());
  ASSERT_TRUE(Child<QAction>(*window, "DataAutomaticModel")->isEnabled());

  // The user's answer: a count of layers, then OK or Cancel.
  auto* dialog = Child<TAutomaticModelForm>(*window, "AutomaticModelForm");
  const auto answer = [dialog](const char* choice, const char* button) {
    dialog->RunModal = [=](QDialog& shown) {
      shown.show();
      Child<QRadioButton>(shown, choice)->click();
      Press(shown, button);
      return shown.result();
    };
  };
  answer("amFourLayers", "CancelButton");
  const std::string before = Tables(d);
  window->DataAutomaticModelClick();
  EXPECT_EQ(Tables(d), before) << "cancelled";

  answer("amThreeLayers", "OKButton");
  d.Saved = true;
  Child<QAction>(*window, "DataAutomaticModel")->trigger();
  EXPECT_EQ(Messages.Shown, QStringList());
  ASSERT_EQ(d.LayerCount, 3);
  for (int i = 1; i <= 3; ++i) EXPECT_TRUE(d.RhoUnknown[i] && d.DepthUnknown[i] == (i < 3)) << i;
  EXPECT_FALSE(d.Saved) << "the save prompt protects the model replaced";
  auto* results = Child<TResultsForm>(*window, "ResultsForm");
  ASSERT_TRUE(results->isVisible());
  auto* misfit = Child<TMisfitGrid>(*results, "MisfitGrid");
  ASSERT_EQ(misfit->rowCount(), 16);
  for (int i = 1; i <= 15; ++i)
    EXPECT_EQ(misfit->Cell(3, i).toStdString(), FormatFixed2Local(d.FitDiagnostics.MisfitPercent[i])) << i;
  // Measured only to 40 m, the half-space below 20 m is not fixed: the warning says so.
  auto* warning = Child<QLabel>(*results, "FitWarning");
  EXPECT_TRUE(warning->isVisible());
  EXPECT_TRUE(warning->text().startsWith("The measurements do not fix Rho 3 (uncertainty 100 %).")) << warning->text().toStdString();
}

TEST_F(TInterpretationWindowTest, SmoothModelStaysOnTheChartUntilUncheckedOrTheMeasurementsChange) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  TResondixData& d = window->Document();
  auto* item = Child<QAction>(*window, "DataSmoothModel");
  const auto drawn = [&] { return Child<TPlaatje>(*window, "Plaatje")->ScreenDrawing().SmoothModel != nullptr; };
  item->trigger();
  EXPECT_TRUE(item->isChecked() && drawn());
  d.SetValue(0, 1, true, 151);  // the model is not the measurements
  EXPECT_TRUE(item->isChecked() && drawn());
  item->trigger();
  EXPECT_FALSE(item->isChecked() || drawn());
  item->trigger();
  d.SetValue(1, 3, false, 130);  // a measurement
  EXPECT_FALSE(item->isChecked() || drawn());
  EXPECT_EQ(Messages.Shown, QStringList());
}

}  // namespace
