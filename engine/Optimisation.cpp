// The fit (see Optimisation.h for the method).
#include "engine/Optimisation.h"

#include <cmath>
#include <utility>

namespace {

// The refusals, in the program's words (doubled blanks included).
constexpr const char* TooManyUnknownsText = "Too  Many  Unknown  Parameters  !";
constexpr const char* NoUnknownsText = "No  Unknown  Parameters  Specified  !";

std::string SpacingRefusalText(int measurement) {
  return "Spacing of measurement " + std::to_string(measurement) + " must be greater than 0!";
}

// Step control of the iteration.
constexpr double DampingDecrease = 0.5;
constexpr double DampingIncrease = 10;
constexpr double AcceptanceRatio = 0.01;

// Forward-difference step of the Jacobian: p' = 1.01·p + 1e-6. At p = -1e-4
// that step is 0; the absolute part alone is used then.
constexpr double PerturbationFactor = 1.01;
constexpr double PerturbationOffset = 1e-6;

// The RMSE in log10 units of residuals (natural logarithms) whose norm is
// norm over count measurements.
double RmseOfNorm(double norm, int count) { return std::sqrt((norm * norm / (Ln10 * Ln10)) / count); }

// How many unknowns the flags mark.
int MarkedUnknownCount(const TLayerModel& model, const TUnknownFlags& unknowns) {
  int n = 0;
  for (int i = 1; i <= model.LayerCount; ++i)
    n += unknowns.RhoUnknown[i] + (i < model.LayerCount && unknowns.DepthUnknown[i]);
  return n;
}

// The first measurement whose L/2 has no logarithm, or 0.
int FirstNonPositiveSpacing(const TSounding& sounding) {
  for (int i = 1; i <= sounding.MeasurementCount; ++i)
    if (!(sounding.HalfSpacing[i] > 0)) return i;
  return 0;
}

}  // namespace

TUnknownFlags AllUnknowns(int layerCount) {
  TUnknownFlags flags;
  for (int i = 1; i <= layerCount && i <= MaxLayers; ++i) {
    flags.RhoUnknown[i] = true;
    flags.DepthUnknown[i] = i < layerCount;
  }
  return flags;
}

std::string FitRefusal(const TSounding& sounding, const TLayerModel& model, const TUnknownFlags& unknowns) {
  const int count = MarkedUnknownCount(model, unknowns);
  if (count > sounding.MeasurementCount || count > MaxUnknowns) return TooManyUnknownsText;
  if (count == 0) return NoUnknownsText;
  // Checked last, like the unknowns above it before anything is changed: a
  // spacing without a logarithm would make every residual undefined.
  return SpacingRefusal(sounding);
}

std::string SpacingRefusal(const TSounding& sounding) {
  if (const int i = FirstNonPositiveSpacing(sounding)) return SpacingRefusalText(i);
  return {};
}

// Where the iteration ended: Finish (status 0, 1 at the evaluation limit, 4)
// computes the covariance and the residual norm, Stop (status 1 for a zero
// damped denominator, 2) leaves them.
struct TFit::TIterationEnd {
  TFitStatus Status = TFitStatus::Converged;
  bool Finished = false;
  bool Decomposed = false;  // V and w hold a decomposition made in this fit
  int Evaluations = 1;
  double SumOfSquares = 0;  // at the last accepted point

  TIterationEnd& Finish(TFitStatus status) {
    Status = status;
    Finished = true;
    return *this;
  }
  TIterationEnd& Stop(TFitStatus status) {
    Status = status;
    return *this;
  }
};

void TFit::Begin(const TSounding& sounding, const TLayerModel& start, const TUnknownFlags& unknowns,
                 const TCurveSettings& curve) {
  Measurements = &sounding;
  Layers = start;
  Flags = unknowns;
  CurveSettings = curve;
  InJacobian = false;
  CollectUnknowns();
}

