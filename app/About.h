// TAboutBox: the modal About box with the logo, the product's name, its
// version and description.
#pragma once

#include <QDialog>

class TAboutBox : public QDialog {
  Q_OBJECT

public:
  explicit TAboutBox(QWidget* owner);
};

constexpr const char* VersionText = "Version 2.20";
