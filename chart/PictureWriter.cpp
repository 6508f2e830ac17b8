#include "chart/PictureWriter.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include "chart/Canvas.h"
#include "document/ShortString.h"
#include "document/TextReader.h"

namespace {

// Draws on a device that a painter can begin on.
bool DrawOn(QPaintDevice& device, const TDrawPicture& draw) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  draw(painter);
  return painter.end();
}

bool WriteSvg(QIODevice& out, QSize size, int dotsPerInch, const QString& title, const TDrawPicture& draw) {
  QSvgGenerator generator;
  generator.setOutputDevice(&out);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setResolution(dotsPerInch);
  generator.setTitle(title);
  return DrawOn(generator, draw);
}

// A page exactly the picture's size, without a margin.
QPageLayout ExactPage(QSize size, int dotsPerInch) {
  const QSizeF inches(double(size.width()) / dotsPerInch, double(size.height()) / dotsPerInch);
  return QPageLayout(QPageSize(inches, QPageSize::Inch, QString(), QPageSize::ExactMatch), QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0));
}

}  // namespace

bool PictureFormatOf(const std::string& path, TPictureFormat& format) {
  if (EndsWithNoCase(path, ".png"))
    format = TPictureFormat::Png;
  else if (EndsWithNoCase(path, ".svg"))
    format = TPictureFormat::Svg;
  else if (EndsWithNoCase(path, ".pdf"))
    format = TPictureFormat::Pdf;
  else
    return false;
  return true;
}

QImage PictureImage(QSize size, int dotsPerInch, const TDrawPicture& draw, int pixelsPerUnit) {
  // Texts take their size from the image's resolution: it is that of the
  // units while the picture is drawn, and says how fine the pixels are
  // after.
  QImage image = NewCanvasImage(size.width() * pixelsPerUnit, size.height() * pixelsPerUnit, dotsPerInch);
  if (image.isNull()) return image;
  DrawOn(image, [&](QPainter& painter) {
    if (pixelsPerUnit != 1) painter.scale(pixelsPerUnit, pixelsPerUnit);
    draw(painter);
  });
  if (pixelsPerUnit != 1) {
    image.setDotsPerMeterX(image.dotsPerMeterX() * pixelsPerUnit);
    image.setDotsPerMeterY(image.dotsPerMeterY() * pixelsPerUnit);
  }
  return image;
}

QByteArray PictureBytes(TPictureFormat format, QSize size, int dotsPerInch, const QString& title,
                        const TDrawPicture& draw, int pixelsPerUnit) {
  if (format == TPictureFormat::Pdf)
    return PagesPdf(
        1, dotsPerInch, title, [&](int) { return ExactPage(size, dotsPerInch); },
        [&](QPainter& painter, int) { draw(painter); });
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  bool made = false;
  if (format == TPictureFormat::Svg) {
    made = WriteSvg(buffer, size, dotsPerInch, title, draw);
  } else {
    const QImage image = PictureImage(size, dotsPerInch, draw, pixelsPerUnit);
    made = !image.isNull() && image.save(&buffer, "PNG");
  }
  return made ? bytes : QByteArray();
}

QByteArray PagesPdf(int pageCount, int dotsPerInch, const QString& title,
                    const std::function<QPageLayout(int page)>& layoutOf,
                    const std::function<void(QPainter& painter, int page)>& drawPage) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setResolution(dotsPerInch);
  writer.setTitle(title);
  writer.setCreator(QStringLiteral("Resondix"));
  if (pageCount < 1 || !writer.setPageLayout(layoutOf(0))) return {};
  QPainter painter;
  if (!painter.begin(&writer)) return {};
  for (int page = 0; page < pageCount; ++page) {
    // A new layout takes effect with the page that follows it.
    if (page > 0 && !(writer.setPageLayout(layoutOf(page)) && writer.newPage())) return {};
    drawPage(painter, page);
  }
  return painter.end() ? bytes : QByteArray();
}

bool SavePicture(const std::string& path, const QByteArray& bytes) {
  return !bytes.isEmpty() && WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()));
}
