// The window's state and its reactions: the start-up state, the change
// handler, the status panels and the hover, hints, the View and Help
// commands, activation, the dialogs made at start-up, the splash window and
// the general error report.
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <stdexcept>

#include "About.h"
#include "Preferences.h"
#include "Application.h"
#include "Results.h"
#include "Splash.h"
#include "Statistics.h"
#include "NumberText.h"
#include "Plaatje.h"
#include "ValuesTable.h"

#include "AppTestSupport.h"

namespace {

using TMainWindowTest = TWindowTest;

int DrawnPixels(const QImage& image) {
  int drawn = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) drawn += image.pixelColor(x, y).alpha() > 0;
  return drawn;
}

TEST_F(TMainWindowTest, StartUpState) {
  auto window = MakeWindow();
  EXPECT_EQ(window->windowTitle(), Title("untitled.rxd"));
  EXPECT_EQ(window->StatusPanels[0]->text(), "");
  EXPECT_EQ(window->StatusPanels[1]->text(), "1/15");
  EXPECT_EQ(window->StatusPanels[2]->text(), "1/3");
  EXPECT_EQ(window->StatusPanels[3]->text(), "Schlumberger");
  EXPECT_FALSE(window->FitButton->isEnabled());
  window->DataClick();
  EXPECT_FALSE(window->DataFit->isEnabled());
  window->File1Click();
  EXPECT_FALSE(window->FileReopen->isEnabled());
  EXPECT_TRUE(window->ViewToolbar->isChecked());
  EXPECT_EQ(window->PageControl->currentWidget(), window->MeasurementsPage);
  EXPECT_EQ(window->PageControl->tabText(0), "Measurements");
  EXPECT_EQ(window->PageControl->tabText(1), "Model");
  EXPECT_FALSE(window->EditPreferences->isVisible());
  // The windows made after the main window start hidden.
  ASSERT_NE(window->ResultsForm, nullptr);
  ASSERT_NE(window->StatisticsForm, nullptr);
  EXPECT_FALSE(window->ResultsForm->isVisible());
  EXPECT_FALSE(window->StatisticsForm->isVisible());
  EXPECT_EQ(window->ResultsForm->windowTitle(), "Optimization results");
  EXPECT_EQ(window->StatisticsForm->windowTitle(), "Statistics");
  EXPECT_TRUE(Messages.Shown.empty());
}

TEST_F(TMainWindowTest, ToolbarHasItsButtonsImagesAndHints) {
  auto window = MakeWindow();
  const QList<QAction*> actions = window->ToolBar->actions();
  // Eight buttons and two dividers.
  ASSERT_EQ(actions.size(), 10);
  const QList<QAction*> buttons = {window->NewButton,   window->OpenButton, window->SaveButton,
                                   window->CutButton,   window->CopyButton, window->PasteButton,
                                   window->FitButton,   window->InformationButton};
  for (QAction* button : buttons) {
    EXPECT_TRUE(actions.contains(button)) << button->objectName().toStdString();
    const QPixmap image = button->icon().pixmap(30, 30);
    EXPECT_EQ(image.size(), QSize(30, 30)) << button->objectName().toStdString();
    EXPECT_GT(DrawnPixels(image.toImage()), 60) << "an image is drawn: " << button->objectName().toStdString();
  }
  EXPECT_EQ(window->FitButton->toolTip(), "Fit curve");
  EXPECT_EQ(window->FitButton->statusTip(), "Click this button to start the parameter optimization.");
  EXPECT_EQ(window->InformationButton->toolTip(), "Information");
}

