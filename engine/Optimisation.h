// The fit: the layer values marked as unknowns adjusted to the measured
// apparent resistivities.
//
// Damped least squares on logarithms (Levenberg–Marquardt): the unknowns are
// ln ρ of layers and ln of layer thicknesses, the residuals ln of model over
// measured apparent resistivity. Every outer iteration builds the Jacobian
// by forward differences, decomposes it (J = U·diag(w)·Vᵀ) and tries damped
// steps p − V·q with q_k = g_k / (w_k² + λ), g = diag(w)·Uᵀ·r, raising λ
// tenfold after a rejected step and halving it after an iteration without
// rejections. TFit owns every work array and its result; one object serves
// any number of fits and allocates nothing.
#pragma once

#include <string>

#include "engine/FixedArray.h"
#include "engine/ForwardModel.h"
#include "engine/LayerModel.h"
#include "engine/SingularValueDecomposition.h"
#include "engine/Sounding.h"

// Admissible ranges of the unknowns (natural logarithms): resistivities from
// about 1.2e-4 to 4.9e8 ohm·m, thicknesses from about 0.0067 to 162755 m.
constexpr double MinLogRho = -9;
constexpr double MaxLogRho = 20;
constexpr double MinLogThickness = -5;
constexpr double MaxLogThickness = 12;

// Which layer values a fit may change; the half-space has no depth.
struct TUnknownFlags {
  TFixedArray<bool, 0, MaxLayers> RhoUnknown;
  TFixedArray<bool, 0, MaxLayers> DepthUnknown;
};

// Every unknown marked, as a fit of "all" asks.
TUnknownFlags AllUnknowns(int layerCount);

// One unknown: the resistivity or the depth (as the thickness above it) of
// a layer.
struct TUnknown {
  bool IsDepth = false;
  int Layer = 0;
};

struct TFitSettings {
  double InitialDamping = 0.01;     // λ at the start, times Σw²
  int MaxEvaluations = 250;         // the starting model and the trial steps
  double RelativeTolerance = 0.0005;  // converged when a step gains less than this part of the sum of squares
  double AbsoluteTolerance = 0.005;   // ... plus this squared, or the sum of squares is below it squared
  double SvdTolerance = 1e-10;      // negligible singular values, relative to ‖J‖∞
};

enum class TFitStatus {
  Converged = 0,          // a step gained too little, or the sum of squares is small enough
  NoSolution = 1,         // the evaluation limit, or a zero damped denominator
  OutOfRange = 2,         // a parameter left its admissible range
  TooManyRejections = 4,  // the damping grew 13 times in a row
};

struct TFitResult {
  TFitStatus Status = TFitStatus::Converged;
  // Ran to its end (Converged, TooManyRejections, NoSolution at the
  // evaluation limit): ResidualNorm is that of the point it accepted last.
  bool Finished = false;
  // The layers where the iteration left them: its last trial, which is the
  // accepted point when it converged.
  TLayerModel Model;
  int UnknownCount = 0;
  TFixedArray<TUnknown, 1, MaxUnknowns> Unknowns;  // resistivities by layer, then depths by layer
  TUnknownVector Parameters;  // the unknowns' logarithms, as Model has them
  // The unscaled covariance V·diag(1/(w_k + ε)²)·Vᵀ of the last decomposition,
  // [1..UnknownCount]; zero when the fit stopped before its first one.
  TUnknownMatrix Covariance;
  double ResidualNorm = 0;  // √Σr² (natural logarithms), when Finished
  // The misfit in log10 units: of ResidualNorm, or, for a fit that stopped
  // before its end (NoSolution, OutOfRange), of the layers it left.
  double Rmse = 0;
  int EvaluationCount = 0;  // the starting model plus one per trial step
};

// Why the measurements cannot be compared with a curve: a spacing without a
// logarithm ("Spacing of measurement N must be greater than 0!"), or "".
std::string SpacingRefusal(const TSounding& sounding);

// Why a fit of these unknowns cannot run ("Too  Many  Unknown  Parameters  !",
// "No  Unknown  Parameters  Specified  !", or a spacing without a logarithm),
// or "" when it can. Checked in that order, before anything is changed.
std::string FitRefusal(const TSounding& sounding, const TLayerModel& model, const TUnknownFlags& unknowns);

class TFit {
public:
  TFitSettings Settings;

  // Fits the unknowns of start to the sounding by the curve settings given.
  // The caller has checked FitRefusal and that the model's values are
  // admissible; the result stays until the next call.
  const TFitResult& Run(const TSounding& sounding, const TLayerModel& start, const TUnknownFlags& unknowns,
                        const TCurveSettings& curve);
  // The same iteration, then back to the point it accepted last: model
  // becomes that point, and its RMSE in log10 units is returned, NaN when no
  // admissible point was reached. Without unknowns, the RMSE of the model.
  double Refine(const TSounding& sounding, TLayerModel& model, const TUnknownFlags& unknowns,
                const TCurveSettings& curve);
  // The RMSE in log10 units of a model against the sounding, as a fit
  // reports it.
  double ModelRmse(const TSounding& sounding, const TLayerModel& model, const TCurveSettings& curve);
  // The Jacobian the iteration builds at log-parameters p of the unknowns
  // (in the fit's order, the rest of the model as given): forward
  // differences of 1 % of p plus 1e-6, or 1e-6 where that step is lost to
  // rounding. False when p or a step from it is not admissible.
  bool JacobianAt(const TSounding& sounding, const TLayerModel& model, const TUnknownFlags& unknowns,
                  const TCurveSettings& curve, const TUnknownVector& p, TJacobianMatrix& jacobian);

  const TFitResult& Result() const { return Outcome; }

private:
  struct TIterationEnd;

  void Begin(const TSounding& sounding, const TLayerModel& start, const TUnknownFlags& unknowns,
             const TCurveSettings& curve);
  void CollectUnknowns();
  bool ApplyParameters();
  void ComputeResiduals();
  void ComputeJacobian();
  double SumOfSquares() const;
  double DotProduct(const TUnknownVector& a, const TUnknownVector& b) const;
  void ComputeGradient();
  bool ComputeTrialStep(double lambda);
  void ComputeCovariance();
  TIterationEnd Iterate();
  void Optimise();
  double RmseOfLayers();

  // The problem of the current run.
  const TSounding* Measurements = nullptr;
  TUnknownFlags Flags;
  TCurveSettings CurveSettings;
  TLayerModel Layers;
  TModelCurve Curve;

  // The iteration's arrays.
  int UnknownCount = 0;
  TFixedArray<TUnknown, 1, MaxUnknowns> Unknowns;
  TUnknownVector Parameters;
  TUnknownVector PreviousParameters;
  TFixedArray<double, 1, MaxMeasurements> Residuals;
  TFixedArray<double, 1, MaxMeasurements> SavedResiduals;
  TJacobianMatrix Jacobian;  // U after the decomposition
  TUnknownVector SingularValues;
  TUnknownVector Superdiagonal;
  TUnknownMatrix RightVectors;  // V
  TUnknownVector Gradient;
  TUnknownVector StepCoefficients;
  // While the Jacobian's perturbations are applied: interfaces are not held
  // in order, and a failure ends the fit.
  bool InJacobian = false;

  TFitResult Outcome;
};
