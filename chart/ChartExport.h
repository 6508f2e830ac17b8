// Copies and prints of the chart: the clipboard's bitmap and vector
// picture, the SVG file, and the printed page.
//
// Copies are laid out for the size of the chart on the screen and have no
// border; prints are a square with square decades, laid out as wide as the
// chart on the screen and scaled to the page. Both draw the annotation
// boxes as white rectangles with
// their text and never the focus frame. Copying and Printing of the drawing
// are set only while one copy or print is drawn, and are cleared again
// also when the drawing fails.
#pragma once

#include <QImage>

class QPaintDevice;
class TChartDrawing;

// The clipboard's name of the vector copy.
constexpr const char* SvgMimeType = "image/svg+xml";
// The title of the chart's SVG and PDF pictures.
constexpr const char* ChartPictureTitle = "Resondix sounding chart";

// The copy of the chart as the clipboard takes it, width x height pixels at
// dotsPerInch (chart/PictureWriter.h makes it).
QImage ChartBitmap(TChartDrawing& drawing, int width, int height, int dotsPerInch);
// The same as SVG, its texts kept as text.
QByteArray ChartSvg(TChartDrawing& drawing, int width, int height, int dotsPerInch);

// Puts the copy of a chart of width x height pixels on the clipboard: as a
// bitmap, or as a vector picture (SVG) with the bitmap beside it for
// programs that take only images.
void CopyToClipboard(TChartDrawing& drawing, int width, int height, int dotsPerInch, bool asMetafile);

// Prints the chart on page, from its top-left corner, as a square that
// fills the page's width or, on a page wider than tall, its height. The
// chart on the screen is screenWidth x screenHeight pixels at
// screenDotsPerInch, where the annotation boxes were placed: the print
// keeps the proportions of its texts, and the boxes move with the plot
// frame. False when the page could not be drawn on (the print job failed).
bool PrintChart(TChartDrawing& drawing, QPaintDevice& page, int screenWidth, int screenHeight, int screenDotsPerInch);
