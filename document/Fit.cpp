// The document's part of the fit: the engine's fit run on the document's
// arrays, with the program's checks, messages and notifications around it.
#include <string>

#include "document/Messages.h"
#include "document/ResondixData.h"
#include "engine/AutomaticModel.h"
#include "engine/Equivalence.h"
#include "engine/SmoothInversion.h"

namespace {

constexpr const char* OutOfRangeText = "The fit stopped: a parameter left its admissible range.";

// A fit that ended with layers the value rules refuse (a depth clamped onto
// its neighbour) says which value it is.
std::string RefusedLayerText(const TRefusedValue& refused) {
  return std::string(OutOfRangeText) + "\nThe " + (refused.Column == 0 ? "resistivity" : "depth") + " of layer " +
         std::to_string(refused.Row) + " is refused: " + refused.Text;
}

// The first measurement the value rules refuse, in words, or "".
std::string RefusedMeasurementText(const TResondixData& d) {
  const TRefusedValue value = d.FirstRefusedMeasurement();
  return value ? "Measurement " + std::to_string(value.Row) + ": " + value.Text : std::string();
}

}  // namespace

void TResondixData::ComputeModelCurve() { Curve.Compute(Layers(), CurveSettings()); }

std::string TResondixData::FitRefusal() const { return ::FitRefusal(Sounding(), Layers(), Unknowns()); }

double TResondixData::ModelRmse() const { return TFit().ModelRmse(Sounding(), Layers(), CurveSettings()); }

void TResondixData::TakeFitResult(const TFitResult& result) {
  Layers() = result.Model;
  LastFit = result;
  FitStatus = static_cast<int>(result.Status);
  Rmse = result.Rmse;
  for (int k = 1; k <= MaxUnknowns; ++k)
    ParameterNames[k] = k <= result.UnknownCount ? UnknownName(result.Unknowns[k]) : TParameterName();
}

TFitOutcome TResondixData::Fit() {
  // A refused fit leaves the unknowns, their names and the covariance of the
  // last fit together: the result views still show that fit.
  if (const std::string refusal = FitRefusal(); !refusal.empty()) {
    ShowMessage(TMessageKind::Error, refusal);
    FitSucceeded = false;
    return {false, 0, refusal};
  }
  LastFitAutomatic = false;
  return FinishFit(TFit().Run(Sounding(), Layers(), Unknowns(), CurveSettings()));
}

TFitOutcome TResondixData::FinishFit(const TFitResult& result) {
  TakeFitResult(result);
  // The fit must leave a model the program accepts; one it would refuse
  // did not end where the iteration says, and its misfit is that of the
  // layers it left.
  TRefusedValue refused;
  if (FitStatus == 0 || FitStatus == 4) refused = FirstRefusedLayer();
  if (refused) {
    FitStatus = 2;
    Rmse = ModelRmse();
  }

  Saved = false;
  StructureChanged = true;
  HasFitResult = true;
  FitDiagnostics = DiagnoseFit(Sounding(), Layers(), CurveSettings(), LastFit, nullptr);
  RaiseChange();
  if (FitStatus == 0) ComputeFitStatistics();
  // The statistics say which unknowns the measurements do not fix.
  if (FitStatus == 0 && MeasurementCount > LastFit.UnknownCount) MarkUnresolved(FitDiagnostics, LastFit, Uncertainties);
  if (FitStatus == 2) ShowMessage(TMessageKind::Warning, refused ? RefusedLayerText(refused) : OutOfRangeText);
  return {true, static_cast<int>(FitStatus), {}};
}

std::string TResondixData::AutomaticModelRefusal(int layers) const {
  TLayerModel model;
  model.LayerCount = layers;
  if (std::string refusal = ::FitRefusal(Sounding(), model, AllUnknowns(layers)); !refusal.empty()) return refusal;
  if (std::string refusal = RefusedMeasurementText(*this); !refusal.empty()) return refusal;
  return {};
}

TFitOutcome TResondixData::FitAutomaticModel(int layers, double errorPercent) {
  if (const std::string refusal = AutomaticModelRefusal(layers == 0 ? MinAutomaticLayers : layers);
      !refusal.empty()) {
    ShowMessage(TMessageKind::Error, refusal);
    FitSucceeded = false;
    return {false, 0, refusal};
  }
  TAutomaticModelSearch search;
  const TAutomaticModel& automatic = search.Run(Sounding(), CurveSettings(), layers, errorPercent);
  const int n = automatic.LayerCount;
  for (int i = 0; i <= MaxLayers; ++i) {
    RhoUnknown[i] = i >= 1 && i <= n;
    DepthUnknown[i] = i >= 1 && i < n;
  }
  LastFitAutomatic = true;
  return FinishFit(automatic.Fit);
}

std::string TResondixData::SmoothModel(double errorPercent, TSmoothModel& result) const {
  if (std::string refusal = SpacingRefusal(Sounding()); !refusal.empty()) return refusal;
  if (std::string refusal = RefusedMeasurementText(*this); !refusal.empty()) return refusal;
  TSmoothInversion inversion;
  result = inversion.Run(Sounding(), CurveSettings(), errorPercent);
  return {};
}

std::string TResondixData::AnalyseEquivalence(const TEquivalenceTolerance& tolerance, TEquivalence& result) const {
  if (std::string refusal = FitRefusal(); !refusal.empty()) return refusal;
  if (std::string refusal = RefusedMeasurementText(*this); !refusal.empty()) return refusal;
  if (const TRefusedValue value = FirstRefusedLayer()) return "Layer " + std::to_string(value.Row) + ": " + value.Text;
  ::AnalyseEquivalence(Sounding(), Layers(), Unknowns(), CurveSettings(), tolerance, result);
  return {};
}
