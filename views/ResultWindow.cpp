#include "views/ResultWindow.h"

#include <QFont>

#include "views/StatisticsGrid.h"

namespace {

constexpr int GridSpacing = 3;

}  // namespace

// The dialog font of the program's design, or the nearest face the platform
// has: its successor, then faces of Arial's widths, then any sans serif. The
// grids' design widths are made for such narrow faces.
QFont DialogFont() {
  QFont font;
  font.setFamilies({"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Liberation Sans", "Helvetica"});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  return font;
}

TResultWindow::TResultWindow(QWidget* owner, const QString& caption, const QPoint& position, bool absStats)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setWindowTitle(caption);
  setBackgroundRole(QPalette::Window);
  setFont(DialogFont());
  move(position);
  StatisticsGrid = new TStatisticsGrid;
  StatisticsGrid->SetAbsStats(absStats);
  AddGrid(StatisticsGrid, "StatisticsGrid");
  RMSEGrid = new TStatisticsGrid;
  RMSEGrid->SetAbsStats(absStats);
  RMSEGrid->SetRMSE(true);
  AddGrid(RMSEGrid, "RMSEGrid");
  hide();
}

void TResultWindow::AddGrid(TResultGrid* grid, const char* name) {
  grid->setParent(this);
  grid->setObjectName(name);
  Grids << grid;
}

void TResultWindow::SetData(const TResondixData* data) {
  Data = data;
  for (TResultGrid* grid : Grids) grid->Data = data;
}

void TResultWindow::UpdateFromData() {
  for (TResultGrid* grid : Grids) grid->UpdateFromData();
}

void TResultWindow::Toggle(const TResondixData& data) {
  SetData(&data);
  UpdateFromData();
  setVisible(!isVisible());
  ArrangeGrids();
}

void TResultWindow::RefreshIfVisible() {
  if (!isVisible()) return;
  UpdateFromData();
  ArrangeGrids();
}

int TResultWindow::Place(TResultGrid& grid, int top) {
  grid.setGeometry(QRect(QPoint(0, top), grid.NaturalSize()));
  return top + grid.height();
}

int TResultWindow::PlaceBelow(TResultGrid& grid, int bottomAbove) { return Place(grid, bottomAbove + GridSpacing); }

int TResultWindow::ArrangeStatisticsGrids() {
  const int bottom = Place(*StatisticsGrid, 0);
  return RMSEGrid->isHidden() ? bottom : PlaceBelow(*RMSEGrid, bottom);
}

void TResultWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  ArrangeGrids();
}