// Resistivity unknowns by increasing layer, then the thicknesses above the
// depth unknowns by increasing layer; the half-space has no depth.
void TFit::CollectUnknowns() {
  UnknownCount = 0;
  const auto add = [this](double p, bool isDepth, int layer) {
    if (UnknownCount == MaxUnknowns) return;  // refused by FitRefusal; the arrays hold 20
    ++UnknownCount;
    Parameters[UnknownCount] = p;
    Unknowns[UnknownCount] = {isDepth, layer};
  };
  const int n = Layers.LayerCount;
  for (int i = 1; i <= n; ++i)
    if (Flags.RhoUnknown[i]) add(std::log(Layers.LayerRho[i]), false, i);
  for (int i = 1; i <= n - 1; ++i)
    if (Flags.DepthUnknown[i]) add(std::log(Layers.LayerDepth[i] - Layers.LayerDepth[i - 1]), true, i);
}

// The residuals r_i = ln(model) − ln(measured) for the layers as they stand;
// the curve table is rebuilt for them.
void TFit::ComputeResiduals() {
  Curve.Compute(Layers, CurveSettings);
  const TSounding& s = *Measurements;
  for (int i = 1; i <= s.MeasurementCount; ++i) Residuals[i] = Curve.LnApparentRho(s.HalfSpacing[i]) - std::log(s.ApparentRho[i]);
}

double TFit::SumOfSquares() const {
  double sum = 0;
  for (int i = 1; i <= Measurements->MeasurementCount; ++i) sum += Residuals[i] * Residuals[i];
  return sum;
}

double TFit::DotProduct(const TUnknownVector& a, const TUnknownVector& b) const {
  double sum = 0;
  for (int k = 1; k <= UnknownCount; ++k) sum += a[k] * b[k];
  return sum;
}

double TFit::RmseOfLayers() {
  ComputeResiduals();
  return RmseOfNorm(std::sqrt(SumOfSquares()), Measurements->MeasurementCount);
}

// The parameters into the layers, and the residuals of those layers. False
// (the residuals not computed) when a parameter lies outside its range.
bool TFit::ApplyParameters() {
  bool ok = true;
  int k = 0;
  const int n = Layers.LayerCount;
  auto& rho = Layers.LayerRho;
  auto& depth = Layers.LayerDepth;
  for (int i = 1; i <= n; ++i) {
    if (!Flags.RhoUnknown[i]) continue;
    const double p = Parameters[++k];
    if (p >= MinLogRho && p <= MaxLogRho) rho[i] = std::exp(p);
    else ok = false;
  }
  for (int i = 1; i <= n - 1; ++i) {
    if (!Flags.DepthUnknown[i]) continue;
    double& p = Parameters[++k];
    if (p >= MinLogThickness && p <= MaxLogThickness) depth[i] = depth[i - 1] + std::exp(p);
    else ok = false;
    // An interface may not pass the one below it (for the last one, the
    // half-space placeholder). The Jacobian's perturbations are exempt, so
    // that its difference quotients see the step they made.
    if (!InJacobian && depth[i] > depth[i + 1]) {
      depth[i] = depth[i + 1];
      p = std::log(depth[i] - depth[i - 1]);
    }
  }
  if (ok) ComputeResiduals();
  return ok;
}

void TFit::ComputeJacobian() {
  InJacobian = true;
  SavedResiduals = Residuals;
  const int m = Measurements->MeasurementCount;
  for (int k = 1; k <= UnknownCount; ++k) {
    const double p = Parameters[k];
    double perturbed = PerturbationFactor * p + PerturbationOffset;
    if (perturbed == p) perturbed = p + PerturbationOffset;
    Parameters[k] = perturbed;
    if (!ApplyParameters()) return;  // InJacobian stays set: the failure signal
    Parameters[k] = p;
    const double step = perturbed - p;
    for (int i = 1; i <= m; ++i) Jacobian[i][k] = (Residuals[i] - SavedResiduals[i]) / step;
  }
  // The layers and the curve table keep the last perturbation; the next
  // ApplyParameters replaces them.
  Residuals = SavedResiduals;
  InJacobian = false;
}

