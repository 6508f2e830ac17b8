// Insert and delete of measurements and layers, and the value rules: what
// moves, what is kept, the refusals with their texts, and that a refusal or
// an argument outside the table changes nothing it should not.
#include <climits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "NumberText.h"
#include "ResondixData.h"

namespace {

const std::string Untouched = "untouched";

struct TEditing : ::testing::Test {
  TResondixData D;
  int Changes = 0;
  bool StructureAtLastChange = false;

  void SetUp() override {
    D.OnChange = [this](TResondixData& sender) {
      ++Changes;
      StructureAtLastChange = sender.StructureChanged;
    };
    LastErrorMessage = Untouched;
  }

  // Measurements with values that tell every row apart: L/2 = row + 0.25,
  // rho = 10 * row + 0.5, in all 15 slots.
  void SetUpMeasurements(int count) {
    for (int i = 1; i <= MaxMeasurements; ++i) {
      D.HalfSpacing[i] = i + 0.25;
      D.ApparentRho[i] = 10 * i + 0.5;
    }
    D.SetMeasurementCount(count);
    D.StructureChanged = false;
    Changes = 0;
  }

  // Layers whose eight items tell every layer apart; the last one is the
  // half-space.
  void SetUpLayers(const std::vector<double>& rho, const std::vector<double>& depths) {
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
    Changes = 0;
  }

  // The eight items of layer i equal those of layer j of the copy before.
  void ExpectLayerFrom(const TResondixData& before, int i, int j) {
    SCOPED_TRACE("layer " + std::to_string(i) + " from " + std::to_string(j));
    EXPECT_EQ(D.LayerRho[i], before.LayerRho[j]);
    EXPECT_EQ(D.RhoUnknown[i], before.RhoUnknown[j]);
    EXPECT_EQ(D.RhoPercentText[i], before.RhoPercentText[j]);
    EXPECT_EQ(D.RhoIntervalText[i], before.RhoIntervalText[j]);
    EXPECT_EQ(D.DepthPercentText[i], before.DepthPercentText[j]);
    EXPECT_EQ(D.DepthUnknown[i], before.DepthUnknown[j]);
    EXPECT_EQ(D.DepthIntervalText[i], before.DepthIntervalText[j]);
  }

  void ExpectRefusedUnchanged(const TResondixData& before, const std::string& message) {
    EXPECT_EQ(LastErrorMessage, message);
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(D.MeasurementCount, before.MeasurementCount);
    EXPECT_EQ(D.HalfSpacing, before.HalfSpacing);
    EXPECT_EQ(D.ApparentRho, before.ApparentRho);
    EXPECT_EQ(D.LayerCount, before.LayerCount);
    EXPECT_EQ(D.LayerRho, before.LayerRho);
    EXPECT_EQ(D.LayerDepth, before.LayerDepth);
    EXPECT_EQ(D.RhoUnknown, before.RhoUnknown);
    EXPECT_EQ(D.DepthUnknown, before.DepthUnknown);
    EXPECT_EQ(D.RhoPercentText, before.RhoPercentText);
    EXPECT_EQ(D.DepthIntervalText, before.DepthIntervalText);
    EXPECT_EQ(D.StructureChanged, before.StructureChanged);
  }

  void ExpectDone(int notifications) {
    EXPECT_EQ(LastErrorMessage, Untouched);
    EXPECT_EQ(Changes, notifications);
    EXPECT_TRUE(StructureAtLastChange);
    EXPECT_TRUE(D.StructureChanged);
  }
};

const std::string MeasurementsFull = "Can not insert measurement(s)! Maximum number of measurements is 15.";
const std::string MeasurementsMinimum = "Can not delete measurement(s)! Minimum number of measurements is 1.";
const std::string LayersFull = "Can not insert layer(s)! Maximum number of layers is 4.";
const std::string LayersMinimum = "Can not delete layer(s)! Minimum number of layers is 1.";

using Measurements = TEditing;
using Layers = TEditing;
using Values = TEditing;

TEST_F(Measurements, InsertMovesTheRowsDownAndTheNewRowsRepeatThem) {
  SetUpMeasurements(13);
  D.Saved = false;
  const TResondixData before = D;
  ASSERT_TRUE(D.InsertMeasurements(4, 2));
  ExpectDone(2);
  EXPECT_FALSE(D.Saved);
  EXPECT_EQ(D.MeasurementCount, 15);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(D.HalfSpacing[i], before.HalfSpacing[i]) << i;  // rows 4 and 5 keep what they held
    EXPECT_EQ(D.ApparentRho[i], before.ApparentRho[i]) << i;
  }
  for (int i = 4; i <= 13; ++i) {
    EXPECT_EQ(D.HalfSpacing[i + 2], before.HalfSpacing[i]) << i;
    EXPECT_EQ(D.ApparentRho[i + 2], before.ApparentRho[i]) << i;
  }
  EXPECT_EQ(D.HalfSpacing[4], D.HalfSpacing[6]);
  EXPECT_EQ(D.ApparentRho[5], D.ApparentRho[7]);
}

