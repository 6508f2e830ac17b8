// The document's state after New and after each setter: values, the flags
// the window reads, and how often the change notification is raised.
#include <gtest/gtest.h>

#include "ResondixData.h"

namespace {

// Counts notifications and keeps the flags seen at the last one.
struct TChangeLog {
  int Count = 0;
  bool LastStructureChanged = false;
  bool LastSaved = false;

  void Attach(TResondixData& d) {
    d.OnChange = [this](TResondixData& sender) {
      ++Count;
      LastStructureChanged = sender.StructureChanged;
      LastSaved = sender.Saved;
    };
  }
};

TEST(Document, NewGivesDefaultSpacingsAndAnEmptyThreeLayerModel) {
  TResondixData d;
  const double spacings[] = {1.5, 2, 2.5, 3, 4, 5, 6, 8, 10, 12, 15, 20, 25, 30, 40};
  ASSERT_EQ(d.MeasurementCount, 15);
  for (int i = 1; i <= 15; ++i) {
    EXPECT_EQ(d.HalfSpacing[i], spacings[i - 1]) << "measurement " << i;
    EXPECT_EQ(d.ApparentRho[i], 0) << "measurement " << i;
  }
  EXPECT_EQ(d.LayerCount, 3);
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(d.LayerRho[i], 0);
  EXPECT_EQ(d.LayerDepth[1], 0);
  EXPECT_EQ(d.LayerDepth[2], 0);
  EXPECT_EQ(d.LayerDepth[3], HalfSpaceDepth);
  EXPECT_TRUE(d.IsSchlumberger);
  EXPECT_EQ(d.SoundingTypeText(), " Schlumberger");
  EXPECT_EQ(d.FileName, "untitled.rxd");
  EXPECT_TRUE(d.Saved);
  EXPECT_TRUE(d.StructureChanged);
  EXPECT_FALSE(d.MeasurementsValid);
  EXPECT_FALSE(d.ModelValid);
  EXPECT_EQ(d.UnknownCount, 0);
  EXPECT_EQ(d.FitStatus, 0);
  EXPECT_FALSE(d.HasFitResult);
  for (int i = 0; i <= MaxLayers; ++i) {
    EXPECT_EQ(d.RhoPercentText[i], "  * ");
    EXPECT_EQ(d.DepthIntervalText[i], "  * ");
  }
}

TEST(Document, NewResetsAnEditedDocumentAndNotifiesWithItsFinalState) {
  TResondixData d;
  d.ApparentRho[4] = 12;
  d.LayerCount = 4;
  d.RhoUnknown[2] = true;
  d.RhoPercentText[2] = " 12%";
  d.FileName = "/data/a.rxd";
  d.ProjectName() = "Survey";
  d.Annotations.push_back({1, 2, 3, 4, "note"});
  d.SetSoundingType(false);
  d.HasFitResult = true;
  d.Rmse = 0.5;
  d.ParameterNames[1] = "Rho 1";

  TChangeLog log;
  log.Attach(d);
  d.New();
  EXPECT_EQ(d.ApparentRho[4], 0);
  EXPECT_EQ(d.LayerCount, 3);
  EXPECT_FALSE(d.RhoUnknown[2]);
  EXPECT_EQ(d.RhoPercentText[2], "  * ");
  EXPECT_EQ(d.FileName, "untitled.rxd");
  EXPECT_EQ(d.ProjectName(), "");
  EXPECT_TRUE(d.Annotations.empty());
  EXPECT_TRUE(d.IsSchlumberger);
  EXPECT_EQ(d.FilterCount, 20);
  EXPECT_FALSE(d.HasFitResult);
  EXPECT_EQ(d.Rmse, 0);
  EXPECT_EQ(d.ParameterNames[1], "");
  // Each setter inside New notifies, and New once more at its end.
  EXPECT_EQ(log.Count, 3);
  EXPECT_TRUE(log.LastStructureChanged);
  EXPECT_TRUE(log.LastSaved);
}

TEST(Document, SetValueStoresOneValueAndMarksTheDocumentUnsaved) {
  TResondixData d;
  TChangeLog log;
  log.Attach(d);

  d.SetValue(1, 3, false, 42.5);
  EXPECT_EQ(d.ApparentRho[3], 42.5);
  EXPECT_EQ(d.HalfSpacing[3], 2.5);
  EXPECT_EQ(log.Count, 1);
  EXPECT_FALSE(log.LastStructureChanged);
  EXPECT_FALSE(log.LastSaved);

  d.SetValue(0, 2, true, 17);
  d.SetValue(1, 2, true, 33);
  d.SetValue(0, 1, false, 1.25);
  EXPECT_EQ(d.LayerRho[2], 17);
  EXPECT_EQ(d.LayerDepth[2], 33);
  EXPECT_EQ(d.HalfSpacing[1], 1.25);
  EXPECT_EQ(log.Count, 4);
}

TEST(Document, SetValueOutsideTheColumnsOrArraysStoresNothingButStillNotifies) {
  TResondixData d;
  const TResondixData before = d;
  TChangeLog log;
  log.Attach(d);
  d.Saved = true;
  d.SetValue(2, 3, false, 99);
  d.SetValue(0, 16, false, 99);
  d.SetValue(1, -1, true, 99);
  EXPECT_EQ(log.Count, 3);
  EXPECT_FALSE(d.Saved);
  EXPECT_EQ(d.HalfSpacing, before.HalfSpacing);
  EXPECT_EQ(d.ApparentRho, before.ApparentRho);
  EXPECT_EQ(d.LayerRho, before.LayerRho);
  EXPECT_EQ(d.LayerDepth, before.LayerDepth);
}

TEST(Document, LoweringTheMeasurementCountKeepsTheValuesBehindIt) {
  TResondixData d;
  d.ApparentRho[7] = 70;
  TChangeLog log;
  log.Attach(d);
  d.SetMeasurementCount(5);
  d.SetMeasurementCount(8);
  EXPECT_EQ(d.MeasurementCount, 8);
  EXPECT_EQ(d.HalfSpacing[6], 5);
  EXPECT_EQ(d.ApparentRho[7], 70);
  EXPECT_EQ(log.Count, 2);
  EXPECT_TRUE(log.LastStructureChanged);
}

TEST(Document, MeasurementCountStaysWithinTheCapacity) {
  TResondixData d;
  d.SetMeasurementCount(40);
  EXPECT_EQ(d.MeasurementCount, MaxMeasurements);
  d.SetMeasurementCount(0);
  EXPECT_EQ(d.MeasurementCount, 1);
  d.SetMeasurementCount(-5);
  EXPECT_EQ(d.MeasurementCount, 1);
}

TEST(Document, SetSoundingTypeLoadsTheFilterButLeavesTheTypeText) {
  TResondixData d;
  TChangeLog log;
  log.Attach(d);
  d.SetSoundingType(false);
  EXPECT_FALSE(d.IsSchlumberger);
  EXPECT_EQ(d.SoundingTypeText(), " Schlumberger");
  EXPECT_EQ(d.FilterCount, 10);
  EXPECT_NEAR(d.FilterRatio, 2.1544454, 1e-7);
  EXPECT_DOUBLE_EQ(d.CurveLogSpacing[0], -1.0 / 3);
  EXPECT_EQ(d.FilterCoefficients[11], 0);
  EXPECT_EQ(log.Count, 1);
  EXPECT_TRUE(log.LastStructureChanged);

  d.SetSoundingType(true);
  EXPECT_EQ(d.FilterCount, 20);
  EXPECT_NEAR(d.FilterRatio, 1.4678029, 1e-7);
  EXPECT_DOUBLE_EQ(d.CurveLogSpacing[0], -1.0 / 6);
  EXPECT_EQ(d.FilterCoefficients[20], 30.42);
}

TEST(Document, BothFilterSetsSumToTenThousand) {
  TResondixData d;
  for (bool schlumberger : {true, false}) {
    d.SetSoundingType(schlumberger);
    double sum = 0;
    for (int k = 1; k <= d.FilterCount; ++k) sum += d.FilterCoefficients[k];
    EXPECT_NEAR(sum, 10000, 1e-9) << (schlumberger ? "Schlumberger" : "Wenner");
  }
}

TEST(Document, InfoLinesAreCutToEightyCharactersAndNamedByTheirRole) {
  TResondixData d;
  d.Remarks() = std::string(100, 'r');
  EXPECT_EQ(d.Remarks().size(), 80u);
  EXPECT_EQ(d.Info[14], std::string(80, 'r'));
  d.ProjectName() = "P";
  d.ABLength() = "A";
  d.DataName() = "D";
  EXPECT_EQ(d.Info[1], "P");
  EXPECT_EQ(d.Info[8], "A");
  EXPECT_EQ(d.Info[12], "D");
  // A cut never leaves half of a UTF-8 character: 79 ASCII bytes then "é"
  // (two bytes) keeps only the 79.
  d.ProjectLocation() = std::string(79, 'x') + "\xC3\xA9" + "tail";
  EXPECT_EQ(d.ProjectLocation(), std::string(79, 'x'));
}

TEST(Document, ShortTextsAreCutToTheirCapacity) {
  TPercentText percent = "100%%";
  EXPECT_EQ(percent, "100%");
  TIntervalText interval = "123456789 - 1234567890";
  EXPECT_EQ(interval.size(), 20u);
  TParameterName name = "Depth 123456789";
  EXPECT_EQ(name, "Depth 123456");
}

TEST(Document, DefaultHalfSpacingTableAndItsLastEntry) {
  EXPECT_EQ(DefaultHalfSpacing(1), 1.5);
  EXPECT_EQ(DefaultHalfSpacing(15), 40);
  EXPECT_EQ(DefaultHalfSpacing(16), 50);
  EXPECT_EQ(DefaultHalfSpacing(43), 3000);
  EXPECT_EQ(DefaultHalfSpacing(44), 3000);
  EXPECT_EQ(DefaultHalfSpacing(1000), 3000);
}

}  // namespace
