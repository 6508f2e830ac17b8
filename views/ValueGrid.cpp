#include "views/ValueGrid.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QTimer>
#include <QValidator>
#include <algorithm>

#include "document/Messages.h"
#include "document/NumberText.h"

namespace {

constexpr int DefaultColumnWidth = 96;
constexpr int DefaultRowHeight = 24;

// The characters of a number as the grids write it; everything else typed
// into a cell is dropped.
bool IsNumberCharacter(QChar c) { return c.isDigit() || QStringLiteral(".,-Ee").contains(c); }

bool AreNumberCharacters(const QString& text) { return std::all_of(text.begin(), text.end(), IsNumberCharacter); }

// What a paste says of the lines it left out below the grid's last row.
std::string RowsBelowText(int count, const char* lastRow) {
  const bool one = count == 1;
  return std::to_string(count) + " of the pasted rows " + (one ? "lies" : "lie") + " below " + lastRow + " and " +
         (one ? "was" : "were") + " not pasted.";
}

// A printable character typed on the keyboard (not a control key).
bool IsTypedCharacter(const QKeyEvent& event) {
  return !event.text().isEmpty() && event.text().at(0).isPrint() &&
         !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

// Keeps pasted or dropped text to the number characters, as typing is.
class TNumberCharacters final : public QValidator {
public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override { return AreNumberCharacters(input) ? Acceptable : Invalid; }
};

QString NotANumberText(const QString& text) {
  return '"' + text + "\" is not a valid floating point value!";
}

}  // namespace

// --- The in-place editor -------------------------------------------------------

// The delegate makes the grid's editors, and tells the grid when one opens,
// changes and closes, so that the grid runs its commit protocol on every way
// out of a cell: the keys the delegate handles (Tab, Enter, Esc) and the
// focus leaving the editor.
class TGridDelegate final : public QStyledItemDelegate {
public:
  explicit TGridDelegate(TValueGrid& grid) : QStyledItemDelegate(&grid), Grid(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
    auto* editor = new TGridEditor(parent);
    Grid.EditorOpened(editor, index);
    const QPersistentModelIndex cell(index);
    connect(editor, &QLineEdit::textChanged, &Grid,
            [grid = &Grid, cell](const QString& text) { grid->EditorTextChanged(cell, text); });
    return editor;
  }

  void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
    Grid.EditorClosed();
    QStyledItemDelegate::destroyEditor(editor, index);
  }

  // The cell already holds the editor's text; only a text set from outside
  // (a refresh, Esc) reaches the editor, which keeps its caret otherwise.
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* lineEdit = static_cast<QLineEdit*>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    if (lineEdit->text() != text) lineEdit->setText(text);
  }

  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem&, const QModelIndex& index) const override {
    editor->setGeometry(Grid.EditorRect(index));
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    Grid.DrawCell(painter, cell, index);
  }

  // The grid draws its own check boxes and toggles them itself.
  bool editorEvent(QEvent*, QAbstractItemModel*, const QStyleOptionViewItem&, const QModelIndex&) override {
    return false;
  }

protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->features &= ~QStyleOptionViewItem::HasCheckIndicator;
  }

  bool eventFilter(QObject* object, QEvent* event) override {
    auto* editor = qobject_cast<TGridEditor*>(object);
    if (!editor) return QStyledItemDelegate::eventFilter(object, event);
    if (event->type() == QEvent::KeyPress) return EditorKey(editor, static_cast<QKeyEvent*>(event));
    if (event->type() == QEvent::FocusOut) return EditorFocusOut(editor, static_cast<QFocusEvent*>(event));
    return QStyledItemDelegate::eventFilter(object, event);
  }

