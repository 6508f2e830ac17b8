// TCanvas: the surface the chart draws on, a QPainter with the pixel rules
// the chart's layout is computed for.
//
// On a raster image at one device pixel per unit (the screen's offscreen
// image, an exported PNG) the rules are exact:
// - a line from A to B sets the pixel at A and, for every step along its
//   longer axis, the pixel nearest to the ideal line, up to but not
//   including B; consecutive lines of a polyline therefore meet without a
//   doubled or missing corner, and a closed polyline is closed;
// - a rectangle (x1, y1, x2, y2) covers the pixels x1 .. x2 - 1 and
//   y1 .. y2 - 1, its outline on the outermost of them;
// - a pixel is one pixel; lines are 1 pixel wide, black unless set
//   otherwise, and never antialiased.
// Qt's own aliased lines set the pixel nearest to neither end reliably, so
// on such images lines are laid out here and filled as runs of pixels.
//
// On vector devices (SVG, PDF, the printer) and on scaled screens the same
// calls draw geometric lines through the pixel centres, so that the picture
// matches the raster one at any zoom.
#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QString>

class QImage;
class QPainter;

// Pixel coordinates stay within this distance of the origin. Points far
// outside every device (a spacing of 1e-300 m, a curve that runs away)
// are held there, so that no drawing call sees a NaN, an infinity or an
// integer overflow; at this distance the visible part of a line keeps its
// direction to well under a pixel.
constexpr int PixelLimit = 1 << 24;

// A pixel coordinate from a computed one: rounded to the nearest integer,
// exact halves to the even one, held within +-PixelLimit (NaN goes to
// -PixelLimit).
int RoundPixel(double value);

// The resolution the chart's texts are laid out for when the target is not
// a screen: 10 points are 13 pixels, as on a standard desktop.
constexpr int StandardDotsPerInch = 96;

// A white raster image of the given size for the chart to draw on, with
// dotsPerInch as its logical resolution (which sets the pixel size of a
// font given in points).
QImage NewCanvasImage(int width, int height, int dotsPerInch = StandardDotsPerInch);

// The font of the chart's texts: family at pointSize, or a sans-serif one
// where the family is missing.
QFont CanvasFont(const QString& family, int pointSize);

class TCanvas {
public:
  // Takes over the painter's state for the drawing: black 1-pixel pen, white
  // brush, no antialiasing of lines.
  explicit TCanvas(QPainter& painter);
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  QPainter& Painter() { return Target; }
  // True on a raster device at one pixel per unit, where the exact pixel
  // rules hold.
  bool PixelExact() const { return Exact; }

  void SetFont(const QString& family, int pointSize);
  // The colour of the lines drawn from now on; frames, dots and texts stay
  // black.
  void SetLineColor(const QColor& color);
  // The lines drawn from now on: dashes and gaps of this many pixels each
  // along every line, each line starting with a dash; solid for 0.
  void SetDash(int pixels);
  QFont Font() const;

  // The pen position: MoveTo sets it, LineTo draws from it and leaves it at
  // the end point.
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void LineRel(int dx, int dy) { LineTo(PenX + dx, PenY + dy); }
  QPoint PenPos() const { return QPoint(PenX, PenY); }
  // Lines through count points, the same pixels as MoveTo to the first and
  // LineTo to each further one; the pen position is left alone.
  void Polyline(const QPoint* points, int count);

  // Outline with the pen, inside with the brush.
  void Rectangle(int x1, int y1, int x2, int y2);
  // The brush alone, no outline.
  void FillRect(int x1, int y1, int x2, int y2);
  // The outline alone, 1 pixel wide, in black.
  void FrameRect(int x1, int y1, int x2, int y2);
  void SetPixel(int x, int y);

  // Text with its top-left corner at (x, y), in the current font.
  void TextOut(int x, int y, const QString& text);
  int TextWidth(const QString& text) const;
  int TextHeight(const QString& text) const;
  // Text in the rectangle (x1, y1, x2, y2) as a multi-line edit control
  // shows it: from the top-left corner, its lines broken at "\n" and
  // wrapped at word boundaries (inside a word too long for a line), clipped
  // to the rectangle; a last line that does not fit entirely is left out.
  void TextRect(int x1, int y1, int x2, int y2, const QString& text);

private:
  void ExactLine(int x1, int y1, int x2, int y2);
  void GeometricLine(int x1, int y1, int x2, int y2);

  QPainter& Target;
  bool Exact = false;
  int DeviceWidth = 0;
  int DeviceHeight = 0;
  int PenX = 0;
  int PenY = 0;
  QColor LineColor = Qt::black;
  int Dash = 0;  // pixels of a dash and of a gap; 0 for solid lines
};
