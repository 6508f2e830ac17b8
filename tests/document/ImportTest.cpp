// Import of DINOloket sounding files: which line goes where, where the measurements and the model
// end, the starting model, the notifications, and that a file that cannot be imported changes
// nothing. Damaged input at large is left to tests/fuzz/DinoloketFuzz.cpp.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/NumberText.h"
#include "document/ResondixData.h"
#include "tests/TestSupport.h"

namespace {

const std::string ImportedName = "/survey/hunzedal/ves3.txt";
const std::string NoModel = "No model was found in imported file. Defaulting to 3-layer model.";
std::string NotANumber(const std::string& text) { return "'" + text + "' is not a valid floating point value"; }

std::string Measurement(double spacing, double rho) {
  return FormatGeneral(spacing) + ";0.5;12.5;40;" + FormatGeneral(rho) + ";";
}
std::string Layer(const std::string& depth, const std::string& rho) { return "1;" + depth + ";" + rho + ";2.5;zand;;"; }
const std::vector<std::string> FiveMeasurements = {Measurement(1.5, 100), Measurement(3, 93.75), Measurement(7.5, 81.4),
                                                   Measurement(15, 62.2), Measurement(30, 50)};
const std::vector<std::string> ThreeLayers = {Layer("2.75", "160"), Layer("14.5", "38.2"), Layer("", "420")};

// A sounding file as lines, line n at index n - 1: the 25 header lines (each
// unused one telling its number), the measurements and, when layers are
// given, a remark, the model header, the lines after it and the layer lines.
std::vector<std::string> Sounding(const std::vector<std::string>& layers = {}, const std::string& endSpacing = "30;",
                                  const std::vector<std::string>& measurements = FiveMeasurements,
                                  int linesAfterHeader = 15) {
  std::vector<std::string> lines;
  for (int n = 1; n <= 25; ++n) lines.push_back("Line " + std::to_string(n) + ";");
  lines[0] = "Hunzedal VES 3;", lines[1] = "RD;", lines[2] = "243871, 561224;", lines[3] = "6.35;";
  lines[8] = "21-04-2026;", lines[10] = "NW-ZO;", lines[12] = "SCHLUMB;", lines[13] = endSpacing;
  lines.insert(lines.end(), measurements.begin(), measurements.end());
  if (layers.empty() && linesAfterHeader == 15) return lines;  // no model section
  lines.insert(lines.end(), {"Opmerking: geen;", "Kop VES interpretatie;"});
  for (int n = 1; n <= linesAfterHeader; ++n) lines.push_back("Model line " + std::to_string(n) + ";");
  lines.insert(lines.end(), layers.begin(), layers.end());
  return lines;
}

struct Import : ::testing::Test {
  TMessageRecorder Recorder;
  TResondixData Document;
  std::vector<int> CountsSeen;  // MeasurementCount at each notification

