// The document's part of the window's undo history: the snapshot a step
// keeps, and taking a step back or again.
//
// A step is taken back or again by what it changed alone: the history only
// records the user's commands, while a few things change between them
// without being a step (an unknown ticked, the file name and the
// information line that a save writes), and those stay as they stand.
#include "document/Snapshot.h"

namespace {

template <typename T>
void TakeChanged(T& field, const T& from, const T& to) {
  if (!(from == to)) field = to;
}

bool SameAnnotations(const TDocumentSnapshot& a, const TDocumentSnapshot& b) {
  if (a.Annotations == b.Annotations) return true;
  return a.Annotations && b.Annotations && *a.Annotations == *b.Annotations;
}

}  // namespace

bool operator==(const TDocumentSnapshot& a, const TDocumentSnapshot& b) {
  return a.Sounding == b.Sounding && a.Layers == b.Layers && a.IsSchlumberger == b.IsSchlumberger &&
         a.Info == b.Info && a.RhoUnknown == b.RhoUnknown && a.DepthUnknown == b.DepthUnknown &&
         a.FileName == b.FileName && SameAnnotations(a, b);
}

void TResondixData::RunStep(const std::string& name, const std::function<void()>& command) {
  if (OnStep)
    OnStep(name, command);
  else
    command();
}

TDocumentSnapshot TResondixData::Snapshot(const TDocumentSnapshot* like) const {
  TDocumentSnapshot snapshot;
  snapshot.Sounding = Sounding();
  snapshot.Layers = Layers();
  snapshot.IsSchlumberger = IsSchlumberger;
  snapshot.Info = Info;
  snapshot.RhoUnknown = RhoUnknown;
  snapshot.DepthUnknown = DepthUnknown;
  snapshot.FileName = FileName;
  if (like && like->Annotations && *like->Annotations == Annotations)
    snapshot.Annotations = like->Annotations;
  else
    snapshot.Annotations = std::make_shared<const std::vector<TAnnotation>>(Annotations);
  return snapshot;
}

void TResondixData::Restore(const TDocumentSnapshot& from, const TDocumentSnapshot& to, bool saved) {
  TakeChanged(Sounding(), from.Sounding, to.Sounding);
  TakeChanged(Layers(), from.Layers, to.Layers);
  TakeChanged(IsSchlumberger, from.IsSchlumberger, to.IsSchlumberger);
  for (int i = 1; i <= InfoLineCount; ++i) TakeChanged(Info[i], from.Info[i], to.Info[i]);
  TakeChanged(RhoUnknown, from.RhoUnknown, to.RhoUnknown);
  TakeChanged(DepthUnknown, from.DepthUnknown, to.DepthUnknown);
  TakeChanged(FileName, from.FileName, to.FileName);
  if (!SameAnnotations(from, to)) Annotations = *to.Annotations;

  // The result views must not show a fit of another model.
  ClearLayerStatistics();
  ClearFitResult();
  LastFit = {};
  FitStatus = 0;

  Saved = saved;
  StructureChanged = true;
  RaiseChange();
}
