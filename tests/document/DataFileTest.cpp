// The .rxd data file: the exact text written, what is read back, and that neither a failed save nor
// a failed load ever loses data. Damaged files at large are left to tests/fuzz/DataFileFuzz.cpp.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ResondixData.h"
#include "TestSupport.h"

namespace {

const std::string Identification = "Schlumberger/Wenner Data File  (c) 1998 K.P.Vordax - Resondix 2.20";

// A file of the present layout: description lines D1..D14 (line 5 given),
// then the body from the count line on.
std::string File(const std::vector<std::string>& body, const std::string& typeLine = " Schlumberger",
                 const std::string& lineEnd = "\r\n") {
  std::vector<std::string> lines = {Identification};
  for (int i = 1; i <= 14; ++i) lines.push_back(i == 5 ? typeLine : "D" + std::to_string(i));
  lines.insert(lines.end(), body.begin(), body.end());
  return JoinLines(lines, lineEnd);
}
const std::vector<std::string> SmallBody = {"3 2", "        1.50       10.00", "        3.00       20.00",
                                            "        6.00       30.00", "0", "      100.00        5.00",
                                            "       50.00    10000.00", "", "0"};

struct DataFile : ::testing::Test {
  TTemporaryFolder Folder;
  TMessageRecorder Recorder;
  TResondixData Document;
  int Changes = 0;

