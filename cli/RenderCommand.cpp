// resondix-cli render FILE.rxd OUT.png|OUT.svg|OUT.pdf [--size WxH]
// [--forward accurate|filter]: the chart of a sounding as the window shows it
// at that size, with the model curve of the forward model chosen when every
// layer value is set and the text annotations drawn as the window's copies
// draw them, as a PNG image, an SVG drawing or a one-page PDF. The format
// follows the extension of OUT. The output file is
// replaced only when it was written completely.
//
// Only the drawing commands (render, section) start Qt's GUI layer, so the
// other commands stay fast; without a display it draws on Qt's offscreen
// platform.
#include <string>
#include <vector>

#include <QPainter>

#include "chart/ChartDrawing.h"
#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "cli/ImageOutput.h"
#include "cli/Json.h"
#include "document/ResondixData.h"

namespace {

struct TRenderJob {
  std::string Input;
  std::string Output;
  TOutputFormat Format = TOutputFormat::Png;
  int Width = DefaultImageWidth;
  int Height = DefaultImageHeight;
  TForwardModel Forward = TForwardModel::Filter;
};

bool ParseJob(const std::vector<std::string>& arguments, TRenderJob& job) {
  TArguments parsed;
  if (!ParseArguments(arguments, {"--size", "--forward"}, parsed) || !ParseForwardModel(parsed, job.Forward))
    return false;
  if (parsed.Files.size() != 2) {
    ReportError("render takes one input file and one output file.");
    return false;
  }
  job.Input = parsed.Files[0];
  job.Output = parsed.Files[1];
  if (!FormatOf(job.Output, job.Format)) {
    ReportError("Unknown output format of " + job.Output + ": use .png, .svg or .pdf.");
    return false;
  }
  if (parsed.Has("--size") && !ParseSize(parsed.Value("--size"), job.Width, job.Height)) {
    ReportError(SizeOptionError(parsed.Value("--size")));
    return false;
  }
  return true;
}

}  // namespace

int RunRender(const std::vector<std::string>& arguments) {
  TRenderJob job;
  if (!ParseJob(arguments, job)) return ExitFailure;
  TResondixData document;
  if (!LoadDocument(document, job.Input)) {
    PrintFileError(job.Input, job.Forward);
    return ExitFailure;
  }
  document.ForwardModel = job.Forward;
  // As in the window: the layers and the curve once the value rules accept
  // every model cell.
  document.ValidateDocument();

  TGuiSession gui;
  TChartDrawing drawing;
  drawing.Data = &document;
  drawing.DrawWidth = job.Width;
  drawing.DrawHeight = job.Height;
  if (!WriteImage(job.Output, job.Format, job.Width, job.Height, QStringLiteral("Resondix sounding chart"),
                  [&drawing](QPainter& painter) { drawing.DrawChart(painter); })) {
    ReportError("Could not save " + job.Output + "!");
    PrintFileError(job.Input, job.Forward);
    return ExitFailure;
  }

  TJsonWriter json;
  json.BeginObject().Key("file").String(job.Input);
  json.Key("output").String(job.Output);
  json.Key("width").Integer(job.Width);
  json.Key("height").Integer(job.Height);
  json.Key("model_curve").Bool(document.ModelValid);
  json.Key("first_decade").Integer(drawing.FirstDecade);
  json.Key("decade_count").Integer(drawing.DecadeCount);
  WriteWarningsMember(json, ReadingWarnings());
  WriteForwardMember(json, job.Forward);
  json.EndObject();
  PrintJsonLine(json);
  return ExitSuccess;
}
