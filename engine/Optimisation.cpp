// Parameter optimisation: the fit of the layer values marked as unknowns to
// the measured apparent resistivities.
//
// Damped least squares on logarithms (Levenberg–Marquardt): the unknowns are
// ln ρ of layers and ln of layer thicknesses, the residuals ln of model over
// measured apparent resistivity. Every outer iteration builds the Jacobian
// by forward differences, decomposes it (J = U·diag(w)·Vᵀ) and tries damped
// steps p − V·q with q_k = g_k / (w_k² + λ), g = diag(w)·Uᵀ·r, raising λ
// tenfold after a rejected step and halving it after an iteration without
// rejections. Everything happens in the document's fixed arrays; nothing is
// allocated during a fit.
#include <cmath>
#include <cstdio>
#include <string>

#include "Messages.h"
#include "ResondixData.h"

bool FitSucceeded = false;

namespace {

// The messages of the fit, in the program's words (doubled blanks included).
constexpr const char* TooManyUnknownsText = "Too  Many  Unknown  Parameters  !";
constexpr const char* NoUnknownsText = "No  Unknown  Parameters  Specified  !";
constexpr const char* OutOfRangeText = "The fit stopped: a parameter left its admissible range.";

// A fit that ended with layers the value rules refuse (a depth clamped onto
// its neighbour) says which value it is.
std::string RefusedLayerText(int layer, int column) {
  return std::string(OutOfRangeText) + "\nThe " + (column == 0 ? "resistivity" : "depth") + " of layer " +
         std::to_string(layer) + " is refused: " + LastErrorMessage;
}

std::string SpacingRefusalText(int measurement) {
  return "Spacing of measurement " + std::to_string(measurement) + " must be greater than 0!";
}

// Admissible ranges of the unknowns (natural logarithms): resistivities from
// about 1.2e-4 to 4.9e8 ohm·m, thicknesses from about 0.0067 to 162755 m.
constexpr double MinLogRho = -9;
constexpr double MaxLogRho = 20;
constexpr double MinLogThickness = -5;
constexpr double MaxLogThickness = 12;

// The fit's settings, set before every run.
constexpr double FitInitialDamping = 0.01;
constexpr double FitMaxEvaluations = 250;
constexpr double FitRelativeTolerance = 0.0005;
constexpr double FitAbsoluteTolerance = 0.005;
constexpr double FitSvdTolerance = 1e-10;

// Step control of the iteration.
constexpr double DampingDecrease = 0.5;
constexpr double DampingIncrease = 10;
constexpr double AcceptanceRatio = 0.01;

// Forward-difference step of the Jacobian: p' = 1.01·p + 1e-6. At p = -1e-4
// that step is 0; the absolute part alone is used then.
constexpr double PerturbationFactor = 1.01;
constexpr double PerturbationOffset = 1e-6;

// The model's residuals r_i = ln(model) − ln(measured) for the layers as they
// stand; the curve table is rebuilt for them.
void ComputeResiduals(TResondixData& d) {
  d.ComputeModelCurve();
  for (int i = 1; i <= d.MeasurementCount; ++i)
    d.Residuals[i] = Ln10 * d.CurveLogRhoAt(DecimalLog(d.HalfSpacing[i])) - std::log(d.ApparentRho[i]);
}

// The RMSE in log10 units of residuals (natural logarithms) whose norm is
// norm over count measurements.
double RmseOfNorm(double norm, int count) { return std::sqrt((norm * norm / (Ln10 * Ln10)) / count); }

void AddUnknown(TResondixData& d, double p, const char* kind, int layer) {
  const int k = ++d.UnknownCount;
  if (k > MaxUnknowns) return;  // refused by the caller; the arrays hold 20
  d.Parameters[k] = p;
  char name[TParameterName::capacity() + 8];
  std::snprintf(name, sizeof name, "%s %d", kind, layer);
  d.ParameterNames[k] = name;
}

// Resistivity unknowns by increasing layer, then the thicknesses above the
// depth unknowns by increasing layer; the half-space has no depth.
void CollectUnknowns(TResondixData& d) {
  d.UnknownCount = 0;
  const int n = d.LayerCount;
  for (int i = 1; i <= n; ++i)
    if (d.RhoUnknown[i]) AddUnknown(d, std::log(d.LayerRho[i]), "Rho", i);
  for (int i = 1; i <= n - 1; ++i)
    if (d.DepthUnknown[i]) AddUnknown(d, std::log(d.LayerDepth[i] - d.LayerDepth[i - 1]), "Depth", i);
}

// How many unknowns the flags mark, counted without touching the fit's
// arrays.
int MarkedUnknownCount(const TResondixData& d) {
  int n = 0;
  for (int i = 1; i <= d.LayerCount; ++i) n += d.RhoUnknown[i] + (i < d.LayerCount && d.DepthUnknown[i]);
  return n;
}

// The first measurement whose L/2 has no logarithm, or 0.
int FirstNonPositiveSpacing(const TResondixData& d) {
  for (int i = 1; i <= d.MeasurementCount; ++i)
    if (!(d.HalfSpacing[i] > 0)) return i;
  return 0;
}

TFitOutcome Refuse(const std::string& text) {
  ShowMessage(TMessageKind::Error, text);
  FitSucceeded = false;
  return {false, 0, text};
}

// Where the iteration ended: Finish (status 0, 1 at the evaluation limit, 4)
// computes the covariance and the residual norm, Stop (status 1 for a zero
// damped denominator, 2) leaves them.
struct TIterationEnd {
  int Status = 0;
  bool Finished = false;
  bool Decomposed = false;  // V and w hold a decomposition made in this fit
  int Evaluations = 1;
  double SumOfSquares = 0;  // at the last accepted point

