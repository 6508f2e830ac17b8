// TMisfitGrid: how far the model of the last fit misses each measurement.
//
// One row per measurement below the heading row: its L/2, the measured
// apparent resistivity, the model's at that spacing and the misfit
// 100·(model/measured − 1) in per cent, all with two decimals in the user's
// decimal separator. It shows the document's FitDiagnostics, so it belongs
// to a fit: before the first fit, and after a new content, it hides itself.
#pragma once

#include "views/ResultGrid.h"

class TMisfitGrid : public TResultGrid {
  Q_OBJECT

public:
  explicit TMisfitGrid(QWidget* parent = nullptr);

  void UpdateFromData() override;
  Qt::Alignment CellAlignment(int column) const override;
};

class TMisfitGridPopupMenu : public TResultGridPopupMenu {
  Q_OBJECT

public:
  using TResultGridPopupMenu::TResultGridPopupMenu;
};
