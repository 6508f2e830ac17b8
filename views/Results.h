// TResultsForm: the Optimization results window, which shows the outcome of
// a fit: the fitted parameters with their uncertainty percentages, and the
// RMSE. Made hidden at start-up, shown by View > Results or after a
// successful fit.
#pragma once

#include "views/ResultWindow.h"

class TResultsForm : public TResultWindow {
  Q_OBJECT

public:
  explicit TResultsForm(QWidget* owner);

  void ArrangeGrids() override;
};
