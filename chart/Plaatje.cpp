#include "Plaatje.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include "Canvas.h"

TPlaatje::TPlaatje(QWidget* owner) : QWidget(owner) {
  // The hover report needs mouse moves without a button held.
  setMouseTracking(true);
  // Every paint covers the whole widget.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPlaatje::SetData(TResondixData* data) {
  Drawing.Data = data;
  update();
}

QSize TPlaatje::sizeHint() const { return QSize(640, 480); }

// Below this the axis labels and the titles run into each other.
QSize TPlaatje::minimumSizeHint() const { return QSize(460, 300); }

void TPlaatje::Paint(QPainter& screen) {
  // On a high-density screen the image has the screen's pixels, and the
  // chart is laid out in the widget's own units.
  const qreal ratio = devicePixelRatioF();
  const int pixelWidth = static_cast<int>(std::lround(width() * ratio));
  const int pixelHeight = static_cast<int>(std::lround(height() * ratio));
  if (OffscreenBitmap.width() != pixelWidth || OffscreenBitmap.height() != pixelHeight)
    OffscreenBitmap = NewCanvasImage(pixelWidth, pixelHeight, logicalDpiY());
  OffscreenBitmap.setDevicePixelRatio(ratio);
  Drawing.DrawHeight = height();
  Drawing.DrawWidth = width();
  {
    QPainter painter(&OffscreenBitmap);
    Drawing.DrawChart(painter);
  }
  screen.drawImage(QPoint(0, 0), OffscreenBitmap);
}

void TPlaatje::MouseMove(int X, int Y) {
  if (Drawing.Data != nullptr && Drawing.HitTestMeasurement(X, Y) && OnOverMeasurement) OnOverMeasurement(*this);
  LastMouseX = X;
  LastMouseY = Y;
}

void TPlaatje::paintEvent(QPaintEvent*) {
  QPainter screen(this);
  Paint(screen);
}

void TPlaatje::mouseMoveEvent(QMouseEvent* event) {
  const QPoint position = event->position().toPoint();
  MouseMove(position.x(), position.y());
}
