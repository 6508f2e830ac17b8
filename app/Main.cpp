#include "Main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

#include "About.h"
#include "Logo.h"
#include "NumberText.h"
#include "Plaatje.h"
#include "Preferences.h"
#include "Results.h"
#include "Statistics.h"
#include "ValuesTable.h"

namespace {

constexpr const char* TitlePrefix = "Resondix for Windows - ";
constexpr const char* DataFileFilter = "Resondix data files (*.rxd)|*.rxd|All files (*.*)|*.*";
constexpr const char* ImportFilter = "TNO dinoloket files (*.txt)|*.txt|All files (*.*)|*.*";
constexpr const char* NoSolutionText = "NO SOLUTION  (improve starting quess)";
constexpr const char* BrowserErrorText = "Unable to launch the default browser.";
constexpr const char* ResondixHomePage = "https://resondix.example.org/";
constexpr const char* TarvenicHomePage = "https://tarvenic.example.org/";

constexpr int DesignLeft = 344;
constexpr int DesignTop = 207;
constexpr int DesignClientWidth = 745;
constexpr int DesignClientHeight = 545;
constexpr int PageControlWidth = 224;
constexpr int ToolBarHeight = 40;
constexpr int ToolButtonWidth = 37;
constexpr int ToolButtonHeight = 36;
constexpr int ToolImageSize = 30;
constexpr int ToolDividerWidth = 8;
constexpr int StatusBarHeight = 19;
constexpr int StatusPanelWidths[4] = {480, 50, 50, 50};

// The property that carries a widget's help topic; 0 or missing: none.
constexpr const char* HelpContextProperty = "HelpContext";

QString FileNotFoundText(const QString& path) { return "File " + path + " not found!"; }

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

QString TodayText() { return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat); }

QString NamePart(const QString& path) {
  const qsizetype cut = std::max({path.lastIndexOf('\\'), path.lastIndexOf('/'), path.lastIndexOf(':')});
  return path.mid(cut + 1);
}

QString WithDataFileExtension(const QString& path) {
  return NamePart(path).contains('.') ? path : path + ".rxd";
}

QString ImportedDataFileName(const QString& path) {
  const QString name = NamePart(path);
  const qsizetype dot = name.lastIndexOf('.');
  const QString folder = path.left(path.size() - name.size());
  return folder + (dot < 0 ? name : name.left(dot)) + ".rxd";
}

// --- Creation ----------------------------------------------------------------

TMainForm::TMainForm(TMessageService& messages, TFileDialogService& fileDialogs, const QStringList& arguments,
                     QWidget* parent)
    : QMainWindow(parent), Messages(messages), FileDialogs(fileDialogs) {
  setObjectName("MainForm");
  InitialiseImages();
  OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
  // File errors of the document appear as the window's error boxes.
  PreviousMessageHandler = SetMessageHandler([this](TMessageKind kind, const std::string& text) {
    Messages.ShowMessage(kind, ToQString(text));
  });

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
  ResondixData.Chart = Plaatje;
  ResondixData.OnChange = [this](TResondixData&) { ResondixDataChange(); };
  ResondixData.New();

  ReadWindowSettings();
  // The document names its file by its full path, whatever folder the
  // program was started in.
  if (!arguments.isEmpty()) OpenNamedFile(QDir::toNativeSeparators(QFileInfo(arguments.first()).absoluteFilePath()));
  CreateWindows();
}