private:
  bool EditorKey(TGridEditor* editor, QKeyEvent* key) {
    switch (key->key()) {
      case Qt::Key_Enter:
      case Qt::Key_Return:
        // A refused commit drops the Enter; a stored one closes the editor
        // on the same cell.
        if (!Grid.CommitEdit()) return true;
        return QStyledItemDelegate::eventFilter(editor, key);
      case Qt::Key_Tab:
      case Qt::Key_Backtab:
        // The next cell is made current without opening its editor.
        if (!Grid.FinishEdit()) return true;
        Grid.MoveCurrent(key->key() == Qt::Key_Tab ? QAbstractItemView::MoveNext : QAbstractItemView::MovePrevious);
        return true;
      case Qt::Key_Escape:
        Grid.CancelEdit();
        return QStyledItemDelegate::eventFilter(editor, key);
      default:
        return false;
    }
  }

  bool EditorFocusOut(TGridEditor* editor, QFocusEvent* focus) {
    // Another window or a menu taking the focus for a while, a message of
    // the grid itself, or a press on the grid (which decides on its own
    // whether the current cell may change): the editor stays.
    const QWidget* focused = QApplication::focusWidget();
    if (focus->reason() == Qt::ActiveWindowFocusReason || focus->reason() == Qt::PopupFocusReason ||
        Grid.Reporting || focused == &Grid || focused == Grid.viewport() || (focused && editor->isAncestorOf(focused)))
      return false;
    if (!Grid.CommitEdit()) {
      // Refused: the cell takes the focus back with the rejected text.
      QTimer::singleShot(0, editor, [editor] { editor->setFocus(); });
      return false;
    }
    return QStyledItemDelegate::eventFilter(editor, focus);
  }

  TValueGrid& Grid;
};

TGridEditor::TGridEditor(QWidget* parent) : QLineEdit(parent) {
  setObjectName("GridEditor");
  setAccessibleName("Cell value");
  setFrame(false);
  setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  setValidator(new TNumberCharacters(this));
}

