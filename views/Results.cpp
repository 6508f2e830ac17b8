#include "views/Results.h"

#include "views/StatisticsGrid.h"

TResultsForm::TResultsForm(QWidget* owner)
    : TResultWindow(owner, "Optimization results", QPoint(360, 240), /*absStats=*/false) {
  setObjectName("ResultsForm");
}

void TResultsForm::ArrangeGrids() { resize(StatisticsGrid->width(), ArrangeStatisticsGrids()); }