TEST_F(TMainWindowTest, TheLongHintGoesToPanelZero) {
  auto window = MakeWindow();
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  QWidget* open = window->ToolBar->widgetForAction(window->OpenButton);
  ASSERT_NE(open, nullptr);
  QTest::mouseMove(open);
  EXPECT_TRUE(Eventually([&] { return window->StatusPanels[0]->text() == "Click this button to open an existing file."; }))
      << window->StatusPanels[0]->text().toStdString();
  // Leaving the button empties the panel; the other panels keep their text.
  QTest::mouseMove(window->Plaatje);
  EXPECT_TRUE(Eventually([&] { return window->StatusPanels[0]->text().isEmpty(); }));
  EXPECT_EQ(window->StatusPanels[1]->text(), "1/15");
}

TEST_F(TMainWindowTest, ASingleValueChangeDoesNotRebuildTheViews) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  const QTableWidgetItem* before = window->MeasurementsView->item(2, 1);
  ASSERT_NE(before, nullptr);
  ASSERT_EQ(before->text(), "134.25");
  window->MeasurementsGridSelectCell(5);

  window->ResondixData.SetValue(1, 3, false, 0);
  EXPECT_EQ(window->MeasurementsView->item(2, 1), before) << "not rebuilt";
  EXPECT_EQ(window->StatusPanels[1]->text(), "5/15");
  EXPECT_FALSE(window->ResondixData.Saved);

  // A change of structure rebuilds and keeps the current row within range.
  window->ResondixData.SetMeasurementCount(4);
  EXPECT_EQ(window->MeasurementsView->rowCount(), 4);
  EXPECT_EQ(window->MeasurementsView->item(2, 1)->text(), "");
  EXPECT_EQ(window->StatusPanels[1]->text(), "4/4");
}

TEST_F(TMainWindowTest, ConfigurationShowsInPanelThree) {
  auto window = MakeWindow();
  window->ResondixData.SetSoundingType(false);
  EXPECT_EQ(window->StatusPanels[3]->text(), "Wenner");
  window->ResondixData.SetSoundingType(true);
  EXPECT_EQ(window->StatusPanels[3]->text(), "Schlumberger");
}

TEST_F(TMainWindowTest, TheViewsShowTheDocumentInTheGridForms) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  ASSERT_EQ(window->ModelView->rowCount(), 3);
  EXPECT_EQ(window->ModelView->item(0, 0)->text(), "150.00");
  EXPECT_EQ(window->ModelView->item(1, 1)->text(), "20.00");
  EXPECT_EQ(window->ModelView->item(2, 1)->text(), "-");
  EXPECT_EQ(window->MeasurementsView->item(8, 1)->text(), "46.1");
  window->FileNewClick();
  EXPECT_EQ(window->MeasurementsView->item(14, 0)->text(), "40");
  EXPECT_EQ(window->MeasurementsView->item(14, 1)->text(), "");
  EXPECT_EQ(window->ModelView->item(0, 0)->text(), "");
}

TEST_F(TMainWindowTest, HoverOnAMeasurementMovesTheCurrentRow) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  // Also while the Model page is showing.
  window->PageControl->setCurrentWidget(window->ModelPage);
  window->PlaatjeOverMeasurement(9);
  EXPECT_EQ(window->MeasurementsRow(), 9);
  EXPECT_EQ(window->StatusPanels[1]->text(), "9/15");
  EXPECT_EQ(window->MeasurementsView->currentRow(), 8);
  window->PlaatjeOverMeasurement(0);  // nothing under the mouse
  EXPECT_EQ(window->MeasurementsRow(), 9);
}

// Moves the mouse around where the chart draws measurement i until the
// window reports it; false when no position near the symbol does.
bool HoverOverMeasurement(TMainForm& window, int i) {
  const TPlaatje& chart = *window.Plaatje;
  const int x = chart.SpacingToX(window.ResondixData.HalfSpacing[i]);
  const int y = chart.RhoToY(window.ResondixData.ApparentRho[i]);
  for (int dy = -8; dy <= 8; ++dy)
    for (int dx = -8; dx <= 8; ++dx) {
      QTest::mouseMove(window.Plaatje, QPoint(x + dx, y + dy));
      if (window.MeasurementsRow() == i) return true;
    }
  return false;
}

