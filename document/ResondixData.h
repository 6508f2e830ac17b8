// TResondixData: the one document of Resondix, a vertical electrical
// sounding.
//
// The document holds the measured apparent-resistivity curve (half spacings
// L/2 and apparent resistivities: its TSounding), the layered-earth model
// fitted to it (its TLayerModel), the electrode configuration, fourteen
// lines of descriptive information, the fit's unknowns and results, and the
// chart's text annotations. Every quantity lives in fixed-capacity arrays
// indexed exactly as the algorithms number them (measurement 1 is index 1);
// nothing is allocated per measurement, per layer or per fit.
//
// Flow of data: the window, the command line and the tests own one document.
// The views read it whenever they refresh; every change ends in the
// synchronous OnChange callback, whose flags StructureChanged and Saved tell
// the receiver what changed. The computing is the engine's (engine/): the
// document's ComputeModelCurve, Fit and ComputeFitStatistics hand its arrays
// to it and write the results back. Messages for the user go through
// Messages.h.
//
// Sources: ResondixData.cpp (state, setters, the engine's forwards),
// DataFile.cpp (the .rxd file), Editing.cpp (insert, delete, value rules),
// UserEdits.cpp (annotations, description, validity), FitTexts.cpp (the
// statistics texts), Import.cpp (DINOloket files), SpreadsheetImport.cpp
// (delimited text files from spreadsheets), Snapshot.cpp (the steps of the
// window's undo history).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "document/ShortString.h"
#include "engine/DecimalLog.h"
#include "engine/FitStatistics.h"
#include "engine/FixedArray.h"
#include "engine/ForwardModel.h"
#include "engine/LayerModel.h"
#include "engine/Optimisation.h"
#include "engine/Sounding.h"

class TTextReader;
struct TDocumentSnapshot;
struct TEquivalence;
struct TFileCounts;
struct TEquivalenceTolerance;
struct TSmoothModel;

constexpr int InfoLineCount = 14;

// Capacities of the fixed texts.
using TInfoText = TShortString<80>;
using TPercentText = TShortString<4>;
using TIntervalText = TShortString<20>;
using TParameterName = TShortString<12>;

// "  * ": no figure, in every per-layer statistics text.
constexpr const char* NoStatisticText = "  * ";

// The untitled document's file name.
constexpr const char* UntitledFileName = "untitled.rxd";

// The default half spacings; measurement i takes entry i, a measurement beyond
// the table takes its last entry.
constexpr int DefaultHalfSpacingCount = 43;
double DefaultHalfSpacing(int i);

// "Schlumberger" or "Wenner": the configuration's name in the status bar and
// on the command line.
const char* ConfigurationName(bool isSchlumberger);
// " Schlumberger" or " Wenner": the description line that mirrors the
// configuration (SoundingTypeText).
std::string SoundingTypeTextOf(bool isSchlumberger);

// A text box placed on the chart: position relative to the chart's client
// area and size, in pixels, and its text with "\n" between lines.
struct TAnnotation {
  int ChartX = 0;
  int ChartY = 0;
  int Width = 0;
  int Height = 0;
  std::string Text;

  friend bool operator==(const TAnnotation& a, const TAnnotation& b) {
    return a.ChartX == b.ChartX && a.ChartY == b.ChartY && a.Width == b.Width &&
           a.Height == b.Height && a.Text == b.Text;
  }
};

// Program-wide: the refusal text of the last value check or document
// operation that returned false, for the design's callers. The program's own
// callers take the refusal as a return value instead.
extern std::string LastErrorMessage;

// Program-wide: set by the Fit command, cleared by Fit() when it refuses.
// Nothing in the program reads it back: the Fit command acts on Fit()'s
// outcome.
extern bool FitSucceeded;

// What the window and the command line report for a fit that ended with
// FitStatus 1.
constexpr const char* NoSolutionText = "NO SOLUTION  (improve starting quess)";

// The import's warning about a file without a model, for which it made a
// starting model.
constexpr const char* NoModelWarningText = "No model was found in imported file. Defaulting to 3-layer model.";

// What Fit() did: refused with its message, or ran to its FitStatus.
struct TFitOutcome {
  bool Ran = false;
  int Status = 0;
  std::string Refusal;
};

// Whom the advice of the fit's warnings addresses: the window names its
// menu commands, the command line its options; a report, written for
// whoever reads the interpretation, states the warning without advice.
enum class TAdviceFor { Window, CommandLine, Report };

