// Fuzz target of the data file reader: no input may crash it or leave the
// document outside its capacities, and whatever it accepts must save and
// load again to the same shape.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Messages.h"
#include "ResondixData.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckWithinCapacities(const TResondixData& d) {
  Require(d.MeasurementCount >= 1 && d.MeasurementCount <= MaxMeasurements);
  Require(d.LayerCount >= 1 && d.LayerCount <= MaxLayers);
  Require(d.FilterCount == (d.IsSchlumberger ? 20 : 10));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = (SetMessageHandler([](TMessageKind, const std::string&) {}), true);
  (void)quiet;
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
