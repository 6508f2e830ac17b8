// Import of DINOloket sounding files: which line goes where, where the
// measurements and the model end, the starting model, the notifications,
// and that a file that cannot be imported changes nothing. Damaged input at
// large is left to the fuzz target (tests/fuzz/DinoloketFuzz.cpp).
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ExpectUnchanged.h"
#include "NumberText.h"
#include "ResondixData.h"
#include "TestSupport.h"

namespace {

const std::string NoModelWarning = "No model was found in imported file. Defaulting to 3-layer model.";
const std::string NoModelRemark = "No model was found in imported file.";
const std::string ModelHeader = "Kop VES interpretatie;";
const std::string ImportedName = "/survey/hunzedal/ves3.txt";

std::string NotANumber(const std::string& text) { return "'" + text + "' is not a valid floating point value"; }
std::string EndsBeforeMeasurements(const std::string& name) {
  return "Could not import " + name + "! The file ends before its first measurement (line 26).";
}

// A sounding file as lines; Line(n) is line n of the file.
struct TSoundingFile {
  std::vector<std::string> Lines;
  std::string& Line(int n) { return Lines[static_cast<std::size_t>(n - 1)]; }
  std::string Text(const std::string& end = "\r\n") const { return JoinLines(Lines, end); }
};

std::string MeasurementLine(double spacing, double rho) {
  return FormatGeneral(spacing) + ";0.5;12.5;40;" + FormatGeneral(rho) + ";";
}

std::string LayerLine(int n, const std::string& depth, const std::string& rho) {
  return std::to_string(n) + ";" + depth + ";" + rho + ";2.5;zand;;";
}

// The 25 header lines, each unused one telling its number.
TSoundingFile Header(const std::string& type = "SCHLUMB", const std::string& endSpacing = "30") {
  TSoundingFile file;
  for (int n = 1; n <= 25; ++n) file.Lines.push_back("Line " + std::to_string(n) + ";");
  file.Line(1) = "Hunzedal VES 3;";
  file.Line(2) = "RD;";
  file.Line(3) = "243871, 561224;";
  file.Line(4) = "6.35;";
  file.Line(9) = "21-04-2026;";
  file.Line(11) = "NW-ZO;";
  file.Line(13) = type + ";";
  file.Line(14) = endSpacing + ";";
  return file;
}

// Five measurements from L/2 = 1.5 to the end spacing 30, the first
// apparent resistivity 100, the last 50.
const double Spacings[] = {1.5, 3, 7.5, 15, 30};
const double Resistivities[] = {100, 93.75, 81.4, 62.2, 50};

TSoundingFile Sounding() {
  TSoundingFile file = Header();
  for (int k = 0; k < 5; ++k) file.Lines.push_back(MeasurementLine(Spacings[k], Resistivities[k]));
  return file;
}

// The model header, the 15 lines after it, and the layer lines.
void AddModel(TSoundingFile& file, const std::vector<std::string>& layerLines, int linesAfterHeader = 15) {
  file.Lines.push_back(";");
  file.Lines.push_back(ModelHeader);
  for (int n = 1; n <= linesAfterHeader; ++n) file.Lines.push_back("Model line " + std::to_string(n) + ";");
  file.Lines.insert(file.Lines.end(), layerLines.begin(), layerLines.end());
}

TSoundingFile SoundingWithModel() {
  TSoundingFile file = Sounding();
  AddModel(file, {LayerLine(1, "2.75", "160"), LayerLine(2, "14.5", "38.2"), LayerLine(3, "", "420")});
  return file;
}

struct TImport : ::testing::Test {
  TMessageRecorder Recorder;
  TResondixData Document;
  std::vector<int> CountsSeen;  // MeasurementCount at each notification

  void SetUp() override {
    Document.FileName = ImportedName;
    Document.OnChange = [this](TResondixData& sender) { CountsSeen.push_back(sender.MeasurementCount); };
  }

  bool ImportText(const std::string& text) {
    CountsSeen.clear();
    Recorder.Messages.clear();
    return Document.ImportFromText(text);
  }

