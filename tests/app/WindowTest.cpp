// The window's state and its reactions: the start-up state, the change
// handler and the views, the current rows, help, the general error report
// and the Fit command.
#include <QAccessible>
#include <QLabel>
#include <QMenuBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <stdexcept>

#include <QAction>

#include "app/About.h"
#include "app/Application.h"
#include "app/HelpWindow.h"
#include "tests/app/AppTestSupport.h"
#include "views/MeasurementsGrid.h"
#include "views/ModelGrid.h"
#include "views/Results.h"

namespace {

using TMainWindowTest = TWindowTest;

TEST_F(TMainWindowTest, AMissingCommandLineFileLeavesTheStartUpState) {
  const QString missing = File("nowhere.rxd");
  auto window = MakeWindow({missing});
  EXPECT_EQ(Messages.Shown, QStringList{"Error: File " + missing + " not found!"});
  EXPECT_EQ(window->windowTitle(), Title("untitled.rxd"));
  QStringList panels;
  for (const char* panel : {"StatusPanel0", "StatusPanel1", "StatusPanel2", "StatusPanel3"})
    panels << Child<QLabel>(*window, panel)->text();
  EXPECT_EQ(panels, (QStringList{"", "1/15", "1/3", "Schlumberger"}));
  QStringList menus;  // each opens with Alt and its letter
  for (const QAction* menu : window->menuBar()->actions()) menus << menu->text();
  EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&View", "&Data", "&Help"}));
  QStringList buttons;  // each button shows only its image: screen readers take the short hint
  for (const char* name : {"NewButton", "OpenButton", "SaveButton", "CutButton", "CopyButton", "PasteButton",
                           "FitButton", "InformationButton"})
    buttons << QAccessible::queryAccessibleInterface(Child<QWidget>(*window, name))->text(QAccessible::Name);
  EXPECT_EQ(buttons, (QStringList{"New file", "Open a file", "Save file", "Cut", "Copy", "Paste", "Fit curve",
                                  "Information"}));
  window->DataClick();  // opening the Data menu
  EXPECT_FALSE(Child<QAction>(*window, "FitButton")->isEnabled() || Child<QAction>(*window, "DataFit")->isEnabled());
  // A Save therefore asks for a name instead of writing the missing path.
  FileDialogs.Paths = {QString()};
  window->FileSaveClick();
  EXPECT_EQ(FileDialogs.ProposedNames, QStringList{"untitled.rxd"});
}

TEST_F(TMainWindowTest, OnlyAChangeOfStructureRebuildsTheViewsAndTheRowsFollowHoverAndSelection) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  auto* measurements = Child<TMeasurementsGrid>(*window, "MeasurementsGrid");
  auto* model = Child<TModelGrid>(*window, "ModelGrid");
  auto* panel1 = Child<QLabel>(*window, "StatusPanel1");
  EXPECT_EQ(model->item(2, 1)->text(), "-") << "the half-space has no depth";
  // The hover works on either page.
  Child<QTabWidget>(*window, "PageControl")->setCurrentWidget(Child<QWidget>(*window, "ModelPage"));
  window->PlaatjeOverMeasurement(11);
  window->PlaatjeOverMeasurement(0);  // nothing under the mouse
  EXPECT_EQ(panel1->text(), "11/15");
  EXPECT_EQ(measurements->currentRow(), 10);
  model->setCurrentCell(1, 0);
  EXPECT_EQ(Child<QLabel>(*window, "StatusPanel2")->text(), "2/3");

  ASSERT_EQ(measurements->item(2, 1)->text(), "134.25");
  window->Document().SetValue(1, 3, false, 0);
  EXPECT_EQ(measurements->item(2, 1)->text(), "134.25") << "not rebuilt: the grid keeps its text";
  EXPECT_EQ(panel1->text(), "11/15");
  // Rebuilt: a value not entered is an empty cell; the current row stays in range.
  window->Document().SetMeasurementCount(4);
  EXPECT_EQ(measurements->item(2, 1)->text(), "");
  EXPECT_EQ(panel1->text(), "4/4");
}

