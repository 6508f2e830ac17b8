// Pictures written by the command line (render, section, report): the
// output format from the file's extension, the --size option, and Qt's GUI
// layer started only by the commands that draw. The pictures themselves are
// made and saved by chart/PictureWriter.h.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "chart/PictureWriter.h"

class QGuiApplication;

constexpr int DefaultImageWidth = 800;
constexpr int DefaultImageHeight = 600;
// A PNG of 10000 x 10000 pixels takes 400 MB while it is drawn; a larger
// one is refused.
constexpr int MaxImageSide = 10000;

// The format of output from its extension; false, with a message, for an
// extension that names none.
bool OutputFormatOf(const std::string& output, TPictureFormat& format);

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
// in format, titled title (SVG and PDF), its texts laid out at
// StandardDotsPerInch, and saves it as a data file is (SavePicture). False
// when it could not be made or saved.
bool WriteImage(const std::string& path, TPictureFormat format, int width, int height, const QString& title,
                const TDrawPicture& draw);
