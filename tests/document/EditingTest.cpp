// Insert and delete of measurements and layers, and the value rules: what
// moves, what is kept, the refusals with their texts, and that a refusal or
// an argument outside the table changes nothing it should not.
#include <climits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ExpectUnchanged.h"
#include "NumberText.h"
#include "ResondixData.h"

namespace {

const std::string Untouched = "untouched";

enum TEdit { InsertMeasurements, DeleteMeasurements, InsertLayers, DeleteLayers };

struct TEditing : ::testing::Test {
  TResondixData D;
  TResondixData Before;
  int Changes = 0;

  // Measurements told apart by their values in all 15 slots: L/2 = i + 0.25,
  // rho = 10 i + 0.5; layers whose eight items tell them apart, the last one
  // the half-space.
  void SetUpTables(int measurements, const std::vector<double>& rho = {110, 37, 250},
                   const std::vector<double>& depths = {3.5, 18, 42}) {
    for (int i = 1; i <= MaxMeasurements; ++i) {
      D.HalfSpacing[i] = i + 0.25;
      D.ApparentRho[i] = 10 * i + 0.5;
    }
    D.SetMeasurementCount(measurements);
    D.LayerCount = static_cast<int>(rho.size());
    for (int i = 1; i <= D.LayerCount; ++i) {
      D.LayerRho[i] = rho[i - 1];
      D.LayerDepth[i] = i < D.LayerCount ? depths[i - 1] : HalfSpaceDepth;
      D.RhoUnknown[i] = i % 2 == 1;
      D.DepthUnknown[i] = i < D.LayerCount;
      D.RhoPercentText[i] = "r" + std::to_string(i);
      D.DepthPercentText[i] = "d" + std::to_string(i);
      D.RhoIntervalText[i] = "rho interval " + std::to_string(i);
      D.DepthIntervalText[i] = "depth interval " + std::to_string(i);
    }
    D.StructureChanged = false;
    D.Saved = false;
    D.OnChange = [this](TResondixData& sender) {
      ++Changes;
      EXPECT_TRUE(sender.StructureChanged);
    };
    Changes = 0;
    LastErrorMessage = Untouched;
    Before = D;
  }

  bool Edit(TEdit edit, int first, int count) {
    switch (edit) {
      case InsertMeasurements: return D.InsertMeasurements(first, count);
      case DeleteMeasurements: return D.DeleteMeasurements(first, count);
      case InsertLayers: return D.InsertLayers(first, count);
      default: return D.DeleteLayers(first, count);
    }
  }

  void ExpectDone(int notifications) {
    EXPECT_EQ(LastErrorMessage, Untouched);
    EXPECT_EQ(Changes, notifications);
    EXPECT_FALSE(D.Saved);
  }

