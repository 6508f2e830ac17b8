// Fuzz target of the data file reader: no input may crash it or leave the
// document outside its capacities, and whatever it accepts must save and
// load again to the same shape.
#include <cstdint>
#include <string>
#include <string_view>

#include "document/ResondixData.h"
#include "tests/fuzz/FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SilenceMessages();
  TResondixData document;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!document.LoadFromText(text)) return 0;
  CheckWithinCapacities(document);

  const std::string saved = document.DataFileText();
  TResondixData again;
  Require(again.LoadFromText(saved));
  CheckWithinCapacities(again);
  Require(again.MeasurementCount == document.MeasurementCount);
  Require(again.LayerCount == document.LayerCount);
  Require(again.IsSchlumberger == document.IsSchlumberger);
  Require(again.Annotations == document.Annotations);
  return 0;
}
