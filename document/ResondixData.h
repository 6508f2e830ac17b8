// TResondixData: the one document of Resondix, a vertical electrical
// sounding.
//
// The document holds the measured apparent-resistivity curve (half spacings
// L/2 and apparent resistivities), the layered-earth model fitted to it, the
// electrode configuration with the forward-model filter that follows from
// it, fourteen lines of descriptive information, the fit's unknowns and
// results, and the chart's text annotations. Every quantity lives in
// fixed-capacity arrays indexed exactly as the algorithms number them
// (measurement 1 is index 1); nothing is allocated per measurement, per layer
// or per fit.
//
// Flow of data: the window, the command line and the tests own one document.
// The views read it whenever they refresh; every change ends in the
// synchronous OnChange callback, whose flags StructureChanged and Saved tell
// the receiver what changed. The engine (forward model, optimisation,
// singular value decomposition, fit statistics) consists of members of this
// class defined under engine/. Messages for the user go through Messages.h.
//
// Sources: ResondixData.cpp (state, setters), DataFile.cpp (the .rxd file),
// Editing.cpp (insert, delete, value rules), UserEdits.cpp (annotations,
// description, validity), Import.cpp (DINOloket files),
// SpreadsheetImport.cpp (delimited text files from spreadsheets),
// and under engine/: ForwardModel.cpp, AccurateForwardModel.cpp, Optimisation.cpp,
// SingularValueDecomposition.cpp, FitStatistics.cpp.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "FixedArray.h"
#include "ShortString.h"

class TTextReader;

constexpr int MaxMeasurements = 15;
constexpr int MaxLayers = 4;
constexpr double HalfSpaceDepth = 10000.0;
constexpr int MaxUnknowns = 20;
constexpr int MaxFilterCount = 20;
constexpr int InfoLineCount = 14;

// Admissible ranges of the fit's unknowns (natural logarithms): resistivities
// from about 1.2e-4 to 4.9e8 ohm·m, thicknesses from about 0.0067 to
// 162755 m.
constexpr double MinLogRho = -9;
constexpr double MaxLogRho = 20;
constexpr double MinLogThickness = -5;
constexpr double MaxLogThickness = 12;

// Which forward model fills the curve table that the chart draws and the fit
// uses: the short filters of the program's design (the default, whose figures
// every stored fit rests on), or the accurate one of AccurateForwardModel.cpp.
// A user setting: it is not part of the data file.
enum class TForwardModel { Filter, Accurate };

// The accurate model's curve table: nodes every 1/20 decade of spacing, node
// m at log10 spacing m/20, from 0.1 m to 31.6 km; its filter weights
// k = AccurateFirstWeight..AccurateLastWeight, and the transform samples
// n = k − m that the nodes share.
constexpr int AccurateNodesPerDecade = 20;
constexpr int AccurateFirstNode = -20;
constexpr int AccurateLastNode = 90;
constexpr int AccurateFirstWeight = -48;
constexpr int AccurateLastWeight = 46;
constexpr int AccurateFirstSample = AccurateFirstWeight - AccurateLastNode;
constexpr int AccurateLastSample = AccurateLastWeight - AccurateFirstNode;

// The program's natural logarithm of 10. Every decimal logarithm, in the
// engine and on the chart alike, is ln v / 2.3026 (not the exact ln 10): the
// stored curves, the fits and the chart's pixel ties all rest on it.
constexpr double Ln10 = 2.3026;
inline double DecimalLog(double v) { return std::log(v) / Ln10; }

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

// Program-wide: the refusal text of the last document operation or value
// check that returned false.
extern std::string LastErrorMessage;

// Program-wide: set by the Fit command, cleared by Fit() when it refuses
// (engine/Optimisation.cpp).
extern bool FitSucceeded;

// What the window and the command line report for a fit that ended with
// FitStatus 1.
constexpr const char* NoSolutionText = "NO SOLUTION  (improve starting quess)";

// What Fit() did: refused with its message, or ran to its FitStatus.
struct TFitOutcome {
  bool Ran = false;
  int Status = 0;
  std::string Refusal;
};

// The name of an unknown as the fit and its views show it: "Rho " or
// "Depth " followed by the layer number.
TParameterName UnknownName(bool isDepth, int layer);

// The message of a file that cannot be opened or read.
std::string CouldNotOpenText(const std::string& fileName);
// The reason added to such a message when the file starts like UTF-16 text,
// which the program does not read; verb names what to do again ("open").
std::string Utf16Reason(const std::string& verb);

class TResondixData {
public:
  using TChangeHandler = std::function<void(TResondixData& sender)>;

  TResondixData();

  // --- Fields, in the order of the document's design ----------------------

  std::int32_t MeasurementCount = 0;
  TChangeHandler OnChange;
  bool IsSchlumberger = true;

