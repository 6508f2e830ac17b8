// TPlaatje: the sounding chart as a widget, filling the main window beside
// the grids.
//
// The widget adds to the drawing (TChartDrawing, which it holds) what a
// screen needs: it paints through an offscreen image the size of the
// widget, so the screen never shows a half-drawn chart, and it reports the
// measurement under the mouse. It reads the document at every paint; the
// main window calls update() after every change of the document.
#pragma once

#include <cstdint>
#include <functional>

#include <QImage>
#include <QWidget>

#include "ChartDrawing.h"

class TPlaatje : public QWidget {
  Q_OBJECT

public:
  // Events are synchronous and carry the chart that raises them.
  using TChartEvent = std::function<void(TPlaatje& sender)>;

  explicit TPlaatje(QWidget* owner = nullptr);

  // The document to show (not owned); repaints.
  void SetData(TResondixData* data);

  // Published beside OnOverMeasurement; the chart has no layer hit test, so
  // it is never raised.
  TChartEvent OnOverLayer;
  // Raised at every mouse move that finds a measurement, also while the
  // mouse stays on the same one; MeasurementUnderMouse says which.
  TChartEvent OnOverMeasurement;

  // The measurement under the mouse at the latest move, 1-based; 0 for none.
  int MeasurementUnderMouse() const { return Drawing.MeasurementUnderMouse; }
  // The latest drawing on the screen: its layout and mapping.
  const TChartDrawing& ScreenDrawing() const { return Drawing; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

protected:
  // Draws the chart into OffscreenBitmap and copies it onto the widget.
  void Paint(QPainter& screen);
  // The measurement hit test for a mouse at (X, Y) in widget pixels.
  void MouseMove(int X, int Y);

  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

private:
  TChartDrawing Drawing;
  // The image the screen is drawn into, resized to the widget at every paint.
  QImage OffscreenBitmap;
  // The mouse position at the previous mouse move.
  std::int32_t LastMouseX = 0;
  std::int32_t LastMouseY = 0;
};
