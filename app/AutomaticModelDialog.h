// TAutomaticModelForm: the dialog of Data > Automatic model...: how many
// layers the automatic model is to have, 2 to 4, or "Choose for me", the
// count the measurements support best (engine/AutomaticModel.h). OK starts
// the search, Cancel leaves the model alone; the choice stays for the next
// time.
#pragma once

#include <QDialog>
#include <functional>

class QRadioButton;

class TAutomaticModelForm : public QDialog {
  Q_OBJECT

public:
  explicit TAutomaticModelForm(QWidget* owner);

  // Shows the dialog modally: the layers chosen, 0 for "Choose for me", or
  // -1 when it was cancelled.
  int Execute();
  // How Execute shows the dialog: exec() unless a test answers it instead.
  std::function<int(QDialog& dialog)> RunModal;

  // The count checked now, 0 for "Choose for me".
  int Layers() const;

private:
  // "Choose for me", then 2, 3 and 4 layers.
  QRadioButton* Choices[4] = {};
};
