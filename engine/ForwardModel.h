// Forward models: the apparent-resistivity curve of a layered earth.
//
// Both work in three stages: the resistivity transform T(u) of the layers by
// the upward recurrence; a linear digital filter over logarithmically spaced
// transform samples, tabulated as log10 apparent resistivity at fixed nodes;
// and a cubic Hermite segment between the nodes, so that the curve can be
// read at any spacing. The filter model (ForwardModel.cpp) is the program's
// own short filters, six samples a decade for Schlumberger and three for
// Wenner, with Akima node slopes; every stored fit rests on its figures. The
// accurate model (AccurateForwardModel.cpp) samples 20 times a decade with
// exact node slopes and follows the integrals to a few parts in 10^5.
//
// A curve table is computed once per model and read many times; everything
// lives in fixed arrays inside the table objects, nothing is allocated.
#pragma once

#include "engine/DecimalLog.h"
#include "engine/FixedArray.h"
#include "engine/LayerModel.h"

// Which forward model a curve comes from. A user setting of the window and
// of the command line, not part of a sounding.
enum class TForwardModel { Filter, Accurate };

// What a model's curve depends on besides the layers.
struct TCurveSettings {
  bool IsSchlumberger = true;
  TForwardModel Model = TForwardModel::Filter;
};

// The most layers a resistivity transform takes: the cells of the smooth
// model (engine/SmoothInversion.h).
constexpr int MaxTransformLayers = 32;
// Per layer, the derivative of a transform value by ln ρ of that layer.
using TLayerSlopes = TFixedArray<double, 1, MaxTransformLayers>;

// T(u) of a layered earth, the resistivity transform at u = 1/λ (metres).
class TResistivityTransform {
public:
  template <int Capacity>
  explicit TResistivityTransform(const TLayeredEarth<Capacity>& earth) : LayerCount(earth.LayerCount) {
    static_assert(Capacity <= MaxTransformLayers, "more layers than a transform takes");
    for (int i = 1; i <= LayerCount; ++i) {
      Rho[i] = earth.LayerRho[i];
      Thickness[i] = earth.Thickness(i);
    }
  }
  double operator()(double u) const;
  // T(u) as above, and in slopes[i] its derivative by ln ρ_i of every layer
  // i: the recurrence differentiated, back down through the layers.
  double WithSlopes(double u, TLayerSlopes& slopes) const;

private:
  int LayerCount = 0;
  TFixedArray<double, 1, MaxTransformLayers> Rho;
  TFixedArray<double, 1, MaxTransformLayers> Thickness;
};

constexpr int MaxFilterCount = 20;

// The filter model's table: node j at log10 spacing CurveLogSpacing[j], from
// 0 (1 m) upward in steps of one filter sample, j = 1..NodeCount(), each the
// filter over FilterCount transform samples; node j starts at sample j.
struct TFilterCurve {
  void Compute(const TLayerModel& model, bool isSchlumberger) { Compute(TResistivityTransform(model), isSchlumberger); }
  void Compute(const TResistivityTransform& transform, bool isSchlumberger);
  // The two stages of Compute: the configuration's filter (Prepare), whose
  // table takes the transform at SampleAbscissa(k), k = 1..SampleCount(),
  // into TransformSamples; and the table made from those samples.
  void Prepare(bool isSchlumberger);
  int SampleCount() const { return 2 * FilterCount + 1; }
  double SampleAbscissa(int k) const;
  void ComputeFromSamples();
  // The curve at x = log10 spacing (DecimalLog), in log10 ohm·m. Below 1 m
  // and from the last node on it goes on straight in log-log with the end
  // node's slope.
  double LogRhoAt(double x) const;
  int NodeCount() const { return FilterCount + 2; }

  bool IsSchlumberger = true;
  int FilterCount = 0;
  TFixedArray<double, 1, 2 * MaxFilterCount + 1> TransformSamples;
  TFixedArray<double, 0, MaxFilterCount + 2> CurveLogSpacing;
  TFixedArray<double, 0, MaxFilterCount + 2> CurveLogRho;
  TFixedArray<double, -1, MaxFilterCount + 3> CurveSegmentSlope;
  TFixedArray<double, 0, MaxFilterCount + 2> CurveNodeSlope;
};

