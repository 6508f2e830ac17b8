#include "views/Results.h"

#include <QLabel>

#include "document/ResondixData.h"
#include "views/MisfitGrid.h"
#include "views/StatisticsGrid.h"

namespace {

constexpr int WarningMargin = 4;

}  // namespace

TResultsForm::TResultsForm(QWidget* owner)
    : TResultWindow(owner, "Optimization results", QPoint(360, 240), /*absStats=*/false) {
  setObjectName("ResultsForm");
  MisfitGrid = new TMisfitGrid;
  AddGrid(MisfitGrid, "MisfitGrid");
  MisfitGrid->hide();
  Warning = new QLabel(this);
  Warning->setObjectName("FitWarning");
  Warning->setAccessibleName("Warning");
  Warning->setWordWrap(true);
  Warning->hide();
}

void TResultsForm::UpdateFromData() {
  TResultWindow::UpdateFromData();
  QStringList texts;
  if (Data)
    for (const std::string& text : Data->FitWarnings(TAdviceFor::Window)) texts << QString::fromStdString(text);
  Warning->setText(texts.join("\n\n"));
  Warning->setVisible(!texts.isEmpty());
}

void TResultsForm::ArrangeGrids() {
  int bottom = ArrangeStatisticsGrids();
  if (!MisfitGrid->isHidden()) bottom = PlaceBelow(*MisfitGrid, bottom);
  const int width = StatisticsGrid->width();
  if (!Warning->isHidden()) {
    const int textWidth = width - 2 * WarningMargin;
    const int height = Warning->heightForWidth(textWidth);
    Warning->setGeometry(WarningMargin, bottom + WarningMargin, textWidth, height);
    bottom += 2 * WarningMargin + height;
  }
  resize(width, bottom);
}
