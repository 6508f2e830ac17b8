// What a failed load or import must leave as it was: the document's whole
// content, its file name and annotations included.
#pragma once

#include <gtest/gtest.h>

#include "ResondixData.h"

inline void ExpectUnchanged(const TResondixData& before, const TResondixData& after) {
  EXPECT_EQ(after.FileName, before.FileName);
  EXPECT_EQ(after.Info, before.Info);
  EXPECT_EQ(after.MeasurementCount, before.MeasurementCount);
  EXPECT_EQ(after.LayerCount, before.LayerCount);
  EXPECT_EQ(after.HalfSpacing, before.HalfSpacing);
  EXPECT_EQ(after.ApparentRho, before.ApparentRho);
  EXPECT_EQ(after.LayerRho, before.LayerRho);
  EXPECT_EQ(after.LayerDepth, before.LayerDepth);
  EXPECT_EQ(after.IsSchlumberger, before.IsSchlumberger);
  EXPECT_EQ(after.FilterCount, before.FilterCount);
  EXPECT_EQ(after.Annotations, before.Annotations);
  EXPECT_EQ(after.Saved, before.Saved);
  EXPECT_EQ(after.RhoUnknown, before.RhoUnknown);
  EXPECT_EQ(after.DepthUnknown, before.DepthUnknown);
  EXPECT_EQ(after.StructureChanged, before.StructureChanged);
  EXPECT_EQ(after.HasFitResult, before.HasFitResult);
}
