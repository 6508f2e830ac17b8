#include "UnknownList.h"

#include <utility>

#include "CliSupport.h"
#include "Json.h"
#include "ResondixData.h"

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

bool ReadUnknownsOption(const TArguments& arguments, TUnknownList& unknowns) {
  if (!arguments.Has("--unknowns")) {
    ReportError("Option --unknowns is required: all, or names such as rho1,rho3,depth2.");
    return false;
  }
  return ParseUnknownList(arguments.Value("--unknowns"), unknowns);
}

bool ParseUnknownList(const std::string& list, TUnknownList& unknowns) {
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
      ReportError("Unknown parameter \"" + name + "\" in --unknowns: use all, or rho1 to rho" +
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

bool LoadAndFit(const std::string& path, const TUnknownList& unknowns, TForwardModel model, TResondixData& document,
                TJsonWriter& json) {
  if (!LoadDocument(document, path) || !MarkUnknowns(document, unknowns, path) ||
      !CheckMeasurementsComplete(document, path) || !CheckModelComplete(document, path)) {
    PrintFileError(path, model);
    return false;
  }
  document.ForwardModel = model;
  json.BeginObject().Key("file").String(path);
  FitSucceeded = true;
  const TFitOutcome outcome = document.Fit();
  if (!outcome.Ran) {
    json.Key("refused").String(outcome.Refusal);
    WriteForwardMember(json, model);
    json.EndObject();
    PrintJsonLine(json);
    return false;
  }
  if (document.FitStatus == 1) ReportError(path + ": " + NoSolutionText);
  return true;
}
