// resondix-cli smooth FILE.rxd... [--error PERCENT] [--forward
// accurate|filter]: the smooth model of each file's measurements
// (engine/SmoothInversion.h), as Data > Smooth model draws it, as JSON: the
// cells' bottom depths and resistivities, the misfit, the weight of the
// roughness, the depth of investigation and what reading the file warned of.
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/Json.h"
#include "document/ResondixData.h"
#include "engine/SmoothInversion.h"

namespace {

void WriteSmoothModel(TJsonWriter& json, const TSmoothModel& smooth) {
  const TResistivityProfile& cells = smooth.Profile;
  json.Key("depths").BeginArray();
  for (int i = 1; i < cells.LayerCount; ++i) json.Number(cells.LayerDepth[i]);
  json.EndArray();
  json.Key("rho").BeginArray();
  for (int i = 1; i <= cells.LayerCount; ++i) json.Number(cells.LayerRho[i]);
  json.EndArray();
  json.Key("rmse").Number(smooth.Rmse);
  json.Key("lambda").Number(smooth.Lambda);
  json.Key("doi").Number(smooth.DepthOfInvestigation);
}

// One file; false when it has no smooth model.
bool SmoothFile(const std::string& path, double errorPercent, TForwardModel model) {
  TResondixData document;
  document.KeepAnnotations = false;  // only the measurements count
  if (!LoadDocument(document, path) || !CheckMeasurementsComplete(document, path)) {
    PrintFileError(path, model);
    return false;
  }
  document.ForwardModel = model;
  TSmoothModel smooth;
  if (const std::string refusal = document.SmoothModel(errorPercent, smooth); !refusal.empty()) {
    ReportError(path + ": " + refusal);
    PrintFileError(path, model);
    return false;
  }
  TJsonWriter json;
  json.BeginObject().Key("file").String(path);
  WriteSmoothModel(json, smooth);
  WriteWarningsMember(json, ReadingWarnings());
  WriteForwardMember(json, model);
  json.EndObject();
  PrintJsonLine(json);
  return true;
}

}  // namespace

int RunSmooth(const std::vector<std::string>& arguments) {
  TArguments parsed;
  TForwardModel model;
  double errorPercent;
  if (!ParseArguments(arguments, {"--error", "--forward"}, parsed) || !ParseForwardModel(parsed, model) ||
      !ParseErrorPercent(parsed, errorPercent))
    return ExitFailure;
  int status = ExitSuccess;
  for (const std::string& path : parsed.Files)
    if (!SmoothFile(path, errorPercent, model)) status = ExitFailure;
  return status;
}
