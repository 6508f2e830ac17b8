#include "app/GeneralInformation.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSpinBox>
#include <algorithm>
#include <iterator>

#include "app/HelpTopics.h"
#include "document/ResondixData.h"

namespace {

constexpr int ClientWidth = 388;
constexpr int ClientHeight = 487;
constexpr int GroupLeft = 8;
constexpr int GroupWidth = 373;
constexpr int LabelLeft = 8;
constexpr int FirstRowTop = 20;
constexpr int RowPitch = 28;
constexpr int EditWidth = 290;
constexpr int EditRightMargin = 11;
constexpr int LabelGap = 4;
constexpr int SpinEditWidth = 49;
constexpr int RadioWidth = 110;
constexpr int ButtonPanelHeight = 41;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int ButtonGap = 8;

// The "Pairs of data" spin edit: a value typed outside the range is brought
// to the nearer limit when the edit is left (or the dialog closed with
// Enter), and a text that is not an integer (an empty field, a lone sign)
// reads as the lower limit. Only digits, signs and blanks can be typed.
class TPairsSpinEdit : public QSpinBox {
public:
  using QSpinBox::QSpinBox;

protected:
  QValidator::State validate(QString& text, int&) const override {
    const QString typed = text.trimmed();
    for (int i = 0; i < typed.size(); ++i)
      if (!typed[i].isDigit() && !(i == 0 && (typed[i] == '-' || typed[i] == '+'))) return QValidator::Invalid;
    bool isNumber = false;
    const qlonglong value = typed.toLongLong(&isNumber);
    return isNumber && value >= minimum() && value <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
  }
  void fixup(QString& text) const override { text = QString::number(Read(text)); }
  int valueFromText(const QString& text) const override { return Read(text); }

private:
  int Read(const QString& text) const {
    bool isNumber = false;
    const qlonglong value = text.trimmed().toLongLong(&isNumber);
    return isNumber ? int(std::clamp<qlonglong>(value, minimum(), maximum())) : minimum();
  }
};

QGroupBox* Group(QWidget* parent, const char* name, const QString& title, int top, int height) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(name);
  group->setGeometry(GroupLeft, top, GroupWidth, height);
  return group;
}

// A control in row `row` of its group, at x `left`, with its label at the
// left edge; the label names the control for assistive technology too.
template <class T>
T* Row(QGroupBox* group, int row, const QString& caption, const char* name, int left, T* control, int width) {
  control->setObjectName(name);
  const int top = FirstRowTop + row * RowPitch;
  const int height = control->sizeHint().height();
  control->setGeometry(left, top, width, height);
  auto* label = new QLabel(caption, group);
  label->setObjectName(QString(name) + "Label");
  label->setGeometry(LabelLeft, top, left - LabelLeft, height);
  label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label->setBuddy(control);
  return control;
}

QLineEdit* EditRow(QGroupBox* group, int row, const QString& caption, const char* name, int left) {
  return Row(group, row, caption, name, left, new QLineEdit(group), EditWidth);
}

// The design's control column leaves the labels room in the design's small
// font; a larger user font moves the controls right as far as the widest
// label needs, and the edits then still end inside the group.
void FitControlColumn(QGroupBox* group, int designLeft) {
  int widest = 0;
  for (const QLabel* label : group->findChildren<QLabel*>())
    widest = std::max(widest, label->fontMetrics().horizontalAdvance(label->text()));
  const int shift = std::max(0, LabelLeft + widest + LabelGap - designLeft);
  if (shift == 0) return;
  for (QWidget* control : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (qobject_cast<QLabel*>(control)) {
      control->resize(control->width() + shift, control->height());
      continue;
    }
    QRect place = control->geometry().translated(shift, 0);
    if (qobject_cast<QLineEdit*>(control)) place.setRight(std::min(place.right(), GroupWidth - EditRightMargin));
    control->setGeometry(place);
  }
}

QString ToQString(const TInfoText& text) { return QString::fromStdString(text.str()); }
std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

}  // namespace

TGeneralInformationForm::TGeneralInformationForm(const TResondixData& document, THelpTopics& help, QWidget* owner)
    : QDialog(owner), RunModal([](QDialog& dialog) { return dialog.exec(); }), Document(document), Help(help) {
  setObjectName("GeneralInformationForm");
  setWindowTitle("General information");
  setFixedSize(ClientWidth, ClientHeight);
  setModal(true);
  CreateProjectGroup();
  CreateSoundingGroup();
  CreateFileGroup();
  CreateButtons();
  SetTabOrder();
  // The dialog's help is its topic, whichever control has the focus.
  auto* f1 = new QShortcut(QKeySequence::HelpContents, this, this, &TGeneralInformationForm::HelpButtonClick);
  f1->setObjectName("HelpShortcut");
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - rect().center());
}

void TGeneralInformationForm::CreateProjectGroup() {
  constexpr int controlLeft = 68;
  QGroupBox* group = Group(this, "ProjectGroup", "Project", 4, 117);
  prName = EditRow(group, 0, "Name:", "prName", controlLeft);
  prLocation = EditRow(group, 1, "Location:", "prLocation", controlLeft);
  prDate = EditRow(group, 2, "Date:", "prDate", controlLeft);
  // Two fields are labelled "Date:"; their names tell them apart.
  prDate->setAccessibleName("Project date");
  FitControlColumn(group, controlLeft);
}

