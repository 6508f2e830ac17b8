#include "views/ResultGrid.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

constexpr int GridLineWidth = 1;
constexpr int FrameAllowance = 3;
constexpr int TextTopMargin = 2;
constexpr int LeftTextMargin = 3;
constexpr int RightTextMargin = 5;
constexpr int HeadingTextMargin = 2;

// The grid's own look for the cells of the heading row: a raised face with
// its text at the top left, never highlighted.
void PaintHeadingCell(QPainter& painter, const QRect& cell, const QPalette& palette, const QString& text) {
  painter.fillRect(cell, palette.button());
  painter.setPen(palette.color(QPalette::Light));
  painter.drawLine(cell.topLeft(), cell.topRight());
  painter.drawLine(cell.topLeft(), cell.bottomLeft());
  painter.setPen(palette.color(QPalette::Dark));
  painter.drawLine(cell.bottomLeft(), cell.bottomRight());
  painter.drawLine(cell.topRight(), cell.bottomRight());
  painter.setPen(palette.color(QPalette::ButtonText));
  painter.drawText(cell.left() + HeadingTextMargin, cell.top() + HeadingTextMargin + painter.fontMetrics().ascent(),
                   text);
}

// The data cells: white, or white text on the highlight colour inside the
// selection; the current cell of the focused grid stays white with a focus
// frame, so that the keyboard user sees where the cursor is.
class TResultCellDelegate : public QStyledItemDelegate {
public:
  explicit TResultCellDelegate(TResultGrid* grid) : QStyledItemDelegate(grid), Grid(grid) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    painter->save();
    painter->setFont(Grid->font());
    const QString text = index.data(Qt::DisplayRole).toString();
    const QRect& cell = option.rect;
    if (index.row() == 0) {
      PaintHeadingCell(*painter, cell, Grid->palette(), text);
      painter->restore();
      return;
    }
    QColor brush = Qt::white;
    QColor pen = Grid->palette().color(QPalette::Text);
    const bool focusedCurrent = index == Grid->currentIndex() && Grid->hasFocus();
    if ((option.state & QStyle::State_Selected) && !focusedCurrent) {
      brush = Grid->palette().color(QPalette::Active, QPalette::Highlight);
      pen = Qt::white;
    }
    painter->fillRect(cell, brush);
    painter->setPen(pen);
    const int width = painter->fontMetrics().horizontalAdvance(text);
    const int x = (Grid->CellAlignment(index.column()) & Qt::AlignLeft) ? cell.left() + LeftTextMargin
                                                                         : cell.left() + cell.width() - width - RightTextMargin;
    painter->drawText(x, cell.top() + TextTopMargin + painter->fontMetrics().ascent(), text);
    if (focusedCurrent) {
      painter->setPen(QPen(pen, 1, Qt::DotLine));
      painter->drawRect(cell.adjusted(0, 0, -1, -1));
    }
    painter->restore();
  }

private:
  TResultGrid* Grid;
};

}  // namespace

TResultGrid::TResultGrid(QWidget* parent) : QTableWidget(parent) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->setMinimumSectionSize(GridLineWidth);
    header->setSectionResizeMode(QHeaderView::Fixed);
  }
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setTabKeyNavigation(false);
  setWordWrap(false);
  setItemDelegate(new TResultCellDelegate(this));
}

void TResultGrid::SetGridSize(int columns, int rows) {
  setColumnCount(columns);
  setRowCount(rows);
  for (int column = 0; column < columns; ++column) SetColumnWidth(column, DefaultColumnWidth);
  for (int row = 0; row < rows; ++row) setRowHeight(row, DefaultRowHeight + GridLineWidth);
  // As in any grid, the first data cell is current until the user moves.
  if (!currentIndex().isValid() && rows > 1 && columns > 0) setCurrentCell(1, 0);
}

void TResultGrid::SetColumnWidth(int column, int width) { setColumnWidth(column, width + GridLineWidth); }

