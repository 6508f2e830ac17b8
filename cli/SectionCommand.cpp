// resondix-cli section FILE.rxd... OUT.png|OUT.svg|OUT.pdf [--order file|x|y]
// [--depth MAX] [--size WxH] [--fit LIST] [--forward F]: a resistivity
// section of the soundings, each layer model a column at its distance along
// the profile (see chart/SectionDrawing.h); with --fit, the models fitted
// first as table --fit fits them.
//
// Distances: when every sounding's SoundingPosition reads "X, Y = x, y",
// along the line through the positions taken in the order --order asks for
// (the files' order, or increasing x or y), the first at 0; otherwise the
// soundings stand evenly spaced in file order, and --order x or y is
// refused. --depth sets the depth at the bottom of the picture in metres;
// --forward the forward model of the RMSE in the labels.
//
// One JSON record per input file, in input order: the sounding's distance
// and RMSE (and fit status with --fit), or {"file", "error"} for a file that could not be read or has
// no complete model; such a file is left out of the picture and the others
// are drawn.
#include <string>
#include <vector>

#include <QPainter>

#include "chart/SectionDrawing.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ImageOutput.h"
#include "cli/Json.h"
#include "cli/Survey.h"
#include "document/NumberText.h"
#include "document/ResondixData.h"

namespace {

constexpr int DefaultSectionWidth = 1000;
constexpr int DefaultSectionHeight = 600;

struct TSectionJob : TSurveyJob {
  TProfileOrder Order = TProfileOrder::File;
  double MaxDepth = 0;
  int Width = DefaultSectionWidth;
  int Height = DefaultSectionHeight;
};

bool ParseOrder(const std::string& text, TProfileOrder& order) {
  if (text == "file")
    order = TProfileOrder::File;
  else if (text == "x")
    order = TProfileOrder::X;
  else if (text == "y")
    order = TProfileOrder::Y;
  else
    return false;
  return true;
}

bool ParseJob(const std::vector<std::string>& arguments, TSectionJob& job) {
  TArguments parsed;
  if (!ParseSurveyJob(arguments, {"--order", "--depth", "--size", "--forward", "--fit"}, "section", job, parsed))
    return false;
  if (parsed.Has("--order") && !ParseOrder(parsed.Value("--order"), job.Order)) {
    ReportError("Option --order takes file, x or y.");
    return false;
  }
  if (parsed.Has("--depth")) {
    const auto depth = StrToFloatDot(parsed.Value("--depth"));
    if (!depth || !(*depth > 0) || !(*depth < HalfSpaceDepth)) {
      ReportError("Option --depth takes the depth in metres at the bottom of the section, above 0 and below " +
                  FormatGeneral(HalfSpaceDepth) + ".");
      return false;
    }
    job.MaxDepth = *depth;
  }
  if (parsed.Has("--size") && !ParseSize(parsed.Value("--size"), job.Width, job.Height)) {
    ReportError(SizeOptionError(parsed.Value("--size")));
    return false;
  }
  return true;
}

// Reads one sounding and fits it when asked; a file without a complete
// model cannot be drawn.
void ReadSounding(TSurveySounding& sounding, const TSectionJob& job) {
  TResondixData document;
  if (LoadSurveyDocument(job, sounding.Path, document, sounding.Error) &&
      TakeSurveySounding(sounding, document) && job.Fit)
    sounding.FitStatus = document.FitStatus;
}

void PrintRecords(const std::vector<TSurveySounding>& soundings, const TSectionJob& job) {
  for (const TSurveySounding& sounding : soundings) {
    if (!sounding.Read) {
      TJsonWriter json;
      json.BeginObject().Key("file").String(sounding.Path).Key("error").String(sounding.Error);
      WriteForwardMember(json, job.Forward);
      json.EndObject();
      PrintJsonLine(json);
      continue;
    }
    TJsonWriter json;
    json.BeginObject().Key("file").String(sounding.Path);
    json.Key("output").String(job.Output);
    json.Key("distance").Number(sounding.Column.Distance);
    json.Key("rmse").Number(sounding.Column.Rmse);
    if (job.Fit) json.Key("fit_status").Number(sounding.FitStatus);
    WriteForwardMember(json, job.Forward);
    json.EndObject();
    PrintJsonLine(json);
  }
}

}  // namespace

int RunSection(const std::vector<std::string>& arguments) {
  TSectionJob job;
  if (!ParseJob(arguments, job)) return ExitFailure;
  std::vector<TSurveySounding> soundings(job.Inputs.size());
  for (std::size_t i = 0; i < soundings.size(); ++i) {
    soundings[i].Path = job.Inputs[i];
    ReadSounding(soundings[i], job);
  }
  std::vector<TSurveySounding*> placed;
  TSectionDrawing drawing;
  if (!PlaceSoundings(job.Order, soundings, placed, drawing.DistancesKnown)) return ExitFailure;
  if (placed.empty()) {
    PrintRecords(soundings, job);
    ReportError("No sounding to draw; " + job.Output + " was not written.");
    return ExitFailure;
  }

  for (const TSurveySounding* sounding : placed) drawing.Columns.push_back(sounding->Column);
  drawing.DrawWidth = job.Width;
  drawing.DrawHeight = job.Height;
  drawing.MaxDepth = job.MaxDepth;
  TGuiSession gui;
  if (!WriteImage(job.Output, job.Format, job.Width, job.Height, QStringLiteral("Resondix resistivity section"),
                  [&drawing](QPainter& painter) { drawing.DrawSection(painter); })) {
    ReportError("Could not save " + job.Output + "!");
    for (TSurveySounding& sounding : soundings)
      if (sounding.Read) sounding.Read = false, sounding.Error = LatestErrorText();
    PrintRecords(soundings, job);
    return ExitFailure;
  }
  PrintRecords(soundings, job);
  const bool allRead = placed.size() == soundings.size();
  return allRead ? ExitSuccess : ExitFailure;
}
