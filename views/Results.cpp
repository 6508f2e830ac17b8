#include "Results.h"

#include <QPoint>

#include "ResultWindow.h"

TResultsForm::TResultsForm(QWidget* owner) : QWidget(owner) {
  setObjectName("ResultsForm");
  GridLayout = SetUpResultWindow(*this, "Optimization results", QPoint(360, 240));
}
