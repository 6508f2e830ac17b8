// The smooth model (see SmoothInversion.h for the method).
#include "engine/SmoothInversion.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/Optimisation.h"

namespace {

// The first interface lies at this part of the shortest spacing, the last
// at this multiple of the longest.
constexpr double TopFraction = 1.0 / 3;
constexpr double BottomFactor = 2;

// The λ grid, log10 of λ in whole decades, and the refinements: bisection
// to 1/64 decade, golden section to about a tenth of one.
constexpr int LogLambdaLow = -2;
constexpr int LogLambdaHigh = 6;
constexpr int GridSize = LogLambdaHigh - LogLambdaLow + 1;
constexpr int BisectionSteps = 6;
constexpr int GoldenSteps = 7;
const double GoldenPart = (3 - std::sqrt(5.0)) / 2;

// The samples move by this much in m for the table's central differences.
constexpr double DerivativeStep = 1e-3;

constexpr int MaxIterations = 20;
// Converged: the model moves less than this in ln ρ (1 %) with the error
// level reached; out of its reach, the sum of squares falls by less than
// this part.
constexpr double ModelChange = 0.01;
constexpr double MisfitGain = 0.05;
// Out of the error level's reach, the smoothest model within this part of
// the least sum of squares found (5 % of the misfit), rather than a rough
// one of a little less.
constexpr double ReachTolerance = 0.1;
// The runs with a reference model need less: their index is compared with
// DoiThreshold on a scale of ln 100, which a change of 0.05 moves by 0.011.
constexpr double ReferenceModelChange = 0.05;

constexpr double Infinity = std::numeric_limits<double>::infinity();

}  // namespace

const TSmoothModel& TSmoothInversion::Run(const TSounding& sounding, const TCurveSettings& curve,
                                          double errorPercent) {
  Begin(sounding, curve, errorPercent);
  // From a uniform earth at the geometric mean of the apparent resistivities.
  double mean = 0;
  for (int j = 1; j <= MeasurementCount; ++j) mean += Data[j];
  mean /= MeasurementCount;
  for (int i = 1; i <= CellCount; ++i) Model[i] = std::clamp(mean, MinLogRho, MaxLogRho);
  double sumOfSquares = 0;
  Invert(Model, Outcome.Lambda, sumOfSquares);
  Outcome.Rmse = Sigma * std::sqrt(sumOfSquares / MeasurementCount) / Ln10;
  FindDepthOfInvestigation(mean);
  for (int i = 1; i <= CellCount; ++i) Cells.LayerRho[i] = std::exp(Model[i]);
  Outcome.Profile = Cells;
  return Outcome;
}

void TSmoothInversion::Begin(const TSounding& sounding, const TCurveSettings& curve, double errorPercent) {
  Measurements = &sounding;
  CurveSettings = curve;
  MeasurementCount = sounding.MeasurementCount;
  CellCount = ProfileCellCount;
  Sigma = std::log(1 + errorPercent / 100);
  TargetSumOfSquares = MeasurementCount;  // a normalised RMS misfit of 1
  for (int j = 1; j <= MeasurementCount; ++j) Data[j] = std::log(sounding.ApparentRho[j]);
  Outcome = {};
  Outcome.ErrorPercent = errorPercent;
  Outcome.TargetRmse = Sigma / Ln10;
  PlaceCells();
}

void TSmoothInversion::PlaceCells() {
  const TSounding& s = *Measurements;
  double shortest = s.HalfSpacing[1], longest = s.HalfSpacing[1];
  for (int j = 2; j <= MeasurementCount; ++j) {
    shortest = std::min(shortest, s.HalfSpacing[j]);
    longest = std::max(longest, s.HalfSpacing[j]);
  }
  const double top = TopFraction * shortest, bottom = BottomFactor * longest;
  Cells = {};
  Cells.LayerCount = CellCount;
  for (int i = 1; i < CellCount; ++i) Cells.LayerDepth[i] = top * std::pow(bottom / top, double(i - 1) / (CellCount - 2));
  Cells.LayerDepth[CellCount] = HalfSpaceDepth;
}

bool TSmoothInversion::Residuals(const TCellVector& m, TDataVector& r) {
  for (int i = 1; i <= CellCount; ++i)
    if (!(m[i] >= MinLogRho && m[i] <= MaxLogRho)) return false;
  for (int i = 1; i <= CellCount; ++i) Cells.LayerRho[i] = std::exp(m[i]);
  Curve.Compute(TResistivityTransform(Cells), CurveSettings);
  ++Outcome.EvaluationCount;
  const TSounding& s = *Measurements;
  for (int j = 1; j <= MeasurementCount; ++j) r[j] = (Curve.LnApparentRho(s.HalfSpacing[j]) - Data[j]) / Sigma;
  return true;
}

