// TAboutBox: the modal About box with the logo, the product's name, its
// version and description.
#pragma once

#include <QDialog>

class TAboutBox : public QDialog {
  Q_OBJECT

public:
  explicit TAboutBox(QWidget* owner);
};

// RESONDIX_VERSION: the project's version, from the build.
constexpr const char* VersionText = "Version " RESONDIX_VERSION;
