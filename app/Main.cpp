#include "app/Main.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QShortcut>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QWindow>

#include "app/About.h"
#include "app/AutomaticModelDialog.h"
#include "app/GeneralInformation.h"
#include "app/Logo.h"
#include "app/Preferences.h"
#include "app/WindowPlacement.h"
#include "chart/Plaatje.h"
#include "chart/TextEdit.h"
#include "views/EditTarget.h"
#include "views/EquivalenceForm.h"
#include "views/MeasurementsGrid.h"
#include "views/ModelGrid.h"
#include "views/Results.h"
#include "views/Statistics.h"

namespace {

constexpr const char* TitlePrefix = "Resondix for Windows - ";
constexpr const char* ResondixHomePage = "https://resondix.example.org/";
constexpr const char* TarvenicHomePage = "https://tarvenic.example.org/";

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

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
  FileCommands.OnSaved = [this](const QString& path) {
    SetTitle(path);
    History.MarkSaved();
    setWindowModified(false);
  };

  CreateActions();
  CreateMenus();
  CreateToolBar();
  CreatePages();
  CreateStatusBar();
  setProperty(HelpContextProperty, HelpContentsTopic);

  connect(qApp, &QGuiApplication::focusWindowChanged, this, &TMainForm::ActiveWindowChanged);
  // The chart's look follows the focus at once.
  connect(qApp, &QApplication::focusChanged, Plaatje, [chart = Plaatje] { chart->repaint(); });
  // Typing into a chart label, and dragging it, is one step until the label
  // loses the focus to another control; the menus take it only for a while.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    const bool toMenu = qobject_cast<QMenuBar*>(now) || QApplication::activePopupWidget();
    if (qobject_cast<TTextEdit*>(old) && !toMenu) History.EndSession();
  });
  History.CaptureView = [this] { return ViewState(); };
  History.ShowView = [this](const TViewState& from, const TViewState& to) { ShowViewState(from, to); };
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
  disconnect(qApp, &QApplication::focusChanged, this, nullptr);
  // The grids outlive the document while the window's children are freed.
  MeasurementsGrid->SetData(nullptr);
  ModelGrid->SetData(nullptr);
  SetMessageHandler(std::move(PreviousMessageHandler));
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

// The title marks a document with unsaved changes.
void TMainForm::SetTitle(const QString& fileName) { setWindowTitle(TitlePrefix + fileName + "[*]"); }

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

// New, Open and Reopen start a fresh history.
void TMainForm::FileNewClick() {
  if (!FileCommands.New()) return;
  History.Restart();
  EditInformation();
}

void TMainForm::FileOpenClick() {
  if (FileCommands.Open()) History.Restart();
}

void TMainForm::FileReopenClick() {
  if (FileCommands.Reopen(MRUList.SelectedFile())) History.Restart();
}

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
  // What OK changed of the file (a lowered count even drops readings) makes
  // the document unsaved: the save prompt must protect it like any other
  // change.
  if (GeneralInformationForm->Execute())
    ResondixData.RunStep("General information", [this] {
      ResondixData.EditDescription([this](TResondixData& document) { GeneralInformationForm->CopyTo(document); });
    });
  // The title follows the file name whatever the dialog did.
  SetTitle(ToQString(ResondixData.FileName));
}

void TMainForm::FilePrintClick() {
  QPrinter printer;
  if (FileDialogs.ChoosePrinter(printer)) Plaatje->Print(printer);
}

void TMainForm::FileExportReportClick() {
  // A value still being typed belongs in the report, as it does in a save;
  // the chart's equivalent models and smooth model, while it shows them, too.
  if (StorePendingEdits())
    FileCommands.ExportReport(EquivalenceForm->Models(), EquivalenceForm->ModelCount(),
                              DataSmoothModel->isChecked() ? &SmoothModel : nullptr);
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
  if (StorePendingEdits()) RunFit("Fit", [this] { return ResondixData.Fit(); });
}

void TMainForm::DataAutomaticModelClick() {
  if (!StorePendingEdits()) return;
  const int layers = AutomaticModelForm->Execute();
  if (layers < 0) return;
  RunFit("Automatic model", [this, layers] { return ResondixData.FitAutomaticModel(layers, DefaultErrorPercent); });
}