TMainForm::~TMainForm() {
  ResondixData.OnChange = nullptr;
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
  // The Edit commands act on the editing grids, the chart's annotations and
  // the result windows' grids, which arrive with their own parts.
  make(EditCut, "EditCut", "Cu&t", nullptr, Qt::CTRL | Qt::Key_X);
  make(EditCopy, "EditCopy", "&Copy", nullptr, Qt::CTRL | Qt::Key_C);
  make(EditCopyChartAsMetafile, "EditCopyChartAsMetafile", "As Metafile", nullptr);
  make(EditCopyChartAsBitmap, "EditCopyChartAsBitmap", "As Bitmap", nullptr);
  make(EditPaste, "EditPaste", "&Paste", nullptr, Qt::CTRL | Qt::Key_V);
  make(EditClear, "EditClear", "Cle&ar", nullptr, Qt::CTRL | Qt::Key_Delete);
  make(EditSelectAll, "EditSelectAll", "Se&lect All", nullptr, Qt::CTRL | Qt::Key_A);
  make(EditPreferences, "EditPreferences", "Pr&eferences...", &TMainForm::EditPreferencesClick);
  EditPreferences->setVisible(false);
  make(ViewToolbar, "ViewToolbar", "Toolbar", &TMainForm::ViewToolbarClick);
  make(ViewResults, "ViewResults", "Results", &TMainForm::ViewResultsClick);
  make(ViewStatistics, "ViewStatistics", "Statistics", &TMainForm::ViewStatisticsClick);
  for (QAction* action : {ViewToolbar, ViewResults, ViewStatistics}) action->setCheckable(true);
  ViewToolbar->setChecked(true);
  make(DataFit, "DataFit", "&Fit", &TMainForm::DataFitClick, Qt::CTRL | Qt::Key_T);
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
         "Cut|Click this button to cut your current selection from the grid to the clipboard", nullptr);
  button(CopyButton, "CopyButton", "copy",
         "Copy|Click this button to copy your current selection from the grid to the clipboard", nullptr);
  button(PasteButton, "PasteButton", "paste",
         "Paste|Click this button to paste data from the clipboard in the grid.", nullptr);
  button(FitButton, "FitButton", "fit", "Fit curve|Click this button to start the parameter optimization.",
         &TMainForm::DataFitClick);
  button(InformationButton, "InformationButton", "information",
         "Information|Click this button to display general information related to the measurements.",
         &TMainForm::FileInformationClick);
  FitButton->setEnabled(false);
}

void TMainForm::CreateMenus() {
  QMenu* file = menuBar()->addMenu("File");
  file->setObjectName("File1");
  file->addAction(FileNew);
  file->addAction(FileOpen);
  FileReopen = file->addMenu("&Reopen");
  FileReopen->setObjectName("FileReopen");
  FileReopen->setEnabled(false);
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

  QMenu* view = menuBar()->addMenu("View");
  view->setObjectName("View");
  view->addAction(ViewToolbar);
  view->addSeparator();
  view->addAction(ViewResults);
  view->addAction(ViewStatistics);
  connect(view, &QMenu::aboutToShow, this, &TMainForm::ViewClick);

  QMenu* data = menuBar()->addMenu("Data");
  data->setObjectName("Data");
  data->addAction(DataFit);
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
  auto makePage = [this](QWidget*& page, const char* name, const QString& caption, TValuesTable*& view,
                         bool isModel) {
    page = new QWidget;
    page->setObjectName(name);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    view = new TValuesTable(ResondixData, isModel, page);
    layout->addWidget(view);
    PageControl->addTab(page, caption);
  };
  makePage(MeasurementsPage, "MeasurementsPage", "Measurements", MeasurementsView, false);
  makePage(ModelPage, "ModelPage", "Model", ModelView, true);
  MeasurementsView->setObjectName("MeasurementsGrid");
  ModelView->setObjectName("ModelGrid");
  MeasurementsView->setProperty(HelpContextProperty, MeasurementsTopic);
  connect(MeasurementsView, &TValuesTable::RowSelected, this, &TMainForm::MeasurementsGridSelectCell);
  connect(ModelView, &TValuesTable::RowSelected, this, &TMainForm::ModelGridSelectCell);
  PageControl->setCurrentWidget(MeasurementsPage);
  connect(PageControl, &QTabWidget::currentChanged, this, &TMainForm::SetColumnWidths);
  connect(Splitter, &QSplitter::splitterMoved, this, &TMainForm::SetColumnWidths);

  Plaatje = new TPlaatje(Splitter);
  Plaatje->setObjectName("Plaatje");
  Plaatje->OnOverMeasurement = [this](TPlaatje& chart) { PlaatjeOverMeasurement(chart.MeasurementUnderMouse); };

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
  AboutBox = new TAboutBox(this);
  ResultsForm = new TResultsForm(this);
  PreferencesForm = new TPreferencesForm(this);
  StatisticsForm = new TStatisticsForm(this);
}

