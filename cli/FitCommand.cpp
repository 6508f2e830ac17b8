// resondix-cli fit FILE.rxd... --unknowns LIST [-o OUT.rxd] [--forward
// accurate|filter]: fits the layer values named in LIST to the measurements
// with the forward model chosen, as the window's Fit command does, and prints
// the result with its statistics, the misfit of every measurement and the
// fit's warnings as JSON. With --auto [N] [--error PERCENT] instead of
// --unknowns it fits every value of the automatic model of N layers (the
// count chosen without N), as Data > Automatic model does.
#include <cmath>
#include <string>
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

// 100·(model/measured − 1) at every measurement, in measurement order.
void WriteMisfit(TJsonWriter& json, const TResondixData& document) {
  json.Key("misfit").BeginArray();
  const TFitDiagnostics& diagnostics = document.FitDiagnostics;
  for (int i = 1; i <= diagnostics.MeasurementCount; ++i) json.Number(diagnostics.MisfitPercent[i]);
  json.EndArray();
}

// What to fit: the unknowns listed, or the automatic model's.
struct TFitRequest {
  TForwardModel Model = TForwardModel::Filter;
  TUnknownList Unknowns;
  TAutomaticRequest Automatic;
};

// One file; false when it could not be fitted.
bool FitFile(const std::string& path, const TFitRequest& request, const TArguments& arguments) {
  TResondixData document;
  document.KeepAnnotations = arguments.Has("-o");  // only the saved document shows them
  TJsonWriter json;
  const TForwardModel model = request.Model;
  if (!(request.Automatic.Requested
            ? LoadAndFitAutomatic(path, request.Automatic, model, document, json)
            : LoadAndFit(path, request.Unknowns, model, document, json)))
    return false;
  json.Key("status").Number(document.FitStatus);
  json.Key("rmse").Number(document.Rmse);
  json.Key("evaluations").Integer(document.LastFit.EvaluationCount);
  WriteUnknowns(json, document);
  WriteLayers(json, document);
  WriteCorrelation(json, document);
  WriteDarZarrouk(json, DarZarroukOf(document.Layers()));
  WriteMisfit(json, document);
  // One list: what reading the file said, then what the fit says.
  std::vector<std::string> warnings = ReadingWarnings();
  const std::vector<std::string> fitWarnings = document.FitWarnings(TAdviceFor::CommandLine);
  warnings.insert(warnings.end(), fitWarnings.begin(), fitWarnings.end());
  WriteWarningsMember(json, warnings);
  WriteForwardMember(json, model);
  json.EndObject();
  PrintJsonLine(json);
  return !arguments.Has("-o") || SaveDocumentAs(document, arguments.Value("-o"));
}

}  // namespace

int RunFit(const std::vector<std::string>& arguments) {
  TArguments parsed;
  TFitRequest request;
  if (!ParseArguments(WithAutomaticLayers(arguments), {"--unknowns", "-o", "--forward", "--auto", "--error"}, parsed) ||
      !CheckSingleOutput(parsed) || !ParseForwardModel(parsed, request.Model) ||
      !ReadAutomaticOption(parsed, "--unknowns", request.Automatic))
    return ExitFailure;
  if (!request.Automatic.Requested && !ReadUnknownsOption(parsed, request.Unknowns)) return ExitFailure;
  int status = ExitSuccess;
  for (const std::string& path : parsed.Files)
    if (!FitFile(path, request, parsed)) status = ExitFailure;
  return status;
}