void TGeneralInformationForm::CreateSoundingGroup() {
  constexpr int controlLeft = 72;
  QGroupBox* group = Group(this, "SoundingGroup", "Sounding", 128, 169);
  // The two configurations are one group of radio buttons, side by side.
  soSchlumBerger = Row(group, 0, "Type:", "soSchlumBerger", controlLeft, new QRadioButton("Schlumberger", group),
                       RadioWidth);
  soWenner = new QRadioButton("Wenner", group);
  soWenner->setObjectName("soWenner");
  soWenner->setGeometry(soSchlumBerger->geometry().translated(RadioWidth, 0));
  soPosition = EditRow(group, 1, "Position:", "soPosition", controlLeft);
  soDirection = EditRow(group, 2, "Direction:", "soDirection", controlLeft);
  soABLength = EditRow(group, 3, "AB Length:", "soABLength", controlLeft);
  // FormCreate: the range of measurements a sounding can hold.
  soPairsOfData = Row(group, 4, "Pairs of data:", "soPairsOfData", controlLeft, new TPairsSpinEdit(group),
                      SpinEditWidth);
  soPairsOfData->setRange(1, MaxMeasurements);
  soPairsOfData->setSingleStep(1);
  FitControlColumn(group, controlLeft);
}

void TGeneralInformationForm::CreateFileGroup() {
  constexpr int controlLeft = 72;
  QGroupBox* group = Group(this, "FileGroup", "File", 304, 141);
  flFileName = EditRow(group, 0, "File name:", "flFileName", controlLeft);
  flDataName = EditRow(group, 1, "Data name:", "flDataName", controlLeft);
  flDate = EditRow(group, 2, "Date:", "flDate", controlLeft);
  flDate->setAccessibleName("File date");
  flRemarks = EditRow(group, 3, "Remarks:", "flRemarks", controlLeft);
  FitControlColumn(group, controlLeft);
}

void TGeneralInformationForm::CreateButtons() {
  auto* panel = new QWidget(this);
  panel->setObjectName("ButtonPanel");
  panel->setGeometry(0, ClientHeight - ButtonPanelHeight, ClientWidth, ButtonPanelHeight);
  const int top = (ButtonPanelHeight - ButtonHeight) / 2;
  int left = ClientWidth - 3 * (ButtonWidth + ButtonGap);
  auto button = [&](QWidget*& target, const char* name, const QString& caption) {
    auto* pushButton = new QPushButton(caption, panel);
    pushButton->setObjectName(name);
    pushButton->setGeometry(left, top, ButtonWidth, ButtonHeight);
    pushButton->setAutoDefault(false);
    left += ButtonWidth + ButtonGap;
    target = pushButton;
    return pushButton;
  };
  QPushButton* ok = button(OKButton, "OKButton", "OK");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(button(CancelButton, "CancelButton", "Cancel"), &QPushButton::clicked, this, &QDialog::reject);
  connect(button(HelpButton, "HelpButton", "Help"), &QPushButton::clicked, this,
          &TGeneralInformationForm::HelpButtonClick);
}

void TGeneralInformationForm::SetTabOrder() {
  QWidget* const order[] = {prName,     prLocation,  prDate,        soSchlumBerger, soWenner,
                            soPosition, soDirection, soABLength,    soPairsOfData,  flFileName,
                            flDataName, flDate,      flRemarks,     OKButton,       CancelButton,
                            HelpButton};
  for (std::size_t i = 1; i < std::size(order); ++i)
    setTabOrder(order[i - 1], order[i]);
}

bool TGeneralInformationForm::Execute() { return RunModal(*this) == QDialog::Accepted; }

void TGeneralInformationForm::showEvent(QShowEvent* event) {
  Fill();
  QDialog::showEvent(event);
}

void TGeneralInformationForm::Fill() {
  const TResondixData& d = Document;
  prName->setText(ToQString(d.ProjectName()));
  prLocation->setText(ToQString(d.ProjectLocation()));
  prDate->setText(ToQString(d.ProjectDate()));
  // The buttons are one exclusive group: it refuses to uncheck its checked
  // button, so the configuration's own button is checked, which unchecks
  // the other.
  (d.IsSchlumberger ? soSchlumBerger : soWenner)->setChecked(true);
  soPosition->setText(ToQString(d.SoundingPosition()));
  soDirection->setText(ToQString(d.SoundingDirection()));
  soABLength->setText(ToQString(d.ABLength()));
  soPairsOfData->setValue(d.MeasurementCount);
  flFileName->setText(ToQString(d.DataFileName()));
  flDataName->setText(ToQString(d.DataName()));
  flDate->setText(ToQString(d.FileDate()));
  flRemarks->setText(ToQString(d.Remarks()));
  prName->setFocus();
}

void TGeneralInformationForm::CopyTo(TResondixData& d) {
  d.ProjectName() = Text(prName);
  d.ProjectLocation() = Text(prLocation);
  d.ProjectDate() = Text(prDate);
  const bool isSchlumberger = soSchlumBerger->isChecked();
  d.SetSoundingType(isSchlumberger);
  d.SoundingTypeText() = SoundingTypeTextOf(isSchlumberger);
  d.SoundingPosition() = Text(soPosition);
  d.SoundingDirection() = Text(soDirection);
  d.ABLength() = Text(soABLength);
  // A count still being typed counts as left.
  soPairsOfData->interpretText();
  d.SetMeasurementCount(soPairsOfData->value());
  // Measurements beyond the new count lose their values; their spacings stay.
  for (int i = d.MeasurementCount + 1; i <= MaxMeasurements; ++i) d.ApparentRho[i] = 0;
  d.DataFileName() = Text(flFileName);
  d.DataName() = Text(flDataName);
  d.FileDate() = Text(flDate);
  d.Remarks() = Text(flRemarks);
}

void TGeneralInformationForm::HelpButtonClick() { Help.ShowTopic(GeneralInformationTopic); }
