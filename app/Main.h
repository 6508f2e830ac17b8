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
// Message boxes and file dialogs go through the services handed to the
// constructor; the settings are read once in the constructor and written
// once when the window closes (Settings.h).
#pragma once

#include <QDate>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>

#include "ResondixData.h"
#include "Services.h"
#include "Settings.h"

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QTabWidget;
class QToolBar;
class QToolButton;
class QWidget;
class TAboutBox;
class TPlaatje;
class TPreferencesForm;
class TResultsForm;
class TStatisticsForm;
class TValuesTable;

constexpr const char* ApplicationTitle = "Resondix for Windows";

// The window's help contexts: the window's own topic, and the measurements
// page's.
constexpr int HelpContentsTopic = 1001;
constexpr int LicenseTopic = 1002;
constexpr int GeneralInformationTopic = 1003;
constexpr int MeasurementsTopic = 6;

class TMainForm : public QMainWindow, private TSettingsReader {
  Q_OBJECT

public:
  // arguments: the program's command-line arguments after the program name;
  // the first one, when present, names a data file opened at once.
  TMainForm(TMessageService& messages, TFileDialogService& fileDialogs, const QStringList& arguments,
            QWidget* parent = nullptr);
  ~TMainForm() override;

  TResondixData ResondixData;

  // The dialogs and result windows, made after the main window at start-up
  // in this order and living as long as it.
  TAboutBox* AboutBox = nullptr;
  TResultsForm* ResultsForm = nullptr;
  TPreferencesForm* PreferencesForm = nullptr;
  TStatisticsForm* StatisticsForm = nullptr;

  // Opens a web address or a help page; QDesktopServices::openUrl unless a
  // test replaces it.
  std::function<bool(const QUrl&)> OpenUrl;

  // --- Commands -------------------------------------------------------------
  void FileNewClick();
  void FileOpenClick();
  void FileSaveClick();
  void FileSaveAsClick();
  void FileImportClick();
  void FileInformationClick();
  void FilePrintClick();
  void FileExitClick();
  void EditPreferencesClick();
  void ViewToolbarClick();
  void ViewResultsClick();
  void ViewStatisticsClick();
  void DataFitClick();
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

  // The current rows the window keeps for the status panels and the chart's
  // hover, counted from 1.
  int MeasurementsRow() const { return CurrentMeasurementsRow; }
  int ModelRow() const { return CurrentModelRow; }

  // The components, named as the window names them.
  QToolBar* ToolBar = nullptr;
  QTabWidget* PageControl = nullptr;
  QWidget* MeasurementsPage = nullptr;
  QWidget* ModelPage = nullptr;
  TValuesTable* MeasurementsView = nullptr;
  TValuesTable* ModelView = nullptr;
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
  QAction* FileExit = nullptr;
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

  // The folder of the help topics, from the settings.
  QString HelpFolder;

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

  // The save-changes prompt: true when the command may go on.
  bool QuerySaveChanges();
  bool OpenDataFile();
  bool ImportDataFile();
  void OpenNamedFile(const QString& path);
  void EditInformation();
  void SetTitle(const QString& fileName);
  void ShowError(const QString& text);
  void ShowHint(const QString& hint);
  void ShowHelpTopic(int topic);
  void OpenHomePage(const char* address);
  void ResetEditState();
  void ValidateDocument();
  void WriteStatusPanels();
  void SetColumnWidths();
  void ActiveWindowChanged(QWindow* window);
  // The design geometry of the window: client area 745 x 545 at 344, 207.
  void ApplyDesignGeometry();
  void ReadWindowSettings();
  TDesktopSettings CurrentDesktopSettings() const;

  // TSettingsReader
  void ApplyInstallDir(const QString& folder) override;
  void ApplyLeft(int left) override;
  void ApplyTop(int top) override;
  void ApplyHeight(int height) override;
  void ApplyWidth(int width) override;
  void ApplyWindowState(int state) override;
  void ApplyViewToolbar(bool visible) override;

  TMessageService& Messages;
  TFileDialogService& FileDialogs;
  TMessageHandler PreviousMessageHandler;
  int CurrentMeasurementsRow = 1;
  int CurrentModelRow = 1;
  // The outer size read from the settings, applied once the window frame is
  // known at the first show.
  QSize PendingOuterSize;
  bool Shown = false;
};

// Today's date in the user's short date format.
QString TodayText();

// The name part of a path: the text after the last "\", "/" or ":".
QString NamePart(const QString& path);
// Save As: a chosen path whose name part has no "." gets ".rxd".
QString WithDataFileExtension(const QString& path);
// Import: the data-file name of an imported file: its extension, if any,
// replaced by ".rxd".
QString ImportedDataFileName(const QString& path);
