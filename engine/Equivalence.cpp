// Equivalence analysis and Dar Zarrouk parameters (see Equivalence.h for
// the method).
#include "engine/Equivalence.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

// One step of the grid, in natural logarithms.
constexpr double GridStep = ProfileGridDecades * Ln10 / ProfileGridSteps;
constexpr double Infinity = std::numeric_limits<double>::infinity();

enum class TPointKind { Equivalent, NotEquivalent, Inadmissible };

// The walks of one analysis over one working model.
class TProfiler {
public:
  TProfiler(const TSounding& sounding, const TLayerModel& model, const TUnknownFlags& unknowns,
            const TCurveSettings& curve, TEquivalence& result)
      : Sounding(sounding), Work(model), Flags(unknowns), Curve(curve), Result(result) {}

  void Run();

private:
  void CollectUnknowns();
  void Include(const TLayerModel& model);
  void Record();
  // The nearest interfaces above and below interface i that the fit does not
  // move: the surface, a fixed depth, or the half-space's placeholder.
  int FixedAbove(int i) const;
  int FixedBelow(int i) const;
  // The admissible natural logarithms of the held value of parameter k.
  void Limits(int k, double& low, double& high) const;
  // Writes the held value into Work's layers; a depth carries the moving
  // interfaces between its fixed neighbours along, so that their order is
  // kept.
  void Hold(const TParameterRange& parameter, double value);
  TPointKind Evaluate(int k, int direction, int step);
  void Walk(int k, int direction);

  const TSounding& Sounding;
  TLayerModel Work;
  TUnknownFlags Flags;
  const TCurveSettings Curve;
  TFit Fit;
  TEquivalence& Result;
  TLayerModel Start;  // where the next refit begins: the walk's last equivalent model
};

void TProfiler::Run() {
  Result.Model = Work;
  Result.DarZarrouk = DarZarroukOf(Result.Model);
  Result.Rmse = Fit.ModelRmse(Sounding, Work, Curve);
  Result.Threshold = (1 + Result.Tolerance.Relative) * Result.Rmse + Result.Tolerance.Absolute;
  Result.ModelCount = 0;
  Result.RefitCount = 0;
  for (int i = 1; i < Result.Model.LayerCount; ++i) {
    const TDarZarroukLayer& layer = Result.DarZarrouk.Layers[i];
    Result.ThicknessRange[i] = {layer.Thickness, layer.Thickness};
    Result.SRange[i] = {layer.S, layer.S};
    Result.TRange[i] = {layer.T, layer.T};
  }
  CollectUnknowns();

  for (int k = 1; k <= Result.ParameterCount; ++k) {
    const TParameterRange& parameter = Result.Parameters[k];
    bool& flag = (parameter.IsDepth ? Flags.DepthUnknown : Flags.RhoUnknown)[parameter.Layer];
    flag = false;
    for (int direction : {-1, 1}) Walk(k, direction);
    flag = true;
  }
}

// The unknowns in the fit's order: resistivities, then depths.
void TProfiler::CollectUnknowns() {
  const TLayerModel& model = Result.Model;
  int& k = Result.ParameterCount;
  k = 0;
  const auto add = [&](bool isDepth, int layer, double value) {
    TParameterRange& parameter = Result.Parameters[++k];
    parameter = {};
    parameter.IsDepth = isDepth;
    parameter.Layer = layer;
    parameter.Value = value;
    parameter.Range = {value, value};
  };
  for (int i = 1; i <= model.LayerCount; ++i)
    if (Flags.RhoUnknown[i]) add(false, i, model.LayerRho[i]);
  for (int i = 1; i < model.LayerCount; ++i)
    if (Flags.DepthUnknown[i]) add(true, i, model.LayerDepth[i]);
}

void TProfiler::Include(const TLayerModel& model) {
  for (int k = 1; k <= Result.ParameterCount; ++k) {
    TParameterRange& parameter = Result.Parameters[k];
    parameter.Range.Include(parameter.IsDepth ? model.LayerDepth[parameter.Layer] : model.LayerRho[parameter.Layer]);
  }
  const TDarZarrouk figures = DarZarroukOf(model);
  for (int i = 1; i <= figures.LayerCount; ++i) {
    Result.ThicknessRange[i].Include(figures.Layers[i].Thickness);
    Result.SRange[i].Include(figures.Layers[i].S);
    Result.TRange[i].Include(figures.Layers[i].T);
  }
}

void TProfiler::Record() {
  Start = Work;
  Include(Start);
  if (Result.ModelCount < MaxEquivalentModels) Result.Models[++Result.ModelCount] = Start;
}

int TProfiler::FixedAbove(int i) const {
  int j = i - 1;
  while (j > 0 && Flags.DepthUnknown[j]) --j;
  return j;
}

int TProfiler::FixedBelow(int i) const {
  int j = i + 1;
  while (j < Work.LayerCount && Flags.DepthUnknown[j]) ++j;
  return j;
}