  TIterationEnd& Finish(int status) {
    Status = status;
    Finished = true;
    return *this;
  }
  TIterationEnd& Stop(int status) {
    Status = status;
    return *this;
  }
};

double SumOfSquaredSingularValues(const TResondixData& d) {
  double sum = 0;
  for (int k = 1; k <= d.UnknownCount; ++k) sum += d.SingularValues[k] * d.SingularValues[k];
  return sum;
}

// g_k = w_k·Σ_i U[i][k]·r_i at the accepted point.
void ComputeGradient(TResondixData& d) {
  for (int k = 1; k <= d.UnknownCount; ++k) {
    double sum = 0;
    for (int i = 1; i <= d.MeasurementCount; ++i) sum += d.Jacobian[i][k] * d.Residuals[i];
    d.Gradient[k] = d.SingularValues[k] * sum;
  }
}

// q_k = g_k / (w_k² + λ) and the trial p = p_accepted − V·q. False when a
// damped denominator is 0 (a zero singular value without damping).
bool ComputeTrialStep(TResondixData& d, double lambda) {
  const int n = d.UnknownCount;
  for (int k = 1; k <= n; ++k) {
    const double w = d.SingularValues[k];
    const double denominator = w * w + lambda;
    if (denominator == 0) return false;
    d.StepCoefficients[k] = d.Gradient[k] / denominator;
  }
  for (int j = 1; j <= n; ++j) {
    double step = 0;
    for (int k = 1; k <= n; ++k) step += d.RightVectors[j][k] * d.StepCoefficients[k];
    d.Parameters[j] = d.PreviousParameters[j] - step;
  }
  return true;
}

// The unscaled covariance V·diag(1/(w_k + ε)²)·Vᵀ over RightVectors, with
// a = V·diag(1/(w + ε)) in the place of U. The ε keeps a zero singular value
// finite.
void ComputeCovariance(TResondixData& d) {
  const int n = d.UnknownCount;
  const double eps = d.SvdTolerance;
  auto& a = d.Jacobian;
  for (int j = 1; j <= n; ++j)
    for (int k = 1; k <= n; ++k) a[j][k] = d.RightVectors[j][k] / (d.SingularValues[k] + eps);
  auto& covariance = d.Covariance();
  for (int j = 1; j <= n; ++j)
    for (int l = 1; l <= j; ++l) {
      double sum = 0;
      for (int k = 1; k <= n; ++k) sum += a[j][k] * a[l][k];
      covariance[j][l] = covariance[l][j] = sum;
    }
}

// The iteration itself, from the starting point to Finish or Stop.
TIterationEnd Iterate(TResondixData& d) {
  const double eps = d.SvdTolerance;
  const double floorFactor = d.InitialDamping >= 1e-7 ? 0.1 * d.InitialDamping : 1e-8;
  const int maxEvaluations = static_cast<int>(std::nearbyint(d.MaxEvaluations));
  // 12.9999… with the fit's settings: the 13th consecutive increase ends it.
  const double maxIncreases = -std::log(floorFactor * eps) / Ln10;
  const double absoluteSumOfSquares = d.AbsoluteTolerance * d.AbsoluteTolerance;

  TIterationEnd end;
  int increases = 0;
  int iteration = 0;
  double lambda = 0;

  d.PreviousParameters = d.Parameters;
  if (!d.ApplyParameters()) return end.Stop(2);
  end.SumOfSquares = d.SumOfSquares();

  for (;;) {
    ++iteration;
    d.ComputeJacobian();
    if (d.InJacobian) {
      d.InJacobian = false;
      return end.Stop(2);
    }
    d.DecomposeJacobian();
    end.Decomposed = true;
    const double sumW2 = SumOfSquaredSingularValues(d);
    if (iteration == 1) lambda = d.InitialDamping * sumW2;
    else if (increases == 0) lambda *= DampingDecrease;
    else increases = 0;
    ComputeGradient(d);

    double delta = 0;
    double newSumOfSquares = 0;
    for (;;) {
      if (!ComputeTrialStep(d, lambda)) return end.Stop(1);
      if (++end.Evaluations >= maxEvaluations) return end.Finish(1);  // the step is not evaluated
      if (!d.ApplyParameters()) return end.Stop(2);
      newSumOfSquares = d.SumOfSquares();
      delta = end.SumOfSquares - newSumOfSquares;
      const double predicted = d.DotProduct(d.Gradient, d.StepCoefficients);
      if (AcceptanceRatio * predicted <= delta) break;
      ++increases;
      lambda *= DampingIncrease;
      if (increases == 1 && lambda < floorFactor * sumW2) lambda = floorFactor * sumW2;
      if (!(increases < maxIncreases)) return end.Finish(4);
    }

    d.PreviousParameters = d.Parameters;
    end.SumOfSquares = newSumOfSquares;
    if (end.SumOfSquares <= absoluteSumOfSquares) return end.Finish(0);
    if (!(delta > d.RelativeTolerance * end.SumOfSquares + absoluteSumOfSquares)) return end.Finish(0);
  }
}

}  // namespace

