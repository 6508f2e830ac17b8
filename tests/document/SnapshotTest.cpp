// The document's part of the undo history: a step is taken back and again by
// what it changed alone, what changed beside it stays, the fit's result goes,
// and snapshots share the annotations while they are the same.
#include <gtest/gtest.h>

#include "document/Snapshot.h"
#include "tests/TestSupport.h"

namespace {

TEST(Snapshot, RestoreTakesTheStepBackOrAgainAndLeavesWhatChangedBesideIt) {
  TMessageRecorder messages;
  TResondixData d;
  ASSERT_TRUE(d.LoadFromFile(ExamplePath("three-layer-schlumberger.rxd")));
  ASSERT_FALSE(d.Annotations.empty());
  for (int i = 1; i < d.LayerCount; ++i) d.DepthUnknown[i] = true;
  ASSERT_TRUE(d.Fit().Ran && d.HasFitResult);

  // The step: a value typed; beside it an unknown ticked and a save's name.
  const TDocumentSnapshot before = d.Snapshot();
  d.SetValue(1, 3, false, 250);
  const TDocumentSnapshot after = d.Snapshot(&before);
  EXPECT_EQ(after.Annotations, before.Annotations) << "one list while they are the same";
  d.RhoUnknown[1] = true;
  d.FileName = "saved.rxd";

  std::string log;
  d.OnChange = [&log](TResondixData& sender) { log += sender.StructureChanged ? "S" : "-"; };
  d.Restore(after, before, true);
  EXPECT_EQ(d.ApparentRho[3], before.Sounding.ApparentRho[3]);
  EXPECT_TRUE(d.RhoUnknown[1]);
  EXPECT_EQ(d.FileName, "saved.rxd");
  EXPECT_TRUE(d.Saved);
  EXPECT_FALSE(d.HasFitResult);
  EXPECT_EQ(d.DepthPercentText[1], NoStatisticText) << "no figure of a fit of another model";
  EXPECT_EQ(log, "S");
  d.Restore(before, after, false);
  EXPECT_EQ(d.ApparentRho[3], 250);
  EXPECT_FALSE(d.Saved);

  // A step that renamed the document and added a label: both go back.
  const TDocumentSnapshot unnamed = d.Snapshot(&after);
  d.AddAnnotation({1, 2, 3, 4, "Sand"});
  d.FileName = "imported.rxd";
  const TDocumentSnapshot renamed = d.Snapshot(&unnamed);
  EXPECT_NE(renamed.Annotations, unnamed.Annotations);
  d.Restore(renamed, unnamed, false);
  EXPECT_TRUE(d.Snapshot() == unnamed);
  d.Restore(unnamed, renamed, false);
  EXPECT_TRUE(d.Snapshot() == renamed);
}

}  // namespace
