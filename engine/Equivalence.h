// Equivalence: how much of a fitted layer model the measurements really fix.
//
// Dar Zarrouk parameters. A layer of thickness h and resistivity ρ above the
// half-space has the longitudinal conductance S = h/ρ and the transverse
// resistance T = h·ρ. A thin conductive layer shows in a sounding only
// through its S, a thin resistive one only through its T (the principle of
// equivalence): models that share them give curves that the measurements
// cannot tell apart. The whole cover of total thickness H has the totals S
// and T, the mean longitudinal and transverse resistivities ρL = H/S and
// ρT = T/H and the coefficient of anisotropy λ = √(ρT/ρL).
//
// Equivalence analysis by profiling. For each fitted unknown in the fit's
// order, the unknown is stepped away from its fitted value in both
// directions on a logarithmic grid, held fixed there, and the other unknowns
// are fitted again by the program's own fit. A model is equivalent while its
// RMSE stays within the tolerance: at most (1 + Relative)·RMSE + Absolute,
// with RMSE that of the analysed model. A depth unknown is held as the depth
// of its layer's bottom, which is what a fixed depth means to the fit.
//
// The walk along the grid doubles its step (1, 2, 4, ... grid steps) while
// the models stay equivalent, then halves the interval between the last
// equivalent point and the first one that is not until it is a sixteenth of
// the distance walked, so that a range is found to a sixteenth of its
// extent in a few more refits than the binary logarithm of that extent. Each refit starts from the last equivalent model of its walk,
// beginning with the analysed one. A walk ends open when it reaches the end
// of the grid or the admissible range of its unknown still equivalent.
//
// Everything works in fixed arrays and in one working model and fit made
// before the walks; nothing is allocated while profiling, and the result
// depends only on the sounding, the model, its unknowns, the curve settings
// and the tolerance.
#pragma once

#include "engine/LayerModel.h"
#include "engine/Optimisation.h"

// The Dar Zarrouk figures of one layer above the half-space.
struct TDarZarroukLayer {
  double Thickness = 0;  // h, m
  double S = 0;          // h/ρ, siemens
  double T = 0;          // h·ρ, ohm·m²
};

struct TDarZarrouk {
  int LayerCount = 0;  // the layers above the half-space
  TFixedArray<TDarZarroukLayer, 1, MaxLayers> Layers;
  double Thickness = 0;  // H, the sum of the thicknesses
  double S = 0;
  double T = 0;
  // ρL = H/S, ρT = T/H and λ = √(ρT/ρL); not numbers (NaN) without a layer
  // above the half-space.
  double LongitudinalRho = 0;
  double TransverseRho = 0;
  double Anisotropy = 0;
};

TDarZarrouk DarZarroukOf(const TLayerModel& model);

// The highest RMSE that still counts as equivalent is
// (1 + Relative)·RMSE + Absolute, in log10 units.
struct TEquivalenceTolerance {
  double Relative = 0.05;
  double Absolute = 0.002;
};

// The grid: ProfileGridSteps steps of equal ratio reaching ProfileGridDecades
// decades from the fitted value in each direction (0.17 % a step), walked in
// at most ProfileDoublings doublings.
constexpr int ProfileGridDecades = 3;
constexpr int ProfileDoublings = 13;
constexpr int ProfileGridSteps = 1 << (ProfileDoublings - 1);
// The halving stops once the interval is at most this part of the distance
// walked: the ranges are found to a sixteenth of their extent, or one step.
constexpr int ProfileResolution = 16;
// At most this many equivalent models per walk: one per doubling, one per
// halving.
constexpr int MaxModelsPerWalk = 2 * ProfileDoublings;
constexpr int MaxLayerUnknowns = 2 * MaxLayers - 1;
constexpr int MaxEquivalentModels = 2 * MaxLayerUnknowns * MaxModelsPerWalk;

struct TValueRange {
  double Lower = 0;
  double Upper = 0;

  void Include(double value) {
    if (value < Lower) Lower = value;
    if (value > Upper) Upper = value;
  }
};

// The equivalent range of one unknown: the lowest and highest value it
// takes in the equivalent models, and whether its walk down or up ended
// still equivalent at the grid's end or the admissible limit.
struct TParameterRange {
  bool IsDepth = false;
  int Layer = 0;
  double Value = 0;  // the analysed resistivity, or depth of the layer's bottom
  TValueRange Range;
  bool LowerOpen = false;
  bool UpperOpen = false;
};

struct TEquivalence {
  TEquivalenceTolerance Tolerance;
  double Rmse = 0;       // of the analysed model
  double Threshold = 0;  // the highest RMSE counted as equivalent
  int ParameterCount = 0;
  TFixedArray<TParameterRange, 1, MaxLayerUnknowns> Parameters;
  TLayerModel Model;  // the analysed model
  TDarZarrouk DarZarrouk;  // of the analysed model
  // Per layer above the half-space, over the analysed and all equivalent
  // models.
  TFixedArray<TValueRange, 1, MaxLayers> ThicknessRange;
  TFixedArray<TValueRange, 1, MaxLayers> SRange;
  TFixedArray<TValueRange, 1, MaxLayers> TRange;
  // The equivalent models found, walk by walk, the analysed one not among
  // them.
  int ModelCount = 0;
  TFixedArray<TLayerModel, 1, MaxEquivalentModels> Models;
  int RefitCount = 0;  // fits run by the analysis
};

// Analyses model with its unknowns against the sounding, by the curve
// settings given. The caller has made sure that a fit of these unknowns may
// run (FitRefusal) and that every value of the sounding and the model is
// admissible.
void AnalyseEquivalence(const TSounding& sounding, const TLayerModel& model, const TUnknownFlags& unknowns,
                        const TCurveSettings& curve, const TEquivalenceTolerance& tolerance, TEquivalence& result);
