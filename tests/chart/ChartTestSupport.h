// What the chart tests share: documents built from value lists, a chart
// drawn into a raster image at the standard resolution, and questions about
// the pixels of the result.
#pragma once

#include <initializer_list>
#include <utility>

#include <QImage>
#include <QPoint>
#include <QRect>

#include "ChartDrawing.h"
#include "ResondixData.h"

// One measurement: L/2 in metres and apparent resistivity in ohm.m.
struct TMeasurement {
  double Spacing;
  double Rho;
};

// One layer: resistivity and depth of its bottom (ignored for the last).
struct TLayer {
  double Rho;
  double Depth;
};

// A Schlumberger document with these measurements and layers; the last
// layer is the half-space. ModelValid is set as given.
TResondixData MakeDocument(std::initializer_list<TMeasurement> measurements, std::initializer_list<TLayer> layers,
                           bool modelValid);

// The chart of document drawn into a fresh width x height image.
QImage Render(TChartDrawing& chart, TResondixData& document, int width, int height);

// A line or dot pixel: pure black.
bool IsBlack(const QImage& image, int x, int y);
// Text ink: any pixel clearly darker than the white background.
bool IsInk(const QImage& image, int x, int y);
// The smallest rectangle around the ink within area (empty when there is
// none).
QRect InkBounds(const QImage& image, const QRect& area);
