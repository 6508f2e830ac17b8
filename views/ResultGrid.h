// TResultGrid: what the read-only grids of the result windows share.
//
// A result grid is a table of text cells whose row 0 is a fixed heading row,
// addressed like the document's tables: Cell(column, row). It reads the
// document (Data) when UpdateFromData runs and keeps nothing else. The user
// selects one rectangle of data cells with the mouse or the keyboard; Select
// All takes every cell, the heading row included, and Copy puts the
// selection on the clipboard as tab-separated lines. Every cell is an item
// of the view with its text, so screen readers and automated checks read it.
//
// Sizes are those of the grid's design: a column of width w takes w + 1
// pixels with its grid line, a row of height h takes h + 1, and the frame
// adds 3, which is the grid's natural size that ArrangeGrids gives it.
//
// TResultGridPopupMenu: the grids' context menu, "Copy", a separator and
// "Select All".
#pragma once

#include <QMenu>
#include <QRect>
#include <QSize>
#include <QTableWidget>
#include <string_view>

#include "views/EditTarget.h"

class TResondixData;

class TResultGrid : public QTableWidget, public TEditTarget {
  Q_OBJECT

public:
  explicit TResultGrid(QWidget* parent = nullptr);

  // The document shown; not owned. Without one, UpdateFromData leaves a
  // statistics grid as it is and gives the correlation grid its one-cell
  // form.
  const TResondixData* Data = nullptr;

  // Refills the cells from Data.
  virtual void UpdateFromData() = 0;

  // The selected cells as lines of texts joined by tabs, each line ended by
  // CR LF, on the clipboard as plain text.
  void CopyToClipboard() const;
  // The selection text that CopyToClipboard puts on the clipboard.
  QString SelectionText() const;
  // Selects every cell, the heading row included.
  void SelectAll() override;
  void CopySelection() override { CopyToClipboard(); }

  // The selection rectangle: columns left..right, rows top..bottom; the
  // current cell when nothing is selected; empty when there is no cell.
  QRect Selection() const;

  QString Cell(int column, int row) const;
  void SetCell(int column, int row, const QString& text);

  // Sum over the columns of (width + 1) plus 3, and the same over the rows.
  QSize NaturalSize() const;

  // Where the text of a data cell stands; the heading row is drawn as the
  // grid draws its fixed cells.
  virtual Qt::Alignment CellAlignment(int column) const = 0;

protected:
  // Sets the counts and gives every column the default width and every row
  // the default height.
  void SetGridSize(int columns, int rows);
  void SetColumnWidth(int column, int width);
  void SetPopupMenu(QMenu* menu) { PopupMenu = menu; }
  // A text of the document as a cell text.
  static QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }

  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

  int DefaultColumnWidth = 96;
  static constexpr int DefaultRowHeight = 24;

private:
  QMenu* PopupMenu = nullptr;
};

class TResultGridPopupMenu : public QMenu {
  Q_OBJECT

public:
  // Named "PopupMenu"; serves owner, which owns it.
  explicit TResultGridPopupMenu(TResultGrid* owner);

private:
  QAction* poCopy = nullptr;
  QAction* poSeparator1 = nullptr;
  QAction* poSelectAll = nullptr;
};