double TSmoothInversion::SumOfSquares(const TDataVector& r) const {
  double sum = 0;
  for (int j = 1; j <= MeasurementCount; ++j) sum += r[j] * r[j];
  return sum;
}

void TSmoothInversion::ComputeJacobian(const TCellVector& m) {
  Residuals(m, Residual);
  const TResistivityTransform transform(Cells);
  const int samples = Curve.SampleCount();
  TLayerSlopes slopes;
  for (int k = 0; k < samples; ++k) {
    transform.WithSlopes(Curve.SampleAbscissa(k), slopes);
    for (int i = 1; i <= CellCount; ++i) SampleSlopes[k][i] = slopes[i];
  }
  Moved.Prepare(CurveSettings);
  const TSounding& s = *Measurements;
  for (int i = 1; i <= CellCount; ++i) {
    for (int side : {1, -1}) {
      for (int k = 0; k < samples; ++k) Moved.Sample(k) = Curve.Sample(k) + side * DerivativeStep * SampleSlopes[k][i];
      Moved.ComputeFromSamples();
      for (int j = 1; j <= MeasurementCount; ++j)
        Jacobian[j][i] = (side > 0 ? 0 : Jacobian[j][i]) + side * Moved.LnApparentRho(s.HalfSpacing[j]);
    }
    for (int j = 1; j <= MeasurementCount; ++j) Jacobian[j][i] /= 2 * DerivativeStep * Sigma;
  }
}

void TSmoothInversion::Linearise(const TCellVector& m) {
  for (int i = 1; i <= CellCount; ++i) {
    for (int k = 1; k <= i; ++k) {
      double sum = 0;
      for (int j = 1; j <= MeasurementCount; ++j) sum += Jacobian[j][i] * Jacobian[j][k];
      Normal[i][k] = Normal[k][i] = sum;
    }
  }
  for (int i = 1; i <= CellCount; ++i) {
    double sum = 0;
    for (int j = 1; j <= MeasurementCount; ++j) {
      double predicted = 0;  // G·m − r0: the data the linearisation aims the model at
      for (int k = 1; k <= CellCount; ++k) predicted += Jacobian[j][k] * m[k];
      sum += Jacobian[j][i] * (predicted - Residual[j]);
    }
    RightSide[i] = sum;
  }
}

bool TSmoothInversion::Solve(double lambda, TCellVector& m) {
  const int n = CellCount;
  // GᵀG + λ·DᵀD + λ·Pull·I: the first differences make a tridiagonal DᵀD
  // with 1 at both ends of its diagonal and 2 between.
  for (int i = 1; i <= n; ++i)
    for (int k = 1; k <= i; ++k) Factor[i][k] = Normal[i][k];
  for (int i = 1; i <= n; ++i) Factor[i][i] += lambda * ((i == 1 || i == n ? 1 : 2) + Pull);
  for (int i = 2; i <= n; ++i) Factor[i][i - 1] -= lambda;
  // Cholesky, L in the lower triangle.
  for (int j = 1; j <= n; ++j) {
    double pivot = Factor[j][j];
    for (int k = 1; k < j; ++k) pivot -= Factor[j][k] * Factor[j][k];
    if (!(pivot > 0)) return false;
    Factor[j][j] = std::sqrt(pivot);
    for (int i = j + 1; i <= n; ++i) {
      double sum = Factor[i][j];
      for (int k = 1; k < j; ++k) sum -= Factor[i][k] * Factor[j][k];
      Factor[i][j] = sum / Factor[j][j];
    }
  }
  for (int i = 1; i <= n; ++i) {
    double sum = RightSide[i] + lambda * Pull * Reference;
    for (int k = 1; k < i; ++k) sum -= Factor[i][k] * m[k];
    m[i] = sum / Factor[i][i];
  }
  for (int i = n; i >= 1; --i) {
    double sum = m[i];
    for (int k = i + 1; k <= n; ++k) sum -= Factor[k][i] * m[k];
    m[i] = sum / Factor[i][i];
  }
  return true;
}

double TSmoothInversion::TrialMisfit(double logLambda, TCellVector& m) {
  if (!Solve(std::pow(10.0, logLambda), m) || !Residuals(m, TrialResidual)) return Infinity;
  return SumOfSquares(TrialResidual);
}

