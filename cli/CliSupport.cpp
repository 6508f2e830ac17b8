#include "cli/CliSupport.h"

#include <QDate>
#include <QLocale>
#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "cli/Json.h"
#include "document/Messages.h"
#include "document/NumberText.h"
#include "document/ResondixData.h"
#include "engine/AutomaticModel.h"
#include "engine/Equivalence.h"
#include "engine/SmoothInversion.h"

namespace {

std::string LatestError;
std::vector<std::string> LatestReadingWarnings;

}  // namespace

void ReportError(const std::string& text) {
  LatestError = text;
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
}

const std::string& LatestErrorText() { return LatestError; }

void PrintFileError(const std::string& path, std::optional<TForwardModel> forward) {
  TJsonWriter json;
  json.BeginObject().Key("file").String(path).Key("error").String(LatestError);
  if (forward) WriteForwardMember(json, *forward);
  json.EndObject();
  PrintJsonLine(json);
}

void PrintJsonLine(const TJsonWriter& json) {
  std::fwrite(json.Text().data(), 1, json.Text().size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int CheckedOutputStatus(int status) {
  // Errors stick to the stream, so one check at the end sees every lost line.
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
  ReportError("Could not write to standard output!");
  return ExitOutputFailure;
}

bool ParseArguments(const std::vector<std::string>& arguments,
                    std::initializer_list<std::string_view> valueOptions, TArguments& parsed) {
  return ParseArguments(arguments, valueOptions, {}, parsed);
}

bool ParseArguments(const std::vector<std::string>& arguments,
                    std::initializer_list<std::string_view> valueOptions,
                    std::initializer_list<std::string_view> flagOptions, TArguments& parsed) {
  const auto listed = [](std::initializer_list<std::string_view> options, const std::string& argument) {
    for (std::string_view option : options)
      if (option == argument) return true;
    return false;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.size() > 1 && argument[0] == '-') {
      if (listed(flagOptions, argument)) {
        parsed.Options[argument] = "";
        continue;
      }
      if (!listed(valueOptions, argument)) {
        ReportError("Unknown option " + argument + ".");
        return false;
      }
      if (i + 1 == arguments.size()) {
        ReportError("Option " + argument + " needs a value.");
        return false;
      }
      parsed.Options[argument] = arguments[++i];
    } else {
      parsed.Files.push_back(argument);
    }
  }
  if (parsed.Files.empty()) {
    ReportError("No input file given.");
    return false;
  }
  return true;
}

bool ParseForwardModel(const TArguments& arguments, TForwardModel& model) {
  model = TForwardModel::Filter;
  if (!arguments.Has("--forward")) return true;
  const std::string& name = arguments.Value("--forward");
  if (name == "accurate")
    model = TForwardModel::Accurate;
  else if (name != "filter") {
    ReportError("Option --forward takes accurate or filter.");
    return false;
  }
  return true;
}

bool ParseErrorPercent(const TArguments& arguments, double& percent) {
  percent = DefaultErrorPercent;
  if (!arguments.Has("--error")) return true;
  const std::string& text = arguments.Value("--error");
  char* end = nullptr;
  percent = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !(percent > 0 && percent < 100)) {
    ReportError("Option --error takes a percentage above 0 and below 100.");
    return false;
  }
  return true;
}