TEST_F(Measurements, DeleteMovesTheRowsUpAndEmptiesTheFreedResistivities) {
  struct TRow {
    const char* Name;
    int Count, First, Deleted;
  };
  const TRow rows[] = {
      {"last two of ten", 10, 9, 2},
      {"three in the middle", 10, 3, 3},
      {"the first", 15, 1, 1},
      {"all but one", 7, 2, 6},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    SetUpMeasurements(row.Count);
    LastErrorMessage = Untouched;
    const TResondixData before = D;
    ASSERT_TRUE(D.DeleteMeasurements(row.First, row.Deleted));
    ExpectDone(2);
    const int remaining = row.Count - row.Deleted;
    EXPECT_EQ(D.MeasurementCount, remaining);
    for (int i = 1; i <= remaining; ++i) {
      const int from = i < row.First ? i : i + row.Deleted;
      EXPECT_EQ(D.HalfSpacing[i], before.HalfSpacing[from]) << i;
      EXPECT_EQ(D.ApparentRho[i], before.ApparentRho[from]) << i;
    }
    // Raising the count again offers the freed rows with their spacings
    // and without readings.
    D.SetMeasurementCount(row.Count);
    for (int i = remaining + 1; i <= row.Count; ++i) {
      EXPECT_EQ(D.ApparentRho[i], 0) << i;
      EXPECT_EQ(D.HalfSpacing[i], before.HalfSpacing[i]) << i;
    }
    for (int i = row.Count + 1; i <= MaxMeasurements; ++i) EXPECT_EQ(D.ApparentRho[i], before.ApparentRho[i]);
  }
}

TEST_F(Measurements, RefusalsChangeNothing) {
  struct TRow {
    const char* Name;
    int Count;
    bool Insert;
    int First, Rows;
    std::string Message;
  };
  const TRow rows[] = {
      {"insert into a full table", 15, true, 3, 1, MeasurementsFull},
      {"insert past the capacity", 13, true, 1, 3, MeasurementsFull},
      {"insert a huge count", 13, true, 1, INT_MAX, MeasurementsFull},
      {"insert no rows", 5, true, 2, 0, "Can not insert measurement(s)! Nothing to insert."},
      {"insert a negative count", 5, true, 2, -4, "Can not insert measurement(s)! Nothing to insert."},
      {"delete every row", 6, false, 1, 6, MeasurementsMinimum},
      {"delete the only row", 1, false, 1, 1, MeasurementsMinimum},
      {"delete more rows than exist", 6, false, 1, 40, MeasurementsMinimum},
      {"delete from row 0", 6, false, 0, 1, MeasurementsMinimum},
      {"delete from a negative row", 6, false, INT_MIN, 2, MeasurementsMinimum},
      {"delete beyond the count", 6, false, 7, 1, MeasurementsMinimum},
      {"delete beyond the arrays", 6, false, 99, 1, MeasurementsMinimum},
      {"delete no rows", 6, false, 2, 0, "Can not delete measurement(s)! Nothing to delete."},
      {"delete a negative count", 6, false, 2, INT_MIN, "Can not delete measurement(s)! Nothing to delete."},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    SetUpMeasurements(row.Count);
    const TResondixData before = D;
    LastErrorMessage = Untouched;
    EXPECT_FALSE(row.Insert ? D.InsertMeasurements(row.First, row.Rows) : D.DeleteMeasurements(row.First, row.Rows));
    ExpectRefusedUnchanged(before, row.Message);
  }
}

TEST_F(Measurements, InsertPositionsOutsideTheTableAreHeldAtItsEnds) {
  struct TRow {
    const char* Name;
    int First;
    int Effective;  // where the rows are inserted
  };
  const TRow rows[] = {
      {"row 0 inserts at the top", 0, 1},
      {"a negative row inserts at the top", INT_MIN, 1},
      {"one past the last row appends", 9, 9},
      {"far beyond the table appends", INT_MAX, 9},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    SetUpMeasurements(8);
    LastErrorMessage = Untouched;
    const TResondixData before = D;
    ASSERT_TRUE(D.InsertMeasurements(row.First, 2));
    ExpectDone(2);
    EXPECT_EQ(D.MeasurementCount, 10);
    for (int i = row.Effective; i <= 8; ++i) EXPECT_EQ(D.HalfSpacing[i + 2], before.HalfSpacing[i]) << i;
    for (int i = 1; i < row.Effective + 2; ++i) EXPECT_EQ(D.HalfSpacing[i], before.HalfSpacing[i]) << i;
  }
}

