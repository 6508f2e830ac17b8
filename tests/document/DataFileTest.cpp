// The .rxd data file: the exact text written, what is read back, and that
// neither a failed save nor a failed load ever loses data.
#include <cmath>
#include <filesystem>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "NumberText.h"
#include "ExpectUnchanged.h"
#include "ResondixData.h"
#include "TestSupport.h"

namespace {

const std::string Identification = "Schlumberger/Wenner Data File  (c) 1998 K.P.Vordax - Resondix 2.20";

// A small valid file: 3 measurements, 2 layers, description lines D1..D14
// with the type line given.
std::string SmallFile(const std::string& typeLine = " Schlumberger", const std::string& firstLine = Identification) {
  std::vector<std::string> lines = {firstLine};
  for (int i = 1; i <= 14; ++i) lines.push_back(i == 5 ? typeLine : "D" + std::to_string(i));
  lines.insert(lines.end(), {"3 2", "        1.50       10.00", "        3.00       20.00", "        6.00       30.00",
                             "0", "      100.00        5.00", "       50.00    10000.00", "", "0"});
  return JoinLines(lines);
}

struct TLoadFixture : ::testing::Test {
  TTemporaryFolder Folder;
  TMessageRecorder Recorder;
  TResondixData Document;
  int Changes = 0;

  void SetUp() override {
    Document.OnChange = [this](TResondixData&) { ++Changes; };
  }

