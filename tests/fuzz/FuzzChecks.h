// What every fuzz target checks of a document it has read, and the document
// with content of its own that the importers read into.
#pragma once

#include <cstdlib>
#include <string>

#include "document/Messages.h"
#include "document/ResondixData.h"

inline void Require(bool condition) {
  if (!condition) std::abort();
}

inline void CheckWithinCapacities(const TResondixData& d) {
  Require(d.MeasurementCount >= 1 && d.MeasurementCount <= MaxMeasurements);
  Require(d.LayerCount >= 1 && d.LayerCount <= MaxLayers);
}

// The readers' messages are expected; they are not shown while fuzzing.
inline void SilenceMessages() {
  static const bool silenced = (SetMessageHandler([](TMessageKind, const std::string&) {}), true);
  (void)silenced;
}

// A document with content of its own, so that a refusal that changed it
// would show.
inline TResondixData PreparedDocument() {
  TResondixData d;
  d.ProjectName() = "previous sounding";
  d.SetSoundingType(false);
  d.SetMeasurementCount(6);
  d.ApparentRho[3] = 41.5;
  d.Annotations.push_back({12, 34, 100, 40, "note"});
  return d;
}

inline bool SameContent(const TResondixData& a, const TResondixData& b) {
  return a.Info == b.Info && a.MeasurementCount == b.MeasurementCount && a.LayerCount == b.LayerCount &&
         a.HalfSpacing == b.HalfSpacing && a.ApparentRho == b.ApparentRho && a.LayerRho == b.LayerRho &&
         a.LayerDepth == b.LayerDepth && a.IsSchlumberger == b.IsSchlumberger && a.Annotations == b.Annotations;
}