// g_k = w_k·Σ_i U[i][k]·r_i at the accepted point.
void TFit::ComputeGradient() {
  for (int k = 1; k <= UnknownCount; ++k) {
    double sum = 0;
    for (int i = 1; i <= Measurements->MeasurementCount; ++i) sum += Jacobian[i][k] * Residuals[i];
    Gradient[k] = SingularValues[k] * sum;
  }
}

// q_k = g_k / (w_k² + λ) and the trial p = p_accepted − V·q. False when a
// damped denominator is 0 (a zero singular value without damping).
bool TFit::ComputeTrialStep(double lambda) {
  const int n = UnknownCount;
  for (int k = 1; k <= n; ++k) {
    const double w = SingularValues[k];
    const double denominator = w * w + lambda;
    if (denominator == 0) return false;
    StepCoefficients[k] = Gradient[k] / denominator;
  }
  for (int j = 1; j <= n; ++j) {
    double step = 0;
    for (int k = 1; k <= n; ++k) step += RightVectors[j][k] * StepCoefficients[k];
    Parameters[j] = PreviousParameters[j] - step;
  }
  return true;
}

// The unscaled covariance V·diag(1/(w_k + ε)²)·Vᵀ, with a = V·diag(1/(w + ε))
// in the place of U. The ε keeps a zero singular value finite.
void TFit::ComputeCovariance() {
  const int n = UnknownCount;
  const double eps = Settings.SvdTolerance;
  auto& a = Jacobian;
  for (int j = 1; j <= n; ++j)
    for (int k = 1; k <= n; ++k) a[j][k] = RightVectors[j][k] / (SingularValues[k] + eps);
  auto& covariance = Outcome.Covariance;
  for (int j = 1; j <= n; ++j)
    for (int l = 1; l <= j; ++l) {
      double sum = 0;
      for (int k = 1; k <= n; ++k) sum += a[j][k] * a[l][k];
      covariance[j][l] = covariance[l][j] = sum;
    }
}

// The iteration itself, from the starting point to Finish or Stop.
TFit::TIterationEnd TFit::Iterate() {
  const double eps = Settings.SvdTolerance;
  const double floorFactor = Settings.InitialDamping >= 1e-7 ? 0.1 * Settings.InitialDamping : 1e-8;
  const int maxEvaluations = Settings.MaxEvaluations;
  // 12.9999… with the fit's settings: the 13th consecutive increase ends it.
  const double maxIncreases = -std::log(floorFactor * eps) / Ln10;
  const double absoluteSumOfSquares = Settings.AbsoluteTolerance * Settings.AbsoluteTolerance;
  const int m = Measurements->MeasurementCount;

  TIterationEnd end;
  int increases = 0;
  int iteration = 0;
  double lambda = 0;

  PreviousParameters = Parameters;
  if (!ApplyParameters()) return end.Stop(TFitStatus::OutOfRange);
  end.SumOfSquares = SumOfSquares();

  for (;;) {
    ++iteration;
    ComputeJacobian();
    if (InJacobian) {
      InJacobian = false;
      return end.Stop(TFitStatus::OutOfRange);
    }
    DecomposeJacobian(Jacobian, SingularValues, Superdiagonal, RightVectors, m, UnknownCount, eps);
    end.Decomposed = true;
    double sumW2 = 0;
    for (int k = 1; k <= UnknownCount; ++k) sumW2 += SingularValues[k] * SingularValues[k];
    if (iteration == 1) lambda = Settings.InitialDamping * sumW2;
    else if (increases == 0) lambda *= DampingDecrease;
    else increases = 0;
    ComputeGradient();

    double delta = 0;
    double newSumOfSquares = 0;
    for (;;) {
      if (!ComputeTrialStep(lambda)) return end.Stop(TFitStatus::NoSolution);
      // At the limit the step is not evaluated.
      if (++end.Evaluations >= maxEvaluations) return end.Finish(TFitStatus::NoSolution);
      if (!ApplyParameters()) return end.Stop(TFitStatus::OutOfRange);
      newSumOfSquares = SumOfSquares();
      delta = end.SumOfSquares - newSumOfSquares;
      const double predicted = DotProduct(Gradient, StepCoefficients);
      if (AcceptanceRatio * predicted <= delta) break;
      ++increases;
      lambda *= DampingIncrease;
      if (increases == 1 && lambda < floorFactor * sumW2) lambda = floorFactor * sumW2;
      if (!(increases < maxIncreases)) return end.Finish(TFitStatus::TooManyRejections);
    }

    PreviousParameters = Parameters;
    end.SumOfSquares = newSumOfSquares;
    if (end.SumOfSquares <= absoluteSumOfSquares) return end.Finish(TFitStatus::Converged);
    if (!(delta > Settings.RelativeTolerance * end.SumOfSquares + absoluteSumOfSquares))
      return end.Finish(TFitStatus::Converged);
  }
}

