// Insert and delete of measurements and layers, and the rules a value typed
// into a grid must meet.
//
// Insert and delete keep the per-measurement pair (L/2, apparent
// resistivity) and the eight per-layer items together, refuse what would
// leave the capacities, and leave their refusal in LastErrorMessage with
// nothing changed. Storage beyond the counts is kept, so values behind a
// lowered count come back when it is raised again.
//
// The grids always pass a selection that lies in the table. Other arguments
// are treated so that no array is ever touched outside its bounds:
//   - a count below 1 is refused ("Nothing to insert." / "Nothing to
//     delete.");
//   - an insert position before the first row inserts at the top; one past
//     the last measurement appends, and for layers the last position is the
//     half-space, because nothing can lie below it;
//   - a delete that starts before the first row or beyond the last is
//     refused with the minimum-count text, and one that runs past the last
//     row deletes only the rows that exist.
#include <algorithm>
#include <string>
#include <utility>

#include "document/NumberText.h"
#include "document/ResondixData.h"

namespace {

// The refusals, as the grids show them. The capacities are written from
// their constants.
const std::string TooManyMeasurements =
    "Can not insert measurement(s)! Maximum number of measurements is " + std::to_string(MaxMeasurements) + ".";
const std::string TooFewMeasurements = "Can not delete measurement(s)! Minimum number of measurements is 1.";
const std::string NoMeasurementsToInsert = "Can not insert measurement(s)! Nothing to insert.";
const std::string NoMeasurementsToDelete = "Can not delete measurement(s)! Nothing to delete.";
const std::string TooManyLayers =
    "Can not insert layer(s)! Maximum number of layers is " + std::to_string(MaxLayers) + ".";
const std::string TooFewLayers = "Can not delete layer(s)! Minimum number of layers is 1.";
const std::string NoLayersToInsert = "Can not insert layer(s)! Nothing to insert.";
const std::string NoLayersToDelete = "Can not delete layer(s)! Nothing to delete.";
const std::string HalfSpacingOutOfRange = "Value must be between 0 and 3100!";
const std::string NotPositive = "Value must be greater than 0!";
std::string NotBelow(double prev) { return "Value must be greater than " + FormatFixed2Local(prev) + "!"; }
std::string NotBetween(double prev, double next) {
  return "Value must be between " + FormatFixed2Local(prev) + " and " + FormatFixed2Local(next) + "!";
}

// The measurement table's L/2 column accepts values below this.
constexpr double MaxHalfSpacing = 3100;

TEditOutcome Refuse(const std::string& message) {
  LastErrorMessage = message;
  return {message};
}

// The rows first..first+count-1 limited to the rows 1..rowCount that exist.
// False when the start lies outside the table.
bool RowsInTable(int first, int& count, int rowCount) {
  if (first < 1 || first > rowCount) return false;
  count = std::min(count, rowCount - first + 1);
  return true;
}

// The eight items of a layer travel together.
void CopyLayer(TResondixData& d, int from, int to) {
  d.LayerRho[to] = d.LayerRho[from];
  d.RhoPercentText[to] = d.RhoPercentText[from];
  d.RhoUnknown[to] = d.RhoUnknown[from];
  d.RhoIntervalText[to] = d.RhoIntervalText[from];
  d.LayerDepth[to] = d.LayerDepth[from];
  d.DepthPercentText[to] = d.DepthPercentText[from];
  d.DepthUnknown[to] = d.DepthUnknown[from];
  d.DepthIntervalText[to] = d.DepthIntervalText[from];
}

}  // namespace

TEditOutcome TResondixData::InsertMeasurements(int first, int count) {
  if (count < 1) return Refuse(NoMeasurementsToInsert);
  if (count > MaxMeasurements - MeasurementCount) return Refuse(TooManyMeasurements);
  first = std::clamp(first, 1, MeasurementCount + 1);  // one past the last row appends

  for (int i = MeasurementCount; i >= first; --i) {
    HalfSpacing[i + count] = HalfSpacing[i];
    ApparentRho[i + count] = ApparentRho[i];
  }
  SetMeasurementCount(MeasurementCount + count);
  StructureChanged = true;
  RaiseChange();
  return {};
}

