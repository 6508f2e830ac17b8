// TSectionDrawing: a resistivity section of a survey, the layer models of
// several soundings side by side.
//
// Each sounding is a column at its distance along the profile, its layers
// filled with the colour of their resistivity on a logarithmic scale
// (viridis: dark blue-violet for low, yellow for high resistivity), depth
// downwards in metres from the surface at the top of the plot. Above each
// column stand its name and RMSE; to the right, the colour bar in ohm·m
// with whole decades at its ends; below, the distance axis. Layers tall
// and wide enough show their resistivity as a number.
//
// DrawSection lays the section out for DrawWidth x DrawHeight and draws it
// on any QPainter: an image, SVG, PDF or the printer. The layout fields
// keep the values of the latest drawing, for the mapping functions.
#pragma once

#include <cmath>
#include <vector>

#include <QColor>
#include <QString>

#include "engine/LayerModel.h"

class QPainter;

// One sounding of the section.
struct TSectionColumn {
  QString Name;
  double Distance = 0;  // metres along the profile, or the place in file order
  double Rmse = NAN;    // of the model against the measurements; NaN for none
  TLayerModel Layers;
};

class TSectionDrawing {
public:
  // --- What to draw --------------------------------------------------------

  std::vector<TSectionColumn> Columns;
  int DrawWidth = 0;
  int DrawHeight = 0;
  // The depth at the bottom of the plot; 0 for one chosen from the models.
  double MaxDepth = 0;
  // False when the soundings have no positions and stand evenly spaced in
  // file order: the distance axis then has no scale.
  bool DistancesKnown = true;

  // --- Layout of the latest drawing ----------------------------------------

  int PlotLeft = 0;
  int PlotTop = 0;
  int PlotRight = 0;  // exclusive
  int PlotBottom = 0;
  int ColumnHalfWidth = 0;
  double DepthBottom = 0;  // depth shown at PlotBottom
  double DistanceLow = 0;
  double DistanceHigh = 0;
  // The colour scale runs from RhoLow to RhoHigh, whole decades.
  double RhoLow = 1;
  double RhoHigh = 10;
  int BarLeft = 0;
  int BarRight = 0;  // exclusive
  int BarTop = 0;
  int BarBottom = 0;

  // --- Drawing -------------------------------------------------------------

  void DrawSection(QPainter& painter);
  // The layout for DrawWidth x DrawHeight and the columns.
  void ComputeLayout(QPainter& painter);

  // --- Mapping, with the latest layout ---------------------------------------

  // Centre column of a sounding at distance.
  int DistanceToX(double distance) const;
  int DepthToY(double depth) const;
  // Row of the colour bar that shows rho.
  int RhoToBarY(double rho) const;
  // The colour of rho on the scale RhoLow..RhoHigh (held at its ends).
  QColor ColourOf(double rho) const;
  // Viridis at t in 0..1.
  static QColor Viridis(double t);

private:
  void ComputeRanges();
  void DrawColumn(QPainter& painter, const TSectionColumn& column);
  void DrawLabels(QPainter& painter);
  void DrawDepthAxis(QPainter& painter);
  void DrawDistanceAxis(QPainter& painter);
  void DrawColourBar(QPainter& painter);
  // Column labels stand in two rows when neighbours are too close for one.
  bool Staggered = false;
  int LineHeight = 0;
};
