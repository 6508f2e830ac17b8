// TResultWindow: what the two result windows share: a sizeable tool window
// that stays on top of the main window and follows it (it has no task-bar
// entry of its own), in the window colour and the dialog font, at its design
// position, hidden until asked for. Both show the fitted parameters
// (StatisticsGrid) above the RMSE (RMSEGrid), which is hidden until the
// first fit; the Statistics window adds the correlation matrix below them.
//
// The grids are placed by ArrangeGrids, not by a layout: each takes its
// natural size, they are stacked 3 pixels apart, and the window's client
// area takes the size of the stack. Showing the window arranges it.
#pragma once

#include <QVector>
#include <QWidget>

class QFont;
class TResondixData;
class TResultGrid;

// The dialog font of the program's design, or the nearest face the platform
// has: the font of the result windows and the other tool windows.
QFont DialogFont();
class TStatisticsGrid;

class TResultWindow : public QWidget {
  Q_OBJECT

public:
  // absStats: the parameters' uncertainty as intervals rather than
  // percentages.
  TResultWindow(QWidget* owner, const QString& caption, const QPoint& position, bool absStats);

  // Every grid shows data.
  void SetData(const TResondixData* data);
  // Every grid refills itself from its document.
  virtual void UpdateFromData();
  // Sizes the grids to their contents, stacks them and sizes the window.
  virtual void ArrangeGrids() = 0;

  // The View command: show data, refill, show the window when hidden and
  // hide it when shown, arrange.
  void Toggle(const TResondixData& data);
  // After a change of the document's structure: a visible window refills
  // and arranges itself; a hidden one waits until it is shown.
  void RefreshIfVisible();

protected:
  // Adds a grid below the others (for the window's own grids).
  void AddGrid(TResultGrid* grid, const char* name);
  // StatisticsGrid at the top, RMSEGrid 3 pixels below it when it is shown,
  // both at their natural size; returns the bottom edge of the lower one.
  int ArrangeStatisticsGrids();
  // Places grid at its natural size with its top at top, or 3 pixels below
  // the bottom edge of the grid above it; returns its own bottom edge.
  static int Place(TResultGrid& grid, int top);
  static int PlaceBelow(TResultGrid& grid, int bottomAbove);

  void showEvent(QShowEvent* event) override;

  TStatisticsGrid* StatisticsGrid = nullptr;
  TStatisticsGrid* RMSEGrid = nullptr;
  const TResondixData* Data = nullptr;  // the document shown; not owned

private:
  QVector<TResultGrid*> Grids;
};
