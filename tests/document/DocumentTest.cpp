// The document's state after New and after each setter: values, the flags
// the window reads at each change notification, the filters and the texts.
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "document/Position.h"
#include "document/ResondixData.h"
#include "tests/TestSupport.h"

namespace {

// Logs each change notification as "S" when the structure changed, "s" when
// the document is saved, "-" otherwise, and a blank.
void LogChanges(TResondixData& d, std::string& log) {
  d.OnChange = [&log](TResondixData& sender) {
    log += std::string(sender.StructureChanged ? "S" : "-") + (sender.Saved ? "s " : "- ");
  };
}

TEST(Document, NewResetsEverythingAndNotifiesWithItsFinalStateAndTextsAreCut) {
  TResondixData d;
  d.ApparentRho[4] = 12;
  d.LayerCount = 4;
  d.RhoUnknown[2] = d.HasFitResult = true;
  d.FileName = "/data/a.rxd";
  d.ProjectName() = "Survey";
  d.Annotations.push_back({1, 2, 3, 4, "note"});
  d.SetSoundingType(false);
  d.Saved = false;
  std::string log;
  LogChanges(d, log);
  d.New();
  // 15 default spacings without readings, three empty layers, Schlumberger.
  EXPECT_EQ(Tables(d), "1.5:0 2:0 2.5:0 3:0 4:0 5:0 6:0 8:0 10:0 12:0 15:0 20:0 25:0 30:0 40:0 | 0/0 0/0 0/10000");
  EXPECT_FALSE(d.RhoUnknown[2] || d.HasFitResult);
  EXPECT_EQ((std::vector<std::string>{d.FileName, d.ProjectName().str(), d.SoundingTypeText().str()}),
            (std::vector<std::string>{"untitled.rxd", "", " Schlumberger"}));
  EXPECT_TRUE(d.Annotations.empty());
  EXPECT_TRUE(d.IsSchlumberger);
  EXPECT_EQ(log, "Ss Ss Ss ");  // each setter inside New, then New itself
  EXPECT_EQ(DefaultHalfSpacing(1000), 3000);  // beyond the table: its last entry
  // Texts are cut to their capacity, never inside a UTF-8 character.
  d.Remarks() = std::string(100, 'r');
  EXPECT_EQ(d.Info[14], std::string(80, 'r'));
  d.ProjectLocation() = std::string(79, 'x') + "\xC3\xA9" + "tail";  // "é" across the 80th byte
  EXPECT_EQ(d.ProjectLocation(), std::string(79, 'x'));
}

TEST(Document, SettersStayInsideTheArraysAndSayWhatChanged) {
  TResondixData d;
  d.SetMeasurementCount(3);
  std::string log;
  LogChanges(d, log);
  d.SetValue(1, 3, false, 42.5);
  d.SetValue(0, 2, true, 17);
  d.SetValue(1, 1, true, 33);
  d.SetValue(0, 1, false, 1.25);
  EXPECT_EQ(Tables(d), "1.25:0 2:0 2.5:42.5 | 0/33 17/0 0/10000");
  // Another column, or a row outside the arrays: nothing stored, still a change.
  const std::string before = Tables(d);
  for (auto [column, row] : {std::pair{2, 3}, {0, 16}, {1, -1}}) d.SetValue(column, row, column == 1, 99);
  EXPECT_EQ(Tables(d), before);
  // The measurement count stays within the capacity and keeps the values behind it.
  d.SetMeasurementCount(2);
  d.SetMeasurementCount(40);
  EXPECT_EQ(d.MeasurementCount, MaxMeasurements);
  EXPECT_EQ(d.ApparentRho[3], 42.5);
  d.SetMeasurementCount(-5);
  EXPECT_EQ(d.MeasurementCount, 1);
  // The configuration loads its filter (see the engine's tests) and leaves the configuration text.
  d.SetSoundingType(false);
  EXPECT_EQ(d.SoundingTypeText(), " Schlumberger");
  EXPECT_EQ(log, "-- -- -- -- -- -- -- S- S- S- S- ");
}

TEST(Document, PositionLinesAsTheImportWritesThemAndAsTheyAreTyped) {
  const struct {
    std::string Text;
    bool Read;
    double X, Y;
  } rows[] = {
      {PositionText("243871, 561224") + " (RD), Z = 6.35 (NAP)", true, 243871, 561224},
      {PositionText("212400.5; 561800"), true, 212400.5, 561800},
      {"  X, Y =1e3 -20", true, 1000, -20},
      {PositionText("243871, , 561224"), false, 0, 0},
      {PositionText("243871"), false, 0, 0},
      {"x, y = 1, 2", false, 0, 0},
  };
  for (const auto& row : rows) {
    double x = 0, y = 0;
    EXPECT_EQ(ParsePosition(row.Text, x, y), row.Read) << row.Text;
    EXPECT_TRUE(x == row.X && y == row.Y) << row.Text;
  }
}

}  // namespace
