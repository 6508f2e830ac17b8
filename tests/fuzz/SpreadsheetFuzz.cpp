// Fuzz target of the spreadsheet import: no input may crash it; what it
// accepts holds measurements the value rules accept, within the capacities,
// with the three-layer starting model, and saves and loads again to the
// same shape; what it refuses leaves the document as it was.
#include <cstdint>
#include <string_view>

#include "document/ResondixData.h"
#include "tests/fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SilenceMessages();
  static const TResondixData before = PreparedDocument();
  TResondixData document = before;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!document.ImportSpreadsheetText(text)) {
    Require(SameContent(document, before));
    return 0;
  }
  CheckWithinCapacities(document);
  Require(document.LayerCount == 3 && document.LayerDepth[3] == HalfSpaceDepth);
  Require(document.Annotations.empty());
  Require(!document.FirstRefusedMeasurement());
  for (int i = 1; i <= document.MeasurementCount; ++i) Require(document.HalfSpacing[i] > 0);

  TResondixData again;
  Require(again.LoadFromText(document.DataFileText()));
  CheckWithinCapacities(again);
  Require(again.MeasurementCount == document.MeasurementCount);
  Require(again.IsSchlumberger == document.IsSchlumberger);
  return 0;
}