  bool ImportText(const std::vector<std::string>& lines) { return ImportText(JoinLines(lines)); }
  bool ImportText(const std::string& text) {
    Document.FileName = ImportedName;
    Document.OnChange = [this](TResondixData& sender) { CountsSeen.push_back(sender.MeasurementCount); };
    CountsSeen.clear();
    Recorder.Texts.clear(), Recorder.Kinds.clear();
    return Document.ImportFromText(text);
  }
  std::string Layers() const { return Tables(Document).substr(Tables(Document).find('|') + 2); }
};

std::vector<std::string> InfoLines(const TResondixData& d) {
  std::vector<std::string> info;
  for (int i = 1; i <= InfoLineCount; ++i) info.push_back(d.Info[i].str());
  return info;
}

// Whatever the document held before, an import gives the information lines
// of a new document beside those the file gives, and names and dates the
// data file it becomes, as File > Import does in the window and on the
// command line.
TEST(ImportFile, GivesANewDocumentsInformationLinesBesideWhatTheFileHolds) {
  TMessageRecorder recorder;
  TTemporaryFolder folder;
  const std::string withModel = folder.File("ves3.txt"), withoutModel = folder.File("ves4.dat.txt"),
                    spreadsheet = folder.File("ves-5.csv");
  WriteWholeFile(withModel, JoinLines(Sounding(ThreeLayers)));
  WriteWholeFile(withoutModel, JoinLines(Sounding()));
  WriteWholeFile(spreadsheet, "1.5;100\n3;93.75\n30;50\n");
  const std::string position = "X, Y = 243871, 561224 (RD), Z = 6.35 (NAP)";
  const std::string remark = "No model was found in imported file.";
  const struct {
    std::string Path;
    std::vector<std::string> Info;
  } rows[] = {
      {withModel, {"Hunzedal VES 3", "", "21-04-2026", "", "SCHLUMB", position, "NW-ZO", "30", "", "",
                   folder.File("ves3.rxd"), "", "24-12-2026", ""}},
      {withoutModel, {"Hunzedal VES 3", "", "21-04-2026", "", "SCHLUMB", position, "NW-ZO", "30", "", "",
                      folder.File("ves4.dat.rxd"), "", "24-12-2026", remark}},
      {spreadsheet, {"ves-5", "", "", "", " Schlumberger", "", "", "", "", "", folder.File("ves-5.rxd"), "",
                     "24-12-2026", remark}},
  };
  for (const auto& row : rows) {
    TResondixData document;
    for (int i = 1; i <= InfoLineCount; ++i) document.Info[i] = "before " + std::to_string(i);
    ASSERT_TRUE(document.ImportFile(row.Path, "24-12-2026")) << row.Path;
    EXPECT_EQ(InfoLines(document), row.Info) << row.Path;
    EXPECT_EQ(document.FileName, row.Info[10]) << row.Path;
  }
}

// Which header line goes where: ImportFile.GivesANewDocumentsInformationLinesBesideWhatTheFileHolds.
TEST_F(Import, TheContentIsReplaced) {
  Document.Annotations.push_back({10, 20, 100, 40, "old note"});
  Document.RhoUnknown[2] = Document.DepthUnknown[1] = Document.HasFitResult = true;
  Document.RhoPercentText[1] = " 12%";
  Document.StructureChanged = Document.Saved = false;
  ASSERT_TRUE(ImportText(Sounding(ThreeLayers)));
  EXPECT_TRUE(Recorder.Texts.empty());
  EXPECT_EQ(Tables(Document), "1.5:100 3:93.75 7.5:81.4 15:62.2 30:50 | 160/2.75 38.2/14.5 420/10000");
  EXPECT_EQ(CountsSeen, std::vector<int>({5, 5}));  // the configuration step, then the end
  EXPECT_FALSE(Document.Saved);                      // as it was
  EXPECT_TRUE(Document.StructureChanged && Document.Annotations.empty());
  EXPECT_FALSE(Document.RhoUnknown[2] || Document.DepthUnknown[1] || Document.HasFitResult);
  EXPECT_EQ(Document.RhoPercentText[1], " 12%");  // statistics texts stay
  EXPECT_TRUE(Document.IsSchlumberger);
  // A line without its closing ";" keeps its last character: the end spacing is 30, not 3.
  ASSERT_TRUE(ImportText(Sounding(ThreeLayers, "30")));
  EXPECT_EQ(Document.MeasurementCount, 5);
}

TEST_F(Import, TheModelEndsAtTheHalfSpaceOrElseAStartingModelIsMade) {
  const struct {
    const char* Name;
    std::vector<std::string> File;
    std::string Layers;
    bool StartingModel;  // from the first and last apparent resistivity and the end spacing, with a warning
  } rows[] = {
      {"an empty depth is the half-space", Sounding({Layer("3.2", "140"), Layer("", "55"), Layer("8", "99")}),
       "140/3.2 55/10000", false},
      {"a depth of 10000 is the half-space", Sounding({Layer("3.2", "140"), Layer("10000", "55"), Layer("8", "99")}),
       "140/3.2 55/10000", false},
      {"a blank depth is empty", Sounding({Layer("  ", "72.5")}), "72.5/10000", false},
      {"four layers, the last with a depth", Sounding({Layer("1.5", "11"), Layer("4.5", "22"), Layer("9.5", "33"),
                                                       Layer("20.5", "44")}),
       "11/1.5 22/4.5 33/9.5 44/10000", false},
      {"the file ends before the half-space", Sounding({Layer("3.2", "140"), Layer("12.7", "55")}), "140/3.2 55/10000",
       false},
      {"the file ends before the first layer", Sounding({}, "30;", FiveMeasurements, 14), "100/10 75/20 50/10000",
       true},
      {"not exactly the header line",
       Sounding({}, "45;", {Measurement(2, 86.4), Measurement(45, 23.1), "Kop VES interpretatie; "}),
       "86.4/15 54.75/30 23.1/10000", true},
  };
  for (const auto& row : rows) {
    Document.Remarks() = "an earlier sounding's remark";
    ASSERT_TRUE(ImportText(row.File)) << row.Name;
    EXPECT_EQ(Layers(), row.Layers) << row.Name;
    EXPECT_EQ(Recorder.Texts, row.StartingModel ? std::vector<std::string>{NoModel} : std::vector<std::string>{});
    EXPECT_TRUE(Recorder.Texts.empty() || Recorder.Kinds[0] == TMessageKind::Warning) << row.Name;
    EXPECT_EQ(Document.Remarks(), row.StartingModel ? "No model was found in imported file." : "") << row.Name;
  }
}

// Measurements past the fifteenth are counted up to the end spacing, layers
// past the fourth down to the half-space; the import keeps what fits and
// warns once.
TEST_F(Import, DataBeyondTheCapacitiesIsCountedAndLeftOutWithOneWarning) {
  std::vector<std::string> twenty;
  for (int i = 1; i <= 20; ++i) twenty.push_back(Measurement(i, 100 + i));
  const std::vector<std::string> sixLayers = {Layer("1.5", "11"), Layer("4.5", "22"), Layer("9.5", "33"),
                                              Layer("20.5", "44"), Layer("41", "55"),  Layer("", "66")};
  // Without its end spacing, the measurements run into the model's header.
  std::vector<std::string> noEnd = Sounding({}, "99;", {twenty.begin(), twenty.begin() + 17});
  noEnd.push_back("Kop VES interpretatie;");
  for (int n = 1; n <= 15; ++n) noEnd.push_back("Model line;");
  noEnd.insert(noEnd.end(), ThreeLayers.begin(), ThreeLayers.end());
  const std::string fifteen = "1:101 2:102 3:103 4:104 5:105 6:106 7:107 8:108 9:109 10:110 11:111 12:112 13:113 "
                              "14:114 15:115 | ";
  const struct {
    const char* Name;
    std::vector<std::string> File;
    std::string Tables, Warning;  // after "<file> holds "
  } rows[] = {
      {"20 measurements to the end spacing", Sounding(ThreeLayers, "20;", twenty),
       fifteen + "160/2.75 38.2/14.5 420/10000", "20 measurements; the program keeps the first 15."},
      {"17 measurements up to the model", noEnd, fifteen + "160/2.75 38.2/14.5 420/10000",
       "17 measurements; the program keeps the first 15."},
      {"six layers", Sounding(sixLayers), "1.5:100 3:93.75 7.5:81.4 15:62.2 30:50 | 11/1.5 22/4.5 33/9.5 44/10000",
       "6 layers; the program keeps the first 4, the last of them as the half-space."},
  };
  for (const auto& row : rows) {
    ASSERT_TRUE(ImportText(row.File)) << row.Name;
    EXPECT_EQ(Tables(Document), row.Tables) << row.Name;
    EXPECT_EQ(Recorder.Texts, std::vector<std::string>{ImportedName + " holds " + row.Warning}) << row.Name;
    EXPECT_EQ(Recorder.Kinds, std::vector<TMessageKind>{TMessageKind::Warning}) << row.Name;
  }
}

TEST_F(Import, LinesOfMegabytesKeepOnlyWhatTheImportUses) {
  const std::string huge(1'000'000, 'x');
  std::vector<std::string> file = Sounding({Layer("2.75", "160"), "1;;420;" + huge + ";;;"});
  file[0] = "Hunzedal VES 3 " + huge + ";";
  file[2] = huge + ";";
  file[26] = "3;0.5;" + huge + ";40;93.75;" + huge;  // the second measurement
  file[27] = "7.5;0.5;12.5;40;" + std::string(390, ' ') + "81.4;";
  ASSERT_TRUE(ImportText(file));
  EXPECT_EQ(Document.ProjectName(), "Hunzedal VES 3 " + std::string(65, 'x'));
  EXPECT_EQ(Document.SoundingPosition(), "X, Y = " + std::string(73, 'x'));
  EXPECT_EQ(Tables(Document), "1.5:100 3:93.75 7.5:81.4 15:62.2 30:50 | 160/2.75 420/10000");
}

// A file that cannot be opened is reported as the data file's (DataFileTest.cpp).
TEST_F(Import, AFailedImportChangesNothingAndSaysWhy) {
  const auto withLine = [](int n, const std::string& line) {
    std::vector<std::string> file = Sounding(ThreeLayers);
    file[n - 1] = line;
    return JoinLines(file);
  };
  const std::string endsEarly =
      "Could not import " + ImportedName + "! The file ends before its first measurement (line 26).";
  std::string utf16;  // little-endian, as Windows writes it
  for (char c : JoinLines(Sounding(ThreeLayers))) utf16 += std::string{c, '\0'};
  const std::string isUtf16 = "Could not import " + ImportedName +
                              "! The file looks like UTF-16 text; save it as UTF-8 text and import it again.";
  const std::string longZero = "0." + std::string(399, '0');  // one character longer than any number
  const std::pair<std::string, std::string> rows[] = {  // text, message
      {withLine(27, "3;0.5;12.5;40;93,75;"), NotANumber("93,75")},
      {withLine(27, std::string(2'000'000, 'z') + ";0.5;1;1;1;"), NotANumber(std::string(80, 'z') + "...")},
      {withLine(14, "AB/2 = 30 m;"), NotANumber("AB/2 = 30 m")},
      {JoinLines(Sounding({Layer("ca. 4", "61")})), NotANumber("ca. 4")},
      {JoinLines(Sounding({Layer("4", ""), Layer("", "9")})), NotANumber("")},
      {"", endsEarly},
      {JoinLines(Sounding({}, "30;", {})), endsEarly},
      {withLine(27, "3;0.5;12.5;40;" + longZero + ";"), NotANumber(longZero.substr(0, 80) + "...")},
      {withLine(14, "30" + std::string(1'000'000, ' ') + ";"), NotANumber("30" + std::string(78, ' ') + "...")},
      {"\xFF\xFE" + utf16, isUtf16},
      {utf16, isUtf16},
  };
  Document.SetSoundingType(false);
  Document.Annotations.push_back({1, 2, 3, 4, "keep"});
  Document.RhoUnknown[1] = Document.HasFitResult = true;
  Document.FileName = ImportedName;
  for (const auto& [text, message] : rows) {
    const TResondixData before = Document;
    EXPECT_FALSE(ImportText(text));
    ExpectUnchanged(before, Document);
    EXPECT_TRUE(CountsSeen.empty());
    EXPECT_EQ(Recorder.Texts, std::vector<std::string>{message});
    EXPECT_EQ(Recorder.Kinds.at(0), TMessageKind::Error);
  }
}

// A Wenner line gives L/2 = 1.5 a in field 1 and a in field 2: the program's
// spacing is a. Field 2 that does not agree within 1 % leaves L/2, and the
// end spacing is still an L/2.
TEST_F(Import, AWennerSoundingKeepsItsElectrodeDistance) {
  const auto line = [](const std::string& halfSpacing, const std::string& a) {
    return halfSpacing + ";" + a + ";12.5;40;" + "80;";
  };
  const struct {
    const char* Name;
    const char* Type;
    std::string SecondField;  // of the second line, L/2 = 3
    double SecondSpacing;
  } rows[] = {{"Wenner, a given", "WENNER;", "2", 2},
              {"Wenner, a within 1 %", "WENNER;", "2.0199", 2.0199},
              {"Wenner, a 1 % off", "WENNER;", "2.0304", 3},
              {"Wenner, MN/2 instead of a", "WENNER;", "1", 3},
              {"Wenner, field 2 not a number", "WENNER;", "n.b.", 3},
              {"Wenner, field 2 empty", "WENNER;", "", 3},
              {"Schlumberger, whatever field 2 holds", "SCHLUMB;", "2", 3}};
  for (const auto& row : rows) {
    std::vector<std::string> lines =
        Sounding({}, "6;", {line("1.5", "1"), line("3", row.SecondField), line("6", "4"), line("9", "6")});
    lines[12] = row.Type;
    ASSERT_TRUE(ImportText(lines)) << row.Name;
    EXPECT_EQ(Document.MeasurementCount, 3) << row.Name << ": the end spacing 6 is an L/2";
    EXPECT_EQ(Document.HalfSpacing[2], row.SecondSpacing) << row.Name;
    EXPECT_EQ(Document.HalfSpacing[3], Document.IsSchlumberger ? 6 : 4) << row.Name;
  }
}

}  // namespace
