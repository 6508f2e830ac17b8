#include "views/Statistics.h"

#include <algorithm>

#include "views/CorrelationGrid.h"
#include "views/StatisticsGrid.h"

TStatisticsForm::TStatisticsForm(QWidget* owner)
    : TResultWindow(owner, "Statistics", QPoint(360, 420), /*absStats=*/true) {
  setObjectName("StatisticsForm");
  CorrelationGrid = new TCorrelationGrid;
  AddGrid(CorrelationGrid, "CorrelationGrid");
}

void TStatisticsForm::ArrangeGrids() {
  const int bottom = PlaceBelow(*CorrelationGrid, ArrangeStatisticsGrids());
  resize(std::max(CorrelationGrid->width(), StatisticsGrid->width()), bottom);
}
