// TGeneralInformationForm: the modal dialog in which the user edits the
// sounding's descriptive information: the project, sounding and file
// details, the electrode configuration and the number of measurements
// ("Pairs of data").
//
// The dialog only shows and collects: each show fills it from the document,
// and after OK the window copies it back with CopyTo. Cancel copies nothing;
// the next show fills the dialog from the document again.
#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;
class QRadioButton;
class QSpinBox;
class THelpTopics;
class TResondixData;

class TGeneralInformationForm : public QDialog {
  Q_OBJECT

public:
  TGeneralInformationForm(const TResondixData& document, THelpTopics& help, QWidget* owner);

  // Shows the dialog modally and says whether it was closed with OK.
  bool Execute();
  // How Execute shows the dialog: exec() unless a test answers it instead.
  std::function<int(QDialog& dialog)> RunModal;

  // After OK: the texts, the configuration, the number of measurements (the
  // apparent resistivities beyond it become 0), in the order the document
  // expects them. The document cuts each text to its capacity; the
  // configuration and the count raise its change notification but leave it
  // saved.
  void CopyTo(TResondixData& document);

protected:
  // FormShow: the controls are filled from the document.
  void showEvent(QShowEvent* event) override;

private:
  void CreateProjectGroup();
  void CreateSoundingGroup();
  void CreateFileGroup();
  void CreateButtons();
  void SetTabOrder();
  void Fill();
  void HelpButtonClick();

  const TResondixData& Document;
  THelpTopics& Help;

  QLineEdit* prName = nullptr;
  QLineEdit* prLocation = nullptr;
  QLineEdit* prDate = nullptr;
  QRadioButton* soSchlumBerger = nullptr;
  QRadioButton* soWenner = nullptr;
  QLineEdit* soPosition = nullptr;
  QLineEdit* soDirection = nullptr;
  QLineEdit* soABLength = nullptr;
  QSpinBox* soPairsOfData = nullptr;
  QLineEdit* flFileName = nullptr;
  QLineEdit* flDataName = nullptr;
  QLineEdit* flDate = nullptr;
  QLineEdit* flRemarks = nullptr;
  QWidget* OKButton = nullptr;
  QWidget* CancelButton = nullptr;
  QWidget* HelpButton = nullptr;
};
