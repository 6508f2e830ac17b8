// The arithmetic that the two drawings of the sounding chart share: the
// window's chart (TChartDrawing, chart/ChartDrawing.h), laid out in whole
// pixels as its design fixes them, and the report's (TReportChart,
// chart/ReportChart.h), laid out in fractions of a page.
//
// Both show the spacing over the decades from 1 m to 1000 m and the
// resistivity over the whole decades that the measurements and the layers
// need, at least three; both draw the model curve through the same samples
// of the document's curve table and the layer model as the same staircase.
// What is shared here is in values (metres, ohm·m and their decimal
// logarithms, DecimalLog); each drawing maps them to its own device.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include <QPointF>
#include <QString>

#include "engine/ForwardModel.h"
#include "engine/LayerModel.h"

class TResondixData;

// The horizontal axis: this many decades of spacing from 1 m.
constexpr int SpacingDecadeCount = 3;

// The model curve is drawn through this many samples of the curve table, at
// log10 spacings 0, 0.1, ..., 3.0 (1 m to 1000 m).
constexpr int CurveSampleCount = 31;
constexpr double CurveSampleLogSpacing(int i) { return i / 10.0; }

// The vertical range: the smallest and largest resistivity the axis must
// show, and the whole decades from 10^FirstDecade that hold them.
struct TDecadeRange {
  double ValueMin = 0;
  double ValueMax = 0;
  int FirstDecade = 0;
  int DecadeCount = 0;
};

// The range of the document's apparent resistivities and layer
// resistivities (the layers count also while the model is not valid; the
// curve does not). A smallest value that is not positive counts as 0.001, a
// largest below 1 as 1; a range narrower than three decades grows upward.
TDecadeRange DecadeRangeOf(const TResondixData& document);

// Whether a measurement has a place on the log-log axes: a spacing or a
// resistivity of 0 or less has no logarithm (an empty row, say).
inline bool IsPlottable(double spacing, double rho) { return spacing > 0 && rho > 0; }

// The model curve's samples as (log10 spacing, log10 rho), handed to run(points,
// count) in stretches of finite values: a sample that is not a number (a
// model beyond the range of the arithmetic) breaks the curve rather than
// being drawn somewhere.
template <class TRun>
void ForEachCurveStretch(const TModelCurve& curve, TRun&& run) {
  std::array<QPointF, CurveSampleCount> points;
  int count = 0;
  for (int i = 0; i < CurveSampleCount; ++i) {
    const double x = CurveSampleLogSpacing(i);
    const double y = curve.LogRhoAt(x);
    if (!std::isfinite(y)) {
      run(points.data(), count);
      count = 0;
      continue;
    }
    points[count++] = QPointF(x, y);
  }
  run(points.data(), count);
}

// The smooth model's depth of investigation is marked on the depth axis
// with this label.
inline const QString DepthOfInvestigationLabel = QStringLiteral("DOI");

// A corner of the layer staircase: resistivity against depth, the depth on
// the spacing axis.
struct TStaircaseCorner {
  double Depth = 0;  // metres
  double Rho = 0;    // ohm·m
};

// The corners of the staircase of model, top down: from depth 0 at the
// first layer's resistivity along each layer to its bottom and down (or
// up) to the next, the half-space going on to an infinite depth. A drawing
// holds the depths to the ends of its axis, so the staircase starts on the
// left end and ends on the right one, and interfaces outside the axis stand
// on its ends; the resistivities are not held. Returns the corner count.
template <int Capacity>
int StaircaseCorners(const TLayeredEarth<Capacity>& model, std::array<TStaircaseCorner, 2 * Capacity>& corners) {
  const int layers = std::clamp(int(model.LayerCount), 1, Capacity);
  int count = 0;
  corners[count++] = {0, model.LayerRho[1]};
  for (int i = 2; i <= layers; ++i) {
    corners[count++] = {model.LayerDepth[i - 1], model.LayerRho[i - 1]};
    corners[count++] = {model.LayerDepth[i - 1], model.LayerRho[i]};
  }
  corners[count++] = {std::numeric_limits<double>::infinity(), model.LayerRho[layers]};
  return count;
}