  // Layer i carries the items of layer j before the edit, its depth apart.
  void ExpectLayerFrom(int i, int j) {
    SCOPED_TRACE("layer " + std::to_string(i) + " from " + std::to_string(j));
    EXPECT_EQ(D.LayerRho[i], Before.LayerRho[j]);
    EXPECT_EQ(D.RhoUnknown[i], Before.RhoUnknown[j]);
    EXPECT_EQ(D.RhoPercentText[i], Before.RhoPercentText[j]);
    EXPECT_EQ(D.RhoIntervalText[i], Before.RhoIntervalText[j]);
    EXPECT_EQ(D.DepthPercentText[i], Before.DepthPercentText[j]);
    EXPECT_EQ(D.DepthIntervalText[i], Before.DepthIntervalText[j]);
    if (i < D.LayerCount) {
      EXPECT_EQ(D.DepthUnknown[i], Before.DepthUnknown[j]);  // the half-space's flag is always cleared
    }
  }
};

using Editing = TEditing;

TEST_F(Editing, InsertedMeasurementsRepeatTheRowsMovedDown) {
  struct TRow {
    const char* Name;
    int Count, First, Effective;  // Effective: where the two rows go in
  };
  const TRow rows[] = {{"at row 4 of 13", 13, 4, 4},         {"at row 0: at the top", 8, 0, 1},
                       {"at the lowest row", 8, INT_MIN, 1}, {"one past the last: appended", 8, 9, 9},
                       {"far beyond: appended", 8, INT_MAX, 9}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    SetUpTables(row.Count);
    ASSERT_TRUE(D.InsertMeasurements(row.First, 2));
    ExpectDone(2);
    EXPECT_EQ(D.MeasurementCount, row.Count + 2);
    for (int i = 1; i < row.Effective + 2; ++i) EXPECT_EQ(D.HalfSpacing[i], Before.HalfSpacing[i]) << i;
    for (int i = row.Effective; i <= row.Count; ++i) {
      EXPECT_EQ(D.HalfSpacing[i + 2], Before.HalfSpacing[i]) << i;
      EXPECT_EQ(D.ApparentRho[i + 2], Before.ApparentRho[i]) << i;
    }
  }
}

TEST_F(Editing, DeletedMeasurementsLeaveTheirSpacingsWithoutReadings) {
  struct TRow {
    const char* Name;
    int Count, First, Rows, Deleted;
  };
  const TRow rows[] = {{"the last two of ten", 10, 9, 2, 2},
                       {"three in the middle", 10, 3, 3, 3},
                       {"all but the first", 7, 2, 6, 6},
                       {"running past the last row", 10, 8, 5, 3}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    SetUpTables(row.Count);
    ASSERT_TRUE(D.DeleteMeasurements(row.First, row.Rows));
    ExpectDone(2);
    const int remaining = row.Count - row.Deleted;
    ASSERT_EQ(D.MeasurementCount, remaining);
    for (int i = 1; i <= remaining; ++i) {
      const int from = i < row.First ? i : i + row.Deleted;
      EXPECT_EQ(D.HalfSpacing[i], Before.HalfSpacing[from]) << i;
      EXPECT_EQ(D.ApparentRho[i], Before.ApparentRho[from]) << i;
    }
    D.SetMeasurementCount(row.Count);
    for (int i = remaining + 1; i <= row.Count; ++i) {
      EXPECT_EQ(D.HalfSpacing[i], Before.HalfSpacing[i]) << i;
      EXPECT_EQ(D.ApparentRho[i], 0) << i;
    }
    EXPECT_EQ(D.ApparentRho[row.Count + 1], Before.ApparentRho[row.Count + 1]);
  }
}

TEST_F(Editing, InsertedLayersSplitTheirLayerEvenly) {
  struct TRow {
    const char* Name;
    std::vector<double> Rho, Depths;
    int First, Count;
    std::vector<double> NewDepths;  // all but the half-space
    std::vector<int> From;          // whose other items each layer carries
  };
  const TRow rows[] = {
      {"two at the top of two", {110, 37}, {30}, 1, 2, {10, 20, 30}, {1, 2, 1, 2}},
      {"one at the half-space", {110, 37, 250}, {5, 20}, 3, 1, {5, 20, 5010}, {1, 2, 3, 3}},
      {"one in the middle", {110, 37, 250}, {4.5, 17.5}, 2, 1, {4.5, 11, 17.5}, {1, 2, 2, 3}},
      {"three into one layer", {80}, {}, 1, 3, {2500, 5000, 7500}, {1, 2, 3, 1}},
      {"at layer 0: at the top", {110, 37, 250}, {4.5, 17.5}, 0, 1, {2.25, 4.5, 17.5}, {1, 1, 2, 3}},
      {"below the half-space: above it", {110, 37, 250}, {4.5, 17.5}, INT_MAX, 1, {4.5, 17.5, 5008.75},
       {1, 2, 3, 3}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    SetUpTables(5, row.Rho, row.Depths);
    ASSERT_TRUE(D.InsertLayers(row.First, row.Count));
    ExpectDone(1);
    ASSERT_EQ(D.LayerCount, static_cast<int>(row.From.size()));
    for (int i = 1; i < D.LayerCount; ++i) EXPECT_DOUBLE_EQ(D.LayerDepth[i], row.NewDepths[i - 1]) << i;
    EXPECT_EQ(D.LayerDepth[D.LayerCount], HalfSpaceDepth);
    for (int i = 1; i <= D.LayerCount; ++i) ExpectLayerFrom(i, row.From[i - 1]);
  }
}

TEST_F(Editing, DeletedLayersMakeTheNewLastLayerTheHalfSpace) {
  struct TRow {
    const char* Name;
    int Layers, First, Count;
    std::vector<int> From;  // where each remaining layer comes from
  };
  const TRow rows[] = {{"the lower two of three", 3, 2, 2, {1}},
                       {"the top one of four", 4, 1, 1, {2, 3, 4}},
                       {"the half-space of four", 4, 4, 1, {1, 2, 3}},
                       {"two running past the half-space", 3, 3, 2, {1, 2}}};
  const std::vector<double> rho = {110, 37, 250, 12};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    SetUpTables(5, std::vector<double>(rho.begin(), rho.begin() + row.Layers));
    ASSERT_TRUE(D.DeleteLayers(row.First, row.Count));
    ExpectDone(1);
    ASSERT_EQ(D.LayerCount, static_cast<int>(row.From.size()));
    for (int i = 1; i <= D.LayerCount; ++i) ExpectLayerFrom(i, row.From[i - 1]);
    for (int i = 1; i < D.LayerCount; ++i) EXPECT_EQ(D.LayerDepth[i], Before.LayerDepth[row.From[i - 1]]);
    EXPECT_EQ(D.LayerDepth[D.LayerCount], HalfSpaceDepth);
    EXPECT_FALSE(D.DepthUnknown[D.LayerCount]);
    for (int i = D.LayerCount + 1; i <= row.Layers; ++i) EXPECT_EQ(D.RhoPercentText[i], Before.RhoPercentText[i]);
  }
}

TEST_F(Editing, RefusalsChangeNothing) {
  const std::string measurementsFull = "Can not insert measurement(s)! Maximum number of measurements is 15.";
  const std::string measurementsMinimum = "Can not delete measurement(s)! Minimum number of measurements is 1.";
  const std::string layersFull = "Can not insert layer(s)! Maximum number of layers is 4.";
  const std::string layersMinimum = "Can not delete layer(s)! Minimum number of layers is 1.";
  struct TRow {
    const char* Name;
    int Measurements, Layers;
    TEdit Edit;
    int First, Count;
    std::string Message;
  };
  const TRow rows[] = {
      {"a measurement into a full table", 15, 3, InsertMeasurements, 3, 1, measurementsFull},
      {"measurements past the capacity", 13, 3, InsertMeasurements, 1, 3, measurementsFull},
      {"a huge count of measurements", 13, 3, InsertMeasurements, 1, INT_MAX, measurementsFull},
      {"no measurement", 5, 3, InsertMeasurements, 2, 0, "Can not insert measurement(s)! Nothing to insert."},
      {"every measurement", 6, 3, DeleteMeasurements, 1, 6, measurementsMinimum},
      {"more measurements than exist", 6, 3, DeleteMeasurements, 1, 40, measurementsMinimum},
      {"from measurement 0", 6, 3, DeleteMeasurements, 0, 1, measurementsMinimum},
      {"beyond the measurements", 6, 3, DeleteMeasurements, 7, 1, measurementsMinimum},
      {"beyond the arrays", 6, 3, DeleteMeasurements, 99, 1, measurementsMinimum},
      {"a negative count", 6, 3, DeleteMeasurements, 2, INT_MIN, "Can not delete measurement(s)! Nothing to delete."},
      {"a layer into four", 5, 4, InsertLayers, 2, 1, layersFull},
      {"layers past the capacity", 5, 2, InsertLayers, 1, INT_MAX, layersFull},
      {"no layer", 5, 2, InsertLayers, 1, -1, "Can not insert layer(s)! Nothing to insert."},
      {"every layer", 5, 3, DeleteLayers, 1, 3, layersMinimum},
      {"beyond the layers", 5, 3, DeleteLayers, 4, 1, layersMinimum},
      {"from layer 0", 5, 3, DeleteLayers, 0, 1, layersMinimum},
      {"no layer to delete", 5, 3, DeleteLayers, 1, 0, "Can not delete layer(s)! Nothing to delete."},
  };
  const std::vector<double> rho = {110, 37, 250, 12};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    SetUpTables(row.Measurements, std::vector<double>(rho.begin(), rho.begin() + row.Layers));
    EXPECT_FALSE(Edit(row.Edit, row.First, row.Count));
    EXPECT_EQ(LastErrorMessage, row.Message);
    EXPECT_EQ(Changes, 0);
    ExpectUnchanged(Before, D);
    EXPECT_EQ(D.RhoIntervalText, Before.RhoIntervalText);
  }
}

