// TMainForm: the one document window of Resondix.
//
// The window owns the document (ResondixData) for the whole run and shows it
// in the page control (the Measurements and Model pages), the chart beside
// it and the status bar. Every command enters through the menu bar or the
// toolbar. Every change of the document ends in ResondixDataChange, the one
// place where the views are brought up to date: a change of structure
// reloads the pages and the visible result windows, every change re-checks
// the values, sets the Fit button, repaints the chart and rewrites the
// status panels.
//
// The window builds its parts and forwards its commands; each feature lives
// in a class of its own that the window holds as one member:
//   TFileCommands   the File commands and the save-changes prompt
//   TUndoHistory    Edit > Undo and Redo: every change of the sounding a
//                   user makes is one step
//   TMRUList        the recent-files list of File > Reopen
//   THelpTopics     help topics, F1 and the home pages
//   TWindowPlacement  position, size and state kept in the settings
//   TPlaatje        the chart (chart/)
//   TMeasurementsGrid, TModelGrid   the editing grids of the two pages, both
//                   TValueGrid (views/)
//   TResultsForm, TStatisticsForm   the result windows (views/)
//   TEquivalenceForm  the equivalence analysis, whose models the chart
//                   draws in grey while it shows them (views/)
//   TAutomaticModelForm  the layer count of Data > Automatic model...
// The smooth model of Data > Smooth model lives here: the chart draws it
// until the item is unchecked or the measurements change.
// The Edit commands go to the TEditTarget that ActiveEditTarget finds.
//
// The parts are made, and laid out, in MainLayout.cpp (the commands as one
// table of actions); Main.cpp is what the window does with them.
//
// Message boxes and file dialogs go through the services handed to the
// constructor; the settings are read once in the constructor and written
// once when the window closes (Settings.h).
#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include "app/FileCommands.h"
#include "app/HelpTopics.h"
#include "app/MRUList.h"
#include "app/Services.h"
#include "app/UndoHistory.h"
#include "app/WindowPlacement.h"
#include "document/ResondixData.h"
#include "engine/SmoothInversion.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QTabWidget;
class QToolBar;
class QWindow;
class TAboutBox;
class TAutomaticModelForm;
class TEditTarget;
class TEquivalenceForm;
class TGeneralInformationForm;
class TPlaatje;
class TPreferencesForm;
class TResultsForm;
class TMeasurementsGrid;
class TModelGrid;
class TStatisticsForm;

constexpr const char* ApplicationTitle = "Resondix for Windows";

class TMainForm : public QMainWindow {
  Q_OBJECT

public:
  // arguments: the program's command-line arguments after the program name;
  // the first one, when present, names a data file opened at once.
  TMainForm(TMessageService& messages, TFileDialogService& fileDialogs, const QStringList& arguments,
            QWidget* parent = nullptr);
  ~TMainForm() override;

  TResondixData& Document() { return ResondixData; }
  THelpTopics& Help() { return HelpTopics; }

  // --- Commands -------------------------------------------------------------
  void FileNewClick();
  void FileOpenClick();
  // One of the Reopen items was chosen.
  void FileReopenClick();
  void FileSaveClick();
  void FileSaveAsClick();
  void FileImportClick();
  void FileInformationClick();
  void FilePrintClick();
  void FileExportReportClick();
  void FileExitClick();
  void EditCutClick();
  void EditCopyClick();
  void EditPasteClick();
  void EditClearClick();
  void EditSelectAllClick();
  void EditCopyChartAsMetafileClick();
  void EditCopyChartAsBitmapClick();
  void EditPreferencesClick();
  void ViewToolbarClick();
  void ViewResultsClick();
  void ViewStatisticsClick();
  void DataFitClick();
  void DataEquivalenceClick();
  // Data > Automatic model...: the layer count asked, then the model
  // replaced by the automatic one, fitted, as one change.
  void DataAutomaticModelClick();
  // Data > Smooth model: the smooth model of the measurements drawn on the
  // chart while checked.
  void DataSmoothModelClick();
  // Data > Accurate forward model: the chart and the fit follow the model
  // checked, which the user's settings keep.
  void DataAccurateForwardClick();
  void HelpContentsClick();
  void HelpIndexClick();
  void HelpResondixhomepageClick();
  void HelpTarvenichomepageClick();
  void HelpAboutClick();
  // F1: the topic of the focused control or of its nearest parent with one.
  void WMHelp();

  void ResondixDataChange();

  // Status and hover: the current rows of the two pages.
  void MeasurementsGridSelectCell(int row);
  void ModelGridSelectCell(int row);
  void PlaatjeOverMeasurement(int measurement);

  // Menu opening: enabled states and check marks.
  void File1Click();
  void ViewClick();
  void DataClick();

  // What the Edit commands act on now: the focused grid of the active
  // result window, else the focused grid or chart annotation of this
  // window; none when the focus is elsewhere.
  TEditTarget* ActiveEditTarget() const;

  // The current rows the window keeps for the status panels and the chart's
  // hover, counted from 1.
  int MeasurementsRow() const { return CurrentMeasurementsRow; }
  int ModelRow() const { return CurrentModelRow; }

protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void CreatePages();
  void CreateWindows();

