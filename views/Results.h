// TResultsForm: the Optimization results window, a tool window that stays on
// top of the main window and shows the outcome of a fit. It is made hidden at
// start-up and shown by View > Results or after a successful fit.
//
// Its two grids (the fitted parameters with their uncertainty percentages,
// and the RMSE) are stacked in GridLayout.
#pragma once

#include <QWidget>

class QVBoxLayout;

class TResultsForm : public QWidget {
  Q_OBJECT

public:
  explicit TResultsForm(QWidget* owner);

  // Where the result grids are stacked, top to bottom.
  QVBoxLayout* GridLayout = nullptr;
};
