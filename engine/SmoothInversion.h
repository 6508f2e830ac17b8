// The smooth model of a sounding: what the measurements say about the
// resistivity at depth without choosing a number of layers.
//
// The earth is cut into ProfileCellCount thin cells: the interfaces are
// spaced evenly in log depth from a third of the shortest spacing to twice
// the longest, below which the last cell is the half-space. The unknowns are
// the cells' ln ρ (m). The inversion minimises
//   Φ(m) = Σ_j ((ln ρa_model,j − ln ρa_measured,j) / σ)² + λ·Σ_i (m_{i+1} − m_i)²
// with σ = ln(1 + error/100), the measurements' error level: the misfit in
// units of that error plus λ times a first-difference roughness, so that a
// larger λ means a smoother model. λ is chosen the Occam way (Constable,
// Parker & Constable 1987, Occam's inversion, Geophysics 52, 289–300): each
// iteration linearises the curve at the current model and solves for the
// next model directly, (GᵀG + λDᵀD)·m = Gᵀ(G·m0 − r0), for λ on a grid of
// whole decades, refined by bisection in log λ; while no λ reaches the
// error level (a normalised RMS misfit of 1) it takes the λ of the smallest
// misfit, once one does the largest λ that still reaches it, the smoothest
// such model. It starts from a uniform earth at the geometric mean of the
// apparent resistivities and stops when the model changes by less than 1 %
// with the error level reached. When the sum of squares falls by less than
// 5 % in an iteration without reaching it, the data allow no better (the
// next gains would come from an ever rougher model, which the linearisation
// no longer follows): the target becomes that sum of squares plus 10 % (5 %
// of the misfit) and the iteration goes on to the smoothest model within
// it. The result is the smoothest model that fits to the error level, or
// nearly as well as the data allow.
//
// The depth of investigation is the index of Oldenburg & Li (1999,
// Estimating depth of investigation in DC resistivity and IP surveys,
// Geophysics 64, 403–416): the inversion is repeated from the smooth model,
// once with a reference model a decade below and once a decade above the
// geometric mean of the apparent resistivities, the regularisation then
// being λ·(roughness + ReferenceWeight·Σ_i (m_i − m_ref)²), each run with its
// own λ chosen as above. Where the measurements fix a cell both runs give
// it the same value; where they do not, each follows its reference. The
// index R_i = (m_i,high − m_i,low) / (ln 10 − ln 0.1) is near 0 in the first
// case and grows towards 1 in the second; the depth of investigation is the
// top of the shallowest cell from which down every cell has R ≥ DoiThreshold
// (their cut-off, 0.1). Below it the model says little. The runs with a
// reference model seek the same misfit as the smooth model, and stop when
// their models change by less than 5 %.
//
// The curve is that of the forward model the settings name. The Jacobian
// G = ∂ln ρa/∂m / σ: the derivative of every transform sample by every m_i is
// exact (the recurrence differentiated, TResistivityTransform::WithSlopes);
// the filter and the table, which follow the samples, are differentiated by
// central differences of the samples moved along those derivatives (a step
// of 1e-3 in m, which needs no transform evaluation). The normal equations
// are solved by Cholesky. Everything lives in fixed arrays of the
// TSmoothInversion object, which serves any number of runs; nothing is
// allocated while it runs, and the result depends only on its inputs.
#pragma once

#include "engine/FixedArray.h"
#include "engine/ForwardModel.h"
#include "engine/LayerModel.h"
#include "engine/Sounding.h"

constexpr int MaxProfileCells = MaxTransformLayers;
constexpr int ProfileCellCount = 28;
// The measurements' error level that the smooth model fits, in per cent,
// unless the user gives one.
constexpr double DefaultErrorPercent = 3;
// The cut-off of the depth-of-investigation index.
constexpr double DoiThreshold = 0.1;
// The weight of the reference models of the depth of investigation against
// the roughness, per cell: below the depth the measurements reach, a model
// follows its reference within about 1/√0.1 ≈ 3 cells.
constexpr double ReferenceWeight = 0.1;

