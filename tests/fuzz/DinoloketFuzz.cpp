// Fuzz target of the DINOloket import: no input may crash it; what it
// accepts lies within the capacities with the half-space last and saves and
// loads again to the same shape; what it refuses leaves the document as it
// was.
#include <cstdint>
#include <string>
#include <string_view>

#include "document/ResondixData.h"
#include "tests/fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SilenceMessages();
  static const TResondixData before = PreparedDocument();
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