TEST_F(Measurements, ADeleteRunningPastTheLastRowDeletesTheRowsThatExist) {
  SetUpMeasurements(10);
  const TResondixData before = D;
  ASSERT_TRUE(D.DeleteMeasurements(8, 5));
  ExpectDone(2);
  EXPECT_EQ(D.MeasurementCount, 7);
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(D.ApparentRho[i], before.ApparentRho[i]) << i;
  for (int i = 8; i <= 10; ++i) EXPECT_EQ(D.ApparentRho[i], 0) << i;
  EXPECT_EQ(D.ApparentRho[11], before.ApparentRho[11]);
}

TEST_F(Layers, InsertSpreadsTheNewDepthsEvenly) {
  struct TRow {
    const char* Name;
    std::vector<double> Rho, Depths;
    int First, Count;
    std::vector<double> ExpectedDepths;  // all but the half-space
    std::vector<int> From;               // the layer each one's other seven items come from
  };
  const TRow rows[] = {
      {"two at the top of a two-layer model", {110, 37}, {30}, 1, 2, {10, 20, 30}, {1, 2, 1, 2}},
      {"one at the half-space", {110, 37, 250}, {5, 20}, 3, 1, {5, 20, 5010}, {1, 2, 3, 3}},
      {"one in the middle", {110, 37, 250}, {4.5, 17.5}, 2, 1, {4.5, 11, 17.5}, {1, 2, 2, 3}},
      // The new layers 2 and 3 keep what their slots held.
      {"three into a single layer", {80}, {}, 1, 3, {2500, 5000, 7500}, {1, 2, 3, 1}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    SetUpLayers(row.Rho, row.Depths);
    LastErrorMessage = Untouched;
    D.Saved = true;
    const TResondixData before = D;
    ASSERT_TRUE(D.InsertLayers(row.First, row.Count));
    ExpectDone(1);
    EXPECT_TRUE(D.Saved);
    ASSERT_EQ(D.LayerCount, static_cast<int>(row.From.size()));
    for (int i = 1; i < D.LayerCount; ++i) EXPECT_DOUBLE_EQ(D.LayerDepth[i], row.ExpectedDepths[i - 1]) << i;
    EXPECT_EQ(D.LayerDepth[D.LayerCount], HalfSpaceDepth);
    EXPECT_EQ(D.LayerDepth[0], 0);
    for (int i = 1; i <= D.LayerCount; ++i) ExpectLayerFrom(before, i, row.From[i - 1]);
  }
}

TEST_F(Layers, DeleteMovesTheLayersUpAndMakesTheLastOneTheHalfSpace) {
  struct TRow {
    const char* Name;
    std::vector<double> Rho, Depths;
    int First, Count;
    std::vector<int> From;  // the layer each remaining one comes from
  };
  const TRow rows[] = {
      {"the two lower layers of three", {110, 37, 250}, {3.5, 18}, 2, 2, {1}},
      {"the top layer of four", {110, 37, 250, 12}, {3.5, 18, 42}, 1, 1, {2, 3, 4}},
      {"the half-space of four", {110, 37, 250, 12}, {3.5, 18, 42}, 4, 1, {1, 2, 3}},
      {"two running past the half-space", {110, 37, 250}, {3.5, 18}, 3, 2, {1, 2}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    SetUpLayers(row.Rho, row.Depths);
    LastErrorMessage = Untouched;
    const TResondixData before = D;
    ASSERT_TRUE(D.DeleteLayers(row.First, row.Count));
    ExpectDone(1);
    ASSERT_EQ(D.LayerCount, static_cast<int>(row.From.size()));
    for (int i = 1; i <= D.LayerCount; ++i) {
      if (i < D.LayerCount) {
        ExpectLayerFrom(before, i, row.From[i - 1]);
        EXPECT_EQ(D.LayerDepth[i], before.LayerDepth[row.From[i - 1]]);
      } else {
        EXPECT_EQ(D.LayerRho[i], before.LayerRho[row.From[i - 1]]);
        EXPECT_EQ(D.RhoIntervalText[i], before.RhoIntervalText[row.From[i - 1]]);
      }
    }
    EXPECT_EQ(D.LayerDepth[D.LayerCount], HalfSpaceDepth);
    EXPECT_FALSE(D.DepthUnknown[D.LayerCount]);
    // The freed slots keep what they held.
    for (int i = D.LayerCount + 1; i <= before.LayerCount; ++i) {
      EXPECT_EQ(D.RhoPercentText[i], before.RhoPercentText[i]) << i;
      EXPECT_EQ(D.LayerRho[i], before.LayerRho[i]) << i;
    }
  }
}

TEST_F(Layers, RefusalsChangeNothing) {
  struct TRow {
    const char* Name;
    int LayerCount;
    bool Insert;
    int First, Count;
    std::string Message;
  };
  const TRow rows[] = {
      {"insert into four layers", 4, true, 2, 1, LayersFull},
      {"insert past the capacity", 2, true, 1, 3, LayersFull},
      {"insert a huge count", 2, true, 1, INT_MAX, LayersFull},
      {"insert no layer", 2, true, 1, 0, "Can not insert layer(s)! Nothing to insert."},
      {"delete every layer", 3, false, 1, 3, LayersMinimum},
      {"delete the only layer", 1, false, 1, 1, LayersMinimum},
      {"delete beyond the count", 3, false, 4, 1, LayersMinimum},
      {"delete beyond the arrays", 3, false, 17, 1, LayersMinimum},
      {"delete from layer 0", 3, false, 0, 1, LayersMinimum},
      {"delete no layer", 3, false, 1, 0, "Can not delete layer(s)! Nothing to delete."},
      {"delete a negative count", 3, false, 2, -1, "Can not delete layer(s)! Nothing to delete."},
  };
  const std::vector<double> rho = {110, 37, 250, 12}, depths = {3.5, 18, 42};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    SetUpLayers(std::vector<double>(rho.begin(), rho.begin() + row.LayerCount), depths);
    const TResondixData before = D;
    LastErrorMessage = Untouched;
    EXPECT_FALSE(row.Insert ? D.InsertLayers(row.First, row.Count) : D.DeleteLayers(row.First, row.Count));
    ExpectRefusedUnchanged(before, row.Message);
  }
}

TEST_F(Layers, InsertPositionsOutsideTheModelStayAboveTheHalfSpace) {
  for (int first : {0, INT_MIN, 4, INT_MAX}) {
    SCOPED_TRACE(first);
    SetUpLayers({110, 37, 250}, {3.5, 18});
    ASSERT_TRUE(D.InsertLayers(first, 1));
    EXPECT_EQ(D.LayerCount, 4);
    EXPECT_EQ(D.LayerDepth[4], HalfSpaceDepth);
    EXPECT_EQ(D.LayerRho[4], 250);
    for (int i = 1; i <= 3; ++i) EXPECT_LT(D.LayerDepth[i], D.LayerDepth[i + 1]) << i;
  }
}

// Any sequence of inserts and deletes, with arguments in and outside the
// model, keeps a valid model valid: counts within the capacity, depths
// increasing, the half-space last and never an unknown depth. Under the
// sanitizers this also shows that no array is left.
TEST_F(Layers, RandomEditsKeepTheModelValid) {
  std::mt19937 random(1903);
  std::uniform_int_distribution<int> position(-2, 7), count(-1, 5);
  SetUpLayers({110, 37, 250}, {3.5, 18});
  for (int step = 0; step < 1000; ++step) {
    const int first = position(random), n = count(random);
    const int before = D.LayerCount;
    const bool insert = random() % 2 == 0;
    const bool done = insert ? D.InsertLayers(first, n) : D.DeleteLayers(first, n);
    SCOPED_TRACE(std::string(insert ? "insert " : "delete ") + std::to_string(first) + ", " + std::to_string(n));
    ASSERT_GE(D.LayerCount, 1);
    ASSERT_LE(D.LayerCount, MaxLayers);
    if (!done) {
      ASSERT_EQ(D.LayerCount, before);
    }
    ASSERT_EQ(D.LayerDepth[D.LayerCount], HalfSpaceDepth);
    ASSERT_FALSE(D.DepthUnknown[D.LayerCount]);
    for (int i = 1; i <= D.LayerCount; ++i) ASSERT_GT(D.LayerDepth[i], D.LayerDepth[i - 1]) << i;
  }
}

TEST_F(Values, RulesByGridAndColumn) {
  struct TRow {
    const char* Name;
    std::vector<double> Depths;  // LayerDepth[1..]; the model has this many layers
    int Column, Row;
    bool IsModel;
    double Value;
    std::string Refusal;  // empty: accepted
  };
  const std::vector<double> fourEmpty = {5, 0, 0, HalfSpaceDepth};
  const std::vector<double> newModel = {0, 0, HalfSpaceDepth};
  const std::vector<double> filled = {5, 12.25, 20, HalfSpaceDepth};
  const TRow rows[] = {
      {"L/2 of 0", newModel, 0, 1, false, 0, ""},
      {"L/2 just below 3100", newModel, 0, 15, false, 3099.99, ""},
      {"L/2 of 3100", newModel, 0, 1, false, 3100, "Value must be between 0 and 3100!"},
      {"negative L/2", newModel, 0, 1, false, -0.5, "Value must be between 0 and 3100!"},
      {"measured rho", newModel, 1, 3, false, 0.004, ""},
      {"measured rho of 0", newModel, 1, 3, false, 0, "Value must be greater than 0!"},
      {"layer rho", newModel, 0, 2, true, 17.5, ""},
      {"negative layer rho", newModel, 0, 2, true, -3, "Value must be greater than 0!"},
      {"first depth of a new model", newModel, 1, 1, true, 0.01, ""},
      {"first depth of 0", newModel, 1, 1, true, 0, "Value must be greater than 0!"},
      {"second depth of a new model", newModel, 1, 2, true, 9999.5, ""},
      {"second depth at the half-space", newModel, 1, 2, true, 10000,
       "Value must be between 0.00 and 10000.00!"},
      {"above the layer above", fourEmpty, 1, 2, true, 3, "Value must be greater than 5.00!"},
      {"on the layer above", fourEmpty, 1, 2, true, 5, "Value must be greater than 5.00!"},
      {"below the layer above", fourEmpty, 1, 2, true, 5.01, ""},
      {"between the neighbours", filled, 1, 2, true, 19.99, ""},
      {"below the next", filled, 1, 2, true, 25, "Value must be between 5.00 and 20.00!"},
      {"on the depth above", filled, 1, 3, true, 12.25, "Value must be between 12.25 and 10000.00!"},
      {"another column", filled, 2, 1, true, -1, ""},
      {"another measurement column", filled, 7, 1, false, -1, ""},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    D.LayerCount = static_cast<int>(row.Depths.size());
    for (int i = 1; i <= 15; ++i) D.LayerDepth[i] = i <= D.LayerCount ? row.Depths[i - 1] : 0;
    const TResondixData before = D;
    LastErrorMessage = Untouched;
    EXPECT_EQ(D.ValidateValue(row.Column, row.Row, row.IsModel, row.Value), row.Refusal.empty());
    EXPECT_EQ(LastErrorMessage, row.Refusal.empty() ? Untouched : row.Refusal);
    EXPECT_EQ(D.LayerDepth, before.LayerDepth);
    EXPECT_EQ(Changes, 0);
  }
}

TEST_F(Values, DepthMessagesUseTheUsersDecimalSeparator) {
  D.LayerCount = 4;
  D.LayerDepth[1] = 5.004;
  D.LayerDepth[2] = 0;
  D.LayerDepth[3] = 20.126;
  D.LayerDepth[4] = HalfSpaceDepth;
  SetDecimalSeparator(",");
  EXPECT_FALSE(D.ValidateValue(1, 2, true, 25));
  const std::string between = LastErrorMessage;
  D.LayerDepth[3] = 0;
  EXPECT_FALSE(D.ValidateValue(1, 2, true, 3));
  const std::string greater = LastErrorMessage;
  SetDecimalSeparator(".");
  EXPECT_EQ(between, "Value must be between 5,00 and 20,13!");
  EXPECT_EQ(greater, "Value must be greater than 5,00!");
}

TEST_F(Values, RowsOutsideTheArraysHaveNoNeighbours) {
  D.LayerCount = 4;
  for (int i = 0; i <= 15; ++i) D.LayerDepth[i] = i * 3.5;
  struct TRow {
    int Row;
    double Value;
    bool Accepted;
  };
  // Row 15 has 14 * 3.5 = 49 above it and no slot below; row 16 sees 52.5
  // above; the rows below 1 see the surface.
  const TRow rows[] = {{15, 49.5, true}, {15, 48, false}, {16, 53, true}, {16, 52, false},
                       {0, 1, true},     {-7, 1, true},   {INT_MIN, 0, false}, {INT_MAX, 1, true}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Row);
    EXPECT_EQ(D.ValidateValue(1, row.Row, true, row.Value), row.Accepted);
  }
}

}  // namespace
