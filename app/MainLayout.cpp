// The parts of the main window and where they lie: the commands (a table
// of actions), the menu bar, the toolbar, the pages with the grids, the
// chart, the status bar and the windows made after it; and the settings the
// window starts with. What the window does with them is Main.cpp.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/About.h"
#include "app/AutomaticModelDialog.h"
#include "app/GeneralInformation.h"
#include "app/Main.h"
#include "app/Preferences.h"
#include "chart/Plaatje.h"
#include "views/EquivalenceForm.h"
#include "views/MeasurementsGrid.h"
#include "views/ModelGrid.h"
#include "views/Results.h"
#include "views/Statistics.h"

namespace {

constexpr int DesignLeft = 344;
constexpr int DesignTop = 207;
constexpr int DesignClientWidth = 745;
constexpr int DesignClientHeight = 545;
constexpr int PageControlWidth = 224;
constexpr int PageControlMinimumWidth = 170;
// The smallest window whose status panels, tabs, headings and chart labels
// all show whole.
constexpr int MinimumWidth = 700;
constexpr int MinimumHeight = 460;
constexpr int ToolBarHeight = 40;
constexpr int ToolButtonWidth = 37;
constexpr int ToolButtonHeight = 36;
constexpr int ToolImageSize = 30;
constexpr int ToolDividerWidth = 8;
constexpr int StatusBarHeight = 19;
constexpr int StatusPanelWidths[4] = {480, 50, 50, 50};

// A toolbar hint: the short part before the "|" for the tooltip, the long
// part after it for the status bar.
void SetHint(QAction* action, const QString& hint) {
  const int bar = hint.indexOf('|');
  action->setToolTip(bar < 0 ? hint : hint.left(bar));
  action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

// Adds actions to menu, a null one standing for a separator.
void AddActions(QMenu* menu, std::initializer_list<QAction*> actions) {
  for (QAction* action : actions) {
    if (action)
      menu->addAction(action);
    else
      menu->addSeparator();
  }
}

QMenu* NamedMenu(QMenu* menu, const char* name, std::initializer_list<QAction*> actions) {
  menu->setObjectName(name);
  AddActions(menu, actions);
  return menu;
}

QWidget* Spacer(int width) {
  auto* spacer = new QWidget;
  spacer->setFixedWidth(width);
  return spacer;
}

}  // namespace

void TMainForm::CreateActions() {
  using THandler = void (TMainForm::*)();
  static const struct {
    QAction* TMainForm::*Action;
    const char* Name;
    const char* Caption;
    THandler Handler;
    const char* Shortcut = "";
  } menuCommands[] = {
      {&TMainForm::FileNew, "FileNew", "&New", &TMainForm::FileNewClick, "Ctrl+N"},
      {&TMainForm::FileOpen, "FileOpen", "&Open...", &TMainForm::FileOpenClick, "Ctrl+O"},
      {&TMainForm::FileSave, "FileSave", "&Save", &TMainForm::FileSaveClick, "Ctrl+S"},
      {&TMainForm::FileSaveAs, "FileSaveAs", "Save &As...", &TMainForm::FileSaveAsClick},
      {&TMainForm::FileImport, "FileImport", "I&mport...", &TMainForm::FileImportClick},
      {&TMainForm::FileInformation, "FileInformation", "&Information...", &TMainForm::FileInformationClick, "Ctrl+I"},
      {&TMainForm::FilePrint, "FilePrint", "&Print...", &TMainForm::FilePrintClick, "Ctrl+P"},
      {&TMainForm::FileExportReport, "FileExportReport", "&Export report...", &TMainForm::FileExportReportClick},
      {&TMainForm::FileExit, "FileExit", "E&xit", &TMainForm::FileExitClick},
      {&TMainForm::EditCut, "EditCut", "Cu&t", &TMainForm::EditCutClick, "Ctrl+X"},
      {&TMainForm::EditCopy, "EditCopy", "&Copy", &TMainForm::EditCopyClick, "Ctrl+C"},
      {&TMainForm::EditCopyChartAsMetafile, "EditCopyChartAsMetafile", "As Metafile",
       &TMainForm::EditCopyChartAsMetafileClick},
      {&TMainForm::EditCopyChartAsBitmap, "EditCopyChartAsBitmap", "As Bitmap", &TMainForm::EditCopyChartAsBitmapClick},
      {&TMainForm::EditPaste, "EditPaste", "&Paste", &TMainForm::EditPasteClick, "Ctrl+V"},
      {&TMainForm::EditClear, "EditClear", "Cle&ar", &TMainForm::EditClearClick, "Ctrl+Del"},
      {&TMainForm::EditSelectAll, "EditSelectAll", "Se&lect All", &TMainForm::EditSelectAllClick, "Ctrl+A"},
      {&TMainForm::EditPreferences, "EditPreferences", "Pr&eferences...", &TMainForm::EditPreferencesClick},
      {&TMainForm::ViewToolbar, "ViewToolbar", "Toolbar", &TMainForm::ViewToolbarClick},
      {&TMainForm::ViewResults, "ViewResults", "Results", &TMainForm::ViewResultsClick},
      {&TMainForm::ViewStatistics, "ViewStatistics", "Statistics", &TMainForm::ViewStatisticsClick},
      {&TMainForm::DataFit, "DataFit", "&Fit", &TMainForm::DataFitClick, "Ctrl+T"},
      {&TMainForm::DataEquivalence, "DataEquivalence", "&Equivalence...", &TMainForm::DataEquivalenceClick},
      {&TMainForm::DataAutomaticModel, "DataAutomaticModel", "&Automatic model...",
       &TMainForm::DataAutomaticModelClick},
      {&TMainForm::DataSmoothModel, "DataSmoothModel", "&Smooth model", &TMainForm::DataSmoothModelClick},
      {&TMainForm::DataAccurateForward, "DataAccurateForward", "Accurate forward model",
       &TMainForm::DataAccurateForwardClick},
      {&TMainForm::HelpContents, "HelpContents", "&Contents...", &TMainForm::HelpContentsClick},
      {&TMainForm::HelpIndex, "HelpIndex", "&License agreement", &TMainForm::HelpIndexClick},
      {&TMainForm::HelpResondixhomepage, "HelpResondixhomepage", "Resondix homepage",
       &TMainForm::HelpResondixhomepageClick},
      {&TMainForm::HelpTarvenichomepage, "HelpTarvenichomepage", "Tarvenic homepage",
       &TMainForm::HelpTarvenichomepageClick},
      {&TMainForm::HelpAbout, "HelpAbout", "&About...", &TMainForm::HelpAboutClick},
  };
  // The toolbar's buttons: the same handlers, with images and hints. They
  // are actions of their own: the Fit button follows the document's state,
  // the menu item is set when the Data menu opens.
  static const struct {
    QAction* TMainForm::*Action;
    const char* Name;
    const char* Image;
    THandler Handler;
    const char* Hint;
  } buttons[] = {
      {&TMainForm::NewButton, "NewButton", "new", &TMainForm::FileNewClick,
       "New file|Click this button to create a new file."},
      {&TMainForm::OpenButton, "OpenButton", "open", &TMainForm::FileOpenClick,
       "Open a file|Click this button to open an existing file."},
      {&TMainForm::SaveButton, "SaveButton", "save", &TMainForm::FileSaveClick,
       "Save file|Click this button to save your data to a file."},
      {&TMainForm::CutButton, "CutButton", "cut", &TMainForm::EditCutClick,
       "Cut|Click this button to cut your current selection from the grid to the clipboard"},
      {&TMainForm::CopyButton, "CopyButton", "copy", &TMainForm::EditCopyClick,
       "Copy|Click this button to copy your current selection from the grid to the clipboard"},
      {&TMainForm::PasteButton, "PasteButton", "paste", &TMainForm::EditPasteClick,
       "Paste|Click this button to paste data from the clipboard in the grid."},
      {&TMainForm::FitButton, "FitButton", "fit", &TMainForm::DataFitClick,
       "Fit curve|Click this button to start the parameter optimization."},
      {&TMainForm::InformationButton, "InformationButton", "information", &TMainForm::FileInformationClick,
       "Information|Click this button to display general information related to the measurements."},
  };
  const auto make = [this](QAction* TMainForm::*member, const char* name, const QString& caption, THandler handler) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, handler);
    return this->*member = action;
  };
  for (const auto& c : menuCommands)
    make(c.Action, c.Name, c.Caption, c.Handler)->setShortcut(QKeySequence(c.Shortcut));
  // Undo and Redo name the step they take back or again.
  EditUndo = History.Stack().createUndoAction(this, "&Undo");
  EditUndo->setObjectName("EditUndo");
  EditUndo->setShortcut(QKeySequence("Ctrl+Z"));
  EditRedo = History.Stack().createRedoAction(this, "&Redo");
  EditRedo->setObjectName("EditRedo");
  EditRedo->setShortcuts({QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")});
  for (const auto& b : buttons) {
    QAction* action = make(b.Action, b.Name, QString(), b.Handler);
    action->setIcon(QIcon(QString(":/images/") + b.Image + ".png"));
    SetHint(action, b.Hint);
  }
  EditPreferences->setVisible(false);
  for (QAction* action : {ViewToolbar, ViewResults, ViewStatistics, DataSmoothModel, DataAccurateForward})
    action->setCheckable(true);
  ViewToolbar->setChecked(true);
  FitButton->setEnabled(false);
}

void TMainForm::CreateMenus() {
  // Every menu opens with Alt and its letter.
  QMenu* file = NamedMenu(menuBar()->addMenu("&File"), "File1", {FileNew, FileOpen});
  FileReopen = NamedMenu(file->addMenu("&Reopen"), "FileReopen", {});
  FileReopen->setEnabled(false);
  AddRecentFileItems(*FileReopen);
  AddActions(file, {FileSave, FileSaveAs, nullptr, FileImport, nullptr, FileInformation, FilePrint, FileExportReport,
                    nullptr, FileExit});
  connect(file, &QMenu::aboutToShow, this, &TMainForm::File1Click);
  QMenu* edit = NamedMenu(menuBar()->addMenu("&Edit"), "Edit", {EditUndo, EditRedo, nullptr, EditCut, EditCopy});
  NamedMenu(edit->addMenu("C&opy chart"), "EditCopyChart", {EditCopyChartAsMetafile, EditCopyChartAsBitmap});
  AddActions(edit, {EditPaste, nullptr, EditClear, EditSelectAll, nullptr, EditPreferences});
  QMenu* view = NamedMenu(menuBar()->addMenu("&View"), "View", {ViewToolbar, nullptr, ViewResults, ViewStatistics});
  connect(view, &QMenu::aboutToShow, this, &TMainForm::ViewClick);
  QMenu* data =
      NamedMenu(menuBar()->addMenu("&Data"), "Data",
                {DataFit, DataAutomaticModel, DataEquivalence, nullptr, DataSmoothModel, DataAccurateForward});
  connect(data, &QMenu::aboutToShow, this, &TMainForm::DataClick);
  QMenu* help = NamedMenu(menuBar()->addMenu("&Help"), "Help", {HelpContents, HelpIndex, nullptr});
  NamedMenu(help->addMenu("&Resondix on the web"), "HelpWeb", {HelpResondixhomepage, HelpTarvenichomepage});
  AddActions(help, {nullptr, HelpAbout});
}

void TMainForm::CreateToolBar() {
  ToolBar = addToolBar("ToolBar");
  ToolBar->setObjectName("ToolBar");
  ToolBar->setMovable(false);
  ToolBar->setFloatable(false);
  ToolBar->setIconSize(QSize(ToolImageSize, ToolImageSize));
  ToolBar->setFixedHeight(ToolBarHeight);
  ToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
  // A null action stands for a divider.
  const std::initializer_list<QAction*> buttons = {NewButton, OpenButton, SaveButton, nullptr,
                                                   CutButton, CopyButton, PasteButton, nullptr,
                                                   FitButton, InformationButton};
  for (QAction* action : buttons) {
    if (!action) {
      ToolBar->addWidget(Spacer(ToolDividerWidth));
      continue;
    }
    ToolBar->addAction(action);
    QWidget* button = ToolBar->widgetForAction(action);
    button->setObjectName(action->objectName());
    button->setFixedSize(ToolButtonWidth, ToolButtonHeight);
    // A button shows only its image: screen readers take the short hint.
    button->setAccessibleName(action->toolTip());
  }
}

void TMainForm::CreatePages() {
  Splitter = new QSplitter(Qt::Horizontal, this);
  Splitter->setObjectName("Splitter");
  Splitter->setChildrenCollapsible(false);
  Splitter->setAutoFillBackground(true);

  PageControl = new QTabWidget(Splitter);
  PageControl->setObjectName("PageControl");
  // Narrower, the tabs and the tables' headings would be cut.
  PageControl->setMinimumWidth(PageControlMinimumWidth);
  auto makePage = [this](QWidget*& page, const char* name, const QString& caption, TValueGrid* grid,
                         const char* gridName) {
    page = new QWidget;
    page->setObjectName(name);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    grid->setParent(page);
    grid->setObjectName(gridName);
    grid->SetData(&ResondixData);
    layout->addWidget(grid);
    PageControl->addTab(page, caption);
  };
  MeasurementsGrid = new TMeasurementsGrid;
  ModelGrid = new TModelGrid;
  makePage(MeasurementsPage, "MeasurementsPage", "Measurements", MeasurementsGrid, "MeasurementsGrid");
  makePage(ModelPage, "ModelPage", "Model", ModelGrid, "ModelGrid");
  MeasurementsGrid->setProperty(HelpContextProperty, MeasurementsTopic);
  connect(MeasurementsGrid, &TValueGrid::RowSelected, this, &TMainForm::MeasurementsGridSelectCell);
  connect(ModelGrid, &TValueGrid::RowSelected, this, &TMainForm::ModelGridSelectCell);
  PageControl->setCurrentWidget(MeasurementsPage);
  connect(PageControl, &QTabWidget::currentChanged, this, &TMainForm::SetColumnWidths);
  connect(Splitter, &QSplitter::splitterMoved, this, &TMainForm::SetColumnWidths);

  Plaatje = new TPlaatje(Splitter);
  Plaatje->setObjectName("Plaatje");
  Plaatje->OnOverMeasurement = [this](TPlaatje& chart) { PlaatjeOverMeasurement(chart.MeasurementUnderMouse()); };

  Splitter->setStretchFactor(0, 0);
  Splitter->setStretchFactor(1, 1);
  Splitter->setSizes({PageControlWidth, DesignClientWidth - PageControlWidth});
  setCentralWidget(Splitter);
}

void TMainForm::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setObjectName("StatusBar");
  bar->setFixedHeight(StatusBarHeight);
  bar->setSizeGripEnabled(false);
  for (int i = 0; i < 4; ++i) {
    StatusPanels[i] = new QLabel(bar);
    StatusPanels[i]->setObjectName(QString("StatusPanel%1").arg(i));
    StatusPanels[i]->setFrameShape(QFrame::Panel);
    StatusPanels[i]->setFrameShadow(QFrame::Sunken);
    StatusPanels[i]->setMinimumWidth(StatusPanelWidths[i]);
    // The last panel reaches to the right end of the bar.
    if (i < 3) StatusPanels[i]->setMaximumWidth(StatusPanelWidths[i]);
    bar->addWidget(StatusPanels[i], i < 3 ? 0 : 1);
  }
}

