// resondix-cli render FILE.rxd OUT.png|OUT.svg|OUT.pdf [--size WxH]
// [--forward accurate|filter]: the chart of a sounding as the window shows it
// at that size, with the model curve of the forward model chosen when every
// layer value is set and the text annotations drawn as the window's copies
// draw them, as a PNG image, an SVG drawing or a one-page PDF. The format
// follows the extension of OUT. The output file is
// replaced only when it was written completely.
//
// Only this command starts Qt's GUI layer, so the other commands stay fast;
// without a display it draws on Qt's offscreen platform.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <string>
#include <string_view>
#include <vector>

#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

#include "Canvas.h"
#include "ChartDrawing.h"
#include "ChartExport.h"
#include "CliSupport.h"
#include "Commands.h"
#include "Json.h"
#include "ResondixData.h"

namespace {

constexpr int DefaultWidth = 800;
constexpr int DefaultHeight = 600;
// A PNG of 10000 x 10000 pixels takes 400 MB while it is drawn; a larger
// one is refused.
constexpr int MaxSide = 10000;

enum class TOutputFormat { Png, Svg, Pdf };

struct TRenderJob {
  std::string Input;
  std::string Output;
  TOutputFormat Format = TOutputFormat::Png;
  int Width = DefaultWidth;
  int Height = DefaultHeight;
  TForwardModel Forward = TForwardModel::Filter;
};

bool EndsWithNoCase(std::string_view text, std::string_view ending) {
  if (text.size() < ending.size()) return false;
  text.remove_prefix(text.size() - ending.size());
  for (std::size_t i = 0; i < ending.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != ending[i]) return false;
  return true;
}

bool FormatOf(const std::string& path, TOutputFormat& format) {
  if (EndsWithNoCase(path, ".png"))
    format = TOutputFormat::Png;
  else if (EndsWithNoCase(path, ".svg"))
    format = TOutputFormat::Svg;
  else if (EndsWithNoCase(path, ".pdf"))
    format = TOutputFormat::Pdf;
  else
    return false;
  return true;
}

enum class TSide { Valid, TooLarge, Invalid };

TSide ParseSide(std::string_view text, int& side) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, side);
  if (result.ptr != end || text.empty() || text[0] == '-' || result.ec == std::errc::invalid_argument)
    return TSide::Invalid;
  if (result.ec == std::errc::result_out_of_range || side > MaxSide) return TSide::TooLarge;
  return side >= 1 ? TSide::Valid : TSide::Invalid;
}

// "WxH", for example "800x600".
TSide ParseSize(std::string_view text, int& width, int& height) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) return TSide::Invalid;
  const TSide w = ParseSide(text.substr(0, x), width), h = ParseSide(text.substr(x + 1), height);
  return std::max(w, h);
}

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
  if (!parsed.Has("--size")) return true;
  switch (ParseSize(parsed.Value("--size"), job.Width, job.Height)) {
    case TSide::Valid:
      return true;
    case TSide::TooLarge:
      ReportError("A chart of " + parsed.Value("--size") + " pixels is too large: --size allows at most " +
                  std::to_string(MaxSide) + "x" + std::to_string(MaxSide) + ".");
      return false;
    case TSide::Invalid:
      break;
  }
  ReportError("Option --size takes WIDTHxHEIGHT in pixels, each 1 to " + std::to_string(MaxSide) +
              ", for example 800x600.");
  return false;
}

bool WritePng(QSaveFile& file, TChartDrawing& drawing) {
  QImage image = NewCanvasImage(drawing.DrawWidth, drawing.DrawHeight);
  return !image.isNull() && DrawChartOn(image, drawing) && image.save(&file, "PNG");
}

bool WritePdf(QSaveFile& file, TChartDrawing& drawing) {
  // One page exactly the size of the chart, at the resolution its texts are
  // laid out for.
  QPdfWriter writer(&file);
  writer.setResolution(StandardDotsPerInch);
  const QSizeF inches(double(drawing.DrawWidth) / StandardDotsPerInch, double(drawing.DrawHeight) / StandardDotsPerInch);
  writer.setPageSize(QPageSize(inches, QPageSize::Inch, QString(), QPageSize::ExactMatch));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  writer.setTitle(QStringLiteral("Resondix sounding chart"));
  writer.setCreator(QStringLiteral("Resondix"));
  return DrawChartOn(writer, drawing);
}

bool WriteChart(const TRenderJob& job, TChartDrawing& drawing) {
  QSaveFile file(QString::fromStdString(job.Output));
  if (!file.open(QIODevice::WriteOnly)) return false;
  bool written = false;
  switch (job.Format) {
    case TOutputFormat::Png:
      written = WritePng(file, drawing);
      break;
    case TOutputFormat::Svg:
      written = WriteChartSvg(file, drawing, StandardDotsPerInch);
      break;
    case TOutputFormat::Pdf:
      written = WritePdf(file, drawing);
      break;
  }
  return written && file.commit();
}

// Qt's own warnings (a missing runtime folder, font substitutions) are not
// the program's messages; standard error keeps to those.
void KeepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) ReportError(text.toStdString());
}

void SelectPlatform() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
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

  SelectPlatform();
  qInstallMessageHandler(KeepQtQuiet);
  int argc = 1;
  char name[] = "resondix-cli";
  char* argv[] = {name, nullptr};
  QGuiApplication application(argc, argv);

  TChartDrawing drawing;
  drawing.Data = &document;
  drawing.DrawWidth = job.Width;
  drawing.DrawHeight = job.Height;
  if (!WriteChart(job, drawing)) {
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
  WriteForwardMember(json, job.Forward);
  json.EndObject();
  PrintJsonLine(json);
  return ExitSuccess;
}