void TMainForm::ApplyDesignGeometry() {
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
  if (!ReadSettings(*this)) ShowError(RegistryErrorText);
}

// --- Settings ------------------------------------------------------------------

void TMainForm::ApplyInstallDir(const QString& folder) { HelpFolder = folder; }
void TMainForm::ApplyLeft(int left) { move(left, y()); }
void TMainForm::ApplyTop(int top) { move(x(), top); }

void TMainForm::ApplyHeight(int height) {
  PendingOuterSize.setHeight(height);
  resize(width(), std::max(height, 1));
}

void TMainForm::ApplyWidth(int width) {
  PendingOuterSize.setWidth(width);
  resize(std::max(width, 1), height());
}

void TMainForm::ApplyWindowState(int state) {
  // Any other stored number starts the window in its normal state.
  if (state == 1) setWindowState(Qt::WindowMinimized);
  else if (state == 2) setWindowState(Qt::WindowMaximized);
  else setWindowState(Qt::WindowNoState);
}

void TMainForm::ApplyViewToolbar(bool visible) {
  ToolBar->setVisible(visible);
  ViewToolbar->setChecked(visible);
}

TDesktopSettings TMainForm::CurrentDesktopSettings() const {
  TDesktopSettings settings;
  const QRect outer = frameGeometry();
  settings.Left = outer.left();
  settings.Top = outer.top();
  settings.Height = outer.height();
  settings.Width = outer.width();
  settings.WindowState = isMinimized() ? 1 : isMaximized() ? 2 : 0;
  settings.ViewToolbar = !ToolBar->isHidden();
  return settings;
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (Shown) return;
  Shown = true;
  // The stored size is the outer size; the frame is known only now.
  if (PendingOuterSize.isValid() && windowState() == Qt::WindowNoState) {
    QTimer::singleShot(0, this, [this] {
      const QSize frame = frameGeometry().size() - size();
      if (!frame.isEmpty()) resize(PendingOuterSize - frame);
    });
  }
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!QuerySaveChanges()) {
    event->ignore();
    return;
  }
  // FormClose: the window settings; the recent-files list follows them.
  if (!WriteDesktopSettings(CurrentDesktopSettings())) ShowError(RegistryErrorText);
  if (ResultsForm) ResultsForm->hide();
  if (StatisticsForm) StatisticsForm->hide();
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

void TMainForm::ShowHint(const QString& hint) { StatusPanels[0]->setText(hint.mid(hint.indexOf('|') + 1)); }

// --- File commands -------------------------------------------------------------

bool TMainForm::QuerySaveChanges() {
  if (ResondixData.Saved) return true;
  switch (Messages.AskSaveChanges("Save changes to " + ToQString(ResondixData.FileName) + "?")) {
    case TSaveAnswer::Yes:
      FileSaveClick();
      // Going on after a save that did not happen would lose the changes.
      return ResondixData.Saved;
    case TSaveAnswer::No: return true;
    case TSaveAnswer::Cancel: return false;
  }
  return false;
}

void TMainForm::ResetEditState() {
  CurrentMeasurementsRow = 1;
  CurrentModelRow = 1;
  MeasurementsView->SetRow(1);
  ModelView->SetRow(1);
  WriteStatusPanels();
}

void TMainForm::FileNewClick() {
  if (!QuerySaveChanges()) return;
  ResetEditState();
  ResondixData.New();
  ResondixData.DataFileName() = ResondixData.FileName;
  ResondixData.FileDate() = TodayText().toStdString();
  EditInformation();
}

void TMainForm::FileOpenClick() {
  if (!QuerySaveChanges()) return;
  const QString path = FileDialogs.GetOpenFileName(DataFileFilter);
  if (path.isEmpty()) return;
  OpenNamedFile(path);
}

// Open, the command-line file: a file that is missing or fails to load
// leaves the document, its name and the title as they were.
void TMainForm::OpenNamedFile(const QString& path) {
  if (!QFileInfo::exists(path)) {
    ShowError(FileNotFoundText(path));
    return;
  }
  const std::string previousName = ResondixData.FileName;
  ResondixData.FileName = path.toStdString();
  if (!OpenDataFile()) ResondixData.FileName = previousName;
}