QString TResultGrid::Cell(int column, int row) const {
  const QTableWidgetItem* cell = item(row, column);
  return cell ? cell->text() : QString();
}

void TResultGrid::SetCell(int column, int row, const QString& text) {
  if (QTableWidgetItem* cell = item(row, column)) {
    cell->setText(text);
    return;
  }
  auto* cell = new QTableWidgetItem(text);
  cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  setItem(row, column, cell);
}

QSize TResultGrid::NaturalSize() const {
  return {horizontalHeader()->length() + FrameAllowance, verticalHeader()->length() + FrameAllowance};
}

QRect TResultGrid::Selection() const {
  QRect rectangle;
  for (const QItemSelectionRange& range : selectionModel()->selection())
    rectangle |= QRect(QPoint(range.left(), range.top()), QPoint(range.right(), range.bottom()));
  if (rectangle.isEmpty() && currentIndex().isValid())
    rectangle = QRect(currentIndex().column(), currentIndex().row(), 1, 1);
  return rectangle;
}

QString TResultGrid::SelectionText() const {
  const QRect selection = Selection();
  QString text;
  for (int row = selection.top(); row <= selection.bottom(); ++row) {
    QStringList cells;
    for (int column = selection.left(); column <= selection.right(); ++column) cells << Cell(column, row);
    text += cells.join('\t') + "\r\n";
  }
  return text;
}

void TResultGrid::CopyToClipboard() const {
  if (!Selection().isEmpty()) QGuiApplication::clipboard()->setText(SelectionText());
}

void TResultGrid::SelectAll() {
  if (rowCount() == 0 || columnCount() == 0) return;
  const QItemSelection all(model()->index(0, 0), model()->index(rowCount() - 1, columnCount() - 1));
  selectionModel()->select(all, QItemSelectionModel::ClearAndSelect);
}

// The heading row is fixed: the cursor, clicks and drags stay in the data
// rows.
QModelIndex TResultGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const QModelIndex index = QTableWidget::moveCursor(action, modifiers);
  if (index.isValid() && index.row() == 0 && rowCount() > 1) return model()->index(1, index.column());
  return index;
}

void TResultGrid::mousePressEvent(QMouseEvent* event) {
  if (rowAt(event->position().toPoint().y()) == 0) {
    setFocus(Qt::MouseFocusReason);
    event->accept();
    return;
  }
  QTableWidget::mousePressEvent(event);
}

void TResultGrid::mouseMoveEvent(QMouseEvent* event) {
  const int firstDataRowTop = rowViewportPosition(1);
  if (rowCount() < 2 || event->position().y() >= firstDataRowTop) {
    QTableWidget::mouseMoveEvent(event);
    return;
  }
  QMouseEvent clamped(event->type(), QPointF(event->position().x(), firstDataRowTop), event->globalPosition(),
                      event->button(), event->buttons(), event->modifiers());
  QTableWidget::mouseMoveEvent(&clamped);
}

// Copy and Select All from the keyboard do what the Edit menu does, whether
// the menu's shortcut or the grid sees the key first.
void TResultGrid::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    CopyToClipboard();
  } else if (event->matches(QKeySequence::SelectAll)) {
    SelectAll();
  } else {
    QTableWidget::keyPressEvent(event);
    return;
  }
  event->accept();
}

void TResultGrid::contextMenuEvent(QContextMenuEvent* event) {
  if (PopupMenu) PopupMenu->popup(event->globalPos());
}

TResultGridPopupMenu::TResultGridPopupMenu(TResultGrid* owner) : QMenu(owner) {
  setObjectName("PopupMenu");
  poCopy = addAction("Copy", owner, [owner] { owner->CopyToClipboard(); });
  poCopy->setObjectName("poCopy");
  poSeparator1 = addSeparator();
  poSeparator1->setObjectName("poSeparator1");
  poSelectAll = addAction("Select All", owner, [owner] { owner->SelectAll(); });
  poSelectAll->setObjectName("poSelectAll");
}