TEST_F(TMainWindowTest, TheMouseOnAChartMeasurementMovesTheCurrentRow) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  window->Plaatje->repaint();  // the hit test uses the layout of the latest drawing
  window->PageControl->setCurrentWidget(window->ModelPage);
  ASSERT_TRUE(HoverOverMeasurement(*window, 11));
  EXPECT_EQ(window->StatusPanels[1]->text(), "11/15");
  EXPECT_EQ(window->MeasurementsView->currentRow(), 10);
  ASSERT_TRUE(HoverOverMeasurement(*window, 4));
  EXPECT_EQ(window->StatusPanels[1]->text(), "4/15");
}

TEST_F(TMainWindowTest, SelectingARowWritesItsPanel) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  window->ModelView->setCurrentCell(1, 0);
  EXPECT_EQ(window->StatusPanels[2]->text(), "2/3");
  window->MeasurementsView->setCurrentCell(11, 1);
  EXPECT_EQ(window->StatusPanels[1]->text(), "12/15");
}

TEST_F(TMainWindowTest, ViewCommandsToggleTheWindowsAndTheirChecks) {
  auto window = MakeWindow();
  window->show();
  window->ViewResultsClick();
  EXPECT_TRUE(window->ResultsForm->isVisible());
  EXPECT_TRUE(window->ViewResults->isChecked());
  EXPECT_TRUE(window->ResultsForm->windowFlags() & Qt::WindowStaysOnTopHint);
  window->ViewStatisticsClick();
  EXPECT_TRUE(window->StatisticsForm->isVisible());
  window->ResultsForm->hide();  // closed by its own close box
  window->ViewClick();
  EXPECT_FALSE(window->ViewResults->isChecked());
  EXPECT_TRUE(window->ViewStatistics->isChecked());
  window->ViewToolbarClick();
  EXPECT_TRUE(window->ToolBar->isHidden());
  EXPECT_FALSE(window->ViewToolbar->isChecked());
  window->ViewToolbarClick();
  EXPECT_FALSE(window->ToolBar->isHidden());
}

TEST_F(TMainWindowTest, HelpOpensTheTopicOfTheFocusedControl) {
  auto window = MakeWindow();
  QStringList opened;
  window->OpenUrl = [&opened](const QUrl& url) {
    opened << url.toLocalFile();
    return true;
  };
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  window->MeasurementsView->setFocus();
  window->WMHelp();
  window->PageControl->setCurrentWidget(window->ModelPage);
  window->ModelView->setFocus();
  window->WMHelp();
  window->HelpContentsClick();
  window->HelpIndexClick();
  const QString folder = window->HelpFolder;
  EXPECT_EQ(opened, (QStringList{folder + "/6.html", folder + "/1001.html", folder + "/1001.html",
                                 folder + "/1002.html"}));
}

TEST_F(TMainWindowTest, TheHelpPagesStandBesideTheProgram) {
  for (const char* topic : {"1001", "1002", "1003", "6"}) {
    const std::string page = std::string(RESONDIX_BINARY_DIR) + "/app/help/" + topic + ".html";
    EXPECT_NE(ReadWholeFile(page).find("<h1>"), std::string::npos) << page;
  }
}

TEST_F(TMainWindowTest, AHomePageThatCannotOpenIsReported) {
  auto window = MakeWindow();
  QList<QUrl> asked;
  window->OpenUrl = [&asked](const QUrl& url) {
    asked << url;
    return false;
  };
  window->HelpResondixhomepageClick();
  ASSERT_EQ(asked.size(), 1);
  EXPECT_EQ(asked[0].scheme(), "https");
  EXPECT_EQ(Messages.Texts(), QStringList{"Unable to launch the default browser."});
  EXPECT_EQ(Messages.Shown[0].Kind, TMessageKind::Error);
}