void TFit::Optimise() {
  const TIterationEnd end = Iterate();
  // A fit that stops early still has the covariance of its last
  // decomposition; one that stops before its first has none.
  if (end.Finished || end.Decomposed) ComputeCovariance();
  else Outcome.Covariance.Fill({});
  Outcome.Status = end.Status;
  Outcome.Finished = end.Finished;
  Outcome.ResidualNorm = end.Finished ? std::sqrt(end.SumOfSquares) : 0;
  Outcome.EvaluationCount = end.Evaluations;
}

const TFitResult& TFit::Run(const TSounding& sounding, const TLayerModel& start, const TUnknownFlags& unknowns,
                            const TCurveSettings& curve) {
  Begin(sounding, start, unknowns, curve);
  Optimise();
  Outcome.Model = Layers;
  Outcome.UnknownCount = UnknownCount;
  Outcome.Unknowns = Unknowns;
  Outcome.Parameters = Parameters;
  // A fit that stopped before its end leaves layers that the residual norm
  // does not describe: its misfit is theirs.
  const bool stopped = Outcome.Status == TFitStatus::NoSolution || Outcome.Status == TFitStatus::OutOfRange;
  Outcome.Rmse = stopped ? RmseOfLayers() : RmseOfNorm(Outcome.ResidualNorm, sounding.MeasurementCount);
  return Outcome;
}

double TFit::Refine(const TSounding& sounding, TLayerModel& model, const TUnknownFlags& unknowns,
                    const TCurveSettings& curve) {
  Begin(sounding, model, unknowns, curve);
  if (UnknownCount > 0) {
    Optimise();
    // The iteration may end on a trial it rejected; its best is the point
    // it accepted last.
    Parameters = PreviousParameters;
  }
  const bool admissible = ApplyParameters();
  model = Layers;
  return admissible ? RmseOfNorm(std::sqrt(SumOfSquares()), sounding.MeasurementCount) : NAN;
}

double TFit::ModelRmse(const TSounding& sounding, const TLayerModel& model, const TCurveSettings& curve) {
  Measurements = &sounding;
  Layers = model;
  CurveSettings = curve;
  return RmseOfLayers();
}

bool TFit::JacobianAt(const TSounding& sounding, const TLayerModel& model, const TUnknownFlags& unknowns,
                      const TCurveSettings& curve, const TUnknownVector& p, TJacobianMatrix& jacobian) {
  Begin(sounding, model, unknowns, curve);
  Parameters = p;
  if (!ApplyParameters()) return false;
  ComputeJacobian();
  if (std::exchange(InJacobian, false)) return false;
  jacobian = Jacobian;
  return true;
}
