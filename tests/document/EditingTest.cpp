// Insert and delete of measurements and layers, and the value rules: what moves, what is kept, the
// refusals with their texts, and that a refusal or an argument outside the table changes nothing.
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "document/NumberText.h"
#include "document/ResondixData.h"
#include "tests/TestSupport.h"

namespace {

const std::string Untouched = "untouched";

using TEdit = TEditOutcome (TResondixData::*)(int first, int count);
const TEdit InsertMeasurements = &TResondixData::InsertMeasurements;
const TEdit DeleteMeasurements = &TResondixData::DeleteMeasurements;
const TEdit InsertLayers = &TResondixData::InsertLayers, DeleteLayers = &TResondixData::DeleteLayers;

struct Editing : ::testing::Test {
  TResondixData D, Before;
  int Changes = 0;

  // Measurement i has L/2 = i and rho = 10 i in all 15 slots; layer i has
  // rho = 100 i and its own texts and flags in all 4, the half-space last.
  void SetUpTables(int measurements, int layers = 3) {
    const double depths[] = {3, 18, 42};
    for (int i = 1; i <= MaxMeasurements; ++i) D.HalfSpacing[i] = i, D.ApparentRho[i] = 10 * i;
    D.SetMeasurementCount(measurements);
    D.LayerCount = layers;
    for (int i = 1; i <= MaxLayers; ++i) {
      D.LayerRho[i] = 100 * i;
      D.LayerDepth[i] = i < layers ? depths[i - 1] : i == layers ? HalfSpaceDepth : 0;
      D.RhoUnknown[i] = i % 2 == 1;
      D.DepthUnknown[i] = i < layers;
      D.RhoIntervalText[i] = "rho interval " + std::to_string(i);
    }
    D.StructureChanged = D.Saved = false;
    D.OnChange = [this](TResondixData& sender) { Changes += sender.StructureChanged; };  // structure changes only
    Changes = 0;
    LastErrorMessage = Untouched;
    Before = D;
  }
};

TEST_F(Editing, InsertAndDeleteMoveWholeRowsOrRefuseAndChangeNothing) {
  const std::string layers = "| 100/3 200/18 300/10000", five = "1:10 2:20 3:30 4:40 5:50 ";
  const std::string measurementsMinimum = "Can not delete measurement(s)! Minimum number of measurements is 1.";
  const struct {
    const char* Name;
    int Measurements, Layers;
    TEdit Edit;
    int First, Count;
    std::string Result;  // the tables afterwards, or the refusal
  } rows[] = {
      {"two measurements at row 2", 5, 3, InsertMeasurements, 2, 2, "1:10 2:20 3:30 2:20 3:30 4:40 5:50 " + layers},
      {"a measurement below row 1: at the top", 5, 3, InsertMeasurements, INT_MIN, 1, "1:10 " + five + layers},
      {"a measurement far beyond: appended", 5, 3, InsertMeasurements, INT_MAX, 1, five + "6:60 " + layers},
      {"delete two in the middle", 5, 3, DeleteMeasurements, 2, 2, "1:10 4:40 5:50 " + layers},
      {"delete running past the last row", 5, 3, DeleteMeasurements, 4, 9, "1:10 2:20 3:30 " + layers},
      {"two layers at the top of two", 5, 2, InsertLayers, 1, 2, five + "| 100/1 200/2 100/3 200/10000"},
      {"a layer below the half-space: above it", 5, 3, InsertLayers, INT_MAX, 1,
       five + "| 100/3 200/18 300/5009 300/10000"},
      {"three layers into one", 5, 1, InsertLayers, 1, 3, five + "| 100/2500 200/5000 300/7500 100/10000"},
      {"delete the top layer of four", 5, 4, DeleteLayers, 1, 1, five + "| 200/18 300/42 400/10000"},
      {"delete two running past the half-space", 5, 3, DeleteLayers, 3, 2, five + "| 100/3 200/10000"},
      {"a measurement into a full table", 15, 3, InsertMeasurements, 3, 1,
       "Can not insert measurement(s)! Maximum number of measurements is 15."},
      {"no measurement", 5, 3, InsertMeasurements, 2, 0, "Can not insert measurement(s)! Nothing to insert."},
      {"more measurements than exist", 6, 3, DeleteMeasurements, 1, 40, measurementsMinimum},
      {"from measurement 0", 6, 3, DeleteMeasurements, 0, 1, measurementsMinimum},
      {"a negative count", 6, 3, DeleteMeasurements, 2, INT_MIN, "Can not delete measurement(s)! Nothing to delete."},
      {"a layer into four", 5, 4, InsertLayers, 2, 1, "Can not insert layer(s)! Maximum number of layers is 4."},
      {"no layer", 5, 2, InsertLayers, 1, -1, "Can not insert layer(s)! Nothing to insert."},
      {"every layer", 5, 3, DeleteLayers, 1, 3, "Can not delete layer(s)! Minimum number of layers is 1."},
      {"no layer to delete", 5, 3, DeleteLayers, 1, 0, "Can not delete layer(s)! Nothing to delete."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    SetUpTables(row.Measurements, row.Layers);
    const bool refused = row.Result.rfind("Can not", 0) == 0;
    EXPECT_EQ((D.*row.Edit)(row.First, row.Count).Refusal, refused ? row.Result : "");
    EXPECT_EQ(LastErrorMessage, refused ? row.Result : Untouched);
    EXPECT_EQ(Tables(D), refused ? Tables(Before) : row.Result);
    if (refused) ExpectUnchanged(Before, D);
    EXPECT_EQ(Changes, refused ? 0 : D.MeasurementCount != Before.MeasurementCount ? 2 : 1);
    for (int i = D.MeasurementCount + 1; i <= Before.MeasurementCount; ++i)  // freed rows keep only their spacing
      EXPECT_EQ(std::make_pair(D.HalfSpacing[i], D.ApparentRho[i]), std::make_pair(double(i), 0.0)) << i;
    for (int i = 1; i <= D.LayerCount; ++i) {  // a layer's items travel with its resistivity
      const int from = static_cast<int>(D.LayerRho[i]) / 100;
      EXPECT_EQ(D.RhoUnknown[i], Before.RhoUnknown[from]) << i;
      EXPECT_EQ(D.RhoIntervalText[i], Before.RhoIntervalText[from]) << i;
      EXPECT_EQ(D.DepthUnknown[i], i < D.LayerCount && Before.DepthUnknown[from]) << i;
    }
  }
}

TEST_F(Editing, ValueRulesByGridAndColumnAndTheFirstValueATableRefuses) {
  const std::vector<double> newModel = {0, 0, HalfSpaceDepth}, filled = {5, 12.25, 20, HalfSpaceDepth};
  const struct {
    const char* Name;
    std::vector<double> Depths;  // LayerDepth[1..], the rest 0
    int Column, Row;
    bool IsModel;
    double Value;
    std::string Refusal;  // empty: accepted
  } rows[] = {
      {"L/2 of 3100", newModel, 0, 1, false, 3100, "Value must be between 0 and 3100!"},
      {"negative layer rho", newModel, 0, 2, true, -3, "Value must be greater than 0!"},
      {"first depth of 0", newModel, 1, 1, true, 0, "Value must be greater than 0!"},
      {"second depth at the half-space", newModel, 1, 2, true, 10000, "Value must be between 0.00 and 10000.00!"},
      {"on the layer above", {5, 0, 0, HalfSpaceDepth}, 1, 2, true, 5, "Value must be greater than 5.00!"},
      {"between the neighbours", filled, 1, 2, true, 19.99, ""},
      {"a row beyond the arrays", filled, 1, 16, true, -1, "Value must be greater than 0.00!"},
      {"the lowest row", filled, 1, INT_MIN, true, 0, "Value must be greater than 0.00!"},
  };
  for (const auto& row : rows) {
    SetUpTables(5, static_cast<int>(row.Depths.size()));
    for (int i = 1; i <= MaxLayers; ++i) D.LayerDepth[i] = i <= D.LayerCount ? row.Depths[i - 1] : 0;
    EXPECT_EQ(D.ValidateValue(row.Column, row.Row, row.IsModel, row.Value), row.Refusal.empty()) << row.Name;
    EXPECT_EQ(LastErrorMessage, row.Refusal.empty() ? Untouched : row.Refusal) << row.Name;
  }
  D.LayerDepth[1] = 5.004, D.LayerDepth[3] = 20.126;  // value messages use the user's decimal separator
  SetDecimalSeparator(",");
  EXPECT_FALSE(D.ValidateValue(1, 2, true, 25));
  SetDecimalSeparator(".");
  EXPECT_EQ(LastErrorMessage, "Value must be between 5,00 and 20,13!");
  // The whole-table check before a fit gives the first row refused and its
  // column (the command line's messages show the others).
  SetUpTables(15);
  D.LayerDepth[2] = 2.5;  // above the interface of layer 1
  EXPECT_FALSE(D.FirstRefusedMeasurement());
  const TRefusedValue refused = D.FirstRefusedLayer();
  EXPECT_TRUE(refused.Row == 1 && refused.Column == 1 && refused.Text == "Value must be between 0.00 and 2.50!");
}

}  // namespace