  void ExpectLayers(const std::vector<double>& rho, const std::vector<double>& depths) {
    ASSERT_EQ(Document.LayerCount, static_cast<int>(rho.size()));
    for (int i = 1; i <= Document.LayerCount; ++i) {
      EXPECT_EQ(Document.LayerRho[i], rho[i - 1]) << "layer " << i;
      EXPECT_EQ(Document.LayerDepth[i], depths[i - 1]) << "layer " << i;
    }
  }

  void ExpectNoModelWarning() {
    ASSERT_EQ(Recorder.Messages.size(), 1u);
    EXPECT_EQ(Recorder.Messages[0].Kind, TMessageKind::Warning);
    EXPECT_EQ(Recorder.Messages[0].Text, NoModelWarning);
    EXPECT_EQ(Document.Remarks(), NoModelRemark);
  }
};

using Import = TImport;

TEST_F(Import, HeaderLinesGoToTheirDescriptionLinesAndTheRestIsKept) {
  for (int i = 1; i <= InfoLineCount; ++i) Document.Info[i] = "before " + std::to_string(i);
  TSoundingFile file = SoundingWithModel();
  ASSERT_TRUE(ImportText(file.Text()));
  EXPECT_TRUE(Recorder.Messages.empty());
  EXPECT_EQ(Document.ProjectName(), "Hunzedal VES 3");
  EXPECT_EQ(Document.SoundingPosition(), "X, Y = 243871, 561224 (RD), Z = 6.35 (NAP)");
  EXPECT_EQ(Document.ProjectDate(), "21-04-2026");
  EXPECT_EQ(Document.SoundingDirection(), "NW-ZO");
  EXPECT_EQ(Document.SoundingTypeText(), "SCHLUMB");
  EXPECT_EQ(Document.ABLength(), "30");
  for (int i : {2, 4, 9, 10, 11, 12, 13, 14}) EXPECT_EQ(Document.Info[i], "before " + std::to_string(i)) << i;
  ASSERT_EQ(Document.MeasurementCount, 5);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(Document.HalfSpacing[i], Spacings[i - 1]) << i;
    EXPECT_EQ(Document.ApparentRho[i], Resistivities[i - 1]) << i;
  }
  ExpectLayers({160, 38.2, 420}, {2.75, 14.5, HalfSpaceDepth});

  // Long texts keep 80 characters; a line without its closing ";" keeps
  // its last character (the end spacing is 30, not 3).
  file.Line(1) = std::string(120, 'n') + ";";
  file.Line(3) = std::string(100, '7') + ";";
  file.Line(14) = "30";
  ASSERT_TRUE(ImportText(file.Text()));
  EXPECT_EQ(Document.ProjectName(), std::string(80, 'n'));
  EXPECT_EQ(Document.SoundingPosition(), "X, Y = " + std::string(73, '7'));
  EXPECT_EQ(Document.MeasurementCount, 5);
}

TEST_F(Import, OnlyTheTextSchlumbSelectsSchlumberger) {
  struct TRow {
    std::string Line, Type;
    bool Schlumberger;
  };
  const TRow rows[] = {{"SCHLUMB;", "SCHLUMB", true},   {"SCHLUMB", "SCHLUMB", true},      {"WENNER;", "WENNER", false},
                       {"schlumb;", "schlumb", false},  {" SCHLUMB;", " SCHLUMB", false}, {";", "", false},
                       {"SCHLUMBERGER;", "SCHLUMBERGER", false}};
  for (const TRow& row : rows) {
    SCOPED_TRACE("line 13 '" + row.Line + "'");
    Document.SetSoundingType(!row.Schlumberger);
    TSoundingFile file = Sounding();
    file.Line(13) = row.Line;
    ASSERT_TRUE(ImportText(file.Text()));
    EXPECT_EQ(Document.IsSchlumberger, row.Schlumberger);
    EXPECT_EQ(Document.FilterCount, row.Schlumberger ? 20 : 10);
    EXPECT_EQ(Document.SoundingTypeText(), row.Type);
  }
}

