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

// T(u) of a layer model, the resistivity transform at u = 1/λ (metres).
class TResistivityTransform {
public:
  explicit TResistivityTransform(const TLayerModel& model);
  double operator()(double u) const;

private:
  int LayerCount = 0;
  TFixedArray<double, 1, MaxLayers> Rho;
  TFixedArray<double, 1, MaxLayers> Thickness;
};

constexpr int MaxFilterCount = 20;

// The filter model's table: node j at log10 spacing CurveLogSpacing[j], from
// 0 (1 m) upward in steps of one filter sample, j = 1..NodeCount().
struct TFilterCurve {
  void Compute(const TLayerModel& model, bool isSchlumberger);
  // The curve at x = log10 spacing (DecimalLog), in log10 ohm·m. Below 1 m
  // and from the last node on it goes on straight in log-log with the end
  // node's slope.
  double LogRhoAt(double x) const;
  int NodeCount() const { return FilterCount + 2; }

  int FilterCount = 0;
  TFixedArray<double, 1, MaxFilterCount> TransformSamples;
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

struct TAccurateCurve {
  void Compute(const TLayerModel& model, bool isSchlumberger);
  // As TFilterCurve::LogRhoAt; beyond the table straight with the end slope.
  double LogRhoAt(double x) const;

  TFixedArray<double, AccurateFirstSample, AccurateLastSample> AccurateTransformSamples;
  TFixedArray<double, AccurateFirstNode, AccurateLastNode> AccurateLogRho;
  TFixedArray<double, AccurateFirstNode, AccurateLastNode> AccurateNodeSlope;  // d log ρa / d log s
};

// The curve table of a model by the forward model its settings name.
class TModelCurve {
public:
  void Compute(const TLayerModel& model, const TCurveSettings& settings);

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
