// resondix-cli curve FILE.rxd... [--forward accurate|filter]: the model curve
// table, the curve at the measured spacings and the samples the chart draws,
// as JSON, from the forward model chosen (the filter model by default).
#include <cmath>

#include "chart/ChartDrawing.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "document/ResondixData.h"

namespace {

// The nodes of the table of the forward model in use.
void WriteNodes(TJsonWriter& json, const TResondixData& document) {
  const auto node = [&json](double logSpacing, double logRho) {
    json.BeginObject();
    json.Key("log_spacing").Number(logSpacing);
    json.Key("log_rho").Number(logRho);
    json.EndObject();
  };
  json.Key("nodes").BeginArray();
  const TModelCurve& curve = document.Curve;
  for (int j = curve.FirstNode(); j <= curve.LastNode(); ++j) node(curve.NodeLogSpacing(j), curve.NodeLogRho(j));
  json.EndArray();
}

void WriteCurve(TJsonWriter& json, TResondixData& document) {
  document.ComputeModelCurve();
  json.Key("configuration").String(ConfigurationName(document.IsSchlumberger));
  WriteNodes(json, document);
  json.Key("at_spacings").BeginArray();
  for (int i = 1; i <= document.MeasurementCount; ++i) {
    const double spacing = document.HalfSpacing[i];
    json.BeginObject();
    json.Key("spacing").Number(spacing);
    // A spacing of 0 or less has no place on the logarithmic axis.
    json.Key("log_rho").Number(spacing > 0 ? document.CurveLogRhoAt(DecimalLog(spacing)) : NAN);
    json.EndObject();
  }
  json.EndArray();
  json.Key("samples").BeginArray();
  for (int i = 0; i < CurveSampleCount; ++i) {
    const double x = CurveSampleLogSpacing(i);
    json.BeginObject();
    json.Key("log_spacing").Number(x);
    json.Key("log_rho").Number(document.CurveLogRhoAt(x));
    json.EndObject();
  }
  json.EndArray();
  WriteWarningsMember(json, ReadingWarnings());
  WriteForwardMember(json, document.ForwardModel);
}

}  // namespace

int RunCurve(const std::vector<std::string>& arguments) {
  TArguments parsed;
  TForwardModel model;
  if (!ParseArguments(arguments, {"--forward"}, parsed) || !ParseForwardModel(parsed, model)) return ExitFailure;
  int status = ExitSuccess;
  for (const std::string& path : parsed.Files) {
    TResondixData document;
    document.KeepAnnotations = false;  // the curve has no use for them
    if (!LoadDocument(document, path) || !CheckModelComplete(document, path)) {
      PrintFileError(path, model);
      status = ExitFailure;
      continue;
    }
    document.ForwardModel = model;
    TJsonWriter json;
    json.BeginObject().Key("file").String(path);
    WriteCurve(json, document);
    json.EndObject();
    PrintJsonLine(json);
  }
  return status;
}
