// The one writer of the program's pictures and pages: the chart's copies,
// render and section of the command line, and the sounding report.
//
// A picture is whatever a drawing callback paints through a QPainter on a
// device of a given size in units of 1/dotsPerInch inch: a raster image
// (white, one pixel per unit), an SVG drawing of that size with its texts
// kept as text, or a PDF exactly that size. Pages are PDF pages of a paper
// size, as many as asked, each in its own orientation, drawn in the same
// units from the paper's top-left corner with no margin. Everything is made
// in memory; SavePicture then writes it by the rules of a data file's save.
#pragma once

#include <functional>
#include <string>

#include <QByteArray>
#include <QImage>
#include <QPageLayout>
#include <QSize>
#include <QString>

class QPainter;

enum class TPictureFormat { Png, Svg, Pdf };

// The format that path's extension (.png, .svg, .pdf, in any case) names;
// false for another.
bool PictureFormatOf(const std::string& path, TPictureFormat& format);

using TDrawPicture = std::function<void(QPainter& painter)>;

// The picture as a white raster image, as the clipboard and PNG files take
// it: size units of pixelsPerUnit pixels each, its resolution dotsPerInch
// times pixelsPerUnit; drawn as far as a painter could be opened on it.
QImage PictureImage(QSize size, int dotsPerInch, const TDrawPicture& draw, int pixelsPerUnit = 1);

// The picture as the bytes of a PNG image (pixelsPerUnit as above), an SVG
// drawing or a one-page PDF of size units, titled title (SVG and PDF);
// empty when it could not be made.
QByteArray PictureBytes(TPictureFormat format, QSize size, int dotsPerInch, const QString& title,
                        const TDrawPicture& draw, int pixelsPerUnit = 1);

// A PDF of pageCount pages, page i (from 0) laid out by layoutOf(i) and
// drawn by drawPage(painter, i), which leaves the painter's state as it
// found it; empty when it could not be made.
QByteArray PagesPdf(int pageCount, int dotsPerInch, const QString& title,
                    const std::function<QPageLayout(int page)>& layoutOf,
                    const std::function<void(QPainter& painter, int page)>& drawPage);

// Saves bytes under path as a data file is saved (WriteFileAtomically):
// the file is replaced only when written completely, a write-protected file
// or one that is not a regular file is refused and left as it is, a link is
// written through. False, with nothing written, for empty bytes too.
bool SavePicture(const std::string& path, const QByteArray& bytes);
