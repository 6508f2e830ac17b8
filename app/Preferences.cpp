#include "app/Preferences.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TPreferencesForm::TPreferencesForm(QWidget* owner) : QDialog(owner) {
  setObjectName("PreferencesForm");
  setWindowTitle("Preferences");
  setFixedSize(420, 430);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(new QCheckBox("Default", this));
  buttons->addStretch();
  auto* ok = new QPushButton("OK", this);
  auto* cancel = new QPushButton("Cancel", this);
  auto* help = new QPushButton("&Help", this);
  for (QPushButton* button : {ok, cancel, help}) buttons->addWidget(button);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addStretch();
  layout->addLayout(buttons);
}
