// The product's logo and the texts that the splash window and the About box
// share.
#pragma once

#include <QPixmap>

class QFont;
class QLabel;
class QString;
class QWidget;

constexpr int LogoWidth = 300;
constexpr int LogoHeight = 75;
constexpr const char* ProductDescription =
    "Interpretation of Resistivity Soundings with Schlumberger or Wenner Configuration";
constexpr const char* CreditsLine = "(c) 1998-2026 K.P. Vordax, Tarvenic";
constexpr const char* SecondCreditsLine = "Made for field geophysicists and hydrogeologists.";

// Makes the program's images (logo, toolbar images) available; the
// windows that show them call it first.
void InitialiseImages();

// The 300 x 75 JPEG logo (a null pixmap when the JPEG decoder is missing).
QPixmap ProductLogo();

// "Arial" at a height in pixels.
QFont ArialFont(int pixelHeight, bool bold, bool italic);

// A label at a fixed place of its parent, sized to its text or, with a
// wrapWidth, word-wrapped to that width.
QLabel* PlacedLabel(QWidget* parent, const QString& text, int x, int y, const QFont& font, int wrapWidth = 0);