void TGridEditor::keyPressEvent(QKeyEvent* event) {
  if (IsTypedCharacter(*event) && !AreNumberCharacters(event->text())) {
    event->accept();  // dropped
    return;
  }
  // Left before the first and Right after the last character leave the
  // cell: the key goes on to the grid, which moves as for any arrow key.
  const bool atStart = cursorPosition() == 0 && !hasSelectedText();
  const bool atEnd = cursorPosition() == text().size() && !hasSelectedText();
  if ((event->key() == Qt::Key_Left && atStart) || (event->key() == Qt::Key_Right && atEnd)) {
    event->ignore();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

// --- Popup menu -------------------------------------------------------------------

TMeasurementsGridPopupMenu::TMeasurementsGridPopupMenu(TValueGrid& grid) : QMenu(&grid), Grid(grid) {
  setObjectName("PopupMenu");
  const auto item = [this](QAction*& action, const char* name, const QString& caption,
                           void (TValueGrid::*command)()) {
    action = addAction(caption, &Grid, command);
    action->setObjectName(name);
  };
  const auto separator = [this](QAction*& action, const char* name) {
    action = addSeparator();
    action->setObjectName(name);
  };
  item(poCut, "poCut", "Cut", &TValueGrid::CutSelection);
  item(poCopy, "poCopy", "Copy", &TValueGrid::CopySelection);
  item(poPaste, "poPaste", "Paste", &TValueGrid::PasteFromClipboard);
  separator(poSeparator1, "poSeparator1");
  item(poInsert, "poInsert", "Insert measurement(s)", &TValueGrid::InsertRows);
  item(poDelete, "poDelete", "Delete row(s)", &TValueGrid::DeleteRows);
  separator(poSeparator2, "poSeparator2");
  item(poClear, "poClear", "Clear", &TValueGrid::ClearSelection);
  item(poSelectAll, "poSelectAll", "Select All", &TValueGrid::SelectAll);
  connect(this, &QMenu::aboutToShow, this, [this] {
    poInsert->setText(Grid.InsertCaption());
    poDelete->setText(Grid.DeleteCaption());
  });
}

void TMeasurementsGridPopupMenu::Popup(const QPoint& globalPosition) { popup(globalPosition); }

// --- Construction -------------------------------------------------------------------

TValueGrid::TValueGrid(const QStringList& headings, const QString& accessibleName, QTableWidgetItem* prototype,
                       QWidget* parent)
    : QTableWidget(parent) {
  if (prototype) setItemPrototype(prototype);
  setColumnCount(2);
  setHorizontalHeaderLabels(headings);
  setAccessibleName(accessibleName);
  horizontalHeader()->setDefaultSectionSize(DefaultColumnWidth);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(DefaultRowHeight);
  verticalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setTabKeyNavigation(true);
  setItemDelegate(new TGridDelegate(*this));
  Menu = new TMeasurementsGridPopupMenu(*this);

  connect(this, &QTableWidget::currentCellChanged, this, [this](int row, int, int previousRow, int) {
    if (row >= 0 && row != previousRow) emit RowSelected(row + 1);
  });
  connect(this, &QTableWidget::cellClicked, this, [this](int row, int) { emit RowSelected(row + 1); });
}

TValueGrid::~TValueGrid() = default;

void TValueGrid::SetRows(int count) {
  setRowCount(count);
  for (int row = 1; row <= count; ++row)
    for (int column = 0; column < 2; ++column) {
      QTableWidgetItem* cell = item(row - 1, column);
      if (!cell) {
        cell = itemPrototype() ? itemPrototype()->clone() : new QTableWidgetItem;
        cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setItem(row - 1, column, cell);
      }
      // Only the value cells take the editor.
      const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
      cell->setFlags(IsValueCell(column, row) ? flags | Qt::ItemIsEditable | ExtraFlags() : flags);
    }
}

// --- Cell texts and the document ---------------------------------------------------

QString TValueGrid::CellText(int column, int row) const {
  const QTableWidgetItem* cell = item(row - 1, column);
  return cell ? cell->text() : QString();
}

void TValueGrid::SetCellText(int column, int row, const QString& text) {
  if (QTableWidgetItem* cell = item(row - 1, column)) cell->setText(text);
}

bool TValueGrid::IsValueCell(int column, int row) const {
  return column >= 0 && column <= 1 && row >= 1 && row <= rowCount();
}

void TValueGrid::RefreshFromData() {
  DiscardEdit();
  if (!Data) return;
  const TGridRect selection = Selection();
  const int column = std::max(currentColumn(), 0);
  const int count = DataRowCount();
  // The window follows the rows itself after a rebuild.
  const QSignalBlocker blocker(this);
  SetRows(count);
  for (int row = 1; row <= count; ++row)
    for (int c = 0; c < 2; ++c) SetCellText(c, row, ValueText(c, row));
  setCurrentCell(std::min(std::max(currentRow(), 0), count - 1), column);
  const int bottom = std::min(selection.Bottom, count);
  if (selection.Top <= bottom)
    setRangeSelected(QTableWidgetSelectionRange(selection.Top - 1, selection.Left, bottom - 1, selection.Right), true);
}

void TValueGrid::ResetEditState() {
  DiscardEdit();
  if (rowCount() > 0) setCurrentCell(0, 0);
}

QString TValueGrid::TextRefusal(int column, int row, const QString& text) const {
  const std::optional<double> value = StrToFloatDot(text.toStdString());
  if (!value) return NotANumberText(text);
  // Without a document there are no rules to refuse a number.
  return Data ? QString::fromStdString(ValueRefusal(column, row, *value)) : QString();
}

bool TValueGrid::ValidateAll() {
  AllValid = Data != nullptr;
  for (int row = 1; row <= rowCount(); ++row)
    for (int column = 0; column < 2; ++column)
      if (IsValueCell(column, row) && !TextRefusal(column, row, CellText(column, row)).isEmpty()) AllValid = false;
  return AllValid;
}

// --- The commit protocol -------------------------------------------------------------

void TValueGrid::EditorOpened(TGridEditor* editor, const QModelIndex& index) {
  Editor = editor;
  EditCell = index;
  TextBeforeEdit = CellText(index.column(), index.row() + 1);
  EditModified = true;
  EditValid = TextRefusal(index.column(), index.row() + 1, TextBeforeEdit).isEmpty();
}

void TValueGrid::EditorTextChanged(const QModelIndex& index, const QString& text) {
  if (index != EditCell || !Editor) return;
  SetCellText(index.column(), index.row() + 1, text);
  EditValid = TextRefusal(index.column(), index.row() + 1, text).isEmpty();
}

void TValueGrid::EditorClosed() { Editor = nullptr; }

bool TValueGrid::CommitEdit() {
  if (!EditValid) {
    // Checked again, so that the message is this cell's whatever was
    // checked since.
    const int column = EditCell.column();
    const int row = EditCell.row() + 1;
    const QString refusal = EditCell.isValid() ? TextRefusal(column, row, CellText(column, row)) : QString();
    EditValid = refusal.isEmpty();
    if (!EditValid) {
      Reporting = true;
      ShowMessage(TMessageKind::Error, refusal.toStdString());
      Reporting = false;
      return false;
    }
  }
  if (EditModified && EditCell.isValid() && Data) {
    // Stored once: a second way out of the same edit stores nothing more.
    EditModified = false;
    const int column = EditCell.column();
    const int row = EditCell.row() + 1;
    // Esc in an editor that stays open goes back to what is stored.
    TextBeforeEdit = CellText(column, row);
    StoreValue(column, row, *StrToFloatDot(TextBeforeEdit.toStdString()));
  }
  return true;
}

bool TValueGrid::FinishEdit() {
  if (!Editor) return CommitEdit();
  if (!CommitEdit()) {
    Editor->setFocus();
    return false;
  }
  TGridEditor* editor = Editor;
  commitData(editor);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
  return true;
}

void TValueGrid::CancelEdit() {
  if (EditCell.isValid()) SetCellText(EditCell.column(), EditCell.row() + 1, TextBeforeEdit);
  EditModified = false;
  EditValid = true;
}

void TValueGrid::DiscardEdit() {
  if (Editor) {
    CancelEdit();
    closeEditor(Editor, QAbstractItemDelegate::RevertModelCache);
  }
  EditModified = false;
  EditValid = true;
}

void TValueGrid::MoveCurrent(CursorAction action) {
  const QModelIndex target = moveCursor(action, Qt::NoModifier);
  if (target.isValid() && target != currentIndex()) setCurrentIndex(target);
}

bool TValueGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  if (!Editor && (!index.isValid() || !CanEditShow(index.column(), index.row() + 1))) return false;
  return QTableWidget::edit(index, trigger, event);
}

QModelIndex TValueGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const QModelIndex target = QTableWidget::moveCursor(action, modifiers);
  // A move to another cell stores the edit first, or stays when it is
  // refused. At the edge of the table the key still stores the edit, as the
  // user meant to leave the cell.
  if (!target.isValid() || target == currentIndex()) {
    if (Editor) CommitEdit();
    return target;
  }
  return CommitEdit() ? target : currentIndex();
}