void TMainForm::CreateWindows() {
  GeneralInformationForm = new TGeneralInformationForm(ResondixData, HelpTopics, this);
  AboutBox = new TAboutBox(this);
  ResultsForm = new TResultsForm(this);
  PreferencesForm = new TPreferencesForm(this);
  StatisticsForm = new TStatisticsForm(this);
  EquivalenceForm = new TEquivalenceForm(this);
  AutomaticModelForm = new TAutomaticModelForm(this);
  EquivalenceForm->OnModelsChanged = [this] {
    Plaatje->SetEquivalentModels(EquivalenceForm->Models(), EquivalenceForm->ModelCount());
  };
}

void TMainForm::ApplyDesignGeometry() {
  setMinimumSize(MinimumWidth, MinimumHeight);
  // The design's client area lies below the menu bar.
  resize(DesignClientWidth, DesignClientHeight + menuBar()->sizeHint().height());
  move(DesignLeft, DesignTop);
}

void TMainForm::ReadWindowSettings() {
  TDesktopSettings design;
  design.Width = width();
  design.Height = height();
  const QString helpFolder = FindHelpFolder(QCoreApplication::applicationDirPath());
  SetUpFirstStart(QDir::toNativeSeparators(helpFolder), design);
  const TStoredSettings stored = ReadSettings();
  ApplySettings(stored);
  if (!stored.Complete) ShowError(RegistryErrorText);
  const bool accurate = ReadAccurateForwardModel();
  DataAccurateForward->setChecked(accurate);
  ResondixData.ForwardModel = accurate ? TForwardModel::Accurate : TForwardModel::Filter;
  StatusPanels[0]->setText(IdleStatusText());
}

// What could be read is applied in the order it was read; the rest keeps
// the design values.
void TMainForm::ApplySettings(const TStoredSettings& settings) {
  if (settings.InstallDir) HelpTopics.Folder = *settings.InstallDir;
  Placement.Apply(settings);
  if (settings.ViewToolbar) {
    ToolBar->setVisible(*settings.ViewToolbar);
    ViewToolbar->setChecked(*settings.ViewToolbar);
  }
}
