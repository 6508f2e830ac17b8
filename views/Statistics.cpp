#include "Statistics.h"

TStatisticsForm::TStatisticsForm(QWidget* owner) : TResultWindow(owner, "Statistics", QPoint(360, 420)) {
  setObjectName("StatisticsForm");
}