void TValueGrid::keyPressEvent(QKeyEvent* event) {
  if (!Editor) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
      edit(currentIndex(), EditKeyPressed, event);
      return;
    }
    if (IsTypedCharacter(*event) && !AreNumberCharacters(event->text())) {
      event->accept();  // dropped, and no editor opens for it
      return;
    }
  }
  QTableWidget::keyPressEvent(event);
}

void TValueGrid::mousePressEvent(QMouseEvent* event) {
  const QModelIndex target = indexAt(event->position().toPoint());
  if (target.isValid() && target != currentIndex() && !CommitEdit()) {
    event->accept();
    if (Editor) Editor->setFocus();
    return;
  }
  QTableWidget::mousePressEvent(event);
  // A press that leaves the edit open gives the editor its focus back.
  if (Editor) Editor->setFocus();
}

void TValueGrid::contextMenuEvent(QContextMenuEvent* event) {
  // From the keyboard (the menu key, Shift+F10) the menu opens at the
  // current cell.
  const QPoint position = event->reason() == QContextMenuEvent::Keyboard
                              ? viewport()->mapToGlobal(visualRect(currentIndex()).center())
                              : event->globalPos();
  Menu->Popup(position);
}

void TValueGrid::DrawCell(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex&) const {
  style()->drawControl(QStyle::CE_ItemViewItem, &option, painter, this);
}

// --- Rows and columns ---------------------------------------------------------------

void TValueGrid::SetRow(int row) {
  // The chart's hover never interrupts an edit.
  if (Editor || row < 1 || row > rowCount() || row == Row()) return;
  setCurrentCell(row - 1, std::max(currentColumn(), 0));
}

void TValueGrid::FitColumns() {
  const int width = (viewport()->width() - 1) / 2;
  setColumnWidth(0, width);
  setColumnWidth(1, width);
}

void TValueGrid::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  FitColumns();
}

TValueGrid::TGridRect TValueGrid::Selection() const {
  const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
  if (!ranges.isEmpty()) {
    const QTableWidgetSelectionRange& r = ranges.first();
    return {r.leftColumn(), r.topRow() + 1, r.rightColumn(), r.bottomRow() + 1};
  }
  const int column = std::max(currentColumn(), 0);
  const int row = std::max(currentRow(), 0) + 1;
  return {column, row, column, row};
}

