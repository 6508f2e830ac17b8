// What the chart tests share: documents built from value lists, a chart
// drawn into a raster image, and its pixels.
#pragma once

#include <initializer_list>

#include <QPainter>

#include <gtest/gtest.h>

#include "chart/Canvas.h"
#include "chart/ChartDrawing.h"
#include "document/ResondixData.h"

struct TMeasurement { double Spacing, Rho; };  // L/2 in m, ohm.m

// A Schlumberger document with these rows.
inline TResondixData MakeDocument(std::initializer_list<TMeasurement> measurements,
                                  std::initializer_list<TLayer> layers, bool modelValid = false) {
  TResondixData d;
  d.SetMeasurementCount(static_cast<int>(measurements.size()));
  d.Layers() = LayerModel(layers);
  d.ModelValid = modelValid;
  int i = 0;
  for (const TMeasurement& m : measurements) { d.HalfSpacing[++i] = m.Spacing; d.ApparentRho[i] = m.Rho; }
  return d;
}

// The chart of document (none when null) drawn into a new width x height image.
inline QImage Render(TChartDrawing& chart, TResondixData* document, int width, int height) {
  QImage image = NewCanvasImage(width, height);
  chart.Data = document;
  chart.DrawWidth = width;
  chart.DrawHeight = height;
  QPainter painter(&image);
  chart.DrawChart(painter);
  return image;
}

// Lines and dots are pure black.
inline bool IsBlack(const QImage& image, int x, int y) { return image.valid(x, y) && !(image.pixel(x, y) & 0xffffff); }

inline int BlackIn(const QImage& image, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) count += IsBlack(image, x, y);
  return count;
}

// The rectangle around the text ink within area, the pixels clearly darker
// than white; empty when there is none.
inline QRect InkBounds(const QImage& image, const QRect& area) {
  QRect bounds;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (image.valid(x, y) && qGray(image.pixel(x, y)) < 160) bounds |= QRect(x, y, 1, 1);
  return bounds;
}
