// Fuzz target of the DINOloket import: no input may crash it; what it
// accepts lies within the capacities with the half-space last and saves and
// loads again to the same shape; what it refuses leaves the document as it
// was.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzChecks.h"
#include "ResondixData.h"

namespace {

// A document with content of its own, so that a refusal that changed it
// would show.
TResondixData Prepared() {
  TResondixData d;
  d.ProjectName() = "previous sounding";
  d.SetSoundingType(false);
  d.SetMeasurementCount(6);
  d.ApparentRho[3] = 41.5;
  d.Annotations.push_back({12, 34, 100, 40, "note"});
  return d;
}

bool SameContent(const TResondixData& a, const TResondixData& b) {
  return a.Info == b.Info && a.MeasurementCount == b.MeasurementCount && a.LayerCount == b.LayerCount &&
         a.HalfSpacing == b.HalfSpacing && a.ApparentRho == b.ApparentRho && a.LayerRho == b.LayerRho &&
         a.LayerDepth == b.LayerDepth && a.IsSchlumberger == b.IsSchlumberger && a.Annotations == b.Annotations;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SilenceMessages();
  static const TResondixData before = Prepared();
  TResondixData document = before;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!document.ImportFromText(text)) {
    Require(SameContent(document, before));
    return 0;
  }
  CheckWithinCapacities(document);
  Require(document.LayerDepth[document.LayerCount] == HalfSpaceDepth);
  Require(document.Annotations.empty());

  TResondixData again;
  Require(again.LoadFromText(document.DataFileText()));
  CheckWithinCapacities(again);
  Require(again.MeasurementCount == document.MeasurementCount);
  Require(again.LayerCount == document.LayerCount);
  Require(again.IsSchlumberger == document.IsSchlumberger);
  return 0;
}