bool TSmoothInversion::OccamStep(double& logLambda, TCellVector& next, double& misfit) {
  TFixedArray<double, 0, GridSize - 1> grid;
  int best = 0;
  for (int g = 0; g < GridSize; ++g) {
    grid[g] = TrialMisfit(LogLambdaLow + g, Trial);
    if (grid[g] < grid[best]) best = g;
  }
  if (!(grid[best] < Infinity)) return false;

  if (grid[best] > TargetSumOfSquares) {
    // Out of reach: the λ of the smallest misfit, by golden section around
    // the best decade.
    double a = std::max<double>(LogLambdaLow, LogLambdaLow + best - 1);
    double b = std::min<double>(LogLambdaHigh, LogLambdaLow + best + 1);
    logLambda = LogLambdaLow + best;
    misfit = TrialMisfit(logLambda, next);
    for (int step = 0; step < GoldenSteps; ++step) {
      const bool lowerHalf = logLambda - a > b - logLambda;
      const double x = lowerHalf ? logLambda - GoldenPart * (logLambda - a) : logLambda + GoldenPart * (b - logLambda);
      const double value = TrialMisfit(x, Trial);
      if (value < misfit) {
        (lowerHalf ? b : a) = logLambda;
        logLambda = x, misfit = value, next = Trial;
      } else {
        (lowerHalf ? a : b) = x;
      }
    }
    return true;
  }

  // Within reach: the largest λ that still reaches it, between the last
  // grid point above the best that does and the next, which does not.
  int reach = best;
  while (reach + 1 < GridSize && grid[reach + 1] <= TargetSumOfSquares) ++reach;
  double lo = LogLambdaLow + reach;
  misfit = TrialMisfit(lo, next);
  if (reach + 1 < GridSize) {
    double hi = lo + 1;
    for (int step = 0; step < BisectionSteps; ++step) {
      const double mid = (lo + hi) / 2;
      const double value = TrialMisfit(mid, Trial);
      if (value <= TargetSumOfSquares) {
        lo = mid, misfit = value, next = Trial;
      } else {
        hi = mid;
      }
    }
  }
  logLambda = lo;
  return true;
}

void TSmoothInversion::Invert(TCellVector& m, double& lambda, double& sumOfSquares) {
  Residuals(m, Residual);
  sumOfSquares = SumOfSquares(Residual);
  lambda = std::pow(10.0, LogLambdaHigh);
  bool raised = false;  // the target, to the least misfit the data allow
  for (int iteration = 1; iteration <= MaxIterations; ++iteration) {
    ComputeJacobian(m);
    Linearise(m);
    double logLambda = LogLambdaHigh, misfit = Infinity;
    if (!OccamStep(logLambda, Best, misfit)) break;
    const bool reached = misfit <= TargetSumOfSquares;
    if (!reached && !(misfit < sumOfSquares * (1 - MisfitGain))) {
      // The best the data allow: a last gain too small to go on for. From
      // there on the smoothest model near it is sought, which the runs with
      // a reference model seek too.
      if (misfit < sumOfSquares) m = Best, sumOfSquares = misfit, lambda = std::pow(10.0, logLambda);
      if (Pull != 0 || raised) break;
      TargetSumOfSquares = sumOfSquares * (1 + ReachTolerance);
      raised = true;
      continue;
    }
    double change = 0;
    for (int i = 1; i <= CellCount; ++i) change = std::max(change, std::fabs(Best[i] - m[i]));
    m = Best;
    sumOfSquares = misfit;
    lambda = std::pow(10.0, logLambda);
    if (Pull == 0) Outcome.IterationCount = iteration;
    if (reached && change < (Pull == 0 ? ModelChange : ReferenceModelChange)) break;
  }
}

void TSmoothInversion::FindDepthOfInvestigation(double meanLogRho) {
  // The same inversion, from the smooth model, with each reference pulling.
  const double low = std::max(MinLogRho, meanLogRho - Ln10), high = std::min(MaxLogRho, meanLogRho + Ln10);
  double lambda = 0, sumOfSquares = 0;
  Pull = ReferenceWeight;
  Reference = low;
  Low = Model;
  Invert(Low, lambda, sumOfSquares);
  Reference = high;
  High = Model;
  Invert(High, lambda, sumOfSquares);
  Pull = 0;

  int resolved = CellCount;  // the deepest cell the index calls resolved
  for (int i = 1; i <= CellCount; ++i) Outcome.DoiIndex[i] = (High[i] - Low[i]) / (high - low);
  while (resolved >= 1 && Outcome.DoiIndex[resolved] >= DoiThreshold) --resolved;
  // Every cell resolved, the half-space too: at least the deepest interface.
  Outcome.DepthOfInvestigation = Cells.LayerDepth[std::min(resolved, CellCount - 1)];
}
