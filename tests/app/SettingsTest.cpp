// The settings between runs: the first start sets itself up, a complete
// Desktop key is read at start and written at close, damaged settings show
// the registry error and keep the design values for what could not be read.
#include <QTest>
#include <QToolBar>

#include "AppTestSupport.h"

namespace {

using TSettingsTest = TWindowTest;

const QString RegistryError = "Unable to access registry values. Run setup again.";

TEST_F(TSettingsTest, FirstStartSetsItselfUpWithoutAnError) {
  auto window = MakeWindow();
  EXPECT_TRUE(Messages.Shown.empty());
  auto settings = Settings();
  EXPECT_EQ(settings->value("Desktop/Left").toInt(), 344);
  EXPECT_EQ(settings->value("Desktop/Top").toInt(), 207);
  EXPECT_EQ(settings->value("Desktop/WindowState").toInt(), 0);
  EXPECT_EQ(settings->value("Desktop/View toolbar").toInt(), 1);
  EXPECT_TRUE(settings->value("Files/InstallDir").toString().endsWith("help"));
  EXPECT_EQ(window->HelpFolder, settings->value("Files/InstallDir").toString());
  EXPECT_EQ(window->pos(), QPoint(344, 207));
  EXPECT_EQ(window->width(), 745);
  EXPECT_FALSE(window->ToolBar->isHidden());
}

TEST_F(TSettingsTest, CompleteSettingsAreApplied) {
  WriteCompleteSettings(131, 77, 633, 812, 0, 1);
  auto window = MakeWindow();
  EXPECT_TRUE(Messages.Shown.empty());
  EXPECT_EQ(window->pos(), QPoint(131, 77));
  // Offscreen windows have no frame: the outer size is the window's size.
  EXPECT_EQ(window->size(), QSize(812, 633));
  EXPECT_EQ(window->HelpFolder, File("help"));
}

TEST_F(TSettingsTest, MaximizedStateAndHiddenToolbarSurviveARestart) {
  WriteCompleteSettings();
  {
    auto window = MakeWindow();
    window->show();
    window->ViewToolbarClick();
    window->setWindowState(Qt::WindowMaximized);
    ASSERT_TRUE(window->close());
  }
  auto settings = Settings();
  EXPECT_EQ(settings->value("Desktop/WindowState").toInt(), 2);
  EXPECT_EQ(settings->value("Desktop/View toolbar").toInt(), 0);

  auto window = MakeWindow();
  EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
  EXPECT_TRUE(window->ToolBar->isHidden());
  window->ViewClick();  // opening the View menu
  EXPECT_FALSE(window->ViewToolbar->isChecked());
  EXPECT_TRUE(Messages.Shown.empty());
}

TEST_F(TSettingsTest, PositionAndSizeAreWrittenAtClose) {
  WriteCompleteSettings();
  auto window = MakeWindow();
  window->show();
  window->move(205, 166);
  window->resize(777, 688);
  const QRect outer = window->frameGeometry();
  ASSERT_TRUE(window->close());
  auto settings = Settings();
  EXPECT_EQ(settings->value("Desktop/Left").toInt(), 205);
  EXPECT_EQ(settings->value("Desktop/Top").toInt(), 166);
  // The outer size, frame included.
  EXPECT_EQ(settings->value("Desktop/Width").toInt(), outer.width());
  EXPECT_EQ(settings->value("Desktop/Height").toInt(), outer.height());
  EXPECT_GE(outer.width(), 777);
  EXPECT_EQ(settings->value("Desktop/WindowState").toInt(), 0);
  EXPECT_EQ(settings->value("Desktop/View toolbar").toInt(), 1);
}

TEST_F(TSettingsTest, TheStoredSizeDoesNotGrowFromRunToRun) {
  WriteCompleteSettings(131, 77, 633, 812, 0, 1);
  for (int run = 1; run <= 2; ++run) {
    auto window = MakeWindow();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // The stored size includes the frame, which is known once shown.
    EXPECT_TRUE(Eventually([&] { return window->frameGeometry().size() == QSize(812, 633); }))
        << window->frameGeometry().width() << " x " << window->frameGeometry().height();
    ASSERT_TRUE(window->close());
    auto settings = Settings();
    EXPECT_EQ(settings->value("Desktop/Width").toInt(), 812) << "run " << run;
    EXPECT_EQ(settings->value("Desktop/Height").toInt(), 633) << "run " << run;
  }
}

struct TDamage {
  const char* Name;
  const char* Key;      // the value that is damaged
  const char* Value;    // nullptr: removed
  QPoint Position;      // where the window stands afterwards
  bool ToolbarVisible;
};

void PrintTo(const TDamage& c, std::ostream* out) { *out << c.Name; }

class TDamagedSettings : public TSettingsTest, public ::testing::WithParamInterface<TDamage> {};

TEST_P(TDamagedSettings, ShowTheErrorAndKeepTheRest) {
  const TDamage& c = GetParam();
  WriteCompleteSettings(150, 95, 600, 800, 0, 0);
  {
    auto settings = Settings();
    if (c.Value) settings->setValue(c.Key, c.Value);
    else settings->remove(c.Key);
  }
  auto window = MakeWindow();
  EXPECT_EQ(Messages.Texts(), QStringList{RegistryError});
  ASSERT_EQ(Messages.Shown.size(), 1u);
  EXPECT_EQ(Messages.Shown[0].Kind, TMessageKind::Error);
  EXPECT_EQ(window->pos(), c.Position);
  EXPECT_EQ(!window->ToolBar->isHidden(), c.ToolbarVisible);
}

// Values are read Left, Top, Height, Width, WindowState, View toolbar; the
// stored toolbar value 0 shows whether reading got that far.
const TDamage Damages[] = {
    {"DesktopKeyMissing", "Desktop", nullptr, QPoint(344, 207), true},
    {"LeftNotANumber", "Desktop/Left", "west", QPoint(344, 207), true},
    {"TopMissing", "Desktop/Top", nullptr, QPoint(150, 207), true},
    {"WidthNotANumber", "Desktop/Width", "8OO", QPoint(150, 95), true},
    {"ToolbarMissing", "Desktop/View toolbar", nullptr, QPoint(150, 95), true},
};
INSTANTIATE_TEST_SUITE_P(Settings, TDamagedSettings, ::testing::ValuesIn(Damages),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TSettingsTest, WithoutDesktopKeyTheErrorComesAgainAtCloseAndTheKeyStaysAbsent) {
  WriteCompleteSettings();
  Settings()->remove("Desktop");
  auto window = MakeWindow();
  ASSERT_EQ(Messages.Texts(), QStringList{RegistryError});
  EXPECT_EQ(window->pos(), QPoint(344, 207));
  ASSERT_TRUE(window->close());
  EXPECT_EQ(Messages.Texts(), (QStringList{RegistryError, RegistryError}));
  EXPECT_FALSE(Settings()->childGroups().contains("Desktop"));
}

TEST_F(TSettingsTest, MissingInstallDirIsNoError) {
  WriteCompleteSettings();
  Settings()->remove("Files/InstallDir");
  auto window = MakeWindow();
  EXPECT_TRUE(Messages.Shown.empty());
  EXPECT_EQ(window->HelpFolder, "");
}

}  // namespace