TEST_F(TMainWindowTest, CutAndPasteFollowTheActiveWindow) {
  auto window = MakeWindow();
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  EXPECT_TRUE(window->CutButton->isEnabled());
  // A dialog of the program becomes the active window.
  QWidget* dialog = window->PreferencesForm;
  dialog->show();
  dialog->activateWindow();
  dialog->windowHandle()->requestActivate();
  ASSERT_TRUE(Eventually([&] { return QGuiApplication::focusWindow() == dialog->windowHandle(); }));
  EXPECT_FALSE(window->CutButton->isEnabled());
  EXPECT_FALSE(window->PasteButton->isEnabled());
  EXPECT_TRUE(window->CopyButton->isEnabled()) << "the other buttons are not touched";
  window->windowHandle()->requestActivate();
  ASSERT_TRUE(Eventually([&] { return QGuiApplication::focusWindow() == window->windowHandle(); }));
  EXPECT_TRUE(window->CutButton->isEnabled());
  EXPECT_TRUE(window->PasteButton->isEnabled());
}

TEST_F(TMainWindowTest, TheAboutBoxShowsTheLogoAndVersion) {
  auto window = MakeWindow();
  TAboutBox& about = *window->AboutBox;
  EXPECT_EQ(about.windowTitle(), "About");
  EXPECT_EQ(about.size(), QSize(334, 253));
  const auto* logo = about.findChild<QLabel*>("ProgramIcon");
  ASSERT_NE(logo, nullptr);
  // The logo is a JPEG: decoded, it has the logo's size.
  EXPECT_EQ(logo->pixmap().size(), QSize(300, 75));
  EXPECT_EQ(about.findChild<QLabel*>("Version")->text(), "Version 2.20");
  // OK closes the box with the result OK.
  QTimer::singleShot(0, &about, [&about] { QTest::mouseClick(about.findChild<QPushButton*>("OKButton"), Qt::LeftButton); });
  EXPECT_EQ(about.exec(), QDialog::Accepted);
}

TEST(Splash, StaysUntilItsTimerHasFired) {
  TSplashForm splash;
  EXPECT_EQ(splash.size(), QSize(300, 205));
  EXPECT_EQ(splash.Timer.interval(), 2500);
  EXPECT_FALSE(splash.CloseQuery());
  // Fired early here, so that the test does not wait the 2.5 s.
  splash.Timer.start(1);
  EXPECT_TRUE(Eventually([&] { return splash.CloseQuery(); }));
  EXPECT_FALSE(splash.Timer.isActive()) << "the timer fires once";
}

TEST(ErrorReport, AnUnhandledFailureIsShownAndTheProgramGoesOn) {
  auto* application = qobject_cast<TResondixApplication*>(QCoreApplication::instance());
  ASSERT_NE(application, nullptr);
  QStringList reports;
  const auto previous = application->ReportError;
  application->ReportError = [&reports](const QString& text) { reports << text; };
  QObject target;
  QTimer::singleShot(0, &target, [] { throw std::runtime_error("Disk on fire"); });
  EXPECT_TRUE(Eventually([&] { return !reports.isEmpty(); }));
  EXPECT_EQ(reports, QStringList{"Disk on fire"});
  // Events are still delivered afterwards.
  bool delivered = false;
  QTimer::singleShot(0, &target, [&delivered] { delivered = true; });
  EXPECT_TRUE(Eventually([&] { return delivered; }));
  application->ReportError = previous;
}

}  // namespace