void TMainForm::RunFit(const char* name, const std::function<TFitOutcome()>& fit) {
  ResondixData.RunStep(name, [&] {
    FitSucceeded = true;
    const TFitOutcome outcome = fit();  // a refusal shows its own message
    Plaatje->update();
    const bool noSolution = outcome.Ran && outcome.Status == 1;
    if (noSolution) {
      ResondixData.FitStatus = 0;
      ShowError(NoSolutionText);
      FitSucceeded = false;
    }
    ResondixDataChange();
    if (outcome.Ran && !noSolution && !ResultsForm->isVisible()) ViewResultsClick();
  });
}

void TMainForm::DataEquivalenceClick() {
  const std::string refusal = EquivalenceForm->Analyse(ResondixData);
  if (!refusal.empty()) ShowError(ToQString(refusal));
}

void TMainForm::DataSmoothModelClick() {
  if (DataSmoothModel->isChecked() && StorePendingEdits()) ShowSmoothModel();
  else HideSmoothModel();
}

void TMainForm::ShowSmoothModel() {
  if (const std::string refusal = ResondixData.SmoothModel(DefaultErrorPercent, SmoothModel); !refusal.empty()) {
    HideSmoothModel();
    ShowError(ToQString(refusal));
    return;
  }
  SmoothModelSounding = ResondixData.Sounding();
  SmoothModelCurve = ResondixData.CurveSettings();
  Plaatje->SetSmoothModel(&SmoothModel);
}

void TMainForm::HideSmoothModel() {
  DataSmoothModel->setChecked(false);
  Plaatje->SetSmoothModel(nullptr);
}

void TMainForm::DataAccurateForwardClick() {
  const bool accurate = DataAccurateForward->isChecked();
  ResondixData.ForwardModel = accurate ? TForwardModel::Accurate : TForwardModel::Filter;
  EquivalenceForm->Clear();  // its models were fitted with the other curve
  if (DataSmoothModel->isChecked()) ShowSmoothModel();  // it follows the curve
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
  // An analysis describes the model it was made of, which the chart's
  // labels are not part of.
  if (EquivalenceForm && !ResondixData.AnnotationsChanged) EquivalenceForm->Clear();
  // The smooth model describes the measurements, whatever the layers do.
  if (DataSmoothModel->isChecked() && (ResondixData.Sounding() != SmoothModelSounding ||
                                      ResondixData.IsSchlumberger != SmoothModelCurve.IsSchlumberger))
    HideSmoothModel();
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
  setWindowModified(!ResondixData.Saved);
}

TViewState TMainForm::ViewState() const {
  return {MeasurementsGrid->CellTexts(), ModelGrid->CellTexts(), windowTitle()};
}

// The document has been put back, and the grids show its values; a step
// also puts back what Cut and Clear emptied, and the title an import showed.
void TMainForm::ShowViewState(const TViewState& from, const TViewState& to) {
  MeasurementsGrid->ShowCellTexts(to.MeasurementTexts);
  ModelGrid->ShowCellTexts(to.ModelTexts);
  if (from.Title != to.Title) setWindowTitle(to.Title);
  ValidateGrids();
}

void TMainForm::ValidateGrids() {
  ResondixData.SetValidity(MeasurementsGrid->ValidateAll(), ModelGrid->ValidateAll());
  FitButton->setEnabled(ResondixData.MeasurementsValid && ResondixData.ModelValid);
}

void TMainForm::WriteStatusPanels() {
  StatusPanels[1]->setText(QString("%1/%2").arg(CurrentMeasurementsRow).arg(ResondixData.MeasurementCount));
  StatusPanels[2]->setText(QString("%1/%2").arg(CurrentModelRow).arg(ResondixData.LayerCount));
  StatusPanels[3]->setText(ResondixData.IsSchlumberger ? "Schlumberger" : "Wenner");
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
  // The measurements alone make these; a smooth model shown can always go.
  DataAutomaticModel->setEnabled(ResondixData.MeasurementsValid);
  DataSmoothModel->setEnabled(ResondixData.MeasurementsValid || DataSmoothModel->isChecked());
}

void TMainForm::ActiveWindowChanged(QWindow* window) {
  // Another program becoming active leaves the buttons as they are.
  if (!window) return;
  const bool mainActive = window == windowHandle();
  CutButton->setEnabled(mainActive);
  PasteButton->setEnabled(mainActive);
}
