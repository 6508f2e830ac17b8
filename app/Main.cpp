#include "Main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

#include "About.h"
#include "../views/Equivalence.h"
#include "EditTarget.h"
#include "GeneralInformation.h"
#include "Logo.h"
#include "MeasurementsGrid.h"
#include "ModelGrid.h"
#include "Plaatje.h"
#include "Preferences.h"
#include "Results.h"
#include "Statistics.h"
#include "WindowPlacement.h"

namespace {

constexpr const char* TitlePrefix = "Resondix for Windows - ";
constexpr const char* ResondixHomePage = "https://resondix.example.org/";
constexpr const char* TarvenicHomePage = "https://tarvenic.example.org/";

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

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

// A toolbar hint: the short part before the "|" for the tooltip, the long
// part after it for the status bar.
void SetHint(QAction* action, const QString& hint) {
  const int bar = hint.indexOf('|');
  action->setToolTip(bar < 0 ? hint : hint.left(bar));
  action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

QWidget* Spacer(int width) {
  auto* spacer = new QWidget;
  spacer->setFixedWidth(width);
  return spacer;
}

}  // namespace

// --- Creation ----------------------------------------------------------------

TMainForm::TMainForm(TMessageService& messages, TFileDialogService& fileDialogs, const QStringList& arguments,
                     QWidget* parent)
    : QMainWindow(parent),
      Messages(messages),
      FileDialogs(fileDialogs),
      FileCommands(ResondixData, messages, fileDialogs, MRUList),
      HelpTopics(messages) {
  setObjectName("MainForm");
  InitialiseImages();
  // File errors of the document appear as the window's error boxes.
  PreviousMessageHandler = SetMessageHandler([this](TMessageKind kind, const std::string& text) {
    Messages.ShowMessage(kind, ToQString(text));
  });
  FileCommands.OnNewDocument = [this] { ResetEditState(); };
  FileCommands.OnFileRead = [this](const QString& path) { FileRead(path); };
  FileCommands.OnSaved = [this](const QString& path) { SetTitle(path); };

  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreatePages();
  CreateStatusBar();
  setProperty(HelpContextProperty, HelpContentsTopic);

  connect(qApp, &QGuiApplication::focusWindowChanged, this, &TMainForm::ActiveWindowChanged);
  // The chart's look follows the focus at once.
  connect(qApp, &QApplication::focusChanged, Plaatje, [chart = Plaatje] { chart->repaint(); });
  auto* help = new QShortcut(QKeySequence::HelpContents, this, this, &TMainForm::WMHelp);
  help->setContext(Qt::ApplicationShortcut);

  StatusPanels[0]->clear();
  SetTitle(UntitledFileName);
  ApplyDesignGeometry();

  Plaatje->SetData(&ResondixData);
  ResondixData.OnChange = [this](TResondixData&) { ResondixDataChange(); };
  ResondixData.New();

  ReadWindowSettings();
  MRUList.OnFileClick = [this](TMRUList&) { FileReopenClick(); };
  MRUList.RegistryKey = RecentFilesKey;
  MRUList.LoadFromRegistry();
  // The document names its file by its full path, whatever folder the
  // program was started in.
  if (!arguments.isEmpty())
    FileCommands.OpenNamedFile(QDir::toNativeSeparators(QFileInfo(arguments.first()).absoluteFilePath()));
  CreateWindows();
}

TMainForm::~TMainForm() {
  ResondixData.OnChange = nullptr;
  // The grids outlive the document while the window's children are freed.
  MeasurementsGrid->SetData(nullptr);
  ModelGrid->SetData(nullptr);
  SetMessageHandler(std::move(PreviousMessageHandler));
}

void TMainForm::CreateActions() {
  auto make = [this](QAction*& action, const char* name, const QString& caption, void (TMainForm::*handler)(),
                     const QKeySequence& shortcut = QKeySequence()) {
    action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    if (handler) connect(action, &QAction::triggered, this, handler);
  };
  make(FileNew, "FileNew", "&New", &TMainForm::FileNewClick, Qt::CTRL | Qt::Key_N);
  make(FileOpen, "FileOpen", "&Open...", &TMainForm::FileOpenClick, Qt::CTRL | Qt::Key_O);
  make(FileSave, "FileSave", "&Save", &TMainForm::FileSaveClick, Qt::CTRL | Qt::Key_S);
  make(FileSaveAs, "FileSaveAs", "Save &As...", &TMainForm::FileSaveAsClick);
  make(FileImport, "FileImport", "I&mport...", &TMainForm::FileImportClick);
  make(FileInformation, "FileInformation", "&Information...", &TMainForm::FileInformationClick,
       Qt::CTRL | Qt::Key_I);
  make(FilePrint, "FilePrint", "&Print...", &TMainForm::FilePrintClick, Qt::CTRL | Qt::Key_P);
  make(FileExit, "FileExit", "E&xit", &TMainForm::FileExitClick);
  make(EditCut, "EditCut", "Cu&t", &TMainForm::EditCutClick, Qt::CTRL | Qt::Key_X);
  make(EditCopy, "EditCopy", "&Copy", &TMainForm::EditCopyClick, Qt::CTRL | Qt::Key_C);
  make(EditCopyChartAsMetafile, "EditCopyChartAsMetafile", "As Metafile", &TMainForm::EditCopyChartAsMetafileClick);
  make(EditCopyChartAsBitmap, "EditCopyChartAsBitmap", "As Bitmap", &TMainForm::EditCopyChartAsBitmapClick);
  make(EditPaste, "EditPaste", "&Paste", &TMainForm::EditPasteClick, Qt::CTRL | Qt::Key_V);
  make(EditClear, "EditClear", "Cle&ar", &TMainForm::EditClearClick, Qt::CTRL | Qt::Key_Delete);
  make(EditSelectAll, "EditSelectAll", "Se&lect All", &TMainForm::EditSelectAllClick, Qt::CTRL | Qt::Key_A);
  make(EditPreferences, "EditPreferences", "Pr&eferences...", &TMainForm::EditPreferencesClick);
  EditPreferences->setVisible(false);
  make(ViewToolbar, "ViewToolbar", "Toolbar", &TMainForm::ViewToolbarClick);
  make(ViewResults, "ViewResults", "Results", &TMainForm::ViewResultsClick);
  make(ViewStatistics, "ViewStatistics", "Statistics", &TMainForm::ViewStatisticsClick);
  for (QAction* action : {ViewToolbar, ViewResults, ViewStatistics}) action->setCheckable(true);
  ViewToolbar->setChecked(true);
  make(DataFit, "DataFit", "&Fit", &TMainForm::DataFitClick, Qt::CTRL | Qt::Key_T);
  make(DataEquivalence, "DataEquivalence", "&Equivalence...", &TMainForm::DataEquivalenceClick);
  make(DataAccurateForward, "DataAccurateForward", "Accurate forward model", &TMainForm::DataAccurateForwardClick);
  DataAccurateForward->setCheckable(true);
  make(HelpContents, "HelpContents", "&Contents...", &TMainForm::HelpContentsClick);
  make(HelpIndex, "HelpIndex", "&License agreement", &TMainForm::HelpIndexClick);
  make(HelpResondixhomepage, "HelpResondixhomepage", "Resondix homepage", &TMainForm::HelpResondixhomepageClick);
  make(HelpTarvenichomepage, "HelpTarvenichomepage", "Tarvenic homepage", &TMainForm::HelpTarvenichomepageClick);
  make(HelpAbout, "HelpAbout", "&About...", &TMainForm::HelpAboutClick);

  // The toolbar's own commands: the same handlers, with images and hints.
  // The Fit button is enabled by the document's state, the menu item only
  // when the Data menu opens, so they are separate actions.
  auto button = [&make](QAction*& action, const char* name, const char* image, const QString& hint,
                       void (TMainForm::*handler)()) {
    make(action, name, QString(), handler);
    action->setIcon(QIcon(QString(":/images/") + image + ".png"));
    SetHint(action, hint);
  };
  button(NewButton, "NewButton", "new", "New file|Click this button to create a new file.", &TMainForm::FileNewClick);
  button(OpenButton, "OpenButton", "open", "Open a file|Click this button to open an existing file.",
         &TMainForm::FileOpenClick);
  button(SaveButton, "SaveButton", "save", "Save file|Click this button to save your data to a file.",
         &TMainForm::FileSaveClick);
  button(CutButton, "CutButton", "cut",
         "Cut|Click this button to cut your current selection from the grid to the clipboard",
         &TMainForm::EditCutClick);
  button(CopyButton, "CopyButton", "copy",
         "Copy|Click this button to copy your current selection from the grid to the clipboard",
         &TMainForm::EditCopyClick);
  button(PasteButton, "PasteButton", "paste",
         "Paste|Click this button to paste data from the clipboard in the grid.", &TMainForm::EditPasteClick);
  button(FitButton, "FitButton", "fit", "Fit curve|Click this button to start the parameter optimization.",
         &TMainForm::DataFitClick);
  button(InformationButton, "InformationButton", "information",
         "Information|Click this button to display general information related to the measurements.",
         &TMainForm::FileInformationClick);
  FitButton->setEnabled(false);
}

void TMainForm::CreateMenus() {
  // Every menu opens with Alt and its letter.
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("File1");
  file->addAction(FileNew);
  file->addAction(FileOpen);
  FileReopen = file->addMenu("&Reopen");
  FileReopen->setObjectName("FileReopen");
  FileReopen->setEnabled(false);
  AddRecentFileItems(*FileReopen);
  file->addAction(FileSave);
  file->addAction(FileSaveAs);
  file->addSeparator();
  file->addAction(FileImport);
  file->addSeparator();
  file->addAction(FileInformation);
  file->addAction(FilePrint);
  file->addSeparator();
  file->addAction(FileExit);
  connect(file, &QMenu::aboutToShow, this, &TMainForm::File1Click);

  QMenu* edit = menuBar()->addMenu("&Edit");
  edit->setObjectName("Edit");
  edit->addAction(EditCut);
  edit->addAction(EditCopy);
  QMenu* copyChart = edit->addMenu("C&opy chart");
  copyChart->setObjectName("EditCopyChart");
  copyChart->addAction(EditCopyChartAsMetafile);
  copyChart->addAction(EditCopyChartAsBitmap);
  edit->addAction(EditPaste);
  edit->addSeparator();
  edit->addAction(EditClear);
  edit->addAction(EditSelectAll);
  edit->addSeparator();
  edit->addAction(EditPreferences);

  QMenu* view = menuBar()->addMenu("&View");
  view->setObjectName("View");
  view->addAction(ViewToolbar);
  view->addSeparator();
  view->addAction(ViewResults);
  view->addAction(ViewStatistics);
  connect(view, &QMenu::aboutToShow, this, &TMainForm::ViewClick);

  QMenu* data = menuBar()->addMenu("&Data");
  data->setObjectName("Data");
  data->addAction(DataFit);
  data->addAction(DataEquivalence);
  data->addSeparator();
  data->addAction(DataAccurateForward);
  connect(data, &QMenu::aboutToShow, this, &TMainForm::DataClick);

  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("Help");
  help->addAction(HelpContents);
  help->addAction(HelpIndex);
  help->addSeparator();
  QMenu* web = help->addMenu("&Resondix on the web");
  web->setObjectName("HelpWeb");
  web->addAction(HelpResondixhomepage);
  web->addAction(HelpTarvenichomepage);
  help->addSeparator();
  help->addAction(HelpAbout);
}

void TMainForm::CreateToolBar() {
  ToolBar = addToolBar("ToolBar");
  ToolBar->setObjectName("ToolBar");
  ToolBar->setMovable(false);
  ToolBar->setFloatable(false);
  ToolBar->setIconSize(QSize(ToolImageSize, ToolImageSize));
  ToolBar->setFixedHeight(ToolBarHeight);
  ToolBar->setContextMenuPolicy(Qt::PreventContextMenu);
  auto add = [this](QAction* action) {
    ToolBar->addAction(action);
    if (QWidget* widget = ToolBar->widgetForAction(action)) {
      widget->setObjectName(action->objectName());
      widget->setFixedSize(ToolButtonWidth, ToolButtonHeight);
    }
  };
  add(NewButton);
  add(OpenButton);
  add(SaveButton);
  ToolBar->addWidget(Spacer(ToolDividerWidth));
  add(CutButton);
  add(CopyButton);
  add(PasteButton);
  ToolBar->addWidget(Spacer(ToolDividerWidth));
  add(FitButton);
  add(InformationButton);
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
  auto makePage = [this](QWidget*& page, const char* name, const QString& caption, TMeasurementsGrid* grid,
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
  connect(MeasurementsGrid, &TMeasurementsGrid::RowSelected, this, &TMainForm::MeasurementsGridSelectCell);
  connect(ModelGrid, &TMeasurementsGrid::RowSelected, this, &TMainForm::ModelGridSelectCell);
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

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!std::exchange(Shown, true)) Placement.FirstShown();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!StorePendingEdits() || !FileCommands.QuerySaveChanges()) {
    event->ignore();
    return;
  }
  // FormClose: the window settings; the recent-files list follows them.
  if (!WriteDesktopSettings(Placement.Current(!ToolBar->isHidden()))) ShowError(RegistryErrorText);
  MRUList.SaveToRegistry();
  if (ResultsForm) ResultsForm->hide();
  if (StatisticsForm) StatisticsForm->hide();
  if (EquivalenceForm) EquivalenceForm->hide();
  event->accept();
}