// Help opens the topic of the focused control in the browser, or, where no
// browser can be started, in the program's own help window; only a missing
// topic file, or a home page without a browser, is reported.
TEST_F(TMainWindowTest, HelpShowsTheTopicInTheBrowserOrInItsOwnWindow) {
  const QString pages = QDir::toNativeSeparators(RESONDIX_SOURCE_DIR "/help"), missing = File("no-help");
  const struct {
    const char* Name;
    QString Folder;
    bool Browser;
    QStringList Opened, Shown, Messages;  // Shown: the pages in the help window
  } cases[] = {
      {"a browser", pages, true, {"6.html", "1002.html", "resondix"}, {}, {}},
      {"no browser", pages, false, {"6.html", "1002.html", "resondix"}, {"6.html", "1002.html"},
       {"Error: Unable to launch the default browser."}},
      {"no topic files", missing, false, {"resondix"}, {},
       {"Error: File " + missing + "/6.html not found!", "Error: File " + missing + "/1002.html not found!",
        "Error: Unable to launch the default browser."}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Messages.Shown.clear();
    auto window = MakeWindow();
    // A first start finds the help topics beside the program.
    EXPECT_EQ(window->Help().Folder, QCoreApplication::applicationDirPath() + "/help");
    window->Help().Folder = c.Folder;
    QStringList opened, shown, titles;
    window->Help().OpenUrl = [&](const QUrl& url) {
      opened << url.fileName() + url.host().section('.', 0, 0);
      return c.Browser;
    };
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Child<QWidget>(*window, "MeasurementsGrid")->setFocus();
    for (auto command : {&TMainForm::WMHelp, &TMainForm::HelpIndexClick, &TMainForm::HelpResondixhomepageClick}) {
      (window.get()->*command)();
      if (const THelpWindow* help = window->Help().Window()) {
        shown << help->source().fileName();
        titles << help->windowTitle();
        EXPECT_TRUE(help->isVisible());
        EXPECT_TRUE(help->toPlainText().contains(help->windowTitle().section(" - ", 1))) << "the page's heading";
      }
    }
    EXPECT_EQ(opened, c.Opened);
    EXPECT_EQ(shown.mid(0, 2), c.Shown) << "the home page leaves the help window as it was";
    if (!c.Shown.isEmpty()) {
      EXPECT_EQ(titles.mid(0, 2), (QStringList{"Resondix - Measurements", "Resondix - License agreement"}));
    }
    EXPECT_EQ(Messages.Shown, c.Messages);
  }
}

TEST(AboutBox, ShowsTheVersionOfTheBuild) {
  const TAboutBox about(nullptr);
  EXPECT_EQ(about.findChild<QLabel*>("Version")->text(), "Version 2.20");
}

TEST(ErrorReport, AnUnhandledFailureIsShownAndTheProgramGoesOn) {
  auto& application = *qobject_cast<TResondixApplication*>(QCoreApplication::instance());
  QStringList reports;
  const auto previous = std::exchange(application.ReportError, [&reports](const QString& text) { reports << text; });
  bool delivered = false;
  QTimer::singleShot(0, [] { throw std::runtime_error("Disk on fire"); });
  QTimer::singleShot(0, [&delivered] { delivered = true; });
  EXPECT_TRUE(QTest::qWaitFor([&] { return delivered; })) << "events are still delivered afterwards";
  EXPECT_EQ(reports, QStringList{"Disk on fire"});
  application.ReportError = previous;
}

TEST_F(TMainWindowTest, FitIsAvailableExactlyWhenBothTablesAreValid) {
  // Each breaks one table as the grids show it: an emptied resistivity, last
  // L/2 or depth (noticed at the next change), or a negative resistivity in
  // the file.
  const std::string example = ReadWholeFile(ExamplePath("three-layer-schlumberger.rxd"));
  std::string negative = example;
  negative.replace(negative.find("     84.28"), 10, "     -2.00");
  WriteWholeFile(Folder.File("negative.rxd"), negative);
  const struct {
    const char* Name;
    const char* Grid;
    int Column, Row;  // the cell emptied; none for the file
    const char* File;
  } cases[] = {
      {"EmptiedResistivity", "MeasurementsGrid", 1, 6, "three-layer-schlumberger.rxd"},
      {"EmptiedLastSpacing", "MeasurementsGrid", 0, 15, "three-layer-schlumberger.rxd"},
      {"EmptiedDepth", "ModelGrid", 1, 2, "three-layer-schlumberger.rxd"},
      {"NegativeResistivityInTheFile", nullptr, 0, 0, "negative.rxd"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    auto window = MakeWindow({c.Grid ? Example(c.File) : File(c.File)});
    for (const bool valid : {bool(c.Grid), false}) {
      window->DataClick();  // opening the Data menu
      EXPECT_EQ(Child<QAction>(*window, "FitButton")->isEnabled(), valid);
      EXPECT_EQ(Child<QAction>(*window, "DataFit")->isEnabled(), valid);
      if (!c.Grid) break;
      auto* grid = Child<TValueGrid>(*window, c.Grid);
      grid->setCurrentCell(c.Row - 1, c.Column);
      grid->ClearSelection();
      window->Document().SetValue(1, 1, false, 138.17);  // the next change
    }
  }
}

TEST_F(TMainWindowTest, FitShowsTheResultsOrTheRefusal) {
  const struct {
    const char* Name;
    void (*Prepare)(TResondixData& d);
    const char* Refusal;  // "": the fit succeeds
  } cases[] = {
      {"Succeeds", MarkAllUnknown, ""},
      {"NoUnknowns", [](TResondixData&) {}, "No  Unknown  Parameters  Specified  !"},
      {"MoreUnknownsThanMeasurements", [](TResondixData& d) { d.MeasurementCount = 4; MarkAllUnknown(d); },
       "Too  Many  Unknown  Parameters  !"},
      // Layers of 1 ohm·m give the same curve whatever their depths: the
      // depth unknowns cannot move it.
      {"NoSolution",
       [](TResondixData& d) {
         for (int i = 1; i <= d.LayerCount; ++i) d.LayerRho[i] = 1;
         d.DepthUnknown[1] = d.DepthUnknown[2] = true;
       },
       "NO SOLUTION  (improve starting quess)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const bool succeeds = !*c.Refusal;
    auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
    c.Prepare(window->Document());
    const double startRho = window->Document().LayerRho[2];
    Messages.Shown.clear();
    window->DataFitClick();
    if (succeeds) window->DataFitClick();  // a second fit leaves the results window open
    EXPECT_EQ(Messages.Shown, succeeds ? QStringList() : QStringList{QString("Error: ") + c.Refusal});
    EXPECT_EQ(FitSucceeded, succeeds);
    EXPECT_EQ(window->Document().FitStatus, 0);
    EXPECT_EQ(Child<TResultsForm>(*window, "ResultsForm")->isVisible() &&
                  Child<QAction>(*window, "ViewResults")->isChecked(),
              succeeds);
    EXPECT_EQ(window->Document().LayerRho[2] != startRho, succeeds) << "the layers were fitted";
    EXPECT_EQ(Child<TModelGrid>(*window, "ModelGrid")->item(1, 0)->text(), QString::number(window->Document().LayerRho[2], 'f', 2))
        << "the model page follows the fit";
  }
}

// At its smallest the window still shows the chart's labels and the tables' headings whole.
TEST_F(TMainWindowTest, TheSmallestWindowKeepsTheChartAndTheHeadingsWhole) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  window->show();
  window->resize(1, 1);
  const auto* chart = Child<QWidget>(*window, "Plaatje");
  const auto* pages = Child<QWidget>(*window, "PageControl");
  EXPECT_TRUE(QTest::qWaitFor([&] { return window->size() == window->minimumSize(); }));
  EXPECT_TRUE(chart->width() >= 460 && chart->height() >= 300) << chart->width() << " x " << chart->height();
  EXPECT_GE(pages->width(), 170);
  const QLabel* configuration = Child<QLabel>(*window, "StatusPanel3");
  EXPECT_GE(configuration->contentsRect().width(), configuration->fontMetrics().horizontalAdvance("Schlumberger"));
  if (qEnvironmentVariableIsSet("RESONDIX_SHOT")) window->grab().save(qEnvironmentVariable("RESONDIX_SHOT"));
}

}  // namespace
