// Fuzz target of the data file writer: whatever the reader accepts, written
// and read again, is the same document (its values as the file's real form
// keeps them), and writing that document gives the same text again.
#include <cstdint>
#include <string>
#include <string_view>

#include "document/NumberText.h"
#include "document/ResondixData.h"
#include "tests/fuzz/FuzzChecks.h"

namespace {

// A value as it comes back from its field in the file.
double AsWritten(double value) {
  const auto number = StrToFloatDot(FormatFileReal(value));
  Require(number.has_value());
  return *number;
}

template <typename TArray>
bool SameAsWritten(const TArray& read, const TArray& again, int count) {
  for (int i = 1; i <= count; ++i)
    if (again[i] != AsWritten(read[i])) return false;
  return true;
}

bool SameDocument(const TResondixData& read, const TResondixData& again) {
  for (int i = 1; i <= InfoLineCount; ++i)
    if (i != 5 && again.Info[i] != read.Info[i]) return false;
  // The configuration line follows the configuration.
  return again.SoundingTypeText() == (read.IsSchlumberger ? " Schlumberger" : " Wenner") &&
         again.IsSchlumberger == read.IsSchlumberger && again.MeasurementCount == read.MeasurementCount &&
         again.LayerCount == read.LayerCount &&
         SameAsWritten(read.HalfSpacing, again.HalfSpacing, read.MeasurementCount) &&
         SameAsWritten(read.ApparentRho, again.ApparentRho, read.MeasurementCount) &&
         SameAsWritten(read.LayerRho, again.LayerRho, read.LayerCount) &&
         SameAsWritten(read.LayerDepth, again.LayerDepth, read.LayerCount) && again.Annotations == read.Annotations;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SilenceMessages();
  TResondixData read;
  if (!read.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size))) return 0;
  const std::string written = read.DataFileText();
  TResondixData again;
  Require(again.LoadFromText(written));
  Require(SameDocument(read, again));
  Require(again.DataFileText() == written);
  return 0;
}