void TValueGrid::InsertRows() { ChangeRows(&TValueGrid::InsertDataRows); }

void TValueGrid::DeleteRows() { ChangeRows(&TValueGrid::DeleteDataRows); }

void TValueGrid::ChangeRows(TEditOutcome (TValueGrid::*change)(int first, int count)) {
  if (!FinishEdit() || !Data) return;
  const TGridRect s = Selection();
  const TEditOutcome outcome = (this->*change)(s.Top, s.Bottom - s.Top + 1);
  if (!outcome) ShowMessage(TMessageKind::Warning, outcome.Refusal);
}

// --- Clipboard and selection ------------------------------------------------------------

void TValueGrid::CopySelection() {
  const TGridRect s = Selection();
  QString text;
  for (int row = s.Top; row <= s.Bottom; ++row) {
    for (int column = s.Left; column <= s.Right; ++column) {
      if (column > s.Left) text += '\t';
      text += CellText(column, row);
    }
    text += "\r\n";
  }
  QGuiApplication::clipboard()->setText(text);
}

void TValueGrid::ClearSelection() {
  if (!FinishEdit()) return;
  const TGridRect s = Selection();
  for (int row = s.Top; row <= s.Bottom; ++row)
    for (int column = s.Left; column <= s.Right; ++column)
      if (IsValueCell(column, row) && !CellText(column, row).isEmpty()) SetCellText(column, row, QString());
}

void TValueGrid::CutSelection() {
  CopySelection();
  ClearSelection();
}

void TValueGrid::SelectAll() { selectAll(); }

QString TValueGrid::PastedFieldText(const QString& field) {
  QString text = field.trimmed();
  // A spreadsheet of a locale with a decimal comma copies its numbers so.
  if (QLocale().decimalPoint() == QStringLiteral(",")) text.replace(',', '.');
  return text;
}

TValueGrid::TStagedPaste TValueGrid::StagePaste(const QString& text, const TGridRect& selection) {
  static const QRegularExpression lineEnd("\r\n|\n|\r");
  TStagedPaste staged;
  const QStringList lines = text.split(lineEnd, Qt::SkipEmptyParts);
  for (int k = 0; k < lines.size(); ++k) {
    const int row = selection.Top + k;
    // A paste adds no rows; the lines below the last row are counted.
    if (row > rowCount() || row > MaxMeasurements) {
      ++staged.RowsBelow;
      continue;
    }
    const QStringList fields = lines[k].split('\t');
    for (int j = 0; j < fields.size(); ++j) {
      const int column = selection.Left + j;
      // Data beside the grid is dropped.
      if (column > 1 || !IsValueCell(column, row)) continue;
      const QString field = PastedFieldText(fields[j]);
      if (TextRefusal(column, row, field).isEmpty())
        PasteBuffer[column][row].Proposed = field;
      else
        ++staged.Refused;
    }
  }
  return staged;
}

void TValueGrid::PasteFromClipboard() {
  const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
  if (!Data || !clipboard || !clipboard->hasText() || !FinishEdit()) return;
  const int rows = std::min(rowCount(), MaxMeasurements);
  for (int column = 0; column < 2; ++column)
    for (int row = 1; row <= rows; ++row) PasteBuffer[column][row].Current = PasteBuffer[column][row].Proposed =
        CellText(column, row);

  const TStagedPaste staged = StagePaste(clipboard->text(), Selection());
  const int refused = staged.Refused > 0 ? staged.Refused : RefusedTogether();
  if (refused > 0) {
    ShowMessage(TMessageKind::Error,
                "The selection contains " + std::to_string(refused) + " invalid value(s). Can not paste!");
    return;
  }
  for (int column = 0; column < 2; ++column)
    for (int row = 1; row <= rows; ++row) {
      const TPasteCell& cell = PasteBuffer[column][row];
      if (cell.Proposed == cell.Current) continue;
      SetCellText(column, row, cell.Proposed);
      StoreValue(column, row, *StrToFloatDot(cell.Proposed.toStdString()));
    }
  if (staged.RowsBelow > 0) ShowMessage(TMessageKind::Warning, RowsBelowText(staged.RowsBelow, LastRowName()));
}
