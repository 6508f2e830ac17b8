#include "views/ModelGrid.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionButton>

#include "document/NumberText.h"

namespace {

// Space between a check box and the right edge of its cell.
constexpr int CheckBoxMargin = 2;

// The check box's flag reaches screen readers and automated checks as the
// cell's check state, read from the document whenever it is asked for.
class TModelCell final : public QTableWidgetItem {
public:
  QTableWidgetItem* clone() const override { return new TModelCell(*this); }
  QVariant data(int role) const override {
    const auto* grid = qobject_cast<const TModelGrid*>(tableWidget());
    if (role != Qt::CheckStateRole || !grid) return QTableWidgetItem::data(role);
    if (!grid->HasCheckBox(column(), row() + 1)) return QVariant();
    return grid->IsUnknown(column(), row() + 1) ? Qt::Checked : Qt::Unchecked;
  }
};

bool IsLetter(QChar c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

TModelGrid::TModelGrid(QWidget* parent)
    : TValueGrid({QStringLiteral("Rho"), QStringLiteral("Depth")}, QStringLiteral("Model"), new TModelCell, parent) {
  SetRows(MaxLayers);
}

bool TModelGrid::IsValueCell(int column, int row) const {
  // The half-space has no depth.
  return TValueGrid::IsValueCell(column, row) && !(column == 1 && row == rowCount());
}

QString TModelGrid::ValueText(int column, int row) const {
  if (column == 1 && row == Data->LayerCount) return QStringLiteral("-");
  const double value = column == 0 ? Data->LayerRho[row] : Data->LayerDepth[row];
  return value == 0 ? QString() : QString::fromStdString(FormatFixed2(value));
}

bool TModelGrid::HasCheckBox(int column, int row) const {
  return Data && row <= Data->LayerCount && IsValueCell(column, row);
}

bool TModelGrid::IsUnknown(int column, int row) const {
  return column == 0 ? Data->RhoUnknown[row] : Data->DepthUnknown[row];
}

void TModelGrid::ToggleUnknown(int column, int row) {
  if (!HasCheckBox(column, row)) return;
  bool& flag = column == 0 ? Data->RhoUnknown[row] : Data->DepthUnknown[row];
  flag = !flag;
  viewport()->update(visualRect(model()->index(row - 1, column)));
}

// --- Drawing and hit test ---------------------------------------------------------

QSize TModelGrid::CheckBoxSize() const {
  return {style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, this),
          style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this)};
}

// At the cell's right, 2 pixels inside, and centred vertically; right and
// bottom are the first pixels outside the cell.
QRect TModelGrid::CheckBoxRect(const QModelIndex& index) const {
  const QRect cell = visualRect(index);
  const QSize size = CheckBoxSize();
  const int right = cell.x() + cell.width();
  const int bottom = cell.y() + cell.height();
  return {right - size.width() - CheckBoxMargin, (cell.y() + bottom - size.height()) / 2, size.width(),
          size.height()};
}

QModelIndex TModelGrid::CheckBoxAt(const QPoint& point) const {
  const QModelIndex index = indexAt(point);
  if (!index.isValid() || !HasCheckBox(index.column(), index.row() + 1)) return {};
  // The box with its right and bottom edges included.
  const QRect box = CheckBoxRect(index);
  const bool hit = box.x() <= point.x() && point.x() <= box.x() + box.width() && box.y() <= point.y() &&
                   point.y() <= box.y() + box.height();
  return hit ? index : QModelIndex();
}

void TModelGrid::DrawCell(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const int row = index.row() + 1;
  if (!HasCheckBox(index.column(), row)) {
    TValueGrid::DrawCell(painter, option, index);
    return;
  }
  // The cell's background spans the whole cell, its text stops short of
  // the box.
  const QRect box = CheckBoxRect(index);
  style()->drawPrimitive(QStyle::PE_PanelItemViewItem, &option, painter, this);
  QStyleOptionViewItem text = option;
  text.rect.setRight(box.left() - 1);
  TValueGrid::DrawCell(painter, text, index);

  QStyleOptionButton check;
  check.initFrom(this);
  check.rect = box;
  check.state = QStyle::State_Enabled | (IsUnknown(index.column(), row) ? QStyle::State_On : QStyle::State_Off);
  style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &check, painter, this);
}

QRect TModelGrid::EditorRect(const QModelIndex& index) const {
  // The box stays visible and can be pressed while the value is edited.
  QRect rect = visualRect(index);
  rect.setRight(CheckBoxRect(index).left() - 1);
  return rect;
}

// --- Toggling ------------------------------------------------------------------------

bool TModelGrid::PressCheckBox(QMouseEvent* event) {
  const QModelIndex index =
      event->button() == Qt::LeftButton ? CheckBoxAt(event->position().toPoint()) : QModelIndex();
  if (!index.isValid()) return false;
  const EditTriggers triggers = editTriggers();
  setEditTriggers(NoEditTriggers);
  TValueGrid::mousePressEvent(event);
  setEditTriggers(triggers);
  if (currentIndex() == index) ToggleUnknown(index.column(), index.row() + 1);
  return true;
}

void TModelGrid::mousePressEvent(QMouseEvent* event) {
  if (!PressCheckBox(event)) TValueGrid::mousePressEvent(event);
}

void TModelGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click on a box toggles it again.
  if (!PressCheckBox(event)) TValueGrid::mouseDoubleClickEvent(event);
}

void TModelGrid::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  const bool toggles = plain && (event->key() == Qt::Key_Space || (text.size() == 1 && IsLetter(text[0])));
  if (!IsEditing() && toggles && currentIndex().isValid()) {
    ToggleUnknown(currentColumn(), currentRow() + 1);
    event->accept();
    return;
  }
  TValueGrid::keyPressEvent(event);
}

// --- Paste ------------------------------------------------------------------------------

// Each pasted depth was checked against the stored depths; pasted depths
// are also each other's neighbours, so they are checked again with the
// pasted values in place, and the stored depths put back.
int TModelGrid::RefusedTogether() {
  const auto stored = Data->LayerDepth;
  const int last = std::min(rowCount(), int(Data->LayerCount)) - 1;
  const auto pasted = [this](int row) { return PasteBuffer[1][row].Proposed != PasteBuffer[1][row].Current; };
  for (int row = 1; row <= last; ++row)
    if (pasted(row)) Data->LayerDepth[row] = *StrToFloatDot(PasteBuffer[1][row].Proposed.toStdString());
  int refused = 0;
  for (int row = 1; row <= last; ++row)
    if (pasted(row) && !ValueRefusal(1, row, Data->LayerDepth[row]).empty()) ++refused;
  Data->LayerDepth = stored;
  return refused;
}
