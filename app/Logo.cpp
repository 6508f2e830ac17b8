#include "app/Logo.h"

#include <QFont>
#include <QImageReader>
#include <QLabel>

// The images are compiled into the program's library, whose resource
// registration the linker would otherwise leave out.
static void InitialiseResourcesOnce() { Q_INIT_RESOURCE(resources); }

void InitialiseImages() {
  static const bool done = (InitialiseResourcesOnce(), true);
  (void)done;
}

QPixmap ProductLogo() {
  InitialiseImages();
  // Read through the JPEG image plugin, which decodes with libjpeg.
  QImageReader reader(":/images/logo.jpg", "jpeg");
  return QPixmap::fromImage(reader.read());
}

QFont ArialFont(int pixelHeight, bool bold, bool italic) {
  QFont font("Arial");
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

QLabel* PlacedLabel(QWidget* parent, const QString& text, int x, int y, const QFont& font, int wrapWidth) {
  auto* label = new QLabel(text, parent);
  label->setFont(font);
  if (wrapWidth > 0) {
    label->setWordWrap(true);
    label->setFixedWidth(wrapWidth);
    label->setFixedHeight(label->heightForWidth(wrapWidth));
  } else {
    label->adjustSize();
  }
  label->move(x, y);
  return label;
}
