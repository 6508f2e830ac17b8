#include "cli/Survey.h"

#include <algorithm>

#include <QFileInfo>

#include "cli/CliSupport.h"
#include "cli/ImageOutput.h"
#include "document/Position.h"
#include "document/ResondixData.h"

bool ParseSurveyJob(const std::vector<std::string>& arguments, std::initializer_list<std::string_view> valueOptions,
                    const std::string& command, TSurveyJob& job, TArguments& parsed) {
  if (!ParseArguments(WithAutomaticLayers(arguments), valueOptions, parsed) || !ParseForwardModel(parsed, job.Forward) ||
      !ReadAutomaticOption(parsed, "--fit", job.Automatic))
    return false;
  job.Fit = parsed.Has("--fit");
  if (job.Fit && !ParseUnknownList(parsed.Value("--fit"), job.Unknowns, "--fit")) return false;
  if (parsed.Files.size() < 2) {
    ReportError(command + " takes one or more input files and one output file.");
    return false;
  }
  job.Inputs.assign(parsed.Files.begin(), parsed.Files.end() - 1);
  job.Output = parsed.Files.back();
  return OutputFormatOf(job.Output, job.Format);
}

bool LoadSurveyDocument(const TSurveyJob& job, const std::string& path, TResondixData& document, std::string& error) {
  if (job.Automatic.Requested) return LoadSoundingAutomatic(path, job.Automatic, job.Forward, document, error);
  return LoadSounding(path, job.Fit ? &job.Unknowns : nullptr, job.Forward, document, error);
}

bool TakeSurveySounding(TSurveySounding& sounding, TResondixData& document) {
  if (!CheckModelComplete(document, sounding.Path)) {
    sounding.Error = LatestErrorText();
    return false;
  }
  sounding.Read = true;
  sounding.HasPosition = ParsePosition(document.SoundingPosition().view(), sounding.X, sounding.Y);
  TSectionColumn& column = sounding.Column;
  column.Name = QFileInfo(QString::fromStdString(sounding.Path)).completeBaseName();
  column.Layers = document.Layers();
  document.ValidateDocument();
  if (document.MeasurementsValid) column.Rmse = document.ModelRmse();
  return true;
}

bool PlaceSoundings(TProfileOrder order, std::vector<TSurveySounding>& soundings,
                    std::vector<TSurveySounding*>& placed, bool& distancesKnown) {
  for (TSurveySounding& sounding : soundings)
    if (sounding.Read) placed.push_back(&sounding);
  distancesKnown = std::all_of(placed.begin(), placed.end(), [](const TSurveySounding* s) { return s->HasPosition; });
  if (!distancesKnown) {
    if (order != TProfileOrder::File) {
      for (const TSurveySounding* s : placed)
        if (!s->HasPosition) ReportError("Option --order needs every sounding's position \"X, Y = x, y\"; " + s->Path +
                                         " has none.");
      return false;
    }
    for (std::size_t i = 0; i < placed.size(); ++i) placed[i]->Column.Distance = double(i);
    return true;
  }
  if (order != TProfileOrder::File)
    std::stable_sort(placed.begin(), placed.end(), [order](const TSurveySounding* a, const TSurveySounding* b) {
      return order == TProfileOrder::X ? a->X < b->X : a->Y < b->Y;
    });
  double distance = 0;
  for (std::size_t i = 0; i < placed.size(); ++i) {
    if (i > 0) distance += std::hypot(placed[i]->X - placed[i - 1]->X, placed[i]->Y - placed[i - 1]->Y);
    placed[i]->Column.Distance = distance;
  }
  return true;
}
