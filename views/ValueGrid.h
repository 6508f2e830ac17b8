// TValueGrid: an editable two-column table of the document's values, the
// common base of the main window's two pages: TMeasurementsGrid (L/2 and
// apparent resistivity) and TModelGrid (each layer's resistivity and
// depth). A subclass says which table of the document it shows (its rows,
// texts, value rules, store, insert and delete); everything else is here.
//
// The grid shows the document's values as texts and never stores a text the
// document's value rules refuse. A cell is edited in place by TGridEditor,
// which admits only the characters of a number; every change of its text is
// written into the cell and checked (EditValid). Leaving the cell runs
// CommitEdit: an invalid text is reported and the cell keeps the focus and
// the editor, a valid one goes to the document's SetValue. The cell texts may
// differ from the document: Clear empties cells without touching the
// document, and the emptied cells fail the next ValidateAll, which is what
// the window's Fit button follows.
//
// Rows of the table are the document's rows: data row r (counted from 1, as
// the document counts) is table row r - 1; the heading is the table's header.
//
// Cut, copy, paste, clear and select all come through TEditTarget (the
// window's Edit commands) and through the grid's own popup menu, which adds
// insert and delete through the document's editing rules. Messages go
// through the core's ShowMessage, which the window routes to its message
// boxes.
#pragma once

#include <QLineEdit>
#include <QMenu>
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include "document/ResondixData.h"
#include "engine/FixedArray.h"
#include "views/EditTarget.h"

class TValueGrid;

// The in-place cell editor: only the digits, ".", ",", "-", "E" and "e" can
// be typed (or pasted) into it; Left at the start and Right at the end of the
// text leave the cell, as the arrow keys do in the grid. While it is open
// the window's Edit commands act on its text.
class TGridEditor : public QLineEdit, public TEditTarget {
  Q_OBJECT

public:
  explicit TGridEditor(QWidget* parent = nullptr);

  void CopySelection() override { copy(); }
  void SelectAll() override { selectAll(); }
  void CutSelection() override { cut(); }
  void PasteFromClipboard() override { paste(); }
  void ClearSelection() override { del(); }

protected:
  void keyPressEvent(QKeyEvent* event) override;
};

// The popup menu of either grid (named as the measurements grid's, whose
// design it follows): Cut, Copy, Paste, Insert, Delete, Clear and Select
// All on its grid; the insert and delete captions name the grid's rows.
class TMeasurementsGridPopupMenu : public QMenu {
  Q_OBJECT

public:
  explicit TMeasurementsGridPopupMenu(TValueGrid& grid);

  QAction* poCut = nullptr;
  QAction* poCopy = nullptr;
  QAction* poPaste = nullptr;
  QAction* poSeparator1 = nullptr;
  QAction* poInsert = nullptr;
  QAction* poDelete = nullptr;
  QAction* poSeparator2 = nullptr;
  QAction* poClear = nullptr;
  QAction* poSelectAll = nullptr;

  // Sets the insert and delete captions from the grid, then shows the menu.
  void Popup(const QPoint& globalPosition);

private:
  TValueGrid& Grid;
};

class TValueGrid : public QTableWidget, public TEditTarget {
  Q_OBJECT

public:
  ~TValueGrid() override;

  // The document shown; not owned.
  void SetData(TResondixData* data) { Data = data; }

  // Rebuilds the rows and every cell text from the document; a pending edit
  // is dropped.
  void RefreshFromData();
  // No pending edit; the current cell becomes column 0 of row 1.
  void ResetEditState();
  // Checks every cell's text against the value rules; the result is kept in
  // AllValid.
  bool ValidateAll();
  // Stores the edited cell, or reports why not (false).
  bool CommitEdit();
  // Why text is refused for that cell (it is no number, or the document's
  // rules refuse the number), or "" when it is accepted.
  QString TextRefusal(int column, int row, const QString& text) const;

  // The captions of the popup menu's insert and delete items.
  virtual QString InsertCaption() const = 0;
  virtual QString DeleteCaption() const = 0;
  // The grid's last row as the paste's message names it ("the last row").
  virtual const char* LastRowName() const = 0;

  // TEditTarget.
  void CopySelection() override;
  void CutSelection() override;
  void PasteFromClipboard() override;
  void ClearSelection() override;
  void SelectAll() override;

  // A pending edit is stored (true) or refused with its message (false);
  // an open editor is closed when it was stored.
  bool FinishEdit();

  // Insert or delete as many rows as are selected, at the selection's top.
  void InsertRows();
  void DeleteRows();

