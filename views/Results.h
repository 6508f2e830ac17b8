// TResultsForm: the Optimization results window, which shows the outcome of
// a fit: the fitted parameters with their uncertainty percentages, the
// RMSE, the misfit of every measurement and, when the fit is poor or leaves
// a value the measurements do not fix, the warning with its advice. Made
// hidden at start-up, shown by View > Results or after a successful fit.
#pragma once

#include "views/ResultWindow.h"

class QLabel;
class TMisfitGrid;

class TResultsForm : public TResultWindow {
  Q_OBJECT

public:
  explicit TResultsForm(QWidget* owner);

  void UpdateFromData() override;
  void ArrangeGrids() override;

private:
  TMisfitGrid* MisfitGrid = nullptr;
  QLabel* Warning = nullptr;
};
