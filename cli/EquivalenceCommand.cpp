// resondix-cli equivalence FILE.rxd... --unknowns LIST [--tolerance REL,ABS]
// [--forward accurate|filter]: fits the unknowns in LIST as fit does, then finds how far each of them
// can go while the others follow and the RMSE stays within
// (1 + REL)·RMSE + ABS (default 0.05,0.002): the equivalent range of every
// unknown, the ranges of the layers' Dar Zarrouk figures and the equivalent
// models, as JSON.
#include <charconv>
#include <cmath>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "document/ResondixData.h"
#include "engine/Equivalence.h"

namespace {

bool ParseFraction(std::string_view text, double& value) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, value);
  return result.ec == std::errc() && result.ptr == end && std::isfinite(value) && value >= 0;
}

// "REL,ABS", two numbers of at least 0.
bool ReadToleranceOption(const TArguments& arguments, TEquivalenceTolerance& tolerance) {
  if (!arguments.Has("--tolerance")) return true;
  const std::string_view text = arguments.Value("--tolerance");
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos || !ParseFraction(text.substr(0, comma), tolerance.Relative) ||
      !ParseFraction(text.substr(comma + 1), tolerance.Absolute)) {
    ReportError("Option --tolerance takes REL,ABS: the part of the RMSE and the log units a model may add to "
                "it, both 0 or more, for example 0.05,0.002.");
    return false;
  }
  return true;
}

void WriteRange(TJsonWriter& json, const char* key, const TValueRange& range) {
  json.Key(key).BeginArray().Number(range.Lower).Number(range.Upper).EndArray();
}

void WriteParameters(TJsonWriter& json, const TEquivalence& e) {
  json.Key("parameters").BeginArray();
  for (int k = 1; k <= e.ParameterCount; ++k) {
    const TParameterRange& p = e.Parameters[k];
    json.BeginObject();
    json.Key("name").String(UnknownName(p.IsDepth, p.Layer).view());
    json.Key("value").Number(p.Value);
    json.Key("lower").Number(p.Range.Lower);
    json.Key("upper").Number(p.Range.Upper);
    json.Key("lower_open").Bool(p.LowerOpen);
    json.Key("upper_open").Bool(p.UpperOpen);
    json.EndObject();
  }
  json.EndArray();
}

void WriteLayers(TJsonWriter& json, const TEquivalence& e) {
  json.Key("layers").BeginArray();
  for (int i = 1; i <= e.DarZarrouk.LayerCount; ++i) {
    json.BeginObject();
    WriteDarZarroukLayerMembers(json, e.DarZarrouk.Layers[i]);
    WriteRange(json, "thickness_range", e.ThicknessRange[i]);
    WriteRange(json, "s_range", e.SRange[i]);
    WriteRange(json, "t_range", e.TRange[i]);
    json.EndObject();
  }
  json.EndArray();
}

// Each model as a list of its layers, as show writes layers.
void WriteModels(TJsonWriter& json, const TEquivalence& e) {
  json.Key("models").BeginArray();
  for (int m = 1; m <= e.ModelCount; ++m) {
    const TLayerModel& model = e.Models[m];
    json.BeginArray();
    for (int i = 1; i <= model.LayerCount; ++i) {
      json.BeginObject();
      json.Key("rho").Number(model.LayerRho[i]);
      json.Key("depth").Number(model.LayerDepth[i]);
      json.EndObject();
    }
    json.EndArray();
  }
  json.EndArray();
}

void WriteEquivalence(TJsonWriter& json, const TEquivalence& e) {
  json.Key("rmse").Number(e.Rmse);
  json.Key("tolerance").BeginObject();
  json.Key("relative").Number(e.Tolerance.Relative);
  json.Key("absolute").Number(e.Tolerance.Absolute);
  json.Key("rmse").Number(e.Threshold);
  json.EndObject();
  WriteParameters(json, e);
  WriteLayers(json, e);
  json.Key("totals");
  WriteDarZarroukTotals(json, e.DarZarrouk);
  WriteModels(json, e);
}

// One file; false when it could not be analysed.
bool AnalyseFile(const std::string& path, const TUnknownList& unknowns, TForwardModel model,
                 const TEquivalenceTolerance& tolerance, TEquivalence& result) {
  TResondixData document;
  document.KeepAnnotations = false;  // the analysis is printed, never saved
  TJsonWriter json;
  if (!LoadAndFit(path, unknowns, model, document, json)) return false;
  // Only a fit that came to rest is the centre of its equivalent models; one
  // that did not has reported why.
  if (document.FitStatus == 1 || document.FitStatus == 2) {
    PrintFileError(path, model);
    return false;
  }
  if (const std::string refusal = document.AnalyseEquivalence(tolerance, result); !refusal.empty()) {
    ReportError(path + ": " + refusal);
    PrintFileError(path, model);
    return false;
  }
  WriteEquivalence(json, result);
  WriteForwardMember(json, model);
  json.EndObject();
  PrintJsonLine(json);
  return true;
}

}  // namespace

int RunEquivalence(const std::vector<std::string>& arguments) {
  TArguments parsed;
  TUnknownList unknowns;
  TEquivalenceTolerance tolerance;
  TForwardModel model;
  if (!ParseArguments(arguments, {"--unknowns", "--tolerance", "--forward"}, parsed) ||
      !ParseForwardModel(parsed, model) || !ReadUnknownsOption(parsed, unknowns) || !ReadToleranceOption(parsed, tolerance))
    return ExitFailure;
  // One result for all files: it holds a few hundred models.
  const auto result = std::make_unique<TEquivalence>();
  int status = ExitSuccess;
  for (const std::string& path : parsed.Files)
    if (!AnalyseFile(path, unknowns, model, tolerance, *result)) status = ExitFailure;
  return status;
}