// The accurate model's table: node m at log10 spacing m/20, from 0.1 m to
// 31.6 km; its filter weights k = AccurateFirstWeight..AccurateLastWeight,
// and the transform samples n = k − m that the nodes share.
constexpr int AccurateNodesPerDecade = 20;
constexpr int AccurateFirstNode = -20;
constexpr int AccurateLastNode = 90;
constexpr int AccurateFirstWeight = -48;
constexpr int AccurateLastWeight = 46;
constexpr int AccurateFirstSample = AccurateFirstWeight - AccurateLastNode;
constexpr int AccurateLastSample = AccurateLastWeight - AccurateFirstNode;

// Transform samples of either table, at most.
constexpr int MaxCurveSamples = AccurateLastSample - AccurateFirstSample + 1;

struct TAccurateCurve {
  void Compute(const TLayerModel& model, bool isSchlumberger) { Compute(TResistivityTransform(model), isSchlumberger); }
  void Compute(const TResistivityTransform& transform, bool isSchlumberger);
  // The two stages of Compute, as TFilterCurve has them: the transform at
  // SampleAbscissa(n) into AccurateTransformSamples[n], then the table.
  static double SampleAbscissa(int n);
  void ComputeFromSamples();
  // As TFilterCurve::LogRhoAt; beyond the table straight with the end slope.
  double LogRhoAt(double x) const;

  bool IsSchlumberger = true;
  TFixedArray<double, AccurateFirstSample, AccurateLastSample> AccurateTransformSamples;
  TFixedArray<double, AccurateFirstNode, AccurateLastNode> AccurateLogRho;
  TFixedArray<double, AccurateFirstNode, AccurateLastNode> AccurateNodeSlope;  // d log ρa / d log s
};

// The curve table of a model by the forward model its settings name.
class TModelCurve {
public:
  void Compute(const TLayerModel& model, const TCurveSettings& settings) {
    Compute(TResistivityTransform(model), settings);
  }
  void Compute(const TResistivityTransform& transform, const TCurveSettings& settings);

  // The table in its two stages, for a caller that moves the transform's
  // samples itself (the smooth inversion's Jacobian): Prepare for the
  // settings, set Sample(k) to the transform at SampleAbscissa(k) for k =
  // 0..SampleCount()-1, then ComputeFromSamples.
  void Prepare(const TCurveSettings& settings);
  int SampleCount() const { return InUse == TForwardModel::Accurate ? MaxCurveSamples : Filter.SampleCount(); }
  double SampleAbscissa(int k) const;
  double& Sample(int k);
  void ComputeFromSamples();

  // log10 apparent resistivity at x = log10 spacing (DecimalLog).
  double LogRhoAt(double x) const {
    return InUse == TForwardModel::Accurate ? Accurate.LogRhoAt(x) : Filter.LogRhoAt(x);
  }
  // ln of the apparent resistivity at a spacing in metres, as the fit's
  // residuals compare it.
  double LnApparentRho(double spacing) const { return Ln10 * LogRhoAt(DecimalLog(spacing)); }
  // The apparent resistivity (ohm·m) at a spacing in metres.
  double ModelApparentRho(double spacing) const { return std::exp(LnApparentRho(spacing)); }

  // The nodes of the table in use, first to last: log10 spacing and log10
  // apparent resistivity.
  int FirstNode() const { return InUse == TForwardModel::Accurate ? AccurateFirstNode : 1; }
  int LastNode() const { return InUse == TForwardModel::Accurate ? AccurateLastNode : Filter.NodeCount(); }
  double NodeLogSpacing(int j) const;
  double NodeLogRho(int j) const;

  TForwardModel Model() const { return InUse; }
  const TFilterCurve& FilterTable() const { return Filter; }
  const TAccurateCurve& AccurateTable() const { return Accurate; }

private:
  TForwardModel InUse = TForwardModel::Filter;
  TFilterCurve Filter;
  TAccurateCurve Accurate;
};
