// TChartDrawing: the sounding chart of Resondix as a drawing, with no widget
// around it.
//
// The chart shows the open sounding on log-log axes: horizontally the
// electrode spacing over exactly three decades, 1 m to 1000 m; vertically
// the resistivity over as many whole decades as the measurements and the
// layers need, at least three. Inside the frame go the measurements (upright
// crosses, diamonds where the spacing does not grow over the row before),
// the layer model as a staircase of resistivity against depth, and the model
// curve sampled at 31 points of the document's curve table. The chart is
// monochrome: black 1-pixel lines and black text on white; only the
// equivalent models of an analysis, when it is handed some, are drawn as
// light grey staircases behind the layer model, within the frame. A smooth
// model, when it is handed one, is drawn as a dashed staircase behind them,
// with its depth of investigation marked "DOI" on the depth axis.
//
// DrawChart lays the chart out for DrawWidth x DrawHeight and draws it
// through a TCanvas on any QPainter: the widget's offscreen image
// (TPlaatje), an image file, SVG, PDF or the printer. It reads the document
// at every drawing and keeps nothing of it. The layout fields keep the
// values of the latest drawing until the next one; the measurement hit test
// relies on them.
//
// The text annotations are records of the document placed in the pixels of
// the screen chart. On the screen they are live edit boxes over the drawing
// (TPlaatje), and the drawing adds only a frame around the one with the
// focus; every other drawing (copies, prints, image files) draws each box as
// a white rectangle with its text. A print moves the boxes with the plot
// frame and keeps their size and their text's, as on the screen.
//
// The range, the curve's samples and the staircase's corners are shared
// with the report's chart (chart/ChartScale.h). The pixel arithmetic is
// fixed: every logarithm is ln v / 2.3026
// (DecimalLog), every pixel coordinate is rounded to the nearest integer
// with exact halves to the even one, and integer divisions of pixel sizes
// truncate toward zero. Ties at exact powers of ten fall where that
// arithmetic puts them.
#pragma once

#include <cstdint>

#include <QFont>
#include <QRectF>
#include <QString>

#include "chart/Canvas.h"
#include "chart/ChartScale.h"
#include "engine/ForwardModel.h"

class QPaintDevice;
class QPainter;
class TResondixData;
struct TAnnotation;
struct TLayerModel;
struct TSmoothModel;
template <int Capacity>
struct TLayeredEarth;

// The text of an annotation box stands this far in from its left and right
// edges, on the screen and in copies.
constexpr int AnnotationTextInset = 3;

class TChartDrawing {
public:
  TChartDrawing();
  TChartDrawing(const TChartDrawing&) = delete;
  TChartDrawing& operator=(const TChartDrawing&) = delete;

  // --- Layout of the latest drawing -------------------------------------

  std::int32_t DrawHeight = 0;  // size of the drawing target in pixels
  std::int32_t DrawWidth = 0;
  TCanvas* TargetCanvas = nullptr;  // only while DrawChart runs; not owned
  double ValueMin = 0;  // smallest and largest resistivity the axis must show
  double ValueMax = 0;
  std::int32_t DecadeCount = 0;  // vertical decades, at least 3
  std::int32_t FirstDecade = 0;  // the vertical axis starts at 10^FirstDecade
  std::int32_t LeftMargin = 0;   // x of the vertical axis
  std::int32_t PlotBottom = 0;   // y of the horizontal axis
  std::int32_t DecadeWidth = 0;  // pixels per horizontal decade
  std::int32_t TickX = 0;        // tick lengths and dot spacings, at least 1 after DrawFrame
  std::int32_t TickY = 0;
  std::int32_t SymbolHalfWidth = 0;  // half size of a measurement symbol
  std::int32_t SymbolHalfHeight = 0;
  double LeftMarginFraction = 0.1;
  double DecadeHeight = 0;  // pixels per vertical decade
  double PlotHeight = 0;    // height of the plot area in pixels
  std::int32_t TopMargin = 25;
  bool Printing = false;  // drawing for the printer: square decades, texts at ScreenDotsPerInch
  bool Copying = false;   // drawing for the clipboard: background without a border
  const TResondixData* Data = nullptr;  // the document shown; not owned
  std::int32_t MeasurementUnderMouse = 0;  // 1-based, 0 for none
  // Models drawn in light grey behind the layer model while it is drawn:
  // EquivalentModelCount of them from EquivalentModels (not owned).
  const TLayerModel* EquivalentModels = nullptr;
  std::int32_t EquivalentModelCount = 0;
  // The smooth model drawn dashed behind them, also without a valid layer
  // model, and its depth of investigation; none when null (not owned).
  const TSmoothModel* SmoothModel = nullptr;