  // The current data row, counted from 1; setting it keeps the column and
  // is refused while a cell is being edited.
  int Row() const { return currentRow() + 1; }
  void SetRow(int row);
  // The two columns share the grid's width.
  void FitColumns();

  bool EditModified = false;
  bool EditValid = true;
  bool AllValid = false;

  TMeasurementsGridPopupMenu* PopupMenu() const { return Menu; }

signals:
  // The user made a data row current or clicked one (counted from 1).
  void RowSelected(int row);

protected:
  // headings of the two columns; accessibleName names the table; prototype:
  // the kind of cell the grid makes (owned by the grid), or none for plain
  // text cells. The subclass makes the rows (SetRows).
  TValueGrid(const QStringList& headings, const QString& accessibleName, QTableWidgetItem* prototype,
             QWidget* parent);

  // --- The document's table this grid shows ----------------------------
  // Its number of rows.
  virtual int DataRowCount() const = 0;
  // The document's value of a cell as the grid shows it.
  virtual QString ValueText(int column, int row) const = 0;
  // Why the document's rules refuse value for the cell, or "".
  virtual std::string ValueRefusal(int column, int row, double value) const = 0;
  // Stores value into the document, which raises OnChange.
  virtual void StoreValue(int column, int row, double value) = 0;
  // Inserts or deletes rows first..first+count-1, or says why the
  // document refuses.
  virtual TEditOutcome InsertDataRows(int first, int count) = 0;
  virtual TEditOutcome DeleteDataRows(int first, int count) = 0;

  // A cell that holds a value: edited, validated, pasted into and cleared.
  virtual bool IsValueCell(int column, int row) const;
  // Whether the editor may open on the cell.
  virtual bool CanEditShow(int column, int row) const { return IsValueCell(column, row); }
  // Item flags a value cell has beyond enabled, selectable and editable.
  virtual Qt::ItemFlags ExtraFlags() const { return {}; }
  // Draws a cell whose option the delegate has filled; the base draws its
  // text.
  virtual void DrawCell(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;
  // Where the editor of a cell lies.
  virtual QRect EditorRect(const QModelIndex& index) const { return visualRect(index); }
  // Extra paste check of proposed texts taken together; returns the number
  // of fields refused.
  virtual int RefusedTogether() { return 0; }

  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  // The rectangle of selected data cells (columns 0..1, rows from 1); the
  // current cell when nothing is selected.
  struct TGridRect {
    int Left = 0, Top = 1, Right = 0, Bottom = 1;
  };
  TGridRect Selection() const;
  // Sets the number of data rows; every cell exists and the value cells
  // take the editor.
  void SetRows(int count);
  QString CellText(int column, int row) const;
  void SetCellText(int column, int row, const QString& text);
  bool IsEditing() const { return Editor != nullptr; }
  // Makes the cell in that direction current, without opening its editor.
  void MoveCurrent(CursorAction action);

  TResondixData* Data = nullptr;

  // The staging area of a paste: per cell (columns 0..1, rows 1..15) its
  // text before the paste and the text the paste proposes.
  struct TPasteCell {
    QString Current;
    QString Proposed;
  };
  TFixedMatrix<TPasteCell, 0, 1, 1, MaxMeasurements> PasteBuffer;

private:
  friend class TGridDelegate;

  // Insert or delete of the selected rows; a refusal is shown as a
  // warning.
  void ChangeRows(TEditOutcome (TValueGrid::*change)(int first, int count));
  // The editor opened on index; its text is the cell's.
  void EditorOpened(TGridEditor* editor, const QModelIndex& index);
  void EditorTextChanged(const QModelIndex& index, const QString& text);
  void EditorClosed();
  // Esc: the cell gets back its text from before the edit.
  void CancelEdit();
  // Drops a pending edit without storing it.
  void DiscardEdit();
  // One paste field's text: a decimal comma of the user's locale becomes
  // the grid's ".".
  static QString PastedFieldText(const QString& field);
  // What StagePaste found: the number of fields refused, and of lines that
  // lie below the last row.
  struct TStagedPaste {
    int Refused = 0;
    int RowsBelow = 0;
  };
  // Fills PasteBuffer from the clipboard text.
  TStagedPaste StagePaste(const QString& text, const TGridRect& selection);

  TMeasurementsGridPopupMenu* Menu = nullptr;
  TGridEditor* Editor = nullptr;  // the open editor, owned by the view
  QPersistentModelIndex EditCell;
  QString TextBeforeEdit;
  bool Reporting = false;  // a refusal's message box is open
};