  // Fit settings and results.
  double InitialDamping = 0.01;
  double MaxEvaluations = 250;
  double RelativeTolerance = 0.0005;
  double AbsoluteTolerance = 0.005;
  double SvdTolerance = 1e-10;
  double FitStatus = 0;       // 0 converged, 1 no solution, 2 out of range, 4 too many rejections
  double ResidualNorm = 0;    // sqrt(sum r_i^2) at the last accepted point
  // The fit's evaluation counter as it ended: 1 for the starting model plus
  // one per trial step; the Jacobian's evaluations are not counted.
  std::int32_t EvaluationCount = 0;

  bool StructureChanged = false;

  bool HasFitResult = false;
  double Rmse = 0;            // misfit in log10 units
  std::uint8_t UnknownCount = 0;
  TFixedArray<double, 1, MaxUnknowns> Parameters;

  TFixedArray<double, 0, 15> LayerDepth;  // bottom of layer i; [0] is the surface
  TFixedArray<double, 0, 15> LayerRho;

  double FilterRatio = 0;

  bool Saved = true;
  bool MeasurementsValid = false;
  bool ModelValid = false;

  std::string FileName;

  TFixedArray<double, 1, MaxFilterCount> FilterCoefficients;
  std::int32_t FilterCount = 0;

  TFixedArray<TInfoText, 1, InfoLineCount> Info;

  std::int32_t LayerCount = 0;

  TFixedArray<TPercentText, 0, MaxLayers> RhoPercentText;
  TFixedArray<TPercentText, 0, MaxLayers> DepthPercentText;
  TFixedArray<TIntervalText, 0, MaxLayers> RhoIntervalText;
  TFixedArray<TIntervalText, 0, MaxLayers> DepthIntervalText;
  TFixedArray<bool, 0, MaxLayers> RhoUnknown;
  TFixedArray<bool, 0, MaxLayers> DepthUnknown;

  TFixedArray<TParameterName, 1, MaxUnknowns> ParameterNames;

  // Fit work arrays.
  TFixedArray<double, 1, MaxUnknowns> PreviousParameters;
  TFixedArray<double, 1, MaxMeasurements> Residuals;
  TFixedArray<double, 1, MaxMeasurements> SavedResiduals;
  TFixedMatrix<double, 1, MaxMeasurements, 1, MaxUnknowns> Jacobian;  // U after the decomposition
  TFixedArray<double, 1, MaxUnknowns> SingularValues;
  TFixedArray<double, 1, MaxUnknowns> Superdiagonal;
  TFixedMatrix<double, 1, MaxUnknowns, 1, MaxUnknowns> RightVectors;  // V; Covariance after a fit
  TFixedArray<double, 1, MaxUnknowns> Gradient;
  TFixedArray<double, 1, MaxUnknowns> StepCoefficients;
  bool InJacobian = false;
  TFixedArray<double, 1, MaxUnknowns> ParameterPercent;
  TFixedArray<double, 1, MaxUnknowns> ParameterLower;
  TFixedArray<double, 1, MaxUnknowns> ParameterUpper;

  TFixedArray<double, 0, 15> HalfSpacing;  // L/2 of measurement i (m)
  TFixedArray<double, 0, 15> ApparentRho;

  // Model-curve tables (forward model).
  TFixedArray<double, 1, MaxLayers> LayerThickness;
  TFixedArray<double, 1, MaxFilterCount> TransformSamples;
  TFixedArray<double, 0, MaxFilterCount + 2> CurveLogSpacing;
  TFixedArray<double, 0, MaxFilterCount + 2> CurveLogRho;
  TFixedArray<double, -1, MaxFilterCount + 3> CurveSegmentSlope;
  TFixedArray<double, 0, MaxFilterCount + 2> CurveNodeSlope;

  // The forward model in use, and the accurate model's table.
  TForwardModel ForwardModel = TForwardModel::Filter;
  TFixedArray<double, AccurateFirstSample, AccurateLastSample> AccurateTransformSamples;
  TFixedArray<double, AccurateFirstNode, AccurateLastNode> AccurateLogRho;
  TFixedArray<double, AccurateFirstNode, AccurateLastNode> AccurateNodeSlope;  // d log ρa / d log s

  std::vector<TAnnotation> Annotations;
  // Whether LoadFromFile reads the annotation section. Work that never
  // shows or saves the annotations turns it off and so never holds them.
  bool KeepAnnotations = true;