TEST_F(Import, MeasurementsEndAtTheEndSpacingAtTheCapacityOrAtTheEndOfTheFile) {
  struct TRow {
    const char* Name;
    std::string EndSpacing;
    int Lines;         // measurement lines, L/2 = 2.5 k for k = 1, 2, ...
    bool Model;        // a remark and a model section follow
    int Measurements;  // expected
  };
  const TRow rows[] = {{"end spacing on the twelfth line", "30", 12, true, 12},
                       {"end spacing written with decimals", "17.50", 12, true, 7},
                       {"end spacing never met", "999", 18, true, 15},
                       {"the file ends first", "999", 4, false, 4}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TSoundingFile file = Header("SCHLUMB", row.EndSpacing);
    for (int k = 1; k <= row.Lines; ++k) file.Lines.push_back(MeasurementLine(2.5 * k, 40 + 3.25 * k));
    if (row.Model) {
      file.Lines.push_back("Opmerking: geen;");  // never read as a measurement
      AddModel(file, {LayerLine(1, "4.5", "61.5"), LayerLine(2, "", "17")});
    }
    ASSERT_TRUE(ImportText(file.Text()));
    ASSERT_EQ(Document.MeasurementCount, row.Measurements);
    for (int k = 1; k <= row.Measurements; ++k) {
      EXPECT_EQ(Document.HalfSpacing[k], 2.5 * k) << k;
      EXPECT_EQ(Document.ApparentRho[k], 40 + 3.25 * k) << k;
    }
    EXPECT_EQ(Recorder.Messages.size(), row.Model ? 0u : 1u);
  }
}