  // After Open or Import: the new content's rows, values and title.
  void FileRead(const QString& path);
  // Runs fit (Data > Fit, or another command that fits the layers) as the
  // step name of the history, and acts on its outcome: no solution is
  // reported, a fit that ran is shown in the Optimization results window.
  void RunFit(const char* name, const std::function<TFitOutcome()>& fit);
  // What a step of the history keeps of the window beside the document,
  // and showing it back.
  TViewState ViewState() const;
  void ShowViewState(const TViewState& from, const TViewState& to);
  void EditInformation();
  void SetTitle(const QString& fileName);
  void ShowError(const QString& text);
  void ShowHint(const QString& hint);
  void ResetEditState();
  // A value still being typed into a grid is stored before the document is
  // saved, fitted or closed, so that what the cell shows is what is saved;
  // false when it is refused (its message shown, the cell kept open).
  bool StorePendingEdits();
  // MeasurementsValid and ModelValid from the grids' texts; the Fit button
  // follows them.
  void ValidateGrids();
  void WriteStatusPanels();
  QString IdleStatusText() const;
  void SetColumnWidths();
  void ActiveWindowChanged(QWindow* window);
  // The design geometry of the window: client area 745 x 545 at 344, 207.
  void ApplyDesignGeometry();
  void ReadWindowSettings();
  void ApplySettings(const TStoredSettings& settings);
  void SendToEditTarget(void (TEditTarget::*command)());
  // Computes the smooth model of the measurements as they are and draws it;
  // a refusal is shown and the item unchecked.
  void ShowSmoothModel();
  void HideSmoothModel();

  TResondixData ResondixData;
  TUndoHistory History{ResondixData};
  TMessageService& Messages;
  TFileDialogService& FileDialogs;
  TMessageHandler PreviousMessageHandler;
  TMRUList MRUList{*this, Messages};
  TFileCommands FileCommands;
  THelpTopics HelpTopics;
  TWindowPlacement Placement{*this};

  // The dialogs and result windows, made after the main window at start-up
  // in this order and living as long as it.
  TGeneralInformationForm* GeneralInformationForm = nullptr;
  TAboutBox* AboutBox = nullptr;
  TResultsForm* ResultsForm = nullptr;
  TPreferencesForm* PreferencesForm = nullptr;
  TStatisticsForm* StatisticsForm = nullptr;
  TEquivalenceForm* EquivalenceForm = nullptr;
  TAutomaticModelForm* AutomaticModelForm = nullptr;

  // The smooth model the chart draws while Data > Smooth model is checked,
  // and the measurements and curve it was made for.
  TSmoothModel SmoothModel;
  TSounding SmoothModelSounding;
  TCurveSettings SmoothModelCurve;

  // The components, named as the window names them.
  QToolBar* ToolBar = nullptr;
  QTabWidget* PageControl = nullptr;
  QWidget* MeasurementsPage = nullptr;
  QWidget* ModelPage = nullptr;
  TMeasurementsGrid* MeasurementsGrid = nullptr;
  TModelGrid* ModelGrid = nullptr;
  QSplitter* Splitter = nullptr;
  TPlaatje* Plaatje = nullptr;
  QLabel* StatusPanels[4] = {};

  QAction* FileNew = nullptr;
  QAction* FileOpen = nullptr;
  QMenu* FileReopen = nullptr;
  QAction* FileSave = nullptr;
  QAction* FileSaveAs = nullptr;
  QAction* FileImport = nullptr;
  QAction* FileInformation = nullptr;
  QAction* FilePrint = nullptr;
  QAction* FileExportReport = nullptr;
  QAction* FileExit = nullptr;
  QAction* EditUndo = nullptr;
  QAction* EditRedo = nullptr;
  QAction* EditCut = nullptr;
  QAction* EditCopy = nullptr;
  QAction* EditCopyChartAsMetafile = nullptr;
  QAction* EditCopyChartAsBitmap = nullptr;
  QAction* EditPaste = nullptr;
  QAction* EditClear = nullptr;
  QAction* EditSelectAll = nullptr;
  QAction* EditPreferences = nullptr;
  QAction* ViewToolbar = nullptr;
  QAction* ViewResults = nullptr;
  QAction* ViewStatistics = nullptr;
  QAction* DataFit = nullptr;
  QAction* DataEquivalence = nullptr;
  QAction* DataAutomaticModel = nullptr;
  QAction* DataSmoothModel = nullptr;
  QAction* DataAccurateForward = nullptr;
  QAction* HelpContents = nullptr;
  QAction* HelpIndex = nullptr;
  QAction* HelpResondixhomepage = nullptr;
  QAction* HelpTarvenichomepage = nullptr;
  QAction* HelpAbout = nullptr;

  // The toolbar buttons' commands (the buttons share them with the menu
  // where both exist).
  QAction* NewButton = nullptr;
  QAction* OpenButton = nullptr;
  QAction* SaveButton = nullptr;
  QAction* CutButton = nullptr;
  QAction* CopyButton = nullptr;
  QAction* PasteButton = nullptr;
  QAction* FitButton = nullptr;
  QAction* InformationButton = nullptr;

  int CurrentMeasurementsRow = 1;
  int CurrentModelRow = 1;
  bool Shown = false;
};