// A load that fails changes nothing, the current rows included.
bool TMainForm::OpenDataFile() {
  if (!ResondixData.LoadFromFile()) return false;
  ResetEditState();
  ValidateDocument();
  Plaatje->update();
  SetTitle(ToQString(ResondixData.FileName));
  return true;
}

void TMainForm::FileSaveClick() {
  if (ResondixData.FileName == UntitledFileName) {
    FileSaveAsClick();
    return;
  }
  ResondixData.SaveToFile();
}

void TMainForm::FileSaveAsClick() {
  const QString chosen = FileDialogs.GetSaveFileName(NamePart(ToQString(ResondixData.FileName)), DataFileFilter);
  if (chosen.isEmpty()) return;
  const std::string previousName = ResondixData.FileName;
  ResondixData.FileName = WithDataFileExtension(chosen).toStdString();
  if (!ResondixData.SaveToFile()) {
    // The document was not written there: it keeps the name it has.
    ResondixData.FileName = previousName;
    return;
  }
  SetTitle(ToQString(ResondixData.FileName));
}

void TMainForm::FileImportClick() {
  if (!QuerySaveChanges()) return;
  const QString path = FileDialogs.GetOpenFileName(ImportFilter);
  if (path.isEmpty()) return;
  if (!QFileInfo::exists(path)) {
    ShowError(FileNotFoundText(path));
    return;
  }
  const std::string previousName = ResondixData.FileName;
  ResondixData.FileName = path.toStdString();
  if (!ImportDataFile()) {
    ResondixData.FileName = previousName;
    return;
  }
  // A later Save writes the data file beside the imported one, never over it.
  ResondixData.FileName = ImportedDataFileName(path).toStdString();
  ResondixData.DataFileName() = ResondixData.FileName;
  ResondixData.FileDate() = TodayText().toStdString();
}

bool TMainForm::ImportDataFile() {
  if (!ResondixData.ImportDinoloket()) return false;
  ResetEditState();
  ValidateDocument();
  Plaatje->update();
  SetTitle(ToQString(ResondixData.FileName));
  return true;
}

void TMainForm::FileInformationClick() { EditInformation(); }

void TMainForm::EditInformation() {
  // The General information dialog arrives with its own part; the title
  // follows the file name whatever the dialog did.
  SetTitle(ToQString(ResondixData.FileName));
}

void TMainForm::FilePrintClick() {}

void TMainForm::FileExitClick() { close(); }

void TMainForm::EditPreferencesClick() {
  if (PreferencesForm->exec() == QDialog::Accepted) QApplication::beep();
}

// --- View, Data, Help ------------------------------------------------------------

void TMainForm::ViewToolbarClick() {
  ToolBar->setVisible(ToolBar->isHidden());
  ViewToolbar->setChecked(!ToolBar->isHidden());
}

void TMainForm::ViewResultsClick() {
  ResultsForm->setVisible(!ResultsForm->isVisible());
  ViewResults->setChecked(ResultsForm->isVisible());
}

void TMainForm::ViewStatisticsClick() {
  StatisticsForm->setVisible(!StatisticsForm->isVisible());
  ViewStatistics->setChecked(StatisticsForm->isVisible());
}

void TMainForm::DataFitClick() {
  FitSucceeded = true;
  ResondixData.Fit();
  Plaatje->update();
  if (ResondixData.FitStatus == 1) {
    ResondixData.FitStatus = 0;
    ShowError(NoSolutionText);
    FitSucceeded = false;
  }
  ResondixDataChange();
  if (FitSucceeded && !ResultsForm->isVisible()) ViewResultsClick();
}

void TMainForm::ShowHelpTopic(int topic) {
  const QString page = QDir(HelpFolder).filePath(QString::number(topic) + ".html");
  OpenUrl(QUrl::fromLocalFile(page));
}

void TMainForm::HelpContentsClick() { ShowHelpTopic(HelpContentsTopic); }
void TMainForm::HelpIndexClick() { ShowHelpTopic(LicenseTopic); }