  // --- Annotations -------------------------------------------------------

  // The boxes are live widgets over this drawing (the screen): it draws
  // only the focus frame, around box FocusedAnnotation (0-based, -1 for
  // none). Otherwise, and always while copying or printing, it draws the
  // boxes themselves.
  bool AnnotationWidgets = false;
  int FocusedAnnotation = -1;
  // For a print: the plot frame of the screen layout the boxes were placed
  // on. Empty: the boxes stand at their own pixels.
  QRectF AnnotationPlot;
  // For a print, which is laid out in the pixels of the screen and scaled
  // to the page as a whole: the screen's resolution, at which the texts get
  // their screen size in those pixels whatever the printer's resolution.
  int ScreenDotsPerInch = StandardDotsPerInch;

  // --- Drawing -----------------------------------------------------------

  // The complete chart for DrawWidth x DrawHeight on the painter's device.
  // Without a document only the background is drawn.
  void DrawChart(QPainter& painter);

  // The vertical range: ValueMin, ValueMax, FirstDecade, DecadeCount.
  void ComputeValueRange();
  // The pixel layout for DrawWidth x DrawHeight and the current range.
  void ComputeLayout();

  // The font of the latest drawing; "Arial", 10 points before the first.
  QFont Font() const { return CurrentFont; }
  // The chart's font on the screen, "Arial" 10 points; the annotation
  // boxes have it everywhere.
  static QFont ScreenFont();
  // The font of the chart's texts and of the boxes on device: the screen
  // font, for a print at the size it has on the screen.
  QFont DeviceFont(const QPaintDevice& device) const;

  // One annotation box on TargetCanvas: a white rectangle with its text
  // when the boxes are not live widgets or the drawing is a copy or a
  // print; on the screen a 1-pixel frame just outside it when it has the
  // focus.
  void DrawOnCanvas(const TAnnotation& annotation, bool hasFocus);

  // --- Mapping from values to pixels, with the latest layout ---------------

  int PlotRight() const { return LeftMargin + SpacingDecadeCount * DecadeWidth; }
  // Column of a spacing in metres.
  int SpacingToX(double spacing) const;
  // Column of a log10 spacing.
  int LogSpacingToX(double logSpacing) const;
  // Row of a resistivity in ohm.m.
  int RhoToY(double rho) const;
  // Row of a log10 resistivity.
  int LogRhoToY(double logRho) const;

  // The label of the vertical decade boundary 10^exponent: "1e-3", "0.1",
  // "1", "10", "1e+2", ...; empty beyond +-29.
  static QString DecadeLabel(int exponent);

  // --- Mouse -------------------------------------------------------------

  // Finds the measurement whose hot spot lies within 5 pixels of (X, Y)
  // along both axes, the lowest index first, and stores it in
  // MeasurementUnderMouse (0 for none). True when one was found.
  bool HitTestMeasurement(int X, int Y);

private:
  void DrawFrame();
  void DrawAxes();
  void DrawMeasurements();
  void DrawLayerModel();
  void DrawEquivalentModels();
  void DrawSmoothModel();
  void DrawDepthOfInvestigation(double depth);
  template <int Capacity>
  void DrawStaircase(const TLayeredEarth<Capacity>& model);
  // The plot area inside the frame's lines, to which drawings that may
  // reach beyond the axes are clipped.
  QRect PlotInterior() const;
  void DrawModelCurve();
  void DrawAnnotations();

  void DrawVerticalLabels();
  void DrawTitles();
  bool IsPlotted(int i) const;
  // Left end of the symbol of measurement i.
  int SymbolLeft(int i) const;
  int SpacingColumn(double spacing, int offset) const;
  // The box as a white rectangle with its text.
  void DrawBox(const TAnnotation& annotation);
  // Where a box placed on the screen stands in the print's layout.
  QRect PrintedBox(const TAnnotation& annotation) const;

  QFont CurrentFont;
  // The model curve of the latest drawing, computed from the document's
  // layers while it is drawn: the chart never asks the document to change.
  TModelCurve Curve;
};
