// The changes the window makes outside the value grids: an annotation
// change and a description that changed the file make the document unsaved
// and are announced; a description edit that leaves the file as it was is
// not a change.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "document/ResondixData.h"
#include "tests/TestSupport.h"

namespace {

TEST(UserEdits, ADescriptionEditIsAChangeExactlyWhenTheFileWouldDiffer) {
  const struct {
    const char* Name;
    std::function<void(TResondixData& d)> Edit;
  } rows[] = {
      {"Nothing", [](TResondixData&) {}},
      {"ARemark", [](TResondixData& d) { d.Remarks() = "wet"; }},
      {"TheTypeLineAlone", [](TResondixData& d) { d.SoundingTypeText() = " Wenner"; }},
      {"TheConfiguration", [](TResondixData& d) { d.SetSoundingType(false); }},
      {"TheCountLowered", [](TResondixData& d) { d.SetMeasurementCount(10); }},
      {"TheCountKept", [](TResondixData& d) { d.SetMeasurementCount(15); }},
  };
  for (const auto& row : rows) {
    TResondixData d;
    ASSERT_TRUE(d.LoadFromFile(ExamplePath("three-layer-schlumberger.rxd")));
    const std::string file = d.DataFileText();
    int changes = 0;
    d.OnChange = [&changes](TResondixData&) { ++changes; };
    const bool changed = d.EditDescription([&](TResondixData& document) {
      row.Edit(document);
      changes = 0;  // the setters' own notifications
    });
    EXPECT_EQ(changed, d.DataFileText() != file) << row.Name;
    EXPECT_EQ(d.Saved, !changed) << row.Name;
    EXPECT_EQ(changes, changed ? 1 : 0) << row.Name;
  }
}

TEST(UserEdits, AnnotationChangesAreAnnouncedAsSuchAndLeaveTheDocumentUnsaved) {
  TResondixData d;
  std::string log;  // per notification: "a" for annotations, "S" for a change of structure
  d.OnChange = [&log](TResondixData& sender) {
    log += std::string(sender.AnnotationsChanged ? "a" : "-") + (sender.StructureChanged ? "S " : "- ");
  };
  EXPECT_EQ(d.AddAnnotation({10, 20, 100, 20, "Clay"}), 0);
  EXPECT_FALSE(d.Saved);
  d.Saved = true;
  d.SetAnnotation(0, {12, 22, 100, 40, "Clay\nwet"});
  EXPECT_FALSE(d.Saved);
  d.SetAnnotation(1, {});  // beyond the list: nothing
  d.DeleteAnnotation(-1);
  EXPECT_EQ(d.Annotations, (std::vector<TAnnotation>{{12, 22, 100, 40, "Clay\nwet"}}));
  d.DeleteAnnotation(0);
  EXPECT_TRUE(d.Annotations.empty());
  d.SetValue(1, 1, false, 50);  // any other change is no annotation change
  EXPECT_EQ(log, "a- a- a- -- ");
}

}  // namespace
