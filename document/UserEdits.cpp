// Changes the window makes to the document outside the value grids: the
// chart's text annotations, the description edited in the General
// information dialog, and the validity of the tables as the grids find it.
//
// An annotation or description change marks the document unsaved and is
// announced like every other change, through OnChange, so that the window
// learns of it in its one change handler; the annotations leave the
// sounding and its model alone, which AnnotationsChanged tells the handler.
#include "document/ResondixData.h"

namespace {

// What the data file holds of the description. Line 5 is not among the
// lines: the file writes it from the configuration.
struct TDescription {
  TFixedArray<TInfoText, 1, InfoLineCount> Info;
  bool IsSchlumberger = true;
  int MeasurementCount = 0;

  explicit TDescription(const TResondixData& d)
      : Info(d.Info), IsSchlumberger(d.IsSchlumberger), MeasurementCount(d.MeasurementCount) {
    Info[5] = "";
  }

  friend bool operator==(const TDescription& a, const TDescription& b) {
    return a.Info == b.Info && a.IsSchlumberger == b.IsSchlumberger && a.MeasurementCount == b.MeasurementCount;
  }
};

void RaiseAnnotationChange(TResondixData& d) {
  d.Saved = false;
  d.StructureChanged = false;
  d.AnnotationsChanged = true;
  d.RaiseChange();
  d.AnnotationsChanged = false;
}

}  // namespace

int TResondixData::AddAnnotation(const TAnnotation& annotation) {
  Annotations.push_back(annotation);
  const int index = static_cast<int>(Annotations.size()) - 1;
  RaiseAnnotationChange(*this);
  return index;
}

void TResondixData::SetAnnotation(int index, const TAnnotation& annotation) {
  if (index < 0 || index >= static_cast<int>(Annotations.size())) return;
  Annotations[index] = annotation;
  RaiseAnnotationChange(*this);
}

void TResondixData::DeleteAnnotation(int index) {
  if (index < 0 || index >= static_cast<int>(Annotations.size())) return;
  Annotations.erase(Annotations.begin() + index);
  RaiseAnnotationChange(*this);
}

bool TResondixData::EditDescription(const std::function<void(TResondixData& document)>& edit) {
  const TDescription before(*this);
  edit(*this);
  if (TDescription(*this) == before) return false;
  Saved = false;
  StructureChanged = false;
  RaiseChange();
  return true;
}

void TResondixData::SetValidity(bool measurements, bool model) {
  MeasurementsValid = measurements;
  ModelValid = model;
}
