// resondix-cli fit FILE.rxd... --unknowns LIST [-o OUT.rxd] [--forward
// accurate|filter]: fits the layer values named in LIST to the measurements
// with the forward model chosen, as the window's Fit command does, and prints
// the result with its statistics as JSON.
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "document/ResondixData.h"
#include "engine/Equivalence.h"

namespace {

// The unknowns in the fit's order with their values and bounds in metres or
// ohm·m: a depth's bounds are those of its layer's thickness shifted by the
// layer's top, as in the interval texts. The statistics exist only after a
// fit that converged with a degree of freedom left.
void WriteUnknowns(TJsonWriter& json, const TResondixData& document) {
  const bool statistics = document.FitStatus == 0 && document.MeasurementCount > document.LastFit.UnknownCount;
  const TUncertainties& uncertainties = document.Uncertainties;
  int k = 0;
  const auto write = [&](double value, double top) {
    ++k;
    const bool bounded = statistics && uncertainties.Bounded(k);
    json.BeginObject();
    json.Key("name").String(document.ParameterNames[k].view());
    json.Key("value").Number(value);
    json.Key("percent").Number(statistics ? uncertainties.Percent[k] : NAN);
    json.Key("lower").Number(bounded ? uncertainties.Lower[k] + top : NAN);
    json.Key("upper").Number(bounded ? uncertainties.Upper[k] + top : NAN);
    json.EndObject();
  };
  json.Key("unknowns").BeginArray();
  for (int i = 1; i <= document.LayerCount; ++i)
    if (document.RhoUnknown[i]) write(document.LayerRho[i], 0);
  for (int i = 1; i < document.LayerCount; ++i)
    if (document.DepthUnknown[i]) write(document.LayerDepth[i], document.LayerDepth[i - 1]);
  json.EndArray();
}

void WriteLayers(TJsonWriter& json, const TResondixData& document) {
  json.Key("layers").BeginArray();
  for (int i = 1; i <= document.LayerCount; ++i) {
    json.BeginObject();
    json.Key("rho").Number(document.LayerRho[i]);
    json.Key("depth").Number(document.LayerDepth[i]);
    json.Key("rho_unknown").Bool(document.RhoUnknown[i]);
    json.Key("depth_unknown").Bool(document.DepthUnknown[i]);
    json.Key("rho_percent_text").String(document.RhoPercentText[i].view());
    json.Key("rho_interval_text").String(document.RhoIntervalText[i].view());
    json.Key("depth_percent_text").String(document.DepthPercentText[i].view());
    json.Key("depth_interval_text").String(document.DepthIntervalText[i].view());
    json.EndObject();
  }
  json.EndArray();
}

// The lower triangle with the diagonal, row by row, as the correlation view
// shows it.
void WriteCorrelation(TJsonWriter& json, const TResondixData& document) {
  json.Key("correlation").BeginArray();
  for (int k = 1; k <= document.LastFit.UnknownCount; ++k) {
    json.BeginArray();
    for (int j = 1; j <= k; ++j) json.String(document.CorrelationText(k, j));
    json.EndArray();
  }
  json.EndArray();
}

// One file; false when it could not be fitted.
bool FitFile(const std::string& path, const TUnknownList& unknowns, TForwardModel model, const TArguments& arguments) {
  TResondixData document;
  document.KeepAnnotations = arguments.Has("-o");  // only the saved document shows them
  TJsonWriter json;
  if (!LoadAndFit(path, unknowns, model, document, json)) return false;
  json.Key("status").Number(document.FitStatus);
  json.Key("rmse").Number(document.Rmse);
  json.Key("evaluations").Integer(document.LastFit.EvaluationCount);
  WriteUnknowns(json, document);
  WriteLayers(json, document);
  WriteCorrelation(json, document);
  WriteDarZarrouk(json, DarZarroukOf(document.Layers()));
  WriteWarningsMember(json, ReadingWarnings());
  WriteForwardMember(json, model);
  json.EndObject();
  PrintJsonLine(json);
  return !arguments.Has("-o") || SaveDocumentAs(document, arguments.Value("-o"));
}

}  // namespace

int RunFit(const std::vector<std::string>& arguments) {
  TArguments parsed;
  TForwardModel model;
  if (!ParseArguments(arguments, {"--unknowns", "-o", "--forward"}, parsed) || !CheckSingleOutput(parsed) ||
      !ParseForwardModel(parsed, model))
    return ExitFailure;
  TUnknownList unknowns;
  if (!ReadUnknownsOption(parsed, unknowns)) return ExitFailure;
  int status = ExitSuccess;
  for (const std::string& path : parsed.Files)
    if (!FitFile(path, unknowns, model, parsed)) status = ExitFailure;
  return status;
}
