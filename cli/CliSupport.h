// What the commands of resondix-cli share: argument parsing, loading and
// saving documents with the program's messages on standard error, and the
// document as JSON.
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class TJsonWriter;
class TResondixData;
struct TDarZarrouk;
struct TDarZarroukLayer;
enum class TForwardModel;

// Exit statuses: every file succeeded, or not, or standard output could not
// be written (whatever the files gave).
constexpr int ExitSuccess = 0;
constexpr int ExitFailure = 1;
constexpr int ExitOutputFailure = 2;

struct TArguments {
  std::vector<std::string> Files;
  std::map<std::string, std::string, std::less<>> Options;  // option name -> value

  bool Has(std::string_view option) const { return Options.count(option) > 0; }
  const std::string& Value(std::string_view option) const { return Options.find(option)->second; }
};

// Splits arguments into input files and the options named in valueOptions,
// each of which takes the next argument as its value. False, with a message
// on standard error, for an unknown option, a missing value or no input file.
bool ParseArguments(const std::vector<std::string>& arguments,
                    std::initializer_list<std::string_view> valueOptions, TArguments& parsed);
// The same, with options in flagOptions that take no value (stored with an
// empty one).
bool ParseArguments(const std::vector<std::string>& arguments,
                    std::initializer_list<std::string_view> valueOptions,
                    std::initializer_list<std::string_view> flagOptions, TArguments& parsed);

// Reports a usage or command error on standard error, whole, NUL bytes
// included. The latest one is kept for the JSON record of a file that
// failed.
void ReportError(const std::string& text);

// The message reported latest.
const std::string& LatestErrorText();

// Prints the one JSON record of an input file that failed:
// {"file": path, "error": the message reported latest}.
// A command that computes a curve adds "forward": the model it was to use.
void PrintFileError(const std::string& path, std::optional<TForwardModel> forward = std::nullopt);

// Prints one JSON document (what a writer on standard output has not yet
// written of it) as one line on standard output.
void PrintJsonLine(const TJsonWriter& json);

// The exit status once everything is written: status, or
// ExitOutputFailure with a message when standard output lost anything.
int CheckedOutputStatus(int status);

// Opens the data file into document; false (the message already shown) when
// it cannot be read. Its warnings become ReadingWarnings().
bool LoadDocument(TResondixData& document, const std::string& path);

// Warnings shown while a file is read (data it holds beyond what the
// program keeps, say) go to standard error as every message does, and are
// kept for the file's JSON record. ReadKeepingWarnings runs read() and keeps
// the warnings it shows; it returns what read() returned.
bool ReadKeepingWarnings(const std::function<bool()>& read);
// The warnings shown while the latest file was read.
const std::vector<std::string>& ReadingWarnings();
// "warnings": [texts...], in every record of a file that was read, an empty
// list when there are none.
void WriteWarningsMember(TJsonWriter& json, const std::vector<std::string>& warnings);

// Today's date in the user's short date format, as the window writes it
// into a new or an imported document.
std::string TodayText();

// Saves document under path as a data file; false (message shown) on failure.
bool SaveDocumentAs(TResondixData& document, const std::string& path);

// The document's content as members of the JSON object being written:
// "info", "configuration", "measurements", "layers", "annotations".
void WriteDocumentMembers(TJsonWriter& json, const TResondixData& document);

// True when the value rules accept every layer value (the model has a curve),
// or every measurement; otherwise reports the first value refused and why.
bool CheckModelComplete(const TResondixData& document, const std::string& path);
bool CheckMeasurementsComplete(const TResondixData& document, const std::string& path);

// The forward model that --forward names: "filter" (also without the option)
// or "accurate"; false, with a message, for any other name.
bool ParseForwardModel(const TArguments& arguments, TForwardModel& model);
// "forward": "filter" or "accurate", the last member of every JSON line of a
// command that computes a curve.
void WriteForwardMember(TJsonWriter& json, TForwardModel model);

// The measurements' error level that --error gives in per cent, or
// DefaultErrorPercent without it; false, with a message, for anything but a
// number above 0 and below 100.
bool ParseErrorPercent(const TArguments& arguments, double& percent);