// The cells of a smooth model, the last one the half-space (its stored
// depth is HalfSpaceDepth, which plays no part).
struct TResistivityProfile : TLayeredEarth<MaxProfileCells> {};

struct TSmoothModel {
  TResistivityProfile Profile;
  double ErrorPercent = DefaultErrorPercent;
  // The misfit in log10 units, as a fit reports it, and that of the error
  // level: log10(1 + error/100).
  double Rmse = 0;
  double TargetRmse = 0;
  double Lambda = 0;                // the weight of the roughness chosen
  double DepthOfInvestigation = 0;  // m
  TFixedArray<double, 1, MaxProfileCells> DoiIndex;
  int IterationCount = 0;   // Occam iterations
  int EvaluationCount = 0;  // curves computed for trial models

  bool ReachedErrorLevel() const { return Rmse <= TargetRmse * (1 + 1e-6); }
};

class TSmoothInversion {
public:
  // The smooth model of the sounding by the curve settings given. The caller
  // has made sure that every spacing and apparent resistivity is positive
  // and errorPercent is above 0.
  const TSmoothModel& Run(const TSounding& sounding, const TCurveSettings& curve,
                          double errorPercent = DefaultErrorPercent);
  const TSmoothModel& Result() const { return Outcome; }

private:
  using TCellVector = TFixedArray<double, 1, MaxProfileCells>;
  using TCellMatrix = TFixedMatrix<double, 1, MaxProfileCells, 1, MaxProfileCells>;
  using TDataVector = TFixedArray<double, 1, MaxMeasurements>;

  void Begin(const TSounding& sounding, const TCurveSettings& curve, double errorPercent);
  void PlaceCells();
  // Normalised residuals of the model m into r; false (r untouched) when
  // m is not admissible.
  bool Residuals(const TCellVector& m, TDataVector& r);
  double SumOfSquares(const TDataVector& r) const;
  // G at m, and r0 there.
  void ComputeJacobian(const TCellVector& m);
  // The normal matrix GᵀG and right side Gᵀ(G·m − r0) of the linearisation
  // at m.
  void Linearise(const TCellVector& m);
  // The model of the linearised problem for λ; false when it cannot be
  // solved. Then its misfit (sum of squares), +∞ when it is not admissible.
  bool Solve(double lambda, TCellVector& m);
  double TrialMisfit(double logLambda, TCellVector& m);
  // One Occam iteration from the linearisation: the next model, its λ and
  // misfit; false when no trial was admissible.
  bool OccamStep(double& logLambda, TCellVector& next, double& misfit);
  // The Occam iteration from m to its end: m becomes the model found, with
  // its λ and misfit.
  void Invert(TCellVector& m, double& lambda, double& sumOfSquares);
  void FindDepthOfInvestigation(double meanLogRho);

  const TSounding* Measurements = nullptr;
  TCurveSettings CurveSettings;
  double Sigma = 0;
  double TargetSumOfSquares = 0;
  int CellCount = 0;
  int MeasurementCount = 0;
  // The regularisation: roughness plus Pull times Σ(m_i − Reference)², all
  // weighted by λ; Pull is 0 but for the depth of investigation.
  double Pull = 0;
  double Reference = 0;

  TResistivityProfile Cells;  // the work model, whose curve is computed
  TModelCurve Curve;
  TModelCurve Moved;  // the table of samples moved along a derivative
  TFixedMatrix<double, 0, MaxCurveSamples - 1, 1, MaxProfileCells> SampleSlopes;
  TFixedMatrix<double, 1, MaxMeasurements, 1, MaxProfileCells> Jacobian;
  TDataVector Data;  // ln ρa measured
  TDataVector Residual;
  TDataVector TrialResidual;
  TCellMatrix Normal;
  TCellMatrix Factor;  // Cholesky factor of the damped normal matrix
  TCellVector RightSide;
  TCellVector Model;
  TCellVector Trial;
  TCellVector Best;
  TCellVector Low;
  TCellVector High;

  TSmoothModel Outcome;
};