double TResondixData::SumOfSquares() const {
  double sum = 0;
  for (int i = 1; i <= MeasurementCount; ++i) sum += Residuals[i] * Residuals[i];
  return sum;
}

double TResondixData::DotProduct(const TFixedArray<double, 1, MaxUnknowns>& a,
                                 const TFixedArray<double, 1, MaxUnknowns>& b) const {
  double sum = 0;
  for (int k = 1; k <= UnknownCount; ++k) sum += a[k] * b[k];
  return sum;
}

bool TResondixData::ApplyParameters() {
  bool ok = true;
  int k = 0;
  const int n = LayerCount;
  for (int i = 1; i <= n; ++i) {
    if (!RhoUnknown[i]) continue;
    const double p = Parameters[++k];
    if (p >= MinLogRho && p <= MaxLogRho) LayerRho[i] = std::exp(p);
    else ok = false;
  }
  for (int i = 1; i <= n - 1; ++i) {
    if (!DepthUnknown[i]) continue;
    double& p = Parameters[++k];
    if (p >= MinLogThickness && p <= MaxLogThickness) LayerDepth[i] = LayerDepth[i - 1] + std::exp(p);
    else ok = false;
    // An interface may not pass the one below it (for the last one, the
    // half-space placeholder). The Jacobian's perturbations are exempt, so
    // that its difference quotients see the step they made.
    if (!InJacobian && LayerDepth[i] > LayerDepth[i + 1]) {
      LayerDepth[i] = LayerDepth[i + 1];
      p = std::log(LayerDepth[i] - LayerDepth[i - 1]);
    }
  }
  if (ok) ComputeResiduals(*this);
  return ok;
}

