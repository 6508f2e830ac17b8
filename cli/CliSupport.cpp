#include "CliSupport.h"

#include <cstdio>

#include "Json.h"
#include "ResondixData.h"

namespace {

std::string LatestError;

}  // namespace

void ReportError(const std::string& text) {
  LatestError = text;
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fputc('\n', stderr);
}

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
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.size() > 1 && argument[0] == '-') {
      bool known = false;
      for (std::string_view option : valueOptions) known = known || option == argument;
      if (!known) {
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
  json.EndObject();
  PrintJsonLine(json);
  return !arguments.Has("-o") || SaveDocumentAs(document, arguments.Value("-o"));
}

bool LoadDocument(TResondixData& document, const std::string& path) { return document.LoadFromFile(path); }

bool SaveDocumentAs(TResondixData& document, const std::string& path) { return document.SaveToFile(path); }

void WriteDocumentMembers(TJsonWriter& json, const TResondixData& document) {
  json.Key("info").BeginArray();
  for (int i = 1; i <= InfoLineCount; ++i) json.String(document.Info[i].view());
  json.EndArray();
  json.Key("configuration").String(document.IsSchlumberger ? "Schlumberger" : "Wenner");
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
  int column = 0;
  if (const int row = document.FirstRefusedMeasurement(column)) {
    ReportError(path + ": measurement " + std::to_string(row) + (column == 0 ? ", L/2: " : ", Rho: ") +
                LastErrorMessage);
    return false;
  }
  return true;
}

bool CheckModelComplete(const TResondixData& document, const std::string& path) {
  int column = 0;
  if (const int row = document.FirstRefusedLayer(column)) {
    ReportError(path + ": layer " + std::to_string(row) + (column == 0 ? ", Rho: " : ", Depth: ") + LastErrorMessage);
    return false;
  }
  return true;
}
