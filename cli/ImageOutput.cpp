#include "cli/ImageOutput.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "chart/Canvas.h"
#include "cli/CliSupport.h"
#include "document/ShortString.h"
#include "document/TextReader.h"

namespace {

enum class TSize { Valid, TooLarge, Invalid };

TSize ParseSide(std::string_view text, int& side) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, side);
  if (text.empty() || text[0] == '-' || result.ptr != end || result.ec == std::errc::invalid_argument)
    return TSize::Invalid;
  if (result.ec == std::errc::result_out_of_range || side > MaxImageSide) return TSize::TooLarge;
  return side >= 1 ? TSize::Valid : TSize::Invalid;
}

TSize ParseSizeText(std::string_view text, int& width, int& height) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) return TSize::Invalid;
  return std::max(ParseSide(text.substr(0, x), width), ParseSide(text.substr(x + 1), height));
}

using TDraw = std::function<void(QPainter& painter)>;

// Draws on a device that a painter can begin on.
bool DrawOn(QPaintDevice& device, const TDraw& draw) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  draw(painter);
  return painter.end();
}

bool WritePng(QIODevice& file, int width, int height, const TDraw& draw) {
  QImage image = NewCanvasImage(width, height);
  return !image.isNull() && DrawOn(image, draw) && image.save(&file, "PNG");
}

bool WriteSvg(QIODevice& file, int width, int height, const QString& title, const TDraw& draw) {
  QSvgGenerator generator;
  generator.setOutputDevice(&file);
  generator.setSize(QSize(width, height));
  generator.setViewBox(QRect(0, 0, width, height));
  generator.setResolution(StandardDotsPerInch);
  generator.setTitle(title);
  return DrawOn(generator, draw);
}

bool WritePdf(QIODevice& file, int width, int height, const QString& title, const TDraw& draw) {
  // One page exactly the size of the picture, at the resolution its texts
  // are laid out for.
  QPdfWriter writer(&file);
  writer.setResolution(StandardDotsPerInch);
  const QSizeF inches(double(width) / StandardDotsPerInch, double(height) / StandardDotsPerInch);
  writer.setPageSize(QPageSize(inches, QPageSize::Inch, QString(), QPageSize::ExactMatch));
  writer.setPageMargins(QMarginsF(0, 0, 0, 0));
  writer.setTitle(title);
  writer.setCreator(QStringLiteral("Resondix"));
  return DrawOn(writer, draw);
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

int ArgumentCount = 1;
char ProgramName[] = "resondix-cli";
char* Arguments[] = {ProgramName, nullptr};

}  // namespace

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

bool ParseSize(std::string_view text, int& width, int& height) {
  return ParseSizeText(text, width, height) == TSize::Valid;
}

std::string SizeOptionError(std::string_view text) {
  int width = 0, height = 0;
  if (ParseSizeText(text, width, height) == TSize::TooLarge)
    return "An image of " + std::string(text) + " pixels is too large: --size allows at most " +
           std::to_string(MaxImageSide) + "x" + std::to_string(MaxImageSide) + ".";
  return "Option --size takes WIDTHxHEIGHT in pixels, each 1 to " + std::to_string(MaxImageSide) +
         ", for example 800x600.";
}

TGuiSession::TGuiSession() {
  SelectPlatform();
  qInstallMessageHandler(KeepQtQuiet);
  Application = std::make_unique<QGuiApplication>(ArgumentCount, Arguments);
}

TGuiSession::~TGuiSession() = default;

bool WriteImage(const std::string& path, TOutputFormat format, int width, int height, const QString& title,
                const TDraw& draw) {
  // The picture is made in memory and saved as a data file is, by the same
  // rules: nothing is written when it could not be made.
  QByteArray picture;
  QBuffer buffer(&picture);
  buffer.open(QIODevice::WriteOnly);
  bool made = false;
  switch (format) {
    case TOutputFormat::Png:
      made = WritePng(buffer, width, height, draw);
      break;
    case TOutputFormat::Svg:
      made = WriteSvg(buffer, width, height, title, draw);
      break;
    case TOutputFormat::Pdf:
      made = WritePdf(buffer, width, height, title, draw);
      break;
  }
  return made && WriteFileAtomically(path, std::string_view(picture.constData(), picture.size()));
}
