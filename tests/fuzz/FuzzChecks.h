// What every fuzz target checks of a document it has read.
#pragma once

#include <cstdlib>
#include <string>

#include "Messages.h"
#include "ResondixData.h"

inline void Require(bool condition) {
  if (!condition) std::abort();
}

inline void CheckWithinCapacities(const TResondixData& d) {
  Require(d.MeasurementCount >= 1 && d.MeasurementCount <= MaxMeasurements);
  Require(d.LayerCount >= 1 && d.LayerCount <= MaxLayers);
  Require(d.FilterCount == (d.IsSchlumberger ? 20 : 10));
}

// The readers' messages are expected; they are not shown while fuzzing.
inline void SilenceMessages() {
  static const bool silenced = (SetMessageHandler([](TMessageKind, const std::string&) {}), true);
  (void)silenced;
}
