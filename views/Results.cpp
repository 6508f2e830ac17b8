#include "Results.h"

TResultsForm::TResultsForm(QWidget* owner) : TResultWindow(owner, "Optimization results", QPoint(360, 240)) {
  setObjectName("ResultsForm");
}
