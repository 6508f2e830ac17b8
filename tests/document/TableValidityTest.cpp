// The check of whole tables that decides whether a sounding can be fitted:
// every value entered and accepted by the value rules, the half-space depth
// aside.
#include <gtest/gtest.h>

#include "ResondixData.h"

namespace {

// A sounding that passes both checks: five measurements, three layers.
TResondixData Valid() {
  TResondixData d;
  d.SetMeasurementCount(5);
  const double rho[] = {0, 131.7, 118.2, 84.9, 61.3, 57.8};
  for (int i = 1; i <= 5; ++i) d.ApparentRho[i] = rho[i];
  d.LayerRho[1] = 142.5;
  d.LayerRho[2] = 27.3;
  d.LayerRho[3] = 480.1;
  d.LayerDepth[1] = 3.4;
  d.LayerDepth[2] = 18.9;
  return d;
}

struct TCase {
  const char* Name;
  void (*Damage)(TResondixData& d);
  bool MeasurementsValid;
  bool ModelValid;
  const char* Message;  // left by the failing value; "" when none is named
};

TEST(TableValidity, EveryValueEnteredAndAccepted) {
  const TCase cases[] = {
      {"AllEntered", [](TResondixData&) {}, true, true, ""},
      {"ResistivityNotEntered", [](TResondixData& d) { d.ApparentRho[4] = 0; }, false, true, ""},
      {"NegativeResistivity", [](TResondixData& d) { d.ApparentRho[2] = -3.5; }, false, true,
       "Value must be greater than 0!"},
      {"SpacingBeyondTheRange", [](TResondixData& d) { d.HalfSpacing[5] = 3100; }, false, true,
       "Value must be between 0 and 3100!"},
      {"RowsBeyondTheCountAreNotChecked", [](TResondixData& d) { d.ApparentRho[6] = -1; }, true, true, ""},
      {"LayerResistivityNotEntered", [](TResondixData& d) { d.LayerRho[3] = 0; }, true, false, ""},
      {"DepthNotEntered", [](TResondixData& d) { d.LayerDepth[2] = 0; }, true, false, ""},
      {"DepthsOutOfOrder", [](TResondixData& d) { d.LayerDepth[2] = 2.75; }, true, false,
       "Value must be between 0.00 and 2.75!"},  // layer 1 is checked first
      {"HalfSpaceDepthIsNotChecked", [](TResondixData& d) { d.LayerDepth[3] = 0; }, true, true, ""},
      {"OneLayer",
       [](TResondixData& d) {
         d.LayerCount = 1;
         d.LayerDepth[1] = HalfSpaceDepth;
       },
       true, true, ""},
  };
  for (const TCase& c : cases) {
    TResondixData d = Valid();
    c.Damage(d);
    LastErrorMessage.clear();
    EXPECT_EQ(d.MeasurementsAreValid(), c.MeasurementsValid) << c.Name;
    EXPECT_EQ(d.ModelIsValid(), c.ModelValid) << c.Name;
    EXPECT_EQ(LastErrorMessage, c.Message) << c.Name;
  }
}

TEST(TableValidity, ANewDocumentCannotBeFitted) {
  const TResondixData d;
  EXPECT_FALSE(d.MeasurementsAreValid());
  EXPECT_FALSE(d.ModelIsValid());
}

}  // namespace
