// TCorrelationGrid: the correlation matrix of the unknowns of the last fit.
//
// Row and column k belong to unknown k, headed by its name; a depth's column
// heading is shortened to "Dth" and its layer number. Only the lower
// triangle and the diagonal are shown, each as a whole percentage; the
// diagonal reads "100%", and a cell whose variance is 0 stays empty.
//
// The matrix belongs to a fit: the document clears its fit result on New,
// Open and Import, and until the next fit the grid shows only its heading
// "Correlation matrix" above one empty cell (its one-cell form), never a
// matrix of an earlier sounding.
#pragma once

#include "views/ResultGrid.h"

class TCorrelationGrid : public TResultGrid {
  Q_OBJECT

public:
  explicit TCorrelationGrid(QWidget* parent = nullptr);

  void UpdateFromData() override;
  // The parameter names left-aligned, the percentages right-aligned.
  Qt::Alignment CellAlignment(int column) const override;

  // The column heading of an unknown's name: "Depth 2" becomes "Dth 2".
  static QString ColumnHeading(const QString& name);

private:
  void ShowOneCellForm();
};

class TCorrelationGridPopupMenu : public TResultGridPopupMenu {
  Q_OBJECT

public:
  using TResultGridPopupMenu::TResultGridPopupMenu;
};
