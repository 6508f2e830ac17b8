// TStatisticsForm: the Statistics window: the fitted parameters with their
// uncertainty intervals, the RMSE and, below them, the correlation matrix.
// Made hidden at start-up, shown by View > Statistics.
#pragma once

#include "views/ResultWindow.h"

class TCorrelationGrid;

class TStatisticsForm : public TResultWindow {
  Q_OBJECT

public:
  explicit TStatisticsForm(QWidget* owner);

  void ArrangeGrids() override;

private:
  TCorrelationGrid* CorrelationGrid = nullptr;
};