// Any sequence of layer edits, with arguments in and outside the model,
// keeps a valid model valid. Under the sanitizers this also shows that no
// array is left.
TEST_F(Editing, RandomLayerEditsKeepTheModelValid) {
  std::mt19937 random(1903);
  std::uniform_int_distribution<int> position(-2, 7), count(-1, 5);
  SetUpTables(5);
  for (int step = 0; step < 1000; ++step) {
    const int before = D.LayerCount;
    const bool done = Edit(random() % 2 ? InsertLayers : DeleteLayers, position(random), count(random));
    ASSERT_TRUE(done || D.LayerCount == before);
    ASSERT_TRUE(D.LayerCount >= 1 && D.LayerCount <= MaxLayers);
    ASSERT_EQ(D.LayerDepth[D.LayerCount], HalfSpaceDepth);
    ASSERT_FALSE(D.DepthUnknown[D.LayerCount]);
    for (int i = 1; i <= D.LayerCount; ++i) ASSERT_GT(D.LayerDepth[i], D.LayerDepth[i - 1]) << i;
  }
}

TEST_F(Editing, ValueRulesByGridAndColumn) {
  struct TRow {
    const char* Name;
    std::vector<double> Depths;  // LayerDepth[1..], the rest 0
    int Column, Row;
    bool IsModel;
    double Value;
    std::string Refusal;  // empty: accepted
  };
  const std::vector<double> newModel = {0, 0, HalfSpaceDepth};
  const std::vector<double> fourEmpty = {5, 0, 0, HalfSpaceDepth};
  const std::vector<double> filled = {5, 12.25, 20, HalfSpaceDepth};
  const TRow rows[] = {
      {"L/2 of 0", newModel, 0, 1, false, 0, ""},
      {"L/2 of 3100", newModel, 0, 1, false, 3100, "Value must be between 0 and 3100!"},
      {"measured rho", newModel, 1, 3, false, 0.004, ""},
      {"measured rho of 0", newModel, 1, 3, false, 0, "Value must be greater than 0!"},
      {"negative layer rho", newModel, 0, 2, true, -3, "Value must be greater than 0!"},
      {"first depth of 0", newModel, 1, 1, true, 0, "Value must be greater than 0!"},
      {"second depth of a new model", newModel, 1, 2, true, 9999.5, ""},
      {"second depth at the half-space", newModel, 1, 2, true, 10000, "Value must be between 0.00 and 10000.00!"},
      {"above the layer above", fourEmpty, 1, 2, true, 3, "Value must be greater than 5.00!"},
      {"on the layer above", fourEmpty, 1, 2, true, 5, "Value must be greater than 5.00!"},
      {"below the layer above", fourEmpty, 1, 2, true, 5.01, ""},
      {"between the neighbours", filled, 1, 2, true, 19.99, ""},
      {"below the next", filled, 1, 2, true, 25, "Value must be between 5.00 and 20.00!"},
      {"on the depth above", filled, 1, 3, true, 12.25, "Value must be between 12.25 and 10000.00!"},
      {"another column", filled, 2, 1, true, -1, ""},
      {"row 0 lies above layer 1", filled, 1, 0, true, 6, "Value must be between 0.00 and 5.00!"},
      {"a row beyond the arrays", filled, 1, 16, true, -1, "Value must be greater than 0.00!"},
      {"the lowest row", filled, 1, INT_MIN, true, 0, "Value must be greater than 0.00!"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    SetUpTables(5);
    D.LayerCount = static_cast<int>(row.Depths.size());
    for (int i = 1; i <= 15; ++i) D.LayerDepth[i] = i <= D.LayerCount ? row.Depths[i - 1] : 0;
    EXPECT_EQ(D.ValidateValue(row.Column, row.Row, row.IsModel, row.Value), row.Refusal.empty());
    EXPECT_EQ(LastErrorMessage, row.Refusal.empty() ? Untouched : row.Refusal);
    EXPECT_EQ(Changes, 0);
  }

  // Value messages use the user's decimal separator.
  D.LayerDepth[1] = 5.004;
  D.LayerDepth[3] = 20.126;
  SetDecimalSeparator(",");
  const bool accepted = D.ValidateValue(1, 2, true, 25);
  SetDecimalSeparator(".");
  EXPECT_FALSE(accepted);
  EXPECT_EQ(LastErrorMessage, "Value must be between 5,00 and 20,13!");
}

// The whole-table check that the window and the command line make before a
// fit: the first refused value, its column and the rule's text.
TEST(EditingTables, FirstRefusedValueOfEachTable) {
  TResondixData d;
  for (int i = 1; i <= d.MeasurementCount; ++i) d.ApparentRho[i] = 40 + i;
  d.LayerRho[1] = 120;
  d.LayerRho[2] = 35;
  d.LayerRho[3] = 600;
  d.LayerDepth[1] = 3.2;
  d.LayerDepth[2] = 17.5;
  int column = -1;
  EXPECT_EQ(d.FirstRefusedMeasurement(column), 0);
  EXPECT_EQ(d.FirstRefusedLayer(column), 0);

  d.HalfSpacing[2] = 0;  // accepted by the rules; the fit refuses it itself
  d.ApparentRho[6] = 0;
  EXPECT_EQ(d.FirstRefusedMeasurement(column), 6);
  EXPECT_EQ(column, 1);
  EXPECT_EQ(LastErrorMessage, "Value must be greater than 0!");
  d.HalfSpacing[4] = 3100;
  EXPECT_EQ(d.FirstRefusedMeasurement(column), 4);
  EXPECT_EQ(column, 0);

  d.LayerDepth[2] = 2.5;  // above the interface of layer 1
  EXPECT_EQ(d.FirstRefusedLayer(column), 1);
  EXPECT_EQ(column, 1);
  EXPECT_EQ(LastErrorMessage, "Value must be between 0.00 and 2.50!");
  d.LayerDepth[2] = 17.5;
  d.LayerRho[3] = 0;
  EXPECT_EQ(d.FirstRefusedLayer(column), 3);
  EXPECT_EQ(column, 0);
}

}  // namespace