// The automatic model that --auto [N] asks for (fit, report): every value
// of a model of N layers fitted, or of as many as the measurements call for
// (0), to the error level that --error gives.
struct TAutomaticRequest {
  bool Requested = false;
  int Layers = 0;
  double ErrorPercent = 0;
};

// --auto takes the number of layers when a whole number follows it, and
// chooses it otherwise: the arguments with an empty value after an --auto
// that has none, ready for ParseArguments with --auto among its value
// options.
std::vector<std::string> WithAutomaticLayers(std::vector<std::string> arguments);

// Reads --auto and --error into request; false, with a message, for a
// count of layers the model cannot have, --error without --auto, or --auto
// with listOption, the command's list of unknowns, which it excludes.
bool ReadAutomaticOption(const TArguments& arguments, const std::string& listOption, TAutomaticRequest& request);

// The output option -o is only meaningful with one input file.
bool CheckSingleOutput(const TArguments& arguments);

// Prints document as show does, one JSON object {"file": path, the members
// of WriteDocumentMembers, then those extraMembers writes, then "warnings"
// of its reading}, and saves it as a data file when -o was given. False when
// that save failed.
bool PrintAndSaveDocument(const TArguments& arguments, const std::string& path, TResondixData& document,
                          const std::function<void(TJsonWriter& json)>& extraMembers = {});

// The Dar Zarrouk figures of a model: "dar_zarrouk": {"layers": [...],
// "totals": {...}}. Figures that are not numbers are null.
void WriteDarZarrouk(TJsonWriter& json, const TDarZarrouk& figures);
// The members "thickness", "s", "t" of a layer's object.
void WriteDarZarroukLayerMembers(TJsonWriter& json, const TDarZarroukLayer& layer);
// The totals as one object: "thickness", "s", "t", "longitudinal_rho",
// "transverse_rho", "anisotropy".
void WriteDarZarroukTotals(TJsonWriter& json, const TDarZarrouk& figures);

// The fit's unknowns named on the command line (--unknowns of fit, --fit of
// table and section): "all", or names rho1..rho4 and depth1..depth3 separated
// by commas; an empty list names no unknown (the fit then refuses).
struct TNamedUnknown {
  bool IsDepth;
  int Layer;
  std::string Name;  // as given, for messages
};
struct TUnknownList {
  bool All = false;
  std::vector<TNamedUnknown> Named;
};

// False, with a message naming option, for a name that is not an unknown.
bool ParseUnknownList(const std::string& list, TUnknownList& unknowns, const std::string& option = "--unknowns");

// Sets the unknown flags of the document as the model grid's check boxes
// would; false, with a message, for a layer the model does not have.
bool MarkUnknowns(TResondixData& document, const TUnknownList& unknowns, const std::string& path);

// The list of the option --unknowns, which is required; false, with a
// message on standard error, when it is missing or names something else.
bool ReadUnknownsOption(const TArguments& arguments, TUnknownList& unknowns);

// Loads the data file path into document, marks the unknowns and fits them
// with the forward model as the window's Fit command does, with the JSON
// record of the file begun in json ({"file": path, ...). False when the file
// could not be read or fitted, its record ({"file", "error"} or {"file",
// "refused"}, with "forward") printed. A fit without a solution is reported
// on standard error, not refused.
bool LoadAndFit(const std::string& path, const TUnknownList& unknowns, TForwardModel model, TResondixData& document,
                TJsonWriter& json);

// As LoadAndFit for the automatic model of request: the file needs its
// measurements only.
bool LoadAndFitAutomatic(const std::string& path, const TAutomaticRequest& request, TForwardModel model,
                         TResondixData& document, TJsonWriter& json);

// Loads path into document for the forward model given and, with unknowns,
// fits it as fit does (without saving); false, with the reason in error
// (already reported), when the file cannot be read or fitted. A fit that
// ran holds its FitStatus.
bool LoadSounding(const std::string& path, const TUnknownList* unknowns, TForwardModel forward,
                  TResondixData& document, std::string& error);
// The same with the automatic model of request fitted: the file needs its
// measurements only.
bool LoadSoundingAutomatic(const std::string& path, const TAutomaticRequest& request, TForwardModel forward,
                           TResondixData& document, std::string& error);
