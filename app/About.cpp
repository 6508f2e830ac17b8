#include "app/About.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "app/Logo.h"

TAboutBox::TAboutBox(QWidget* owner) : QDialog(owner) {
  setObjectName("AboutBox");
  setWindowTitle("About");
  setFixedSize(334, 253);
  setModal(true);
  setFont(ArialFont(11, false, false));

  auto* panel = new QFrame(this);
  panel->setObjectName("Panel1");
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  panel->setGeometry(8, 8, 317, 201);

  auto* logo = new QLabel(panel);
  logo->setObjectName("ProgramIcon");
  logo->setPixmap(ProductLogo());
  logo->setScaledContents(true);
  logo->setGeometry(8, 8, LogoWidth, LogoHeight);
  PlacedLabel(panel, "RESONDIX", 12, 92, ArialFont(16, true, false));
  PlacedLabel(panel, "for Windows", 112, 92, ArialFont(16, false, true));
  PlacedLabel(panel, VersionText, 12, 116, font())->setObjectName("Version");
  QFont bold = font();
  bold.setBold(true);
  PlacedLabel(panel, ProductDescription, 12, 136, bold, 248);
  PlacedLabel(panel, CreditsLine, 12, 168, font());
  PlacedLabel(panel, SecondCreditsLine, 12, 182, font());

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKButton");
  ok->setGeometry(132, 220, 75, 25);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - rect().center());
}