TEST_F(Import, TheModelEndsAtTheHalfSpaceOrElseAStartingModelIsMade) {
  struct TRow {
    const char* Name;
    std::vector<std::string> LayerLines;
    int LinesAfterHeader;
    std::vector<double> Rho, Depths;  // empty: the starting model
  };
  const std::vector<std::string> twoLayers = {LayerLine(1, "3.2", "140"), LayerLine(2, "12.7", "55")};
  const TRow rows[] = {
      {"an empty depth is the half-space",
       {LayerLine(1, "3.2", "140"), LayerLine(2, "", "55"), LayerLine(3, "8", "99")}, 15, {140, 55},
       {3.2, HalfSpaceDepth}},
      {"a depth of 10000 is the half-space",
       {LayerLine(1, "3.2", "140"), LayerLine(2, "10000", "55"), LayerLine(3, "8", "99")}, 15, {140, 55},
       {3.2, HalfSpaceDepth}},
      {"a blank depth is empty", {LayerLine(1, "  ", "72.5")}, 15, {72.5}, {HalfSpaceDepth}},
      {"six layers keep four",
       {LayerLine(1, "1.5", "11"), LayerLine(2, "4.5", "22"), LayerLine(3, "9.5", "33"), LayerLine(4, "20.5", "44"),
        LayerLine(5, "41", "55"), LayerLine(6, "", "66")}, 15, {11, 22, 33, 44}, {1.5, 4.5, 9.5, HalfSpaceDepth}},
      {"the file ends before the half-space", twoLayers, 15, {140, 55}, {3.2, HalfSpaceDepth}},
      {"no layer line after the 15 lines", {}, 15, {}, {}},
      {"the file ends within the 15 lines", {}, 14, {}, {}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TSoundingFile file = Sounding();
    AddModel(file, row.LayerLines, row.LinesAfterHeader);
    Document.Remarks() = "kept";
    ASSERT_TRUE(ImportText(file.Text()));
    if (row.Rho.empty()) {
      ExpectNoModelWarning();
      // First and last apparent resistivity 100 and 50, end spacing 30.
      ExpectLayers({100, 75, 50}, {10, 20, HalfSpaceDepth});
    } else {
      EXPECT_TRUE(Recorder.Messages.empty());
      EXPECT_EQ(Document.Remarks(), "kept");
      ExpectLayers(row.Rho, row.Depths);
    }
  }

  // Without a header line, and with values away from round numbers: first
  // and last 86.4 and 23.1, end spacing 45.
  TSoundingFile file = Header("SCHLUMB", "45");
  file.Lines.push_back(MeasurementLine(2, 86.4));
  file.Lines.push_back(MeasurementLine(45, 23.1));
  file.Lines.push_back("Kop VES interpretatie; ");  // not exactly the header
  ASSERT_TRUE(ImportText(file.Text()));
  ExpectNoModelWarning();
  ExpectLayers({86.4, 54.75, 23.1}, {15, 30, HalfSpaceDepth});
}
TEST_F(Import, AnImportReplacesTheContentAndNotifiesTwiceWithTheFinalState) {
  for (bool saved : {true, false}) {
    SCOPED_TRACE(saved ? "saved" : "unsaved");
    Document.Annotations.push_back({10, 20, 100, 40, "old note"});
    Document.ActiveAnnotation = 0;
    Document.RhoUnknown[2] = true;
    Document.DepthUnknown[1] = true;
    Document.HasFitResult = true;
    Document.Rmse = 0.042;
    Document.ParameterNames[1] = "Rho 2";
    Document.RhoPercentText[1] = " 12%";
    Document.StructureChanged = false;
    Document.Saved = saved;
    ASSERT_TRUE(ImportText(SoundingWithModel().Text()));
    EXPECT_EQ(CountsSeen, std::vector<int>({5, 5}));  // the configuration step, then the end
    EXPECT_EQ(Document.Saved, saved);
    EXPECT_TRUE(Document.StructureChanged);
    EXPECT_TRUE(Document.Annotations.empty());
    EXPECT_EQ(Document.ActiveAnnotation, -1);
    EXPECT_FALSE(Document.RhoUnknown[2]);
    EXPECT_FALSE(Document.DepthUnknown[1]);
    EXPECT_FALSE(Document.HasFitResult);
    EXPECT_EQ(Document.Rmse, 0);
    EXPECT_EQ(Document.ParameterNames[1], "");
    EXPECT_EQ(Document.RhoPercentText[1], " 12%");  // statistics texts stay
    EXPECT_EQ(Document.FileName, ImportedName);
  }
}

TEST_F(Import, AllLineEndsTheEndMarkAndLinesOfMegabytes) {
  const TSoundingFile file = SoundingWithModel();
  TSoundingFile huge = file;
  const std::string megabytes(3'000'000, 'm');
  huge.Line(6) = megabytes;                                // a skipped line
  huge.Line(26) += megabytes;                              // after the fifth field
  huge.Lines.insert(huge.Lines.begin() + 30, megabytes);  // passed over by the model search
  for (const std::string& text : {file.Text("\r\n"), file.Text("\n"), file.Text("\r"), huge.Text()}) {
    ASSERT_TRUE(ImportText(text));
    EXPECT_TRUE(Recorder.Messages.empty());
    EXPECT_EQ(Document.MeasurementCount, 5);
    EXPECT_EQ(Document.SoundingDirection(), "NW-ZO");
    ExpectLayers({160, 38.2, 420}, {2.75, 14.5, HalfSpaceDepth});
  }
  // Character 26 ends the text: before the model header the file has no
  // model, in the header it has no measurements.
  std::string marked = file.Text();
  marked.insert(marked.find(ModelHeader), "\x1A");
  ASSERT_TRUE(ImportText(marked));
  ExpectNoModelWarning();
  marked.insert(marked.find("Line 20;"), "\x1A");
  EXPECT_FALSE(ImportText(marked));
  EXPECT_EQ(Recorder.Texts(), std::vector<std::string>{EndsBeforeMeasurements(ImportedName)});
}

// A document with content of its own, to see that a failed import keeps it.
void FillDocument(TResondixData& d) {
  d.ProjectName() = "Keep me";
  d.SetSoundingType(false);
  d.SetMeasurementCount(7);
  d.ApparentRho[2] = 33.3;
  d.LayerRho[1] = 12.5;
  d.Annotations.push_back({1, 2, 3, 4, "keep"});
  d.RhoUnknown[1] = true;
  d.HasFitResult = true;
  d.Saved = false;
  d.StructureChanged = false;
}

TEST_F(Import, AFailedImportChangesNothingAndSaysWhy) {
  auto withLine = [](int n, const std::string& line) {
    TSoundingFile file = SoundingWithModel();
    file.Line(n) = line;
    return file.Text();
  };
  auto withModel = [](const std::vector<std::string>& layerLines) {
    TSoundingFile file = Sounding();
    AddModel(file, layerLines);
    return file.Text();
  };
  const TSoundingFile header = Header();
  const std::string tenLines = JoinLines(std::vector<std::string>(header.Lines.begin(), header.Lines.begin() + 10));
  const std::pair<std::string, std::string> rows[] = {  // text, message
      {withLine(27, "3m;0.5;12.5;40;93.75;"), NotANumber("3m")},
      {withLine(27, "3;0.5;12.5;40;93,75;"), NotANumber("93,75")},
      {withLine(27, "3;0.5;12.5;40;;"), NotANumber("")},
      {withLine(27, "3;0.5;12.5"), NotANumber("")},
      {withLine(27, "3 0.5 12.5 40 93.75"), NotANumber("3 0.5 12.5 40 93.75")},
      {withLine(27, std::string("\x01\x02\xff;1;1;1;1;", 12)), NotANumber("\x01\x02\xff")},
      {withLine(27, std::string(2'000'000, 'z') + ";0.5;1;1;1;"), NotANumber(std::string(80, 'z') + "...")},
      {withLine(14, "AB/2 = 30 m;"), NotANumber("AB/2 = 30 m")},
      {withModel({LayerLine(1, "ca. 4", "61")}), NotANumber("ca. 4")},
      {withModel({LayerLine(1, "4", ""), LayerLine(2, "", "9")}), NotANumber("")},
      {"", EndsBeforeMeasurements(ImportedName)},
      {header.Text(), EndsBeforeMeasurements(ImportedName)},
      {tenLines, EndsBeforeMeasurements(ImportedName)},
  };
  FillDocument(Document);
  for (const auto& [text, message] : rows) {
    SCOPED_TRACE(message.substr(0, 100));
    const TResondixData before = Document;
    EXPECT_FALSE(ImportText(text));
    ExpectUnchanged(before, Document);
    EXPECT_TRUE(CountsSeen.empty());
    ASSERT_EQ(Recorder.Messages.size(), 1u);
    EXPECT_EQ(Recorder.Messages[0].Kind, TMessageKind::Error);
    EXPECT_EQ(Recorder.Messages[0].Text, message);
  }

  // Files that cannot be opened.
  TTemporaryFolder folder;
  for (const std::string& path : {folder.File("absent.txt"), folder.Folder().string()}) {
    Recorder.Messages.clear();
    Document.FileName = path;
    const TResondixData before = Document;
    EXPECT_FALSE(Document.ImportDinoloket());
    ExpectUnchanged(before, Document);
    EXPECT_EQ(Recorder.Texts(), std::vector<std::string>{"Could not open " + path + "!"});
  }
}

// Root mean square of log10(measured / model) over the measurements.
double LogMisfit(TResondixData& d) {
  d.ComputeModelCurve();
  double sum = 0;
  for (int i = 1; i <= d.MeasurementCount; ++i) {
    const double r = DecimalLog(d.ApparentRho[i]) - d.CurveLogRhoAt(DecimalLog(d.HalfSpacing[i]));
    sum += r * r;
  }
  return std::sqrt(sum / d.MeasurementCount);
}

TEST_F(Import, ExampleFilesImport) {
  // The measurements of the Schlumberger example carry 2 % noise, and its
  // model was interpreted by hand; a misfit of 0.03 in log10 (7 %) is what
  // such a pair shows, a file read in the wrong columns misses by far more.
  constexpr double ExampleMisfit = 0.03;
  Document.FileName = ExamplePath("ves-schlumberger-dinoloket.txt");
  ASSERT_TRUE(Document.ImportDinoloket());
  EXPECT_TRUE(Recorder.Messages.empty());
  EXPECT_TRUE(Document.IsSchlumberger);
  EXPECT_EQ(Document.MeasurementCount, 14);
  EXPECT_EQ(Document.HalfSpacing[14], 100);
  EXPECT_EQ(Document.LayerCount, 4);
  EXPECT_LT(LogMisfit(Document), ExampleMisfit);

  Document.FileName = ExamplePath("ves-wenner-dinoloket.txt");
  ASSERT_TRUE(Document.ImportDinoloket());
  ExpectNoModelWarning();
  EXPECT_FALSE(Document.IsSchlumberger);
  EXPECT_EQ(Document.MeasurementCount, 12);
  const double first = Document.ApparentRho[1], last = Document.ApparentRho[12];
  ExpectLayers({first, (first + last) / 2, last}, {30, 60, HalfSpaceDepth});
}

}  // namespace