// What an insert or delete did: done, or refused with its message.
struct TEditOutcome {
  std::string Refusal;  // "" when done

  explicit operator bool() const { return Refusal.empty(); }
};

// A value the value rules refuse: its row, its column (as the grids number
// them) and the refusal; Row 0 when every value is accepted.
struct TRefusedValue {
  int Row = 0;
  int Column = 0;
  std::string Text;

  explicit operator bool() const { return Row != 0; }
};

// The name of an unknown as the fit and its views show it: "Rho " or
// "Depth " followed by the layer number.
TParameterName UnknownName(bool isDepth, int layer);
inline TParameterName UnknownName(const TUnknown& unknown) { return UnknownName(unknown.IsDepth, unknown.Layer); }

// The message of a file that cannot be opened or read.
std::string CouldNotOpenText(const std::string& fileName);
// Shows the warning of a file that holds more measurements or layers than
// the document keeps, naming the counts the file holds; nothing when both
// fit.
void WarnOfDataBeyondCapacity(const std::string& fileName, long long measurements, long long layers);
// The data file an imported file becomes: its path with the extension of
// its name part, if any, replaced by ".rxd", so that a save never writes
// over the imported file (C:\my.data\ves12.txt becomes C:\my.data\ves12.rxd).
std::string ImportedDataFileName(const std::string& path);
// The reason added to such a message when the file starts like UTF-16 text,
// which the program does not read; verb names what to do again ("open").
std::string Utf16Reason(const std::string& verb);

class TResondixData : public TSounding, public TLayerModel {
public:
  using TChangeHandler = std::function<void(TResondixData& sender)>;

  TResondixData();

  // --- Fields -----------------------------------------------------------
  // The measurements (MeasurementCount, HalfSpacing, ApparentRho) are the
  // TSounding, the layers (LayerCount, LayerRho, LayerDepth, with
  // LayerDepth[0] = 0 and the half-space's placeholder HalfSpaceDepth) the
  // TLayerModel this document is.

  TChangeHandler OnChange;
  bool IsSchlumberger = true;
  // Which forward model computes the curve the chart draws and the fit
  // uses. A user setting: it is not part of the data file.
  TForwardModel ForwardModel = TForwardModel::Filter;

  // Fit results.
  double FitStatus = 0;  // 0 converged, 1 no solution, 2 out of range, 4 too many rejections
  bool StructureChanged = false;
  bool HasFitResult = false;
  double Rmse = 0;  // misfit in log10 units
  // The last fit that ran: its unknowns, their logarithms and covariance,
  // residual norm and evaluation count. A refused fit leaves it.
  TFitResult LastFit;
  TFixedArray<TParameterName, 1, MaxUnknowns> ParameterNames;
  // The unknowns' uncertainties from the last converged fit.
  TUncertainties Uncertainties;
  // The misfit of every measurement and the warnings of the last fit that
  // ran, and whether it was the automatic model's.
  TFitDiagnostics FitDiagnostics;
  bool LastFitAutomatic = false;

  bool Saved = true;
  bool MeasurementsValid = false;
  bool ModelValid = false;

  std::string FileName;

  TFixedArray<TInfoText, 1, InfoLineCount> Info;

  TFixedArray<TPercentText, 0, MaxLayers> RhoPercentText;
  TFixedArray<TPercentText, 0, MaxLayers> DepthPercentText;
  TFixedArray<TIntervalText, 0, MaxLayers> RhoIntervalText;
  TFixedArray<TIntervalText, 0, MaxLayers> DepthIntervalText;
  TFixedArray<bool, 0, MaxLayers> RhoUnknown;
  TFixedArray<bool, 0, MaxLayers> DepthUnknown;

  // The model curve of the layers, as ComputeModelCurve left it.
  TModelCurve Curve;

  std::vector<TAnnotation> Annotations;
  // Whether LoadFromFile reads the annotation section. Work that never
  // shows or saves the annotations turns it off and so never holds them.
  bool KeepAnnotations = true;

  // --- Views of the document as the engine sees it ------------------------

  TSounding& Sounding() { return *this; }
  const TSounding& Sounding() const { return *this; }
  TLayerModel& Layers() { return *this; }
  const TLayerModel& Layers() const { return *this; }
  TUnknownFlags Unknowns() const { return {RhoUnknown, DepthUnknown}; }
  TCurveSettings CurveSettings() const { return {IsSchlumberger, ForwardModel}; }

