// Pictures written by the command line (render, section): the output format
// from the file's extension, the --size option, Qt's GUI layer started only
// by the commands that draw, and the picture drawn through a QPainter as a
// PNG image, an SVG drawing or a one-page PDF and saved as a data file is.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include <QString>

class QGuiApplication;
class QPainter;

constexpr int DefaultImageWidth = 800;
constexpr int DefaultImageHeight = 600;
// A PNG of 10000 x 10000 pixels takes 400 MB while it is drawn; a larger
// one is refused.
constexpr int MaxImageSide = 10000;

enum class TOutputFormat { Png, Svg, Pdf };

// The format that path's extension (.png, .svg, .pdf, in any case) names;
// false for another.
bool FormatOf(const std::string& path, TOutputFormat& format);

// "WxH", for example "800x600", each side 1 to MaxImageSide.
bool ParseSize(std::string_view text, int& width, int& height);
// The message of a --size value that ParseSize refuses: one that names the
// limit for a size beyond it, else the form the option takes.
std::string SizeOptionError(std::string_view text);

// Qt's GUI layer for drawing: on a Unix without a display, Qt's offscreen
// platform; Qt's own warnings kept off standard error. Lives while the
// drawing is made.
class TGuiSession {
public:
  TGuiSession();
  ~TGuiSession();
  TGuiSession(const TGuiSession&) = delete;
  TGuiSession& operator=(const TGuiSession&) = delete;

private:
  std::unique_ptr<QGuiApplication> Application;
};

// Writes the picture that draw paints on a width x height device to path,
// in format, titled title (SVG and PDF), by the rules of a data file's save
// (WriteFileAtomically): replaced only when written completely, refused
// when write-protected or not a regular file, written through a link.
// False when refused or failed.
bool WriteImage(const std::string& path, TOutputFormat format, int width, int height, const QString& title,
                const std::function<void(QPainter& painter)>& draw);