void TResondixData::ComputeJacobian() {
  InJacobian = true;
  SavedResiduals = Residuals;
  for (int k = 1; k <= UnknownCount; ++k) {
    const double p = Parameters[k];
    double perturbed = PerturbationFactor * p + PerturbationOffset;
    if (perturbed == p) perturbed = p + PerturbationOffset;
    Parameters[k] = perturbed;
    if (!ApplyParameters()) return;  // InJacobian stays set: the failure signal
    Parameters[k] = p;
    const double step = perturbed - p;
    for (int i = 1; i <= MeasurementCount; ++i) Jacobian[i][k] = (Residuals[i] - SavedResiduals[i]) / step;
  }
  // The layers and the curve table keep the last perturbation; the next
  // ApplyParameters replaces them.
  Residuals = SavedResiduals;
  InJacobian = false;
}

void TResondixData::Optimise() {
  InJacobian = false;
  SvdTolerance = FitSvdTolerance;
  const TIterationEnd end = Iterate(*this);
  // A fit that stops early still leaves a covariance matrix rather than V,
  // which shares its storage, when it decomposed a Jacobian: that of the
  // last decomposition.
  if (end.Finished || end.Decomposed) ComputeCovariance(*this);
  // One that stops before its first decomposition has no covariance of these
  // unknowns; what the storage held belongs to another fit.
  else Covariance().Fill({});
  if (end.Finished) ResidualNorm = std::sqrt(end.SumOfSquares);
  EvaluationCount = end.Evaluations;
  FitStatus = end.Status;
}

TFitOutcome TResondixData::Fit() {
  // A refused fit leaves the unknowns, their names and the covariance of the
  // last fit together: the result views still show that fit.
  const int unknowns = MarkedUnknownCount(*this);
  if (unknowns > MeasurementCount || unknowns > MaxUnknowns) return Refuse(TooManyUnknownsText);
  if (unknowns == 0) return Refuse(NoUnknownsText);
  // Checked last, like the unknowns above it before anything is changed: a
  // spacing without a logarithm would make every residual undefined.
  if (const int i = FirstNonPositiveSpacing(*this)) return Refuse(SpacingRefusalText(i));
  CollectUnknowns(*this);

  InitialDamping = FitInitialDamping;
  MaxEvaluations = FitMaxEvaluations;
  RelativeTolerance = FitRelativeTolerance;
  AbsoluteTolerance = FitAbsoluteTolerance;
  Optimise();
  // The fit must leave a model the program accepts; one it would refuse
  // did not end where the iteration says.
  int column = 0;
  const int refusedLayer = FitStatus == 0 || FitStatus == 4 ? FirstRefusedLayer(column) : 0;
  if (refusedLayer != 0) FitStatus = 2;

  Saved = false;
  StructureChanged = true;
  HasFitResult = true;
  // A fit that stopped before its end (no solution, or out of range) leaves
  // layers that the residual norm does not describe; the RMSE is then the
  // misfit of those layers, never that of an earlier fit.
  double norm = ResidualNorm;
  if (FitStatus == 1 || FitStatus == 2) {
    ComputeResiduals(*this);
    norm = std::sqrt(SumOfSquares());
  }
  Rmse = RmseOfNorm(norm, MeasurementCount);
  RaiseChange();
  if (FitStatus == 0) ComputeFitStatistics();
  if (FitStatus == 2)
    ShowMessage(TMessageKind::Warning, refusedLayer ? RefusedLayerText(refusedLayer, column) : OutOfRangeText);
  return {true, static_cast<int>(FitStatus), {}};
}

double TResondixData::ModelRmse() {
  ComputeResiduals(*this);
  return RmseOfNorm(std::sqrt(SumOfSquares()), MeasurementCount);
}