// --- Messages, title, hints --------------------------------------------------

void TMainForm::ShowError(const QString& text) { Messages.ShowMessage(TMessageKind::Error, text); }

void TMainForm::SetTitle(const QString& fileName) { setWindowTitle(TitlePrefix + fileName); }

bool TMainForm::event(QEvent* event) {
  // The long part of a hint goes to panel 0 instead of replacing the panels.
  if (event->type() == QEvent::StatusTip) {
    ShowHint(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

void TMainForm::ShowHint(const QString& hint) {
  const QString text = hint.mid(hint.indexOf('|') + 1);
  StatusPanels[0]->setText(text.isEmpty() ? IdleStatusText() : text);
}

// While the accurate forward model is on, the hint panel names it whenever
// no hint is shown: the only panel wide enough at the window's design width.
QString TMainForm::IdleStatusText() const {
  return ResondixData.ForwardModel == TForwardModel::Accurate ? DataAccurateForward->text() : QString();
}

// --- File and Edit commands ---------------------------------------------------

void TMainForm::ResetEditState() {
  CurrentMeasurementsRow = 1;
  CurrentModelRow = 1;
  MeasurementsGrid->ResetEditState();
  ModelGrid->ResetEditState();
  WriteStatusPanels();
}

void TMainForm::FileNewClick() {
  if (FileCommands.New()) EditInformation();
}

void TMainForm::FileOpenClick() { FileCommands.Open(); }
void TMainForm::FileReopenClick() { FileCommands.Reopen(MRUList.SelectedFile()); }

void TMainForm::FileSaveClick() {
  if (StorePendingEdits()) FileCommands.Save();
}

void TMainForm::FileSaveAsClick() {
  if (StorePendingEdits()) FileCommands.SaveAs();
}

bool TMainForm::StorePendingEdits() { return MeasurementsGrid->FinishEdit() && ModelGrid->FinishEdit(); }

void TMainForm::FileImportClick() { FileCommands.Import(); }

// A load that fails changes nothing, the current rows included; one that
// succeeds starts the pages at their first rows.
void TMainForm::FileRead(const QString& path) {
  ResetEditState();
  ValidateGrids();
  Plaatje->update();
  SetTitle(path);
}

void TMainForm::FileInformationClick() { EditInformation(); }

void TMainForm::EditInformation() {
  if (GeneralInformationForm->Execute()) {
    // What OK changed belongs to the file (a lowered count even drops
    // readings): the save prompt must protect it like any other change.
    const std::string before = ResondixData.DataFileText();
    GeneralInformationForm->CopyTo(ResondixData);
    if (ResondixData.DataFileText() != before) ResondixData.Saved = false;
  }
  // The title follows the file name whatever the dialog did.
  SetTitle(ToQString(ResondixData.FileName));
}

void TMainForm::FilePrintClick() {
  QPrinter printer;
  if (FileDialogs.ChoosePrinter(printer)) Plaatje->Print(printer);
}

void TMainForm::FileExitClick() { close(); }

TEditTarget* TMainForm::ActiveEditTarget() const {
  // A result window that is active takes the commands for its focused grid;
  // otherwise they go to the control with the focus in this window. (Styles
  // that share activation call a tool window active while its owner is.)
  for (QWidget* resultWindow : {static_cast<QWidget*>(ResultsForm), static_cast<QWidget*>(StatisticsForm),
                                static_cast<QWidget*>(EquivalenceForm)})
    if (resultWindow && resultWindow->isVisible() && QApplication::activeWindow() == resultWindow)
      return EditTargetOf(resultWindow->focusWidget());
  return EditTargetOf(focusWidget());
}

void TMainForm::SendToEditTarget(void (TEditTarget::*command)()) {
  if (TEditTarget* target = ActiveEditTarget()) (target->*command)();
}

void TMainForm::EditCutClick() { SendToEditTarget(&TEditTarget::CutSelection); }
void TMainForm::EditCopyClick() { SendToEditTarget(&TEditTarget::CopySelection); }
void TMainForm::EditPasteClick() { SendToEditTarget(&TEditTarget::PasteFromClipboard); }
void TMainForm::EditClearClick() { SendToEditTarget(&TEditTarget::ClearSelection); }
void TMainForm::EditSelectAllClick() { SendToEditTarget(&TEditTarget::SelectAll); }
void TMainForm::EditCopyChartAsMetafileClick() { Plaatje->CopyToClipboard(true); }
void TMainForm::EditCopyChartAsBitmapClick() { Plaatje->CopyToClipboard(false); }
void TMainForm::EditPreferencesClick() {
  if (PreferencesForm->exec() == QDialog::Accepted) QApplication::beep();
}

// --- View, Data, Help ------------------------------------------------------------

void TMainForm::ViewToolbarClick() {
  ToolBar->setVisible(ToolBar->isHidden());
  ViewToolbar->setChecked(!ToolBar->isHidden());
}

void TMainForm::ViewResultsClick() {
  ResultsForm->Toggle(ResondixData);
  ViewResults->setChecked(ResultsForm->isVisible());
}

void TMainForm::ViewStatisticsClick() {
  StatisticsForm->Toggle(ResondixData);
  ViewStatistics->setChecked(StatisticsForm->isVisible());
}

void TMainForm::DataFitClick() {
  if (!StorePendingEdits()) return;
  FitSucceeded = true;
  ResondixData.Fit();  // a refusal shows its message and clears FitSucceeded
  Plaatje->update();
  if (ResondixData.FitStatus == 1) {
    ResondixData.FitStatus = 0;
    ShowError(NoSolutionText);
    FitSucceeded = false;
  }
  ResondixDataChange();
  if (FitSucceeded && !ResultsForm->isVisible()) ViewResultsClick();
}

void TMainForm::DataEquivalenceClick() {
  if (const std::string refusal = EquivalenceForm->Analyse(ResondixData); !refusal.empty())
    ShowError(ToQString(refusal));
}

void TMainForm::DataAccurateForwardClick() {
  const bool accurate = DataAccurateForward->isChecked();
  ResondixData.ForwardModel = accurate ? TForwardModel::Accurate : TForwardModel::Filter;
  EquivalenceForm->Clear();  // its models were fitted with the other curve
  if (!WriteAccurateForwardModel(accurate)) ShowError(RegistryErrorText);
  Plaatje->update();
  StatusPanels[0]->setText(IdleStatusText());
}

void TMainForm::HelpContentsClick() { HelpTopics.ShowTopic(HelpContentsTopic); }
void TMainForm::HelpIndexClick() { HelpTopics.ShowTopic(LicenseTopic); }
void TMainForm::HelpResondixhomepageClick() { HelpTopics.OpenHomePage(ResondixHomePage); }
void TMainForm::HelpTarvenichomepageClick() { HelpTopics.OpenHomePage(TarvenicHomePage); }
void TMainForm::HelpAboutClick() { AboutBox->exec(); }
void TMainForm::WMHelp() { HelpTopics.ShowTopicOf(QApplication::focusWidget()); }

// --- Change handler, status, menus --------------------------------------------------

void TMainForm::ResondixDataChange() {
  // An analysis describes the model it was made of.
  if (EquivalenceForm) EquivalenceForm->Clear();
  if (ResondixData.StructureChanged) {
    MeasurementsGrid->RefreshFromData();
    ModelGrid->RefreshFromData();
    CurrentMeasurementsRow = std::clamp(CurrentMeasurementsRow, 1, int(ResondixData.MeasurementCount));
    CurrentModelRow = std::clamp(CurrentModelRow, 1, int(ResondixData.LayerCount));
    SetColumnWidths();
    // The result windows are made after the first changes.
    if (ResultsForm) ResultsForm->RefreshIfVisible();
    if (StatisticsForm) StatisticsForm->RefreshIfVisible();
  }
  ValidateGrids();
  // New, Open and Import replace the annotations; the chart's boxes follow.
  Plaatje->ShowAnnotations();
  Plaatje->update();
  WriteStatusPanels();
}

void TMainForm::ValidateGrids() {
  ResondixData.MeasurementsValid = MeasurementsGrid->ValidateAll();
  ResondixData.ModelValid = ModelGrid->ValidateAll();
  FitButton->setEnabled(ResondixData.MeasurementsValid && ResondixData.ModelValid);
}

void TMainForm::WriteStatusPanels() {
  StatusPanels[1]->setText(QString("%1/%2").arg(CurrentMeasurementsRow).arg(ResondixData.MeasurementCount));
  StatusPanels[2]->setText(QString("%1/%2").arg(CurrentModelRow).arg(ResondixData.LayerCount));
  StatusPanels[3]->setText(ConfigurationName(ResondixData.IsSchlumberger));
}

void TMainForm::MeasurementsGridSelectCell(int row) {
  CurrentMeasurementsRow = row;
  MeasurementsGrid->SetRow(row);
  StatusPanels[1]->setText(QString("%1/%2").arg(row).arg(ResondixData.MeasurementCount));
}

void TMainForm::ModelGridSelectCell(int row) {
  CurrentModelRow = row;
  ModelGrid->SetRow(row);
  StatusPanels[2]->setText(QString("%1/%2").arg(row).arg(ResondixData.LayerCount));
}

void TMainForm::PlaatjeOverMeasurement(int measurement) {
  // The grid's cell selection writes the panel.
  if (measurement < 1 || measurement == CurrentMeasurementsRow) return;
  MeasurementsGrid->SetRow(measurement);
}

void TMainForm::SetColumnWidths() {
  MeasurementsGrid->FitColumns();
  ModelGrid->FitColumns();
}

void TMainForm::File1Click() { FileReopen->setEnabled(MRUList.Count() > 0); }

void TMainForm::ViewClick() {
  ViewToolbar->setChecked(!ToolBar->isHidden());
  ViewResults->setChecked(ResultsForm->isVisible());
  ViewStatistics->setChecked(StatisticsForm->isVisible());
}

void TMainForm::DataClick() {
  const bool fitPossible = ResondixData.MeasurementsValid && ResondixData.ModelValid;
  DataFit->setEnabled(fitPossible);
  DataEquivalence->setEnabled(fitPossible);
}

void TMainForm::ActiveWindowChanged(QWindow* window) {
  // Another program becoming active leaves the buttons as they are.
  if (!window) return;
  const bool mainActive = window == windowHandle();
  CutButton->setEnabled(mainActive);
  PasteButton->setEnabled(mainActive);
}