namespace {

bool IsWholeNumber(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

std::vector<std::string> WithAutomaticLayers(std::vector<std::string> arguments) {
  for (std::size_t i = 0; i < arguments.size(); ++i)
    if (arguments[i] == "--auto" && !(i + 1 < arguments.size() && IsWholeNumber(arguments[i + 1])))
      arguments.insert(arguments.begin() + static_cast<std::ptrdiff_t>(i) + 1, "");
  return arguments;
}

bool ReadAutomaticOption(const TArguments& arguments, const std::string& listOption, TAutomaticRequest& request) {
  request.Requested = arguments.Has("--auto");
  if (!request.Requested) {
    if (arguments.Has("--error")) {
      ReportError("Option --error goes with --auto.");
      return false;
    }
    return true;
  }
  if (arguments.Has(listOption)) {
    ReportError("Options --auto and " + listOption + " exclude each other: --auto fits every value of its model.");
    return false;
  }
  const std::string& layers = arguments.Value("--auto");
  request.Layers = layers.empty() ? 0 : std::atoi(layers.c_str());
  if (!layers.empty() && (layers.size() > 1 || request.Layers < MinAutomaticLayers || request.Layers > MaxLayers)) {
    ReportError("Option --auto takes 2, 3 or 4 layers, or no number to choose them.");
    return false;
  }
  return ParseErrorPercent(arguments, request.ErrorPercent);
}

void WriteForwardMember(TJsonWriter& json, TForwardModel model) {
  json.Key("forward").String(model == TForwardModel::Accurate ? "accurate" : "filter");
}

bool CheckSingleOutput(const TArguments& arguments) {
  if (arguments.Has("-o") && arguments.Files.size() != 1) {
    ReportError("Option -o takes exactly one input file.");
    return false;
  }
  return true;
}

bool PrintAndSaveDocument(const TArguments& arguments, const std::string& path, TResondixData& document,
                          const std::function<void(TJsonWriter& json)>& extraMembers) {
  TJsonWriter json(stdout);  // a thousand annotations are not held twice
  json.BeginObject().Key("file").String(path);
  WriteDocumentMembers(json, document);
  if (extraMembers) extraMembers(json);
  WriteWarningsMember(json, ReadingWarnings());
  json.EndObject();
  PrintJsonLine(json);
  return !arguments.Has("-o") || SaveDocumentAs(document, arguments.Value("-o"));
}

bool LoadDocument(TResondixData& document, const std::string& path) {
  return ReadKeepingWarnings([&] { return document.LoadFromFile(path); });
}

bool ReadKeepingWarnings(const std::function<bool()>& read) {
  LatestReadingWarnings.clear();
  TMessageHandler previous;
  previous = SetMessageHandler([&previous](TMessageKind kind, const std::string& text) {
    if (kind == TMessageKind::Warning) LatestReadingWarnings.push_back(text);
    if (previous)
      previous(kind, text);
    else
      ReportError(text);
  });
  const bool succeeded = read();
  SetMessageHandler(std::move(previous));
  return succeeded;
}

const std::vector<std::string>& ReadingWarnings() { return LatestReadingWarnings; }

void WriteWarningsMember(TJsonWriter& json, const std::vector<std::string>& warnings) {
  json.Key("warnings").BeginArray();
  for (const std::string& warning : warnings) json.String(warning);
  json.EndArray();
}

std::string TodayText() {
  return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
}

bool SaveDocumentAs(TResondixData& document, const std::string& path) { return document.SaveToFile(path); }

void WriteDocumentMembers(TJsonWriter& json, const TResondixData& document) {
  json.Key("info").BeginArray();
  for (int i = 1; i <= InfoLineCount; ++i) json.String(document.Info[i].view());
  json.EndArray();
  json.Key("configuration").String(ConfigurationName(document.IsSchlumberger));
  json.Key("measurements").BeginArray();
  for (int i = 1; i <= document.MeasurementCount; ++i) {
    json.BeginObject();
    json.Key("spacing").Number(document.HalfSpacing[i]);
    json.Key("rho").Number(document.ApparentRho[i]);
    json.EndObject();
  }
  json.EndArray();
  json.Key("layers").BeginArray();
  for (int i = 1; i <= document.LayerCount; ++i) {
    json.BeginObject();
    json.Key("rho").Number(document.LayerRho[i]);
    json.Key("depth").Number(document.LayerDepth[i]);
    json.EndObject();
  }
  json.EndArray();
  json.Key("annotations").BeginArray();
  for (const TAnnotation& annotation : document.Annotations) {
    json.BeginObject();
    json.Key("x").Integer(annotation.ChartX);
    json.Key("y").Integer(annotation.ChartY);
    json.Key("width").Integer(annotation.Width);
    json.Key("height").Integer(annotation.Height);
    json.Key("text").String(annotation.Text);
    json.EndObject();
  }
  json.EndArray();
}

bool CheckMeasurementsComplete(const TResondixData& document, const std::string& path) {
  const TRefusedValue refused = document.FirstRefusedMeasurement();
  if (refused)
    ReportError(path + ": measurement " + std::to_string(refused.Row) + (refused.Column == 0 ? ", L/2: " : ", Rho: ") +
                refused.Text);
  return !refused;
}

bool CheckModelComplete(const TResondixData& document, const std::string& path) {
  const TRefusedValue refused = document.FirstRefusedLayer();
  if (refused)
    ReportError(path + ": layer " + std::to_string(refused.Row) + (refused.Column == 0 ? ", Rho: " : ", Depth: ") +
                refused.Text);
  return !refused;
}

void WriteDarZarroukLayerMembers(TJsonWriter& json, const TDarZarroukLayer& layer) {
  json.Key("thickness").Number(layer.Thickness);
  json.Key("s").Number(layer.S);
  json.Key("t").Number(layer.T);
}

void WriteDarZarroukTotals(TJsonWriter& json, const TDarZarrouk& figures) {
  json.BeginObject();
  json.Key("thickness").Number(figures.Thickness);
  json.Key("s").Number(figures.S);
  json.Key("t").Number(figures.T);
  json.Key("longitudinal_rho").Number(figures.LongitudinalRho);
  json.Key("transverse_rho").Number(figures.TransverseRho);
  json.Key("anisotropy").Number(figures.Anisotropy);
  json.EndObject();
}

void WriteDarZarrouk(TJsonWriter& json, const TDarZarrouk& figures) {
  json.Key("dar_zarrouk").BeginObject();
  json.Key("layers").BeginArray();
  for (int i = 1; i <= figures.LayerCount; ++i) {
    json.BeginObject();
    WriteDarZarroukLayerMembers(json, figures.Layers[i]);
    json.EndObject();
  }
  json.EndArray();
  json.Key("totals");
  WriteDarZarroukTotals(json, figures);
  json.EndObject();
}

namespace {

bool ParseUnknownName(const std::string& name, TNamedUnknown& unknown) {
  for (const auto& [prefix, isDepth] : {std::pair<std::string, bool>{"rho", false}, {"depth", true}}) {
    const int highest = isDepth ? MaxLayers - 1 : MaxLayers;
    if (name.size() == prefix.size() + 1 && name.compare(0, prefix.size(), prefix) == 0) {
      const int layer = name.back() - '0';
      if (layer < 1 || layer > highest) return false;
      unknown = {isDepth, layer, name};
      return true;
    }
  }
  return false;
}

}  // namespace

bool ParseUnknownList(const std::string& list, TUnknownList& unknowns, const std::string& option) {
  if (list == "all") {
    unknowns.All = true;
    return true;
  }
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    const std::string name = list.substr(start, end - start);
    TNamedUnknown unknown;
    if (!ParseUnknownName(name, unknown)) {
      ReportError("Unknown parameter \"" + name + "\" in " + option + ": use all, or rho1 to rho" +
                  std::to_string(MaxLayers) + " and depth1 to depth" + std::to_string(MaxLayers - 1) +
                  " separated by commas.");
      return false;
    }
    unknowns.Named.push_back(unknown);
    start = end + 1;
  }
  return true;
}

bool MarkUnknowns(TResondixData& document, const TUnknownList& unknowns, const std::string& path) {
  const int layers = document.LayerCount;
  for (int i = 0; i <= MaxLayers; ++i) document.RhoUnknown[i] = document.DepthUnknown[i] = false;
  if (unknowns.All) {
    for (int i = 1; i <= layers; ++i) {
      document.RhoUnknown[i] = true;
      document.DepthUnknown[i] = i < layers;
    }
    return true;
  }
  for (const TNamedUnknown& unknown : unknowns.Named) {
    if (unknown.IsDepth ? unknown.Layer >= layers : unknown.Layer > layers) {
      ReportError("The model of " + path + " has " + std::to_string(layers) + " layers: " + unknown.Name +
                  (unknown.IsDepth && unknown.Layer == layers ? " is the half-space, which has no depth."
                                                              : " does not exist."));
      return false;
    }
    (unknown.IsDepth ? document.DepthUnknown : document.RhoUnknown)[unknown.Layer] = true;
  }
  return true;
}

namespace {

// Loads path for the forward model and, with unknowns, marks them and checks
// that the fit has every value it needs; false, reported, otherwise.
bool PrepareSounding(const std::string& path, const TUnknownList* unknowns, TForwardModel forward,
                     TResondixData& document) {
  const bool loaded = LoadDocument(document, path);
  document.ForwardModel = forward;
  return loaded && (unknowns == nullptr || (MarkUnknowns(document, *unknowns, path) &&
                                            CheckMeasurementsComplete(document, path) &&
                                            CheckModelComplete(document, path)));
}

// Loads path for the automatic model, which needs the measurements only;
// false, reported, otherwise.
bool PrepareAutomaticSounding(const std::string& path, TForwardModel forward, TResondixData& document) {
  return PrepareSounding(path, nullptr, forward, document) && CheckMeasurementsComplete(document, path);
}

// A fit as the Fit command runs it: one without a solution is reported.
TFitOutcome Reported(const std::string& path, const TFitOutcome& outcome) {
  if (outcome.Ran && outcome.Status == 1) ReportError(path + ": " + NoSolutionText);
  return outcome;
}

TFitOutcome FitSounding(const std::string& path, TResondixData& document) { return Reported(path, document.Fit()); }

// The record of path begun in json after a fit; a refusal is the whole
// record, printed. True when the fit ran.
bool BeginFitRecord(const std::string& path, const TFitOutcome& outcome, TForwardModel model, TJsonWriter& json) {
  json.BeginObject().Key("file").String(path);
  if (!outcome.Ran) {
    json.Key("refused").String(outcome.Refusal);
    WriteForwardMember(json, model);
    json.EndObject();
    PrintJsonLine(json);
  }
  return outcome.Ran;
}

}  // namespace

namespace {

// The automatic model of request fitted to the sounding at path, loaded
// into document, as Data > Automatic model fits it.
TFitOutcome FitAutomaticSounding(const std::string& path, const TAutomaticRequest& request, TResondixData& document) {
  return Reported(path, document.FitAutomaticModel(request.Layers, request.ErrorPercent));
}

// Whether a survey's sounding was fitted; a refusal has been reported as
// the fit words it, and error, for the file's record, names the file too.
bool SoundingFitted(const std::string& path, const TFitOutcome& outcome, std::string& error) {
  if (!outcome.Ran) error = path + ": " + outcome.Refusal;
  return outcome.Ran;
}

}  // namespace

bool LoadSounding(const std::string& path, const TUnknownList* unknowns, TForwardModel forward,
                  TResondixData& document, std::string& error) {
  document.KeepAnnotations = false;  // a sounding of a survey is never shown or saved whole
  if (!PrepareSounding(path, unknowns, forward, document)) {
    error = LatestErrorText();
    return false;
  }
  return unknowns == nullptr || SoundingFitted(path, FitSounding(path, document), error);
}

bool LoadSoundingAutomatic(const std::string& path, const TAutomaticRequest& request, TForwardModel forward,
                           TResondixData& document, std::string& error) {
  document.KeepAnnotations = false;
  if (!PrepareAutomaticSounding(path, forward, document)) {
    error = LatestErrorText();
    return false;
  }
  return SoundingFitted(path, FitAutomaticSounding(path, request, document), error);
}

bool ReadUnknownsOption(const TArguments& arguments, TUnknownList& unknowns) {
  if (!arguments.Has("--unknowns")) {
    ReportError("Option --unknowns is required: all, or names such as rho1,rho3,depth2.");
    return false;
  }
  return ParseUnknownList(arguments.Value("--unknowns"), unknowns);
}

bool LoadAndFit(const std::string& path, const TUnknownList& unknowns, TForwardModel model, TResondixData& document,
                TJsonWriter& json) {
  if (!PrepareSounding(path, &unknowns, model, document)) {
    PrintFileError(path, model);
    return false;
  }
  return BeginFitRecord(path, FitSounding(path, document), model, json);
}

bool LoadAndFitAutomatic(const std::string& path, const TAutomaticRequest& request, TForwardModel model,
                         TResondixData& document, TJsonWriter& json) {
  if (!PrepareAutomaticSounding(path, model, document)) {
    PrintFileError(path, model);
    return false;
  }
  return BeginFitRecord(path, FitAutomaticSounding(path, request, document), model, json);
}
