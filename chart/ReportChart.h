// TReportChart: the sounding chart as a report shows it, beside the
// window's designed chart (TChartDrawing).
//
// The same axes and content as the window's chart (chart/ChartScale.h):
// the spacing from 1 m to 1000 m, the resistivity over the whole decades
// the document's values need, the measurements, the layer model as a
// staircase of resistivity against depth, the model curve through the same
// samples of the curve table and, when it is handed them, the equivalent
// models of an analysis in light grey behind the layer model and the smooth
// model, dashed in green behind those, with its depth of investigation
// marked on the depth axis. Drawn for
// paper: decades equally long on both axes, a light grid at 1 to 9 times
// every decade, plain numbers at the decades (1, 10, 100, 1000; 0.1, 0.01),
// axis titles with their units, the measurements as dots, the curve and the
// staircase in colour, and a legend below. Everything inside the axes is
// held inside them.
//
// Draw lays the chart out in a rectangle of any QPainter in units of
// 1/96 inch (a page of the report, an image) and keeps the layout of that
// drawing for the mapping functions.
#pragma once

#include <QRectF>
#include <QString>

#include "chart/ChartScale.h"
#include "engine/ForwardModel.h"

class QPainter;
class TResondixData;
struct TLayerModel;
struct TSmoothModel;

class TReportChart {
public:
  // The document shown (not owned). Its layers and curve are drawn when its
  // ModelValid is set, as in the window.
  const TResondixData* Data = nullptr;
  // EquivalentModelCount models from EquivalentModels (not owned).
  const TLayerModel* EquivalentModels = nullptr;
  int EquivalentModelCount = 0;
  // The smooth model, drawn also without a valid layer model, as in the
  // window; none when null (not owned).
  const TSmoothModel* SmoothModel = nullptr;

  // The chart within area, which it does not leave.
  void Draw(QPainter& painter, const QRectF& area);
  // The height the chart takes when its decades are as long as width
  // allows.
  double HeightFor(QPainter& painter, double width);

  // --- Layout of the latest drawing -------------------------------------

  TDecadeRange Range;
  QRectF Plot;             // the axes' frame
  double DecadeSize = 0;   // length of a decade on either axis
  QRectF Legend;           // where the legend stands, below the axis title

  // Where a log10 spacing, a log10 resistivity, a measurement lie.
  double LogSpacingToX(double logSpacing) const;
  double LogRhoToY(double logRho) const;
  QPointF PointOf(double spacing, double rho) const;

  // --- Texts ----------------------------------------------------------------

  // 10^exponent as a plain number: "1", "10", "1000", "0.1", "0.001";
  // beyond a millionth or a million "1e-7", "1e+7".
  static QString DecadeLabel(int exponent);
  // "AB/2 (m)" for Schlumberger, "a (m)" for Wenner.
  static QString SpacingTitle(bool isSchlumberger);
  static QString RhoTitle();

private:
  void ComputeLayout(QPainter& painter, const QRectF& area);
  void DrawGrid(QPainter& painter) const;
  void DrawAxes(QPainter& painter) const;
  void DrawContent(QPainter& painter);
  template <int Capacity>
  void DrawStaircase(QPainter& painter, const TLayeredEarth<Capacity>& model) const;
  void DrawSmoothModel(QPainter& painter) const;
  void DrawDepthOfInvestigation(QPainter& painter, double depth) const;
  void DrawLegend(QPainter& painter) const;
  double DepthToX(double depth) const;
  bool ShowsModel() const;

  double LabelHeight = 0;
  double LabelWidth = 0;  // of the widest resistivity label
  TModelCurve Curve;
};