namespace {

using TFitCommandTest = TWindowTest;

void MarkAllUnknown(TResondixData& d) {
  for (int i = 1; i <= d.LayerCount; ++i) {
    d.RhoUnknown[i] = true;
    d.DepthUnknown[i] = i < d.LayerCount;
  }
}

TEST_F(TFitCommandTest, ASuccessfulFitOpensTheResultsWindowOnce) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  window->show();
  MarkAllUnknown(window->ResondixData);
  const double startRho = window->ResondixData.LayerRho[2];
  window->DataFitClick();
  EXPECT_TRUE(Messages.Shown.empty()) << Messages.Texts().join("; ").toStdString();
  EXPECT_TRUE(FitSucceeded);
  EXPECT_TRUE(window->ResultsForm->isVisible());
  EXPECT_TRUE(window->ViewResults->isChecked());
  EXPECT_FALSE(window->StatisticsForm->isVisible());
  EXPECT_NE(window->ResondixData.LayerRho[2], startRho) << "the layers were fitted";
  EXPECT_EQ(window->ModelView->item(1, 0)->text(),
            QString::fromStdString(FormatFixed2(window->ResondixData.LayerRho[2])))
      << "the model page follows the fit";
  EXPECT_FALSE(window->ResondixData.Saved);
  // A second fit leaves the window open.
  window->DataFitClick();
  EXPECT_TRUE(window->ResultsForm->isVisible());
}

TEST_F(TFitCommandTest, FitIsAvailableExactlyWhenBothTablesAreValid) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  EXPECT_TRUE(window->FitButton->isEnabled());
  window->DataClick();
  EXPECT_TRUE(window->DataFit->isEnabled());
  window->ResondixData.SetValue(1, 6, false, -2);  // a measurement that breaks the rules
  EXPECT_FALSE(window->FitButton->isEnabled());
  window->DataClick();
  EXPECT_FALSE(window->DataFit->isEnabled());
  window->ResondixData.SetValue(1, 6, false, 84.28);
  EXPECT_TRUE(window->FitButton->isEnabled());
  window->ResondixData.SetValue(0, 3, false, 0);  // an L/2 not entered
  EXPECT_FALSE(window->FitButton->isEnabled());
  window->ResondixData.SetValue(0, 3, false, 2.5);
  EXPECT_TRUE(window->FitButton->isEnabled());
  window->ResondixData.SetValue(1, 2, true, 0);  // a depth not entered
  EXPECT_FALSE(window->FitButton->isEnabled());
  EXPECT_FALSE(window->ResondixData.ModelValid);
  EXPECT_TRUE(window->ResondixData.MeasurementsValid);
}

struct TFitRefusal {
  const char* Name;
  void (*Prepare)(TResondixData& d);
  const char* Message;
};

void PrintTo(const TFitRefusal& c, std::ostream* out) { *out << c.Name; }

class TFitRefusalTest : public TFitCommandTest, public ::testing::WithParamInterface<TFitRefusal> {};

TEST_P(TFitRefusalTest, ShowsItsMessageAndNoResults) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  window->show();
  GetParam().Prepare(window->ResondixData);
  window->DataFitClick();
  EXPECT_EQ(Messages.Texts(), QStringList{GetParam().Message});
  ASSERT_EQ(Messages.Shown.size(), 1u);
  EXPECT_EQ(Messages.Shown[0].Kind, TMessageKind::Error);
  EXPECT_FALSE(FitSucceeded);
  EXPECT_EQ(window->ResondixData.FitStatus, 0);
  EXPECT_FALSE(window->ResultsForm->isVisible());
}

const TFitRefusal FitRefusals[] = {
    {"NoUnknowns", [](TResondixData&) {}, "No  Unknown  Parameters  Specified  !"},
    {"MoreUnknownsThanMeasurements",
     [](TResondixData& d) {
       d.MeasurementCount = 4;
       MarkAllUnknown(d);
     },
     "Too  Many  Unknown  Parameters  !"},
    // Layers of 1 ohm·m give the same curve whatever their depths: the depth
    // unknowns cannot move it.
    {"NoSolution",
     [](TResondixData& d) {
       for (int i = 1; i <= d.LayerCount; ++i) d.LayerRho[i] = 1;
       d.DepthUnknown[1] = d.DepthUnknown[2] = true;
     },
     "NO SOLUTION  (improve starting quess)"},
};
INSTANTIATE_TEST_SUITE_P(Fit, TFitRefusalTest, ::testing::ValuesIn(FitRefusals),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
