#include "app/AutomaticModelDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/HelpTopics.h"
#include "engine/AutomaticModel.h"

TAutomaticModelForm::TAutomaticModelForm(QWidget* owner)
    : QDialog(owner), RunModal([](QDialog& dialog) { return dialog.exec(); }) {
  setObjectName("AutomaticModelForm");
  setWindowTitle("Automatic model");
  setModal(true);
  setProperty(HelpContextProperty, HelpContentsTopic);

  auto* layout = new QVBoxLayout(this);
  auto* note = new QLabel(
      "Resondix finds a layered model from the measurements alone and fits every value of it.\n"
      "The model in the Model page is replaced.",
      this);
  note->setObjectName("AutomaticModelNote");
  layout->addWidget(note);
  auto* group = new QGroupBox("Number of layers", this);
  group->setObjectName("LayersGroup");
  auto* choices = new QVBoxLayout(group);
  const char* const captions[] = {"&Choose for me", "&2 layers", "&3 layers", "&4 layers"};
  const char* const names[] = {"amChoose", "amTwoLayers", "amThreeLayers", "amFourLayers"};
  for (int i = 0; i < 4; ++i) {
    Choices[i] = new QRadioButton(captions[i], group);
    Choices[i]->setObjectName(names[i]);
    choices->addWidget(Choices[i]);
  }
  Choices[0]->setChecked(true);
  layout->addWidget(group);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("OKButton");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("CancelButton");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

int TAutomaticModelForm::Execute() { return RunModal(*this) == QDialog::Accepted ? Layers() : -1; }

int TAutomaticModelForm::Layers() const {
  for (int i = 1; i < 4; ++i)
    if (Choices[i]->isChecked()) return MinAutomaticLayers + i - 1;
  return 0;
}
