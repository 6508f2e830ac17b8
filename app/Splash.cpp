#include "app/Splash.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "app/Logo.h"

namespace {
constexpr int SplashWidth = 300;
constexpr int SplashHeight = 205;
}  // namespace

TSplashForm::TSplashForm() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("SplashForm");
  InitialiseImages();
  setFixedSize(SplashWidth, SplashHeight);
  setAutoFillBackground(true);
  setPalette(QPalette(Qt::black, Qt::white));

  auto* panel = new QFrame(this);
  panel->setFrameStyle(QFrame::Box | QFrame::Plain);
  panel->setLineWidth(1);
  panel->setGeometry(0, 0, SplashWidth, SplashHeight);

  auto* logo = new QLabel(panel);
  logo->setPixmap(ProductLogo());
  logo->setGeometry(0, 0, LogoWidth, LogoHeight);
  PlacedLabel(panel, "Resondix", 8, 92, ArialFont(32, true, false));
  PlacedLabel(panel, "for Windows", 180, 108, ArialFont(13, false, true));
  PlacedLabel(panel, ProductDescription, 8, 136, ArialFont(11, false, false), 202);
  PlacedLabel(panel, CreditsLine, 8, 176, ArialFont(11, false, false));

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - rect().center());

  // The timer fires once and stops itself.
  Timer.setSingleShot(true);
  Timer.start(SplashMilliseconds);
}