  // The unscaled covariance left by a fit shares the storage of RightVectors.
  TFixedMatrix<double, 1, MaxUnknowns, 1, MaxUnknowns>& Covariance() { return RightVectors; }
  const TFixedMatrix<double, 1, MaxUnknowns, 1, MaxUnknowns>& Covariance() const { return RightVectors; }

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
  void ClearFitResult();
  // n is kept within 1..MaxMeasurements.
  void SetMeasurementCount(int n);
  // Stores the configuration and loads its filter; does not touch
  // SoundingTypeText.
  void SetSoundingType(bool isSchlumberger);
  // Stores one grid value: measurements column 0 = HalfSpacing, 1 =
  // ApparentRho; model column 0 = LayerRho, 1 = LayerDepth; other columns
  // and rows outside the arrays store nothing. Always clears Saved and
  // StructureChanged and raises OnChange.
  void SetValue(int column, int row, bool isModel, double value);

  // Editing rules: false with the refusal in LastErrorMessage, nothing
  // changed.
  bool ValidateValue(int column, int row, bool isModel, double value) const;
  // The refusal ValidateValue would leave, or "" when the rules accept the
  // value; LastErrorMessage is left alone.
  std::string ValueRefusal(int column, int row, bool isModel, double value) const;
  // The first measurement whose L/2 (column 0) or apparent resistivity
  // (column 1) the value rules refuse, or 0 when they accept every one;
  // LastErrorMessage then holds the refusal. An L/2 of 0 passes: it is a
  // value the rules accept, though the grid shows it as an empty cell.
  int FirstRefusedMeasurement(int& column) const;
  // The same for the model: every resistivity (column 0) and every depth
  // above the half-space (column 1).
  int FirstRefusedLayer(int& column) const;
  // Sets MeasurementsValid and ModelValid from the value rules applied to
  // the whole tables. An L/2 of 0 is a value not entered here: the rules
  // accept it, but a table with one cannot be fitted.
  void ValidateDocument();
  bool InsertMeasurements(int first, int count);
  bool DeleteMeasurements(int first, int count);
  bool InsertLayers(int first, int count);
  bool DeleteLayers(int first, int count);

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
  // once it is read. Errors and the warning about a missing model are shown
  // through ShowMessage; a failed import leaves the document exactly as it
  // was.
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
  // The importer that the file's name asks for: a spreadsheet file for a
  // name that ends in ".csv" (in any case), a DINOloket file otherwise.
  bool ImportFile(const std::string& fileName);

  // --- Engine ---------------------------------------------------------------

  // The curve table of the forward model in use, and its interpolant at
  // x = log10 spacing (DecimalLog), in log10 apparent resistivity.
  void ComputeModelCurve();
  double ResistivityTransform(double u) const;
  double CurveLogRhoAt(double x) const;
  // The accurate model's table and interpolant, which the two above call
  // when ForwardModel is Accurate.
  void ComputeAccurateCurve();
  double AccurateLogRhoAt(double x) const;

  // Refuses (clearing FitSucceeded, the message shown) or runs the fit to
  // its end; says which, and the refusal's message.
  TFitOutcome Fit();
  // Why Fit() would refuse the unknowns as flagged (its message), or "" when
  // it may run.
  std::string FitRefusal() const;
  // The fit's iteration on the unknowns as flagged, from the layers as they
  // stand, without Fit()'s checks, messages, statistics or OnChange: the
  // layers end at the point the iteration accepted last. Returns their RMSE
  // in log10 units, NaN when no admissible point was reached.
  double Refit();
  // The RMSE in log10 units of the layers as they stand against the
  // measurements, as a fit reports it; rebuilds the curve table and
  // overwrites Residuals. Needs a valid model and positive spacings and
  // resistivities.
  double ModelRmse();
  void Optimise();
  bool ApplyParameters();
  void ComputeJacobian();
  void DecomposeJacobian();
  void ComputeFitStatistics();
  double SumOfSquares() const;
  double DotProduct(const TFixedArray<double, 1, MaxUnknowns>& a,
                    const TFixedArray<double, 1, MaxUnknowns>& b) const;
  // Cell of the correlation matrix in row k, column j (unknowns numbered from
  // 1), as the correlation view shows it: the whole percentage and "%" for
  // k >= j, empty above the diagonal and where a variance is 0.
  std::string CorrelationText(int k, int j) const;

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

private:
  // Read a whole new content from reader, named fileName (which the
  // document takes with the content, and messages name).
  bool LoadFrom(TTextReader& reader, const std::string& fileName);
  bool ImportFrom(TTextReader& reader, const std::string& fileName);
  bool ImportSpreadsheetFrom(TTextReader& reader, const std::string& fileName);
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
  // Loads FilterCoefficients, FilterCount, FilterRatio and CurveLogSpacing[0]
  // for the configuration (forward model).
  void LoadFilter();
  // Takes over the content of a document read elsewhere, keeping this
  // document's OnChange handler.
  void AdoptContent(TResondixData&& source);
};