  bool Load(const std::string& text) {
    const std::string path = Folder.File("in.rxd");
    WriteWholeFile(path, text);
    Document.OnChange = [this](TResondixData&) { ++Changes; };
    Changes = 0;
    Recorder.Texts.clear();
    const bool loaded = Document.LoadFromFile(path);
    if (loaded) {
      EXPECT_EQ(Document.FileName, path) << "a loaded document takes the file's name";
    }
    return loaded;
  }
};

TEST_F(DataFile, WritesTheDocumentedLayoutWithEveryFieldReadable) {
  std::vector<std::string> expected = {Identification, "", "", "", "", " Schlumberger", "", "", "", "", "",
                                       "", "", "6-12-2026", "", "15 3"};
  for (const char* s : {"1.50", "2.00", "2.50", "3.00", "4.00", "5.00", "6.00", "8.00", "10.00", "12.00", "15.00",
                        "20.00", "25.00", "30.00", "40.00"})
    expected.push_back(std::string(12 - std::string(s).size(), ' ') + s + " 0.000E+0000");
  expected.insert(expected.end(), {"0", " 0.000E+0000 0.000E+0000", " 0.000E+0000 0.000E+0000",
                                   " 0.000E+0000    10000.00", "", "0"});
  Document.FileDate() = "6-12-2026";
  EXPECT_EQ(Document.DataFileText(), JoinLines(expected));
  // Fields that fill their 12 characters get a blank in front; the
  // configuration line follows the configuration, whatever an import left.
  Document.SetSoundingType(false);
  Document.SoundingTypeText() = "WENNER";
  Document.ApparentRho[1] = 485000000;
  Document.HalfSpacing[2] = 123456789;
  Document.ApparentRho[2] = -2;
  Document.Annotations = {{120, 45, 100, 40, "Top soil\ndry"}, {-3, 7, 1, 1, "plain"},
                          {0, 0, 50, 20, "say \"hi\", twice\n\nend"}, {5, 5, 60, 30, ""}};
  const std::string text = Document.DataFileText();
  for (const char* part : {"\r\n Wenner\r\n", "\r\n        1.50 485000000.00\r\n123456789.00 -2.000E+0000\r\n",
                           "\r\n4\r\nTE,120,45,100,40,\"Top soil&crnl;dry\"\r\nTE,-3,7,1,1,plain\r\n"
                           "TE,0,0,50,20,\"say \"\"hi\"\", twice&crnl;&crnl;end\"\r\nTE,5,5,60,30,\r\n"})
    EXPECT_NE(text.find(part), std::string::npos) << part;
  ASSERT_TRUE(Load(text));
  EXPECT_EQ(Document.DataFileText(), text);  // every field read back as written
}

TEST_F(DataFile, ASaveReplacesTheFileWholeOrNotAtAll) {
  const std::string path = Folder.File("s.rxd"), missing = Folder.File("no/x.rxd"), occupied = Folder.File("o.rxd");
  std::filesystem::create_directory(occupied);  // a folder with a file in it
  WriteWholeFile(occupied + "/inside", "keep");
  Document.FileName = Document.DataFileName() = "before.rxd";
  for (const std::string& name : {missing, occupied}) {
    Document.Saved = false;
    EXPECT_FALSE(Document.SaveToFile(name));
    EXPECT_TRUE(!Document.Saved && Document.FileName == "before.rxd" && Document.DataFileName() == "before.rxd");
  }
  EXPECT_EQ(Recorder.Texts,
            (std::vector<std::string>{"Could not save " + missing + "!", "Could not save " + occupied + "!"}));
  EXPECT_EQ(ReadWholeFile(occupied + "/inside"), "keep");
  WriteWholeFile(path, "old content");
  ASSERT_TRUE(Document.SaveToFile(path));
  EXPECT_TRUE(Document.Saved && Document.FileName == path && Document.DataFileName() == path);
  EXPECT_EQ(ReadWholeFile(path), Document.DataFileText());
  for (const auto& entry : std::filesystem::directory_iterator(Folder.Folder()))
    EXPECT_EQ(entry.path().extension(), ".rxd") << "left behind: " << entry.path();
}

TEST_F(DataFile, ReadsAnyLineEndAndClearsTheFitState) {
  const std::string crlf = File(SmallBody);
  for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
    Document.RhoUnknown[1] = Document.HasFitResult = true;
    Document.Saved = false;
    ASSERT_TRUE(Load(File(SmallBody, " Schlumberger", lineEnd)));
    EXPECT_EQ(Document.DataFileText(), crlf);  // the file is in the form the program writes
    EXPECT_FALSE(Document.RhoUnknown[1] || Document.HasFitResult);
    EXPECT_TRUE(Document.Saved && Document.StructureChanged);
    EXPECT_EQ(Changes, 2);  // the configuration step, then the end
  }
  // Character 26 ends the text: before the second layer line, the file is cut short.
  const std::size_t secondLayer = crlf.find("       50.00");
  ASSERT_FALSE(Load(crlf.substr(0, secondLayer) + "\x1A" + crlf.substr(secondLayer)));
  ASSERT_TRUE(Load(crlf.substr(0, crlf.find("\r\n\r\n0")) + "\x1A" + "\r\n\r\n1\r\n1,2,3,4,\"x\""));
  EXPECT_EQ(Tables(Document), "1.5:10 3:20 6:30 | 100/5 50/10000");
  EXPECT_TRUE(Document.Annotations.empty()) << "nothing is read past character 26";
  ASSERT_TRUE(Load(File(SmallBody, " Wenner ")));  // only the exact text " Wenner" selects Wenner
  EXPECT_TRUE(Document.IsSchlumberger);
}

TEST_F(DataFile, CountsOutsideTheCapacitiesAreHeldInsideWithTheHalfSpaceLast) {
  std::vector<std::string> surplus = {"20 6"};
  for (int i = 1; i <= 20; ++i) surplus.push_back(std::to_string(i) + " " + std::to_string(100 + i));
  surplus.insert(surplus.end(), {"7", "10 1 trailing word", "20 2", "30 3", "40 4", "50 5", "60 10000"});
  const std::pair<std::vector<std::string>, std::string> rows[] = {  // body, tables read
      {surplus, "1:101 2:102 3:103 4:104 5:105 6:106 7:107 8:108 9:109 10:110 11:111 12:112 13:113 14:114 15:115 "
                "| 10/1 20/2 30/3 40/10000"},
      {{"0 -3", "0"}, "1.5:0 | 0/10000"}};
  for (const auto& [body, tables] : rows) {
    Document = TResondixData();
    ASSERT_TRUE(Load(File(body)));
    EXPECT_EQ(Tables(Document), tables);
  }
  // Huge counts: the file ends long before the lines they announce.
  EXPECT_FALSE(Load(File({"2147483647 2147483647", "2 20"})));
  EXPECT_EQ(Recorder.Texts.size(), 1u);
}

