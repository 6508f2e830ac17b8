#include "Statistics.h"

#include <QPoint>

#include "ResultWindow.h"

TStatisticsForm::TStatisticsForm(QWidget* owner) : QWidget(owner) {
  setObjectName("StatisticsForm");
  GridLayout = SetUpResultWindow(*this, "Statistics", QPoint(360, 420));
}