  // --- Descriptive information ------------------------------------------

  TInfoText& ProjectName() { return Info[1]; }
  TInfoText& ProjectLocation() { return Info[2]; }
  TInfoText& ProjectDate() { return Info[3]; }
  TInfoText& InfoLine4() { return Info[4]; }
  TInfoText& SoundingTypeText() { return Info[5]; }
  TInfoText& SoundingPosition() { return Info[6]; }
  TInfoText& SoundingDirection() { return Info[7]; }
  TInfoText& ABLength() { return Info[8]; }
  TInfoText& InfoLine9() { return Info[9]; }
  TInfoText& InfoLine10() { return Info[10]; }
  TInfoText& DataFileName() { return Info[11]; }
  TInfoText& DataName() { return Info[12]; }
  TInfoText& FileDate() { return Info[13]; }
  TInfoText& Remarks() { return Info[14]; }
  const TInfoText& ProjectName() const { return Info[1]; }
  const TInfoText& ProjectLocation() const { return Info[2]; }
  const TInfoText& ProjectDate() const { return Info[3]; }
  const TInfoText& InfoLine4() const { return Info[4]; }
  const TInfoText& SoundingTypeText() const { return Info[5]; }
  const TInfoText& SoundingPosition() const { return Info[6]; }
  const TInfoText& SoundingDirection() const { return Info[7]; }
  const TInfoText& ABLength() const { return Info[8]; }
  const TInfoText& InfoLine9() const { return Info[9]; }
  const TInfoText& InfoLine10() const { return Info[10]; }
  const TInfoText& DataFileName() const { return Info[11]; }
  const TInfoText& DataName() const { return Info[12]; }
  const TInfoText& FileDate() const { return Info[13]; }
  const TInfoText& Remarks() const { return Info[14]; }

  // --- Document operations ------------------------------------------------

  // Resets to a new, unnamed sounding: 15 default spacings, three empty
  // layers, Schlumberger. Raises OnChange.
  void New();
  // The file details of a document that has no data file yet, as File > New
  // and the import give them: DataFileName names FileName, FileDate is
  // today (the date as the user writes it).
  void StampFileDetails(const std::string& today);
  void ClearFitResult();
  // n is kept within 1..MaxMeasurements.
  void SetMeasurementCount(int n);
  // Stores the configuration; does not touch SoundingTypeText.
  void SetSoundingType(bool isSchlumberger);
  // Stores one grid value: measurements column 0 = HalfSpacing, 1 =
  // ApparentRho; model column 0 = LayerRho, 1 = LayerDepth; other columns
  // and rows outside the arrays store nothing. Always clears Saved and
  // StructureChanged and raises OnChange.
  void SetValue(int column, int row, bool isModel, double value);

  // Editing rules. The refusal of a value the rules do not accept, or ""
  // when they accept it; nothing is changed.
  std::string ValueRefusal(int column, int row, bool isModel, double value) const;
  // The same as the design's check: false with the refusal in
  // LastErrorMessage.
  bool ValidateValue(int column, int row, bool isModel, double value) const;
  // The first measurement whose L/2 (column 0) or apparent resistivity
  // (column 1) the value rules refuse. An L/2 of 0 passes: it is a value the
  // rules accept, though the grid shows it as an empty cell.
  TRefusedValue FirstRefusedMeasurement() const;
  // The same for the model: every resistivity (column 0) and every depth
  // above the half-space (column 1).
  TRefusedValue FirstRefusedLayer() const;
  // Sets MeasurementsValid and ModelValid from the value rules applied to
  // the whole tables. An L/2 of 0 is a value not entered here: the rules
  // accept it, but a table with one cannot be fitted.
  void ValidateDocument();
  // Insert and delete: done, or refused with the refusal also in
  // LastErrorMessage and nothing changed.
  TEditOutcome InsertMeasurements(int first, int count);
  TEditOutcome DeleteMeasurements(int first, int count);
  TEditOutcome InsertLayers(int first, int count);
  TEditOutcome DeleteLayers(int first, int count);

