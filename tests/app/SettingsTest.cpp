// The settings between runs: the first start sets itself up, the Desktop key
// is read at start and written at close, damaged settings show the registry
// error and keep the design values for what could not be read; where a first
// start finds the help topics; the forward model chosen in the Data menu is
// kept apart.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QStatusTipEvent>
#include <QToolBar>

#include "tests/app/AppTestSupport.h"

namespace {

using TSettingsTest = TWindowTest;

// Three runs: the stored place and outer size come back unchanged, then a
// maximized window with its toolbar hidden starts so again.
TEST_F(TSettingsTest, TheWindowStartsAsItWasClosed) {
  WriteSettings(131, 77, 633, 812, 0, 1);
  auto showAt = [this](const QPoint& place) {
    auto window = MakeWindow();
    window->show();  // the stored size is the outer size, which is known only once shown
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->frameGeometry() == QRect(place, QSize(812, 633)); }))
        << ::testing::PrintToString(window->frameGeometry());
    return window;
  };
  // Ended in the reverse order of making: each hands the messages back to the one before.
  auto first = showAt({131, 77});
  first->move(205, 166);
  first->Document().SetValue(1, 4, false, 7.5);
  Messages.Answers = {TSaveAnswer::Cancel, TSaveAnswer::No};
  EXPECT_FALSE(first->close()) << "Cancel keeps the window open";
  ASSERT_TRUE(first->close());
  auto second = showAt({205, 166});
  second->ViewToolbarClick();
  second->setWindowState(Qt::WindowMaximized);
  ASSERT_TRUE(second->close());
  auto third = MakeWindow();
  EXPECT_TRUE(third->windowState() & Qt::WindowMaximized);
  EXPECT_TRUE(Child<QToolBar>(*third, "ToolBar")->isHidden());
  EXPECT_FALSE(Child<QAction>(*third, "ViewToolbar")->isChecked());
  EXPECT_EQ(Messages.Shown, QStringList(2, "Prompt: Save changes to untitled.rxd?"));
}

// The Data menu's forward model: off at first (no value, no error), on for the chart, the fit,
// the status bar and the next run, and off again.
TEST_F(TSettingsTest, TheAccurateForwardModelIsKeptAndShownWhileItIsOn) {
  WriteSettings(131, 77, 633, 812, 0, 1);
  const QString example = Example("three-layer-schlumberger.rxd");
  auto window = MakeWindow({example});
  auto* accurate = Child<QAction>(*window, "DataAccurateForward");
  auto* panel = Child<QLabel>(*window, "StatusPanel0");
  ASSERT_TRUE(accurate->isCheckable() && !accurate->isChecked());
  EXPECT_EQ(accurate->text(), "Accurate forward model");
  EXPECT_EQ(window->Document().ForwardModel, TForwardModel::Filter);
  EXPECT_EQ(panel->text(), "");

  accurate->trigger();
  EXPECT_EQ(window->Document().ForwardModel, TForwardModel::Accurate);
  EXPECT_EQ(panel->text(), "Accurate forward model");
  // A hint takes the panel for as long as it is shown.
  QStatusTipEvent hint("Fit curve|Click this button to start the parameter optimization."), none("");
  QApplication::sendEvent(window.get(), &hint);
  EXPECT_EQ(panel->text(), "Click this button to start the parameter optimization.");
  QApplication::sendEvent(window.get(), &none);
  EXPECT_EQ(panel->text(), "Accurate forward model");
  EXPECT_EQ(Child<QLabel>(*window, "StatusPanel3")->text(), "Schlumberger");
  EXPECT_EQ(Settings()->value("Options/AccurateForwardModel").toInt(), 1);
  // The window's Fit is the accurate fit.
  TResondixData d;
  ASSERT_TRUE(d.LoadFromFile(example.toStdString()));
  d.ForwardModel = TForwardModel::Accurate;
  for (TResondixData* document : {&d, &window->Document()}) document->RhoUnknown[2] = document->DepthUnknown[1] = true;
  d.Fit();
  window->DataFitClick();
  EXPECT_TRUE(window->Document().LayerRho[2] == d.LayerRho[2] && window->Document().Rmse == d.Rmse);

  auto next = MakeWindow();
  EXPECT_TRUE(Child<QAction>(*next, "DataAccurateForward")->isChecked());
  EXPECT_EQ(next->Document().ForwardModel, TForwardModel::Accurate);
  EXPECT_EQ(Child<QLabel>(*next, "StatusPanel0")->text(), "Accurate forward model");
  accurate->trigger();
  EXPECT_EQ(window->Document().ForwardModel, TForwardModel::Filter);
  EXPECT_EQ(panel->text(), "");
  EXPECT_EQ(Settings()->value("Options/AccurateForwardModel").toInt(), 0);
  EXPECT_TRUE(Messages.Shown.isEmpty()) << Messages.Shown.join("; ").toStdString();
}

