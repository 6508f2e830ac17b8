// TDocumentSnapshot: what a step of the window's undo history keeps of the
// document, once from before the user's command and once from after it.
//
// It is everything the data file holds (measurements, layers, their counts,
// the configuration, the information lines, the annotations), the document's
// file name (an import renames the document) and the unknown flags, which
// travel with the layers when layers are inserted or deleted. The fit's
// results are not kept: a restored document has none, as a new one has none.
//
// The document is fixed arrays apart from its annotations and its file name,
// so a snapshot is a plain copy of a few kilobytes. The annotations are held
// by a shared list: snapshots taken one after the other share the same list
// while the annotations stay the same, so that a history of snapshots holds
// each state of the annotations once.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "document/ResondixData.h"

struct TDocumentSnapshot {
  TSounding Sounding;
  TLayerModel Layers;
  bool IsSchlumberger = true;
  TFixedArray<TInfoText, 1, InfoLineCount> Info;
  TFixedArray<bool, 0, MaxLayers> RhoUnknown;
  TFixedArray<bool, 0, MaxLayers> DepthUnknown;
  std::string FileName;
  std::shared_ptr<const std::vector<TAnnotation>> Annotations;
};

// Equal content, the annotations compared by their records.
bool operator==(const TDocumentSnapshot& a, const TDocumentSnapshot& b);
inline bool operator!=(const TDocumentSnapshot& a, const TDocumentSnapshot& b) { return !(a == b); }