  // The data file. Errors are shown through ShowMessage; a failed load
  // leaves the document exactly as it was, its FileName included, a failed
  // save leaves the previous file and the document untouched. All return
  // whether they succeeded.
  // Writes the file named by FileName.
  bool SaveToFile();
  // Writes the file fileName and, once it is written, takes that name.
  bool SaveToFile(const std::string& fileName);
  // Reads the file fileName and, once it is read, takes that name.
  bool LoadFromFile(const std::string& fileName);
  // LoadFromFile on text held in memory instead of the file (tests and
  // fuzzing); messages name FileName, which stays.
  bool LoadFromText(std::string_view text);
  // The whole file text as SaveToFile writes it.
  std::string DataFileText() const;

  // DINOloket sounding text file fileName, whose name the document takes
  // once it is read. The information lines the file does not give are
  // those of a new document. Errors, the warning about a missing model and
  // that about data beyond the capacities are shown through ShowMessage; a
  // failed import leaves the document exactly as it was.
  bool ImportDinoloket(const std::string& fileName);
  // ImportDinoloket on text held in memory (tests and fuzzing); messages
  // name FileName, which stays.
  bool ImportFromText(std::string_view text);
  // A sounding typed in a spreadsheet and saved as delimited text (see
  // SpreadsheetImport.cpp), with the starting model and warning of a
  // DINOloket file without a model; otherwise as ImportDinoloket.
  bool ImportSpreadsheet(const std::string& fileName);
  // ImportSpreadsheet on text held in memory (tests and fuzzing); messages
  // name FileName, which stays.
  bool ImportSpreadsheetText(std::string_view text);
  // File > Import, in the window and on the command line alike: the
  // importer that the file's name asks for (a spreadsheet file for a name
  // that ends in ".csv", in any case; a DINOloket file otherwise), then the
  // document is named as the data file beside the imported one
  // (ImportedDataFileName) with its file details stamped for today.
  bool ImportFile(const std::string& fileName, const std::string& today);

  // --- Engine -------------------------------------------------------------

  // The curve table of the layers by the forward model in use (Curve), and
  // its value at x = log10 spacing (DecimalLog), in log10 apparent
  // resistivity.
  void ComputeModelCurve();
  double CurveLogRhoAt(double x) const { return Curve.LogRhoAt(x); }
  // The model's apparent resistivity at a spacing in metres, from Curve.
  double ModelApparentRho(double spacing) const { return Curve.ModelApparentRho(spacing); }

  // Refuses (clearing FitSucceeded, the message shown) or runs the fit of
  // the unknowns as flagged to its end, with the layers where it left them;
  // says which, and the refusal's message.
  TFitOutcome Fit();
  // Why Fit() would refuse the unknowns as flagged (its message), or "" when
  // it may run.
  std::string FitRefusal() const;
  // Data > Automatic model: replaces the layers by the automatic model of
  // layers layers (2..MaxLayers; 0: the count chosen, engine/AutomaticModel.h)
  // fitted to the measurements with errorPercent as their error level, every
  // value an unknown. One change like Fit(): refuses the same way (a fit's
  // refusal for that many layers, or a measurement the value rules refuse),
  // raises OnChange once, then computes the statistics.
  TFitOutcome FitAutomaticModel(int layers, double errorPercent);
  // Why the measurements have no automatic model of layers layers (its
  // message), or "".
  std::string AutomaticModelRefusal(int layers) const;
  // The smooth model of the measurements (engine/SmoothInversion.h) with
  // errorPercent as their error level; returns why it cannot be made (a
  // spacing of 0, a measurement the value rules refuse), or "" when it was.
  std::string SmoothModel(double errorPercent, TSmoothModel& result) const;
  // The warnings of the last fit (FitDiagnostics) in words, with advice for
  // the reader; none without a fit result.
  std::vector<std::string> FitWarnings(TAdviceFor reader) const;
  // The RMSE in log10 units of the layers as they stand against the
  // measurements, as a fit reports it. Needs a valid model and positive
  // spacings and resistivities.
  double ModelRmse() const;
  // The statistics texts of the unknowns of LastFit.
  void ComputeFitStatistics();
  // Every per-layer statistics text back to "no figure".
  void ClearLayerStatistics();
  // Cell of the correlation matrix of LastFit in row k, column j (unknowns
  // numbered from 1), as the correlation view shows it: the whole
  // percentage and "%" for k >= j, empty above the diagonal and where a
  // variance is 0.
  std::string CorrelationText(int k, int j) const;
  // The equivalence analysis of the layers with the unknowns as flagged;
  // returns why it cannot run (a fit's refusal, or the first value the value
  // rules refuse), or "" when it ran.
  std::string AnalyseEquivalence(const TEquivalenceTolerance& tolerance, TEquivalence& result) const;