void TProfiler::Limits(int k, double& low, double& high) const {
  const TParameterRange& parameter = Result.Parameters[k];
  if (!parameter.IsDepth) {
    low = MinLogRho;
    high = MaxLogRho;
    return;
  }
  // Strictly between the fixed neighbours; the limits themselves are out.
  const double above = Work.LayerDepth[FixedAbove(parameter.Layer)];
  const double below = DepthLimit(Work, FixedBelow(parameter.Layer));
  low = std::fmax(MinLogThickness, above > 0 ? std::nextafter(std::log(above), Infinity) : -Infinity);
  high = std::fmin(MaxLogThickness, std::nextafter(std::log(below), -Infinity));
}

void TProfiler::Hold(const TParameterRange& parameter, double value) {
  const int i = parameter.Layer;
  if (!parameter.IsDepth) {
    Work.LayerRho[i] = value;
    return;
  }
  auto& depth = Work.LayerDepth;
  const int top = FixedAbove(i), bottom = FixedBelow(i);
  const double old = depth[i];
  // Each moving interface keeps its relative place between the held one
  // and the fixed one beyond it.
  for (int j = top + 1; j < i; ++j)
    depth[j] = depth[top] + (depth[j] - depth[top]) * (value - depth[top]) / (old - depth[top]);
  const double limit = DepthLimit(Work, bottom);
  for (int j = i + 1; j < bottom; ++j)
    depth[j] = limit == Infinity ? depth[j] + value - old
                                 : limit - (limit - depth[j]) * (limit - value) / (limit - old);
  depth[i] = value;
}

TPointKind TProfiler::Evaluate(int k, int direction, int step) {
  const TParameterRange& parameter = Result.Parameters[k];
  double low = 0, high = 0;
  Limits(k, low, high);
  const double x = std::log(parameter.Value) + direction * step * GridStep;
  if (!(x >= low && x <= high)) return TPointKind::Inadmissible;

  Work = Start;
  Hold(parameter, std::exp(x));
  ++Result.RefitCount;
  const double rmse = Fit.Refine(Sounding, Work, Flags, Curve);
  if (!(rmse <= Result.Threshold) || !IsOrdered(Work)) return TPointKind::NotEquivalent;
  Record();
  return TPointKind::Equivalent;
}

// Doubles the step while the models stay equivalent, then halves the
// interval between the last equivalent grid point and the first one that is
// not, to the resolution of the grid or a sixteenth of the distance walked.
void TProfiler::Walk(int k, int direction) {
  Start = Result.Model;
  int good = 0;
  int bad = 0;
  TPointKind badKind = TPointKind::Inadmissible;
  for (int step = 1; step <= ProfileGridSteps; step *= 2) {
    const TPointKind kind = Evaluate(k, direction, step);
    if (kind != TPointKind::Equivalent) {
      bad = step;
      badKind = kind;
      break;
    }
    good = step;
  }
  while (bad - good > std::max(1, good / ProfileResolution)) {
    const int middle = (good + bad) / 2;
    const TPointKind kind = Evaluate(k, direction, middle);
    if (kind == TPointKind::Equivalent) {
      good = middle;
    } else {
      bad = middle;
      badKind = kind;
    }
  }
  // Without a point beyond it that is not equivalent, the range goes on.
  const bool open = bad == 0 || badKind == TPointKind::Inadmissible;
  TParameterRange& parameter = Result.Parameters[k];
  (direction < 0 ? parameter.LowerOpen : parameter.UpperOpen) = open;
}

}  // namespace

TDarZarrouk DarZarroukOf(const TLayerModel& model) {
  TDarZarrouk figures;
  figures.LayerCount = model.LayerCount - 1;
  double top = 0;
  for (int i = 1; i <= figures.LayerCount; ++i) {
    TDarZarroukLayer& layer = figures.Layers[i];
    layer.Thickness = model.LayerDepth[i] - top;
    layer.S = layer.Thickness / model.LayerRho[i];
    layer.T = layer.Thickness * model.LayerRho[i];
    top = model.LayerDepth[i];
    figures.Thickness += layer.Thickness;
    figures.S += layer.S;
    figures.T += layer.T;
  }
  figures.LongitudinalRho = figures.LayerCount > 0 ? figures.Thickness / figures.S : NAN;
  figures.TransverseRho = figures.LayerCount > 0 ? figures.T / figures.Thickness : NAN;
  figures.Anisotropy = std::sqrt(figures.TransverseRho / figures.LongitudinalRho);
  return figures;
}

void AnalyseEquivalence(const TSounding& sounding, const TLayerModel& model, const TUnknownFlags& unknowns,
                        const TCurveSettings& curve, const TEquivalenceTolerance& tolerance, TEquivalence& result) {
  result.Tolerance = tolerance;
  TProfiler(sounding, model, unknowns, curve, result).Run();
}