struct TDamage {
  const char* Name;
  const char* Key;    // the value that is damaged; "": all of them
  const char* Value;  // nullptr: removed
  QPoint Position;    // where the window stands afterwards
  bool ToolbarVisible;
  int Errors;  // registry errors at start and at close
};

void PrintTo(const TDamage& c, std::ostream* out) { *out << c.Name; }

class TDamagedSettings : public TSettingsTest, public ::testing::WithParamInterface<TDamage> {};

TEST_P(TDamagedSettings, ShowTheErrorAndKeepTheRest) {
  const TDamage& c = GetParam();
  WriteSettings(150, 95, 600, 800, 0, 0);
  c.Value ? Settings()->setValue(c.Key, c.Value) : Settings()->remove(c.Key);
  auto window = MakeWindow();
  EXPECT_EQ(window->pos(), c.Position);
  EXPECT_EQ(!Child<QToolBar>(*window, "ToolBar")->isHidden(), c.ToolbarVisible);
  ASSERT_TRUE(window->close());
  EXPECT_EQ(Messages.Shown, QStringList(c.Errors, "Error: Unable to access registry values. Run setup again."));
  EXPECT_EQ(Settings()->childGroups().contains("Desktop"), c.Errors < 2) << "close writes into an existing key only";
}

// Values are read Left, Top, Height, Width, WindowState, View toolbar: the stored toolbar
// value 0 shows whether reading got that far. A first start makes the design values.
const TDamage Damages[] = {
    {"FirstStartSetsItselfUp", "", nullptr, QPoint(344, 207), true, 0},
    {"InstallDirMissingIsNoError", "Files/InstallDir", nullptr, QPoint(150, 95), false, 0},
    {"DesktopKeyMissing", "Desktop", nullptr, QPoint(344, 207), true, 2},
    {"LeftNotANumber", "Desktop/Left", "west", QPoint(344, 207), true, 1},
    {"TopMissing", "Desktop/Top", nullptr, QPoint(150, 207), true, 1},
    {"WidthNotANumber", "Desktop/Width", "8OO", QPoint(150, 95), true, 1},
};
INSTANTIATE_TEST_SUITE_P(Settings, TDamagedSettings, ::testing::ValuesIn(Damages),
                         [](const auto& info) { return std::string(info.param.Name); });

// The build copies the help topics beside the program; an installation keeps
// them in its data folder. Beside the program wins; with neither, the
// program's own folder is recorded all the same.
TEST(HelpFolder, BesideTheProgramFirstThenTheInstalledDataFolder) {
#ifdef Q_OS_MACOS
  const QString programFolder = "Resondix.app/Contents/MacOS", installedHelp = "Resondix.app/Contents/Resources/help";
#else
  const QString programFolder = "bin", installedHelp = "share/resondix/help";
#endif
  const struct {
    const char* Name;
    bool Beside, Installed;
    bool FindsInstalled;
  } cases[] = {
      {"build folder", true, false, false},
      {"installed", false, true, true},
      {"both", true, true, false},
      {"neither", false, false, false},
  };
  for (const auto& c : cases) {
    const TTemporaryFolder prefix;
    const QDir root(QString::fromStdString(prefix.Folder().string()));
    const QString program = root.filePath(programFolder);
    ASSERT_TRUE(root.mkpath(programFolder));
    ASSERT_TRUE(!c.Beside || root.mkpath(programFolder + "/help"));
    ASSERT_TRUE(!c.Installed || root.mkpath(installedHelp));
    EXPECT_EQ(FindHelpFolder(program), c.FindsInstalled ? root.filePath(installedHelp) : program + "/help") << c.Name;
  }
}

}  // namespace