TEST_F(DataFile, TheOlderLayoutMovesTheDescriptionLines) {
  // A first line of 50 characters: the older order of the description lines;
  // old 7 fills in for a blank old 11, old 12 for a blank old 14.
  ASSERT_TRUE(Load(JoinLines({Identification.substr(0, 50), "Name", "Place", "Position", "Direction", "Date", " Wenner",
                              "Old7", "8", "9", "Old10", " ", "Old12", "Old13", "", "1 1", "1.5 10", "0",
                              "100 10000"})));
  std::vector<std::string> info;
  for (int i = 1; i <= InfoLineCount; ++i) info.push_back(Document.Info[i].str());
  EXPECT_EQ(info, (std::vector<std::string>{"Name", "Place", "Date", " ", " Wenner", "Position", "Direction", " ",
                                            "Old7", " ", "Old10", "Old7", "Old13", "Old12"}));
}

TEST_F(DataFile, AFailedLoadChangesNothingAndReportsTheFile) {
  std::string badLayer = File(SmallBody, " Wenner"), badCount = File(SmallBody), badMeasurement = File(SmallBody);
  badLayer.replace(badLayer.find("      100.00"), 12, "    1,00.00 ");
  badCount.replace(badCount.find("3 2"), 3, "2147483648 2");
  badMeasurement.replace(badMeasurement.find("        3.00"), 12, "       1e999");
  const auto cutAfter = [](int lines) {  // the first lines of a whole file
    std::vector<std::string> all = {Identification};
    for (int i = 1; i <= 14; ++i) all.push_back("D" + std::to_string(i));
    all.insert(all.end(), SmallBody.begin(), SmallBody.end());
    all.resize(lines);
    return JoinLines(all, "\n");
  };
  const std::string notData = "\nIt is not a Resondix data file.", endsEarly = "\nThe file ends before its last layer line.";
  // The path, and what the message adds to "Could not open <path>!".
  std::vector<std::pair<std::string, std::string>> files = {{Folder.File("absent.rxd"), ""},
                                                            {Folder.Folder().string(), ""}};
  for (const auto& [text, reason] : std::vector<std::pair<std::string, std::string>>{
           {badLayer, ""}, {badCount, ""}, {badMeasurement, ""}, {"", notData}, {"not a data file\nat all\n", notData},
           {Identification + std::string(15, '\n') + std::string(3'000'000, '1'), ""}, {cutAfter(1), endsEarly},
           {cutAfter(12), endsEarly}, {cutAfter(16), endsEarly}, {cutAfter(18), endsEarly},
           {cutAfter(20), endsEarly}, {cutAfter(21), endsEarly}}) {
    files.emplace_back(Folder.File("bad" + std::to_string(files.size()) + ".rxd"), reason);
    WriteWholeFile(files.back().first, text);
  }
  Document.ProjectName() = "Keep me";
  Document.Annotations.push_back({1, 2, 3, 4, "keep"});
  Document.RhoUnknown[1] = Document.HasFitResult = true;
  Document.Saved = false;
  Document.OnChange = [this](TResondixData&) { ++Changes; };
  Document.FileName = Folder.File("current.rxd");
  for (const auto& [path, reason] : files) {
    const TResondixData before = Document;
    Recorder.Texts.clear();
    EXPECT_FALSE(Document.LoadFromFile(path)) << path;  // the name too stays
    ExpectUnchanged(before, Document);
    EXPECT_EQ(Recorder.Texts, std::vector<std::string>{"Could not open " + path + "!" + reason});
  }
  EXPECT_EQ(Changes, 0);
  // Whole to its last layer line: the annotation section may be missing.
  ASSERT_TRUE(Load(cutAfter(22)));
  EXPECT_TRUE(Document.LayerCount == 2 && Document.LayerRho[2] == 50 && Document.Annotations.empty());
}

}  // namespace