void TMainForm::OpenHomePage(const char* address) {
  if (!OpenUrl(QUrl(address))) ShowError(BrowserErrorText);
}

void TMainForm::HelpResondixhomepageClick() { OpenHomePage(ResondixHomePage); }
void TMainForm::HelpTarvenichomepageClick() { OpenHomePage(TarvenicHomePage); }
void TMainForm::HelpAboutClick() { AboutBox->exec(); }

void TMainForm::WMHelp() {
  QWidget* focused = QApplication::focusWidget();
  for (QWidget* widget = focused; widget; widget = widget->parentWidget()) {
    const int topic = widget->property(HelpContextProperty).toInt();
    if (topic != 0) {
      ShowHelpTopic(topic);
      return;
    }
  }
  ShowHelpTopic(HelpContentsTopic);
}

// --- Change handler, status, menus --------------------------------------------------

void TMainForm::ResondixDataChange() {
  if (ResondixData.StructureChanged) {
    MeasurementsView->RefreshFromData();
    ModelView->RefreshFromData();
    CurrentMeasurementsRow = std::clamp(CurrentMeasurementsRow, 1, int(ResondixData.MeasurementCount));
    CurrentModelRow = std::clamp(CurrentModelRow, 1, int(ResondixData.LayerCount));
    SetColumnWidths();
  }
  ValidateDocument();
  Plaatje->update();
  WriteStatusPanels();
}

void TMainForm::ValidateDocument() {
  // The value rules accept an L/2 of 0, but it is a value not entered: the
  // page shows an empty cell there, and a fit cannot use it.
  bool spacingsEntered = true;
  for (int i = 1; i <= ResondixData.MeasurementCount; ++i) spacingsEntered &= ResondixData.HalfSpacing[i] != 0;
  int column = 0;
  ResondixData.MeasurementsValid = spacingsEntered && ResondixData.FirstRefusedMeasurement(column) == 0;
  ResondixData.ModelValid = ResondixData.FirstRefusedLayer(column) == 0;
  FitButton->setEnabled(ResondixData.MeasurementsValid && ResondixData.ModelValid);
}

void TMainForm::WriteStatusPanels() {
  StatusPanels[1]->setText(QString("%1/%2").arg(CurrentMeasurementsRow).arg(ResondixData.MeasurementCount));
  StatusPanels[2]->setText(QString("%1/%2").arg(CurrentModelRow).arg(ResondixData.LayerCount));
  StatusPanels[3]->setText(ResondixData.IsSchlumberger ? "Schlumberger" : "Wenner");
}

void TMainForm::MeasurementsGridSelectCell(int row) {
  CurrentMeasurementsRow = row;
  MeasurementsView->SetRow(row);
  StatusPanels[1]->setText(QString("%1/%2").arg(row).arg(ResondixData.MeasurementCount));
}

void TMainForm::ModelGridSelectCell(int row) {
  CurrentModelRow = row;
  ModelView->SetRow(row);
  StatusPanels[2]->setText(QString("%1/%2").arg(row).arg(ResondixData.LayerCount));
}

void TMainForm::PlaatjeOverMeasurement(int measurement) {
  if (measurement < 1 || measurement == CurrentMeasurementsRow) return;
  MeasurementsGridSelectCell(measurement);
}

void TMainForm::SetColumnWidths() {
  MeasurementsView->FitColumns();
  ModelView->FitColumns();
}

void TMainForm::File1Click() { FileReopen->setEnabled(false); }

void TMainForm::ViewClick() {
  ViewToolbar->setChecked(!ToolBar->isHidden());
  ViewResults->setChecked(ResultsForm->isVisible());
  ViewStatistics->setChecked(StatisticsForm->isVisible());
}

void TMainForm::DataClick() { DataFit->setEnabled(ResondixData.MeasurementsValid && ResondixData.ModelValid); }

void TMainForm::ActiveWindowChanged(QWindow* window) {
  // Another program becoming active leaves the buttons as they are.
  if (!window) return;
  const bool mainActive = window == windowHandle();
  CutButton->setEnabled(mainActive);
  PasteButton->setEnabled(mainActive);
}
