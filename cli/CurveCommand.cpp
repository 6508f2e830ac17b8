// resondix-cli curve FILE.rxd...: the model curve table, the curve at the
// measured spacings and the samples the chart draws, as JSON.
#include <cmath>

#include "ChartDrawing.h"
#include "CliSupport.h"
#include "Commands.h"
#include "Json.h"
#include "ResondixData.h"

namespace {

void WriteCurve(TJsonWriter& json, TResondixData& document) {
  document.ComputeModelCurve();
  json.Key("configuration").String(document.IsSchlumberger ? "Schlumberger" : "Wenner");
  json.Key("nodes").BeginArray();
  for (int j = 1; j <= document.FilterCount + 2; ++j) {
    json.BeginObject();
    json.Key("log_spacing").Number(document.CurveLogSpacing[j]);
    json.Key("log_rho").Number(document.CurveLogRho[j]);
    json.EndObject();
  }
  json.EndArray();
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
}

}  // namespace

int RunCurve(const std::vector<std::string>& arguments) {
  TArguments parsed;
  if (!ParseArguments(arguments, {}, parsed)) return ExitFailure;
  int status = ExitSuccess;
  for (const std::string& path : parsed.Files) {
    TResondixData document;
    document.KeepAnnotations = false;  // the curve has no use for them
    if (!LoadDocument(document, path) || !CheckModelComplete(document, path)) {
      PrintFileError(path);
      status = ExitFailure;
      continue;
    }
    TJsonWriter json;
    json.BeginObject().Key("file").String(path);
    WriteCurve(json, document);
    json.EndObject();
    PrintJsonLine(json);
  }
  return status;
}