TEditOutcome TResondixData::DeleteMeasurements(int first, int count) {
  if (count < 1) return Refuse(NoMeasurementsToDelete);
  if (!RowsInTable(first, count, MeasurementCount) || MeasurementCount - count < 1)
    return Refuse(TooFewMeasurements);

  const int remaining = MeasurementCount - count;
  for (int i = first; i <= remaining; ++i) {
    HalfSpacing[i] = HalfSpacing[i + count];
    ApparentRho[i] = ApparentRho[i + count];
  }
  // The freed rows keep their spacings, so a raised count offers them again
  // for new readings.
  for (int i = remaining + 1; i <= MeasurementCount; ++i) ApparentRho[i] = 0;
  SetMeasurementCount(remaining);
  StructureChanged = true;
  RaiseChange();
  return {};
}

TEditOutcome TResondixData::InsertLayers(int first, int count) {
  if (count < 1) return Refuse(NoLayersToInsert);
  if (count > MaxLayers - LayerCount) return Refuse(TooManyLayers);
  first = std::clamp(first, 1, LayerCount);  // nothing can lie below the half-space

  for (int i = LayerCount; i >= first; --i) CopyLayer(*this, i, i + count);
  LayerCount += count;

  // The new interfaces divide the layer they were inserted into in equal
  // parts; at the half-space that layer reaches down to its placeholder.
  const double top = LayerDepth[first - 1];
  const double bottom = LayerDepth[first + count];
  for (int i = first; i <= first + count - 1; ++i)
    LayerDepth[i] = top + (bottom - top) * (i - first + 1) / (count + 1);

  StructureChanged = true;
  RaiseChange();
  return {};
}

TEditOutcome TResondixData::DeleteLayers(int first, int count) {
  if (count < 1) return Refuse(NoLayersToDelete);
  if (!RowsInTable(first, count, LayerCount) || LayerCount - count < 1) return Refuse(TooFewLayers);

  for (int i = first; i <= LayerCount - count; ++i) CopyLayer(*this, i + count, i);
  LayerCount -= count;
  LayerDepth[LayerCount] = HalfSpaceDepth;  // the new last layer is the half-space
  DepthUnknown[LayerCount] = false;

  StructureChanged = true;
  RaiseChange();
  return {};
}

std::string TResondixData::ValueRefusal(int column, int row, bool isModel, double value) const {
  const bool halfSpacing = !isModel && column == 0;
  const bool resistivity = (!isModel && column == 1) || (isModel && column == 0);
  const bool depth = isModel && column == 1;
  if (halfSpacing) return value >= 0 && value < MaxHalfSpacing ? "" : HalfSpacingOutOfRange;
  if (resistivity) return value > 0 ? "" : NotPositive;
  if (!depth) return {};

  // A depth lies between the stored depths of its neighbours; a neighbour
  // outside the arrays counts as not entered.
  const auto depthAt = [this](long long i) {
    return i >= LayerDepth.Low && i <= LayerDepth.High ? LayerDepth[static_cast<int>(i)] : 0.0;
  };
  const double prev = depthAt(row - 1LL);
  const double next = depthAt(row + 1LL);
  if (next == 0 && row == 1) return value > 0 ? "" : NotPositive;
  if (next == 0) return value > prev ? "" : NotBelow(prev);
  return value > prev && value < next ? "" : NotBetween(prev, next);
}

bool TResondixData::ValidateValue(int column, int row, bool isModel, double value) const {
  const std::string refusal = ValueRefusal(column, row, isModel, value);
  if (!refusal.empty()) LastErrorMessage = refusal;
  return refusal.empty();
}

TRefusedValue TResondixData::FirstRefusedMeasurement() const {
  for (int i = 1; i <= MeasurementCount; ++i)
    for (int column : {0, 1})
      if (std::string text = ValueRefusal(column, i, false, column == 0 ? HalfSpacing[i] : ApparentRho[i]);
          !text.empty())
        return {i, column, std::move(text)};
  return {};
}

TRefusedValue TResondixData::FirstRefusedLayer() const {
  for (int i = 1; i <= LayerCount; ++i)
    for (int column : {0, 1}) {
      if (column == 1 && i == LayerCount) break;  // the half-space has no depth
      if (std::string text = ValueRefusal(column, i, true, column == 0 ? LayerRho[i] : LayerDepth[i]); !text.empty())
        return {i, column, std::move(text)};
    }
  return {};
}

void TResondixData::ValidateDocument() {
  bool spacingsEntered = true;
  for (int i = 1; i <= MeasurementCount; ++i) spacingsEntered &= HalfSpacing[i] != 0;
  MeasurementsValid = spacingsEntered && !FirstRefusedMeasurement();
  ModelValid = !FirstRefusedLayer();
}