  bool Load(const std::string& text, const std::string& name = "in.rxd") {
    const std::string path = Folder.File(name);
    WriteWholeFile(path, text);
    Document.FileName = path;
    Changes = 0;
    return Document.LoadFromFile();
  }
};

using DataFileRead = TLoadFixture;

TEST(DataFileWrite, NewDocumentIsWrittenLineByLineAsDocumented) {
  TTemporaryFolder folder;
  TResondixData d;
  d.FileDate() = "6-12-2026";
  d.FileName = folder.File("new.rxd");
  ASSERT_TRUE(d.SaveToFile());

  std::vector<std::string> expected = {Identification, "", "", "", "", " Schlumberger", "", "", "", "", "",
                                       d.FileName,      "", "6-12-2026", "", "15 3"};
  const char* spacings[] = {"1.50", "2.00", "2.50", "3.00", "4.00", "5.00", "6.00", "8.00",
                            "10.00", "12.00", "15.00", "20.00", "25.00", "30.00", "40.00"};
  for (const char* s : spacings) expected.push_back(std::string(12 - std::strlen(s), ' ') + s + " 0.000E+0000");
  expected.insert(expected.end(), {"0", " 0.000E+0000 0.000E+0000", " 0.000E+0000 0.000E+0000",
                                   " 0.000E+0000    10000.00", "", "0"});
  EXPECT_EQ(ReadWholeFile(d.FileName), JoinLines(expected));
  EXPECT_EQ(d.DataFileName(), d.FileName);
}

TEST(DataFileWrite, AnnotationLinesQuoteAndJoinLineBreaks) {
  TResondixData d;
  d.Annotations.push_back({120, 45, 100, 40, "Top soil\ndry"});
  d.Annotations.push_back({-3, 7, 1, 1, "plain"});
  d.Annotations.push_back({0, 0, 50, 20, "say \"hi\", twice"});
  const std::string text = d.DataFileText();
  EXPECT_NE(text.find("\r\n3\r\nTE,120,45,100,40,\"Top soil&crnl;dry\"\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nTE,-3,7,1,1,plain\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nTE,0,0,50,20,\"say \"\"hi\"\", twice\"\r\n"), std::string::npos);
}

TEST(DataFileWrite, FieldsThatFillTwelveCharactersStaySeparate) {
  TResondixData d;
  d.SetMeasurementCount(2);
  d.HalfSpacing[1] = 1.5;
  d.ApparentRho[1] = 485000000;
  d.HalfSpacing[2] = 123456789;
  d.ApparentRho[2] = -2;
  d.LayerRho[1] = 25;
  const std::string text = d.DataFileText();
  EXPECT_NE(text.find("\r\n        1.50 485000000.00\r\n123456789.00 -2.000E+0000\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\n       25.00 0.000E+0000\r\n"), std::string::npos);  // as documented
}

TEST(DataFileWrite, ConfigurationLineFollowsTheConfiguration) {
  TResondixData d;
  d.SetSoundingType(false);
  d.SoundingTypeText() = "WENNER";  // as an import leaves it
  const std::string text = d.DataFileText();
  EXPECT_NE(text.find("\r\n Wenner\r\n"), std::string::npos);
  EXPECT_EQ(text.find("WENNER"), std::string::npos);
}

TEST(DataFileWrite, DataFileNameKeepsTheFirstEightyCharactersOfTheFileName) {
  TTemporaryFolder folder;
  TResondixData d;
  d.FileName = folder.File(std::string(120, 'n') + ".rxd");
  ASSERT_TRUE(d.SaveToFile());
  EXPECT_EQ(d.DataFileName(), d.FileName.substr(0, 80));
}

TEST(DataFileWrite, SaveReplacesTheFileAndLeavesNoTemporaryFileBehind) {
  TTemporaryFolder folder;
  const std::string path = folder.File("s.rxd");
  WriteWholeFile(path, "old content");
  TResondixData d;
  d.FileName = path;
  d.Saved = false;
  ASSERT_TRUE(d.SaveToFile());
  EXPECT_TRUE(d.Saved);
  EXPECT_EQ(ReadWholeFile(path), d.DataFileText());
  int files = 0;
  for (auto& entry : std::filesystem::directory_iterator(folder.Folder())) (void)entry, ++files;
  EXPECT_EQ(files, 1);
}

TEST(DataFileWrite, AFailedSaveReportsItAndKeepsWhatWasThere) {
  TTemporaryFolder folder;
  TMessageRecorder recorder;
  TResondixData d;
  d.Saved = false;

  // The folder does not exist.
  d.FileName = folder.File("missing/x.rxd");
  EXPECT_FALSE(d.SaveToFile());
  // The target is a folder with a file in it: it must survive.
  const std::string target = folder.File("occupied.rxd");
  std::filesystem::create_directory(target);
  WriteWholeFile(target + "/inside", "keep");
  d.FileName = target;
  EXPECT_FALSE(d.SaveToFile());
  EXPECT_EQ(ReadWholeFile(target + "/inside"), "keep");

  EXPECT_FALSE(d.Saved);
  ASSERT_EQ(recorder.Messages.size(), 2u);
  EXPECT_EQ(recorder.Messages[0].Kind, TMessageKind::Error);
  EXPECT_EQ(recorder.Messages[0].Text, "Could not save " + folder.File("missing/x.rxd") + "!");
  EXPECT_EQ(recorder.Messages[1].Text, "Could not save " + target + "!");
  for (auto& entry : std::filesystem::directory_iterator(folder.Folder()))
    EXPECT_EQ(entry.path().extension(), ".rxd") << "left behind: " << entry.path();
}

TEST_F(DataFileRead, ReadsAValidFileAndNotifiesTwice) {
  Document.RhoUnknown[1] = true;
  Document.DepthUnknown[1] = true;
  Document.HasFitResult = true;
  Document.ParameterNames[1] = "Rho 1";
  Document.Saved = false;
  ASSERT_TRUE(Load(SmallFile()));
  EXPECT_TRUE(Recorder.Messages.empty());
  EXPECT_EQ(Document.MeasurementCount, 3);
  EXPECT_EQ(Document.HalfSpacing[3], 6);
  EXPECT_EQ(Document.ApparentRho[2], 20);
  EXPECT_EQ(Document.LayerCount, 2);
  EXPECT_EQ(Document.LayerRho[1], 100);
  EXPECT_EQ(Document.LayerDepth[1], 5);
  EXPECT_EQ(Document.LayerDepth[2], 10000);
  EXPECT_EQ(Document.ProjectName(), "D1");
  EXPECT_EQ(Document.Remarks(), "D14");
  EXPECT_TRUE(Document.IsSchlumberger);
  EXPECT_FALSE(Document.RhoUnknown[1]);
  EXPECT_FALSE(Document.DepthUnknown[1]);
  EXPECT_FALSE(Document.HasFitResult);
  EXPECT_EQ(Document.ParameterNames[1], "");
  EXPECT_TRUE(Document.Saved);
  EXPECT_TRUE(Document.StructureChanged);
  EXPECT_EQ(Changes, 2);  // the configuration step, then the end
}

TEST_F(DataFileRead, SavedNewDocumentReadsBackTheSame) {
  TResondixData original;
  original.FileDate() = "today";
  original.FileName = Folder.File("round.rxd");
  ASSERT_TRUE(original.SaveToFile());
  Document.SetMeasurementCount(4);
  Document.FileName = original.FileName;
  ASSERT_TRUE(Document.LoadFromFile());
  EXPECT_EQ(Document.MeasurementCount, 15);
  EXPECT_EQ(Document.LayerCount, 3);
  EXPECT_EQ(Document.HalfSpacing, original.HalfSpacing);
  EXPECT_EQ(Document.ApparentRho, original.ApparentRho);
  EXPECT_EQ(Document.LayerRho, original.LayerRho);
  EXPECT_EQ(Document.LayerDepth, original.LayerDepth);
  EXPECT_EQ(Document.Info, original.Info);
}

TEST_F(DataFileRead, ValuesComeBackAtThePrecisionOfTheirForm) {
  TResondixData original;
  original.ApparentRho[1] = 0.123456;
  original.ApparentRho[2] = 0.0123456;
  original.FileName = Folder.File("precision.rxd");
  ASSERT_TRUE(original.SaveToFile());
  Document.FileName = original.FileName;
  ASSERT_TRUE(Document.LoadFromFile());
  EXPECT_EQ(Document.ApparentRho[1], 0.12);
  EXPECT_EQ(Document.ApparentRho[2], 0.01235);
}

TEST_F(DataFileRead, SurplusMeasurementLinesArePassedOver) {
  std::vector<std::string> lines = {Identification};
  for (int i = 1; i <= 14; ++i) lines.push_back("");
  lines.push_back("20 2");
  for (int i = 1; i <= 20; ++i) lines.push_back(std::to_string(i) + " " + std::to_string(100 + i));
  lines.insert(lines.end(), {"7", "100 5 trailing word", "50 10000"});
  ASSERT_TRUE(Load(JoinLines(lines)));
  EXPECT_EQ(Document.MeasurementCount, 15);
  EXPECT_EQ(Document.HalfSpacing[15], 15);
  EXPECT_EQ(Document.ApparentRho[15], 115);
  EXPECT_EQ(Document.LayerRho[1], 100);
  EXPECT_EQ(Document.LayerDepth[1], 5);
  EXPECT_EQ(Document.LayerRho[2], 50);
}

TEST_F(DataFileRead, SurplusLayersLeaveFourWithTheHalfSpaceLast) {
  std::vector<std::string> lines = {Identification};
  for (int i = 1; i <= 14; ++i) lines.push_back("");
  lines.insert(lines.end(), {"1 6", "1.5 10", "0", "10 1", "20 2", "30 3", "40 4", "50 5", "60 10000"});
  ASSERT_TRUE(Load(JoinLines(lines)));
  EXPECT_EQ(Document.LayerCount, 4);
  EXPECT_EQ(Document.LayerRho[4], 40);
  EXPECT_EQ(Document.LayerDepth[3], 3);
  EXPECT_EQ(Document.LayerDepth[4], 10000);
}

TEST_F(DataFileRead, CountsBelowOneBecomeOne) {
  std::vector<std::string> lines = {Identification};
  for (int i = 1; i <= 14; ++i) lines.push_back("");
  lines.insert(lines.end(), {"0 -3", "0"});
  ASSERT_TRUE(Load(JoinLines(lines)));
  EXPECT_EQ(Document.MeasurementCount, 1);
  EXPECT_EQ(Document.LayerCount, 1);
  EXPECT_EQ(Document.LayerDepth[1], 10000);
}

TEST_F(DataFileRead, HugeCountsEndAtTheEndOfTheFile) {
  std::vector<std::string> lines = {Identification};
  for (int i = 1; i <= 14; ++i) lines.push_back("");
  lines.insert(lines.end(), {"2147483647 2147483647", "2 20"});
  ASSERT_TRUE(Load(JoinLines(lines)));
  EXPECT_EQ(Document.MeasurementCount, 15);
  EXPECT_EQ(Document.HalfSpacing[1], 2);
  EXPECT_EQ(Document.HalfSpacing[2], 0);  // read past the end as 0
  EXPECT_EQ(Document.LayerCount, 4);
}

TEST_F(DataFileRead, AllLineEndsAndTheEndMarkAreUnderstood) {
  const std::string crlf = SmallFile();
  std::string lf, cr;
  for (char c : crlf) {
    if (c != '\r') lf += c;
    if (c != '\n') cr += c;
  }
  for (const std::string& text : {crlf, lf, cr}) {
    ASSERT_TRUE(Load(text));
    EXPECT_EQ(Document.MeasurementCount, 3);
    EXPECT_EQ(Document.LayerRho[2], 50);
    EXPECT_EQ(Document.Remarks(), "D14");
  }
  // Character 26 ends the text: the second layer line is never reached and
  // reads as zeros.
  std::string marked = SmallFile();
  marked.insert(marked.find("       50.00"), "\x1A");
  ASSERT_TRUE(Load(marked));
  EXPECT_EQ(Document.LayerRho[1], 100);
  EXPECT_EQ(Document.LayerRho[2], 0);
}

TEST_F(DataFileRead, OnlyTheExactWennerTextSelectsWenner) {
  ASSERT_TRUE(Load(SmallFile(" Wenner")));
  EXPECT_FALSE(Document.IsSchlumberger);
  EXPECT_EQ(Document.FilterCount, 10);
  ASSERT_TRUE(Load(SmallFile(" Wenner ")));
  EXPECT_TRUE(Document.IsSchlumberger);
  EXPECT_EQ(Document.SoundingTypeText(), " Wenner ");
}

TEST_F(DataFileRead, OlderLayoutMovesTheDescriptionLines) {
  const std::string oldFirst = "Schlumberger/Wenner Data File  (c) 1998 K.P.Vordax";
  ASSERT_EQ(oldFirst.size(), 50u);
  // old 7 fills in for a blank old 11, old 12 for a blank old 14.
  std::vector<std::string> lines = {oldFirst, "Name", "Location", "Position", "Direction", "Date", " Wenner",
                                    "Old7", "old8", "old9", "Old10", " ", "Old12", "Old13", ""};
  lines.insert(lines.end(), {"1 1", "1.5 10", "0", "10 10000"});
  ASSERT_TRUE(Load(JoinLines(lines)));
  EXPECT_EQ(Document.ProjectName(), "Name");
  EXPECT_EQ(Document.ProjectLocation(), "Location");
  EXPECT_EQ(Document.ProjectDate(), "Date");
  EXPECT_EQ(Document.InfoLine4(), " ");
  EXPECT_EQ(Document.SoundingTypeText(), " Wenner");
  EXPECT_FALSE(Document.IsSchlumberger);
  EXPECT_EQ(Document.SoundingPosition(), "Position");
  EXPECT_EQ(Document.SoundingDirection(), "Direction");
  EXPECT_EQ(Document.ABLength(), " ");
  EXPECT_EQ(Document.InfoLine9(), "Old7");
  EXPECT_EQ(Document.InfoLine10(), " ");
  EXPECT_EQ(Document.DataFileName(), "Old10");
  EXPECT_EQ(Document.DataName(), "Old7");
  EXPECT_EQ(Document.FileDate(), "Old13");
  EXPECT_EQ(Document.Remarks(), "Old12");
}

TEST_F(DataFileRead, DescriptionLinesKeepEightyCharacters) {
  std::vector<std::string> lines = {Identification + std::string(100, '+')};
  for (int i = 1; i <= 14; ++i) lines.push_back(i == 1 ? std::string(200, 'p') : "");
  lines.insert(lines.end(), {"1 1", "1.5 10", "0", "10 10000"});
  ASSERT_TRUE(Load(JoinLines(lines)));
  EXPECT_EQ(Document.ProjectName(), std::string(80, 'p'));
  EXPECT_EQ(Document.ProjectLocation(), "");
}

TEST_F(DataFileRead, WithoutIdentificationTheLinesAreReadAsLayers) {
  Document.ProjectName() = "kept";
  Document.SetMeasurementCount(5);
  ASSERT_TRUE(Load("some other text\n1 2\n3 4\n5 6\n"));
  EXPECT_EQ(Document.ProjectName(), "kept");
  EXPECT_EQ(Document.MeasurementCount, 5);
  EXPECT_EQ(Document.LayerRho[1], 1);
  EXPECT_EQ(Document.LayerDepth[2], 4);
  EXPECT_EQ(Document.LayerRho[3], 5);
  EXPECT_EQ(Changes, 1);  // no configuration step
}

TEST_F(DataFileRead, AnnotationsComeBack) {
  TResondixData original;
  original.Annotations.push_back({120, 45, 100, 40, "Top soil\ndry"});
  original.Annotations.push_back({-3, 7, 1, 1, "plain"});
  original.Annotations.push_back({0, 0, 50, 20, "say \"hi\", twice\n\nend"});
  original.Annotations.push_back({5, 5, 60, 30, ""});
  original.FileName = Folder.File("notes.rxd");
  ASSERT_TRUE(original.SaveToFile());
  Document.FileName = original.FileName;
  ASSERT_TRUE(Document.LoadFromFile());
  EXPECT_EQ(Document.Annotations, original.Annotations);
}

TEST_F(DataFileRead, AnnotationsThatCannotBeReadAreLeftOut) {
  std::string text = SmallFile();
  text.replace(text.rfind("\r\n0\r\n"), 5, "\r\n4\r\nTE,1,2,3,4,ok\r\nXX,1,2\r\nTE,1,2,3,four,x\r\nTE,1,\"2\r\n");
  ASSERT_TRUE(Load(text));
  ASSERT_EQ(Document.Annotations.size(), 1u);
  EXPECT_EQ(Document.Annotations[0].Text, "ok");
  // Without the section at all.
  std::string bare = SmallFile();
  bare.resize(bare.rfind("\r\n\r\n0\r\n") + 2);
  ASSERT_TRUE(Load(bare));
  EXPECT_TRUE(Document.Annotations.empty());
}

TEST_F(DataFileRead, AFailedLoadChangesNothingAndReportsTheFile) {
  std::string badLayer = SmallFile(" Wenner");
  badLayer.replace(badLayer.find("      100.00"), 12, "    1,00.00 ");
  std::string badCount = SmallFile();
  badCount.replace(badCount.find("3 2"), 3, "2147483648 2");
  std::string badMeasurement = SmallFile();
  badMeasurement.replace(badMeasurement.find("        3.00"), 12, "       1e999");
  const std::string cases[] = {
      badLayer, badCount, badMeasurement,
      "not a data file\nat all\n",                       // no identification: words where layers should be
      Identification + std::string(15, '\n') + std::string("\0\x01\x02 3 2", 8),  // control characters as the counts
      Identification + std::string(15, '\n') + std::string(3'000'000, '1'),  // a count of megabytes of digits
  };
  Document.ProjectName() = "Keep me";
  Document.ApparentRho[2] = 33;
  Document.Annotations.push_back({1, 2, 3, 4, "keep"});
  Document.RhoUnknown[1] = true;
  Document.HasFitResult = true;
  Document.Saved = false;
  int index = 0;
  for (const std::string& text : cases) {
    SCOPED_TRACE("case " + std::to_string(index));
    const std::string name = "bad" + std::to_string(index++) + ".rxd";
    Document.FileName = "previous.rxd";
    const TResondixData before = Document;
    Recorder.Messages.clear();
    WriteWholeFile(Folder.File(name), text);
    Document.FileName = Folder.File(name);
    Changes = 0;
    EXPECT_FALSE(Document.LoadFromFile());
    TResondixData expected = before;
    expected.FileName = Folder.File(name);  // the caller set it before loading
    ExpectUnchanged(expected, Document);
    EXPECT_EQ(Changes, 0);
    ASSERT_EQ(Recorder.Messages.size(), 1u);
    EXPECT_EQ(Recorder.Messages[0].Kind, TMessageKind::Error);
    EXPECT_EQ(Recorder.Messages[0].Text, "Could not open " + Folder.File(name) + "!");
  }
}

TEST_F(DataFileRead, MissingFilesAndFoldersCannotBeOpened) {
  for (const std::string& path : {Folder.File("absent.rxd"), Folder.Folder().string()}) {
    Recorder.Messages.clear();
    Document.FileName = path;
    const TResondixData before = Document;
    EXPECT_FALSE(Document.LoadFromFile());
    ExpectUnchanged(before, Document);
    EXPECT_EQ(Recorder.Texts(), std::vector<std::string>{"Could not open " + path + "!"});
  }
}

// Random documents saved and loaded agree to the precision of the file's
// real form: two decimals above 0.1, four significant digits at or below.
TEST(DataFileProperty, RandomDocumentsSurviveASaveAndALoad) {
  TTemporaryFolder folder;
  TMessageRecorder recorder;
  std::mt19937 random(20261206);
  auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
  auto value = [&]() {
    switch (random() % 4) {
      case 0: return 0.0;
      case 1: return std::pow(10.0, uniform(-6, -1));
      case 2: return std::pow(10.0, uniform(-1, 7));
      default: return -std::pow(10.0, uniform(-3, 3));
    }
  };
  auto text = [&]() {
    std::string s;
    const int length = static_cast<int>(random() % 100);
    for (int i = 0; i < length; ++i) s += static_cast<char>(' ' + random() % 95);
    return s;
  };
  auto expectClose = [](double written, double read) {
    if (written > 0.1)
      EXPECT_NEAR(read, written, 0.005 + 1e-9 * std::fabs(written));
    else
      EXPECT_NEAR(read, written, 5e-4 * std::fabs(written) + 1e-300);
  };

  for (int round = 0; round < 200; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    TResondixData d;
    d.SetSoundingType(random() % 2 == 0);
    d.SetMeasurementCount(1 + static_cast<int>(random() % MaxMeasurements));
    d.LayerCount = 1 + static_cast<int>(random() % MaxLayers);
    for (int i = 1; i <= MaxMeasurements; ++i) {
      d.HalfSpacing[i] = value();
      d.ApparentRho[i] = value();
    }
    for (int i = 1; i <= d.LayerCount; ++i) {
      d.LayerRho[i] = value();
      d.LayerDepth[i] = i == d.LayerCount ? HalfSpaceDepth : value();
    }
    for (int i = 1; i <= InfoLineCount; ++i) d.Info[i] = text();
    for (int a = static_cast<int>(random() % 3); a > 0; --a)
      d.Annotations.push_back({static_cast<int>(random() % 2000) - 1000, static_cast<int>(random() % 900),
                               static_cast<int>(random() % 400) + 1, static_cast<int>(random() % 300) + 1,
                               text() + "\n" + text()});
    d.FileName = folder.File("random.rxd");
    ASSERT_TRUE(d.SaveToFile());

    TResondixData back;
    back.FileName = d.FileName;
    ASSERT_TRUE(back.LoadFromFile());
    EXPECT_EQ(back.IsSchlumberger, d.IsSchlumberger);
    EXPECT_EQ(back.MeasurementCount, d.MeasurementCount);
    EXPECT_EQ(back.LayerCount, d.LayerCount);
    for (int i = 1; i <= d.MeasurementCount; ++i) {
      expectClose(d.HalfSpacing[i], back.HalfSpacing[i]);
      expectClose(d.ApparentRho[i], back.ApparentRho[i]);
    }
    for (int i = 1; i <= d.LayerCount; ++i) {
      expectClose(d.LayerRho[i], back.LayerRho[i]);
      expectClose(d.LayerDepth[i], back.LayerDepth[i]);
    }
    for (int i = 1; i <= InfoLineCount; ++i)
      if (i != 5) {
        EXPECT_EQ(back.Info[i], d.Info[i]) << "line " << i;
      }
    EXPECT_EQ(back.Annotations, d.Annotations);
    ASSERT_TRUE(recorder.Messages.empty());
  }
}

}  // namespace
