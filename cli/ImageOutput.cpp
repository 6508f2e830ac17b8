#include "cli/ImageOutput.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include <QGuiApplication>

#include "chart/Canvas.h"
#include "cli/CliSupport.h"

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

bool OutputFormatOf(const std::string& output, TPictureFormat& format) {
  if (PictureFormatOf(output, format)) return true;
  ReportError("Unknown output format of " + output + ": use .png, .svg or .pdf.");
  return false;
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

bool WriteImage(const std::string& path, TPictureFormat format, int width, int height, const QString& title,
                const TDrawPicture& draw) {
  return SavePicture(path, PictureBytes(format, QSize(width, height), StandardDotsPerInch, title, draw));
}