  // Raises OnChange when a handler is installed.
  void RaiseChange();

  // --- Changes the window makes outside the value grids (UserEdits.cpp) ---

  // The chart's annotations, by index into Annotations. Each change marks
  // the document unsaved and raises OnChange with StructureChanged false and
  // AnnotationsChanged true. AddAnnotation returns the new index; an index
  // outside Annotations changes nothing.
  int AddAnnotation(const TAnnotation& annotation);
  void SetAnnotation(int index, const TAnnotation& annotation);
  void DeleteAnnotation(int index);
  // True only while OnChange reports a change of the annotations, which
  // leaves the sounding and its model as they were.
  bool AnnotationsChanged = false;

  // Runs edit (the General information dialog's OK) and, when it changed
  // what the data file holds of the description (the information lines,
  // the configuration, the number of measurements), marks the document
  // unsaved and raises OnChange with StructureChanged false. Returns whether
  // it did.
  bool EditDescription(const std::function<void(TResondixData& document)>& edit);

  // MeasurementsValid and ModelValid as the grids found their texts, which
  // may differ from the stored values (a cleared cell, a refused text).
  void SetValidity(bool measurements, bool model);

  // --- Steps of the window's undo history (Snapshot.cpp) -------------------

  // Runs a user's command as one step of the window's undo history; name
  // says what the step is ("Paste", "Fit"). The window installs OnStep,
  // which keeps the state from before and after the command; without it the
  // command just runs.
  using TStepRunner = std::function<void(const std::string& name, const std::function<void()>& command)>;
  TStepRunner OnStep;
  void RunStep(const std::string& name, const std::function<void()>& command);
  // What a step keeps of the document (Snapshot.h); annotations equal to
  // those of like share its list.
  TDocumentSnapshot Snapshot(const TDocumentSnapshot* like = nullptr) const;
  // Takes a step back (from its after, to its before) or again (from its
  // before, to its after): what differs between from and to becomes as it
  // is in to, and what the step did not change stays as it stands now (an
  // unknown ticked since, the name a save gave). The fit's result and its
  // statistics texts are cleared, as New clears them, Saved becomes saved,
  // and OnChange is raised with StructureChanged set.
  void Restore(const TDocumentSnapshot& from, const TDocumentSnapshot& to, bool saved);

private:
  // Read a whole new content from reader, named fileName (which the
  // document takes with the content, and messages name).
  bool LoadFrom(TTextReader& reader, const std::string& fileName);
  bool ImportFrom(TTextReader& reader, const std::string& fileName);
  bool ImportSpreadsheetFrom(TTextReader& reader, const std::string& fileName);
  // What both imports do around their reader: read() fills a copy that
  // starts with a new document's information lines (ReplaceContent) and
  // says how many measurements and layers the file holds; the copy takes
  // the file's name, and once it is taken over the import warns of what lay
  // beyond the capacities.
  bool ImportContent(const std::string& fileName,
                     const std::function<bool(TResondixData& staged, TFileCounts& held)>& read);
  // Runs read on the file fileName; when the file cannot be opened, shows
  // CouldNotOpenText and returns false.
  bool ReadNamedFile(const std::string& fileName,
                     bool (TResondixData::*read)(TTextReader& reader, const std::string& fileName));
  // Reads a whole new content through read() into a copy of this document
  // that starts without annotations, and takes the copy over only when
  // read() succeeds (read() shows its own message when it fails). Then the
  // unknown flags and the fit result are cleared, StructureChanged is set,
  // and the notifications read() raised on the copy follow, the last one
  // after them.
  bool ReplaceContent(const std::function<bool(TResondixData& staged)>& read);
  // Takes over the content of a document read elsewhere, keeping this
  // document's OnChange and OnStep handlers.
  void AdoptContent(TResondixData&& source);
  // The fourteen information lines of a new document: all empty but the
  // Schlumberger configuration's.
  void ResetInformation();
  // The fit's result written back: the layers, the figures and the names.
  void TakeFitResult(const TFitResult& result);
  // The document's side of a fit that ran: its result written back and
  // checked, the change raised, statistics and diagnostics computed.
  TFitOutcome FinishFit(const TFitResult& result);
};
