// Import of DINOloket sounding files: which line goes where, where the
// measurements and the model end, the starting model, the notifications,
// and that no input, however damaged, crashes the import or changes a
// document it cannot import.
#include <cmath>
#include <random>
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

// The 25 header lines, each unused one telling its number, and the given
// measurement lines.
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

TSoundingFile Sounding(const std::string& type = "SCHLUMB") {
  TSoundingFile file = Header(type);
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
  int Changes = 0;
  std::vector<int> CountsSeen;  // MeasurementCount at each notification

  void SetUp() override {
    Document.FileName = ImportedName;
    Document.OnChange = [this](TResondixData& sender) {
      ++Changes;
      CountsSeen.push_back(sender.MeasurementCount);
    };
  }

  bool ImportText(const std::string& text) {
    Changes = 0;
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
  ASSERT_TRUE(ImportText(SoundingWithModel().Text()));
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
}

TEST_F(Import, LongHeaderTextsKeepEightyCharacters) {
  TSoundingFile file = SoundingWithModel();
  file.Line(1) = std::string(120, 'n') + ";";
  file.Line(3) = std::string(100, '7') + ";";
  ASSERT_TRUE(ImportText(file.Text()));
  EXPECT_EQ(Document.ProjectName(), std::string(80, 'n'));
  EXPECT_EQ(Document.SoundingPosition(), "X, Y = " + std::string(73, '7'));
}

TEST_F(Import, OnlyTheTextSchlumbSelectsSchlumberger) {
  struct TRow {
    std::string Type;
    bool Schlumberger;
  };
  const TRow rows[] = {{"SCHLUMB", true},       {"WENNER", false}, {"schlumb", false},
                       {"SCHLUMBERGER", false}, {" SCHLUMB", false}, {"", false}};
  for (const TRow& row : rows) {
    SCOPED_TRACE("type '" + row.Type + "'");
    Document.SetSoundingType(!row.Schlumberger);
    ASSERT_TRUE(ImportText(Sounding(row.Type).Text()));
    EXPECT_EQ(Document.IsSchlumberger, row.Schlumberger);
    EXPECT_EQ(Document.FilterCount, row.Schlumberger ? 20 : 10);
    EXPECT_EQ(Document.SoundingTypeText(), row.Type);
  }
}

TEST_F(Import, ALineWithoutItsClosingSemicolonKeepsItsLastCharacter) {
  TSoundingFile file = SoundingWithModel();
  file.Line(1) = "Hunzedal VES 3";
  file.Line(13) = "SCHLUMB";
  file.Line(14) = "30";
  ASSERT_TRUE(ImportText(file.Text()));
  EXPECT_EQ(Document.ProjectName(), "Hunzedal VES 3");
  EXPECT_TRUE(Document.IsSchlumberger);
  EXPECT_EQ(Document.MeasurementCount, 5);  // the end spacing is 30, not 3
  EXPECT_EQ(Document.LayerCount, 3);
}

TEST_F(Import, MeasurementsEndAtTheEndSpacingAtTheCapacityOrAtTheEndOfTheFile) {
  struct TRow {
    const char* Name;
    std::string EndSpacing;
    int Lines;         // measurement lines, L/2 = 2.5 * k for k = 1, 2, ...
    bool Model;        // a model section follows
    int Measurements;  // expected
  };
  const TRow rows[] = {
      {"end spacing on the twelfth line", "30", 12, true, 12},
      {"end spacing written with decimals", "17.50", 12, true, 7},
      {"end spacing never met", "999", 18, true, 15},
      {"the file ends first", "999", 4, false, 4},
  };
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
    if (row.Model) {
      EXPECT_TRUE(Recorder.Messages.empty());
      ExpectLayers({61.5, 17}, {4.5, HalfSpaceDepth});
    } else {
      ExpectNoModelWarning();
    }
  }
}

TEST_F(Import, TheModelEndsAtTheHalfSpaceTheCapacityOrTheEndOfTheFile) {
  struct TRow {
    const char* Name;
    std::vector<std::string> LayerLines;
    std::vector<double> Rho, Depths;
  };
  const TRow rows[] = {
      {"an empty depth is the half-space",
       {LayerLine(1, "3.2", "140"), LayerLine(2, "", "55"), LayerLine(3, "8", "99")},
       {140, 55},
       {3.2, HalfSpaceDepth}},
      {"a depth of 10000 is the half-space",
       {LayerLine(1, "3.2", "140"), LayerLine(2, "10000", "55"), LayerLine(3, "8", "99")},
       {140, 55},
       {3.2, HalfSpaceDepth}},
      {"a blank depth is empty", {LayerLine(1, "  ", "72.5")}, {72.5}, {HalfSpaceDepth}},
      {"six layers keep four, the fourth the half-space",
       {LayerLine(1, "1.5", "11"), LayerLine(2, "4.5", "22"), LayerLine(3, "9.5", "33"), LayerLine(4, "20.5", "44"),
        LayerLine(5, "41", "55"), LayerLine(6, "", "66")},
       {11, 22, 33, 44},
       {1.5, 4.5, 9.5, HalfSpaceDepth}},
      {"the file ends before the half-space",
       {LayerLine(1, "3.2", "140"), LayerLine(2, "12.7", "55")},
       {140, 55},
       {3.2, HalfSpaceDepth}},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    TSoundingFile file = Sounding();
    AddModel(file, row.LayerLines);
    Document.Remarks() = "kept";
    ASSERT_TRUE(ImportText(file.Text()));
    EXPECT_TRUE(Recorder.Messages.empty());
    EXPECT_EQ(Document.Remarks(), "kept");
    ExpectLayers(row.Rho, row.Depths);
  }
}

TEST_F(Import, WithoutAModelAThreeLayerStartingModelIsMadeWithAWarning) {
  struct TRow {
    const char* Name;
    TSoundingFile File;
  };
  TSoundingFile shortAfterHeader = Sounding();
  AddModel(shortAfterHeader, {}, 14);
  TSoundingFile nothingAfterHeader = Sounding();
  AddModel(nothingAfterHeader, {}, 15);
  TSoundingFile otherHeader = Sounding();
  AddModel(otherHeader, {LayerLine(1, "", "5")});
  for (std::string& line : otherHeader.Lines)
    if (line == ModelHeader) line = "Kop VES interpretatie; ";
  const TRow rows[] = {{"no model header", Sounding()},
                       {"the file ends within the 15 lines after the header", shortAfterHeader},
                       {"no layer line after the 15 lines", nothingAfterHeader},
                       {"a header line that is not exactly the header", otherHeader}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    ASSERT_TRUE(ImportText(row.File.Text()));
    ExpectNoModelWarning();
    // First and last apparent resistivity 100 and 50, end spacing 30.
    ExpectLayers({100, 75, 50}, {10, 20, HalfSpaceDepth});
  }

  // Resistivities and an end spacing away from round numbers: 86.4 and
  // 23.1, 45 m.
  TSoundingFile file = Header("SCHLUMB", "45");
  file.Lines.push_back(MeasurementLine(2, 86.4));
  file.Lines.push_back(MeasurementLine(45, 23.1));
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
    EXPECT_EQ(Changes, 2);  // the configuration step, then the end
    EXPECT_EQ(CountsSeen, std::vector<int>({5, 5}));
    EXPECT_EQ(Document.Saved, saved);
    EXPECT_TRUE(Document.StructureChanged);
    EXPECT_TRUE(Document.Annotations.empty());
    EXPECT_EQ(Document.ActiveAnnotation, -1);
    for (int i = 1; i <= MaxLayers; ++i) {
      EXPECT_FALSE(Document.RhoUnknown[i]) << i;
      EXPECT_FALSE(Document.DepthUnknown[i]) << i;
    }
    EXPECT_FALSE(Document.HasFitResult);
    EXPECT_EQ(Document.Rmse, 0);
    EXPECT_EQ(Document.ParameterNames[1], "");
    EXPECT_EQ(Document.RhoPercentText[1], " 12%");  // statistics texts stay
    EXPECT_EQ(Document.FileName, ImportedName);
  }
}

TEST_F(Import, AllLineEndsAndTheEndMarkAreUnderstood) {
  const TSoundingFile file = SoundingWithModel();
  for (const char* end : {"\r\n", "\n", "\r"}) {
    SCOPED_TRACE(end[0] == '\r' ? (end[1] ? "CR LF" : "CR") : "LF");
    ASSERT_TRUE(ImportText(file.Text(end)));
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
  std::string early = file.Text();
  early.insert(early.find("Line 20;"), "\x1A");
  EXPECT_FALSE(ImportText(early));
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
  d.DepthUnknown[1] = true;
  d.HasFitResult = true;
  d.Saved = false;
  d.StructureChanged = false;
}

TEST_F(Import, AFailedImportChangesNothingAndSaysWhy) {
  struct TRow {
    const char* Name;
    std::string Text;
    std::string Message;
  };
  auto withMeasurementLine = [](const std::string& line) {
    TSoundingFile file = SoundingWithModel();
    file.Line(27) = line;
    return file.Text();
  };
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
  const std::string megabytes(2'000'000, 'z');
  TSoundingFile headerOnly = Header();
  const TRow rows[] = {
      {"letters in a spacing", withMeasurementLine("3m;0.5;12.5;40;93.75;"), NotANumber("3m")},
      {"a decimal comma", withMeasurementLine("3;0.5;12.5;40;93,75;"), NotANumber("93,75")},
      {"an empty resistivity", withMeasurementLine("3;0.5;12.5;40;;"), NotANumber("")},
      {"too few fields", withMeasurementLine("3;0.5;12.5"), NotANumber("")},
      {"no field ends", withMeasurementLine("3 0.5 12.5 40 93.75"), NotANumber("3 0.5 12.5 40 93.75")},
      {"an end spacing in words", withLine(14, "AB/2 = 30 m;"), NotANumber("AB/2 = 30 m")},
      {"a depth in words", withModel({LayerLine(1, "ca. 4", "61")}), NotANumber("ca. 4")},
      {"a missing layer resistivity", withModel({LayerLine(1, "4", ""), LayerLine(2, "", "9")}), NotANumber("")},
      {"control characters", withMeasurementLine(std::string("\x01\x02\xff;1;1;1;1;", 12)),
       NotANumber("\x01\x02\xff")},
      {"a field of megabytes", withMeasurementLine(megabytes + ";0.5;1;1;1;"),
       NotANumber(std::string(80, 'z') + "...")},
      {"an empty file", "", EndsBeforeMeasurements(ImportedName)},
      {"only the 25 header lines", headerOnly.Text(), EndsBeforeMeasurements(ImportedName)},
      {"ten lines", JoinLines(std::vector<std::string>(headerOnly.Lines.begin(), headerOnly.Lines.begin() + 10)),
       EndsBeforeMeasurements(ImportedName)},
  };
  FillDocument(Document);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    const TResondixData before = Document;
    EXPECT_FALSE(ImportText(row.Text));
    ExpectUnchanged(before, Document);
    EXPECT_EQ(Changes, 0);
    ASSERT_EQ(Recorder.Messages.size(), 1u);
    EXPECT_EQ(Recorder.Messages[0].Kind, TMessageKind::Error);
    EXPECT_EQ(Recorder.Messages[0].Text, row.Message);
  }
}

TEST_F(Import, AFileThatCannotBeOpenedChangesNothing) {
  TTemporaryFolder folder;
  FillDocument(Document);
  for (const std::string& path : {folder.File("absent.txt"), folder.Folder().string()}) {
    SCOPED_TRACE(path);
    Recorder.Messages.clear();
    Changes = 0;
    Document.FileName = path;
    const TResondixData before = Document;
    EXPECT_FALSE(Document.ImportDinoloket());
    ExpectUnchanged(before, Document);
    EXPECT_EQ(Changes, 0);
    ASSERT_EQ(Recorder.Messages.size(), 1u);
    EXPECT_EQ(Recorder.Messages[0].Kind, TMessageKind::Error);
    EXPECT_EQ(Recorder.Messages[0].Text, "Could not open " + path + "!");
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
  EXPECT_EQ(Document.HalfSpacing[1], 1.5);
  EXPECT_EQ(Document.HalfSpacing[14], 100);
  EXPECT_EQ(Document.LayerCount, 4);
  EXPECT_EQ(Document.LayerDepth[4], HalfSpaceDepth);
  EXPECT_LT(LogMisfit(Document), ExampleMisfit);
  // The same text from memory gives the same document.
  TResondixData fromText;
  ASSERT_TRUE(fromText.ImportFromText(ReadWholeFile(Document.FileName)));
  EXPECT_EQ(fromText.ApparentRho, Document.ApparentRho);
  EXPECT_EQ(fromText.LayerRho, Document.LayerRho);
  EXPECT_EQ(fromText.Info, Document.Info);

  Document.FileName = ExamplePath("ves-wenner-dinoloket.txt");
  ASSERT_TRUE(Document.ImportDinoloket());
  ExpectNoModelWarning();
  EXPECT_FALSE(Document.IsSchlumberger);
  EXPECT_EQ(Document.SoundingTypeText(), "WENNER");
  EXPECT_EQ(Document.MeasurementCount, 12);
  EXPECT_EQ(Document.HalfSpacing[12], 90);
  ExpectLayers({Document.ApparentRho[1], (Document.ApparentRho[1] + Document.ApparentRho[12]) / 2,
                Document.ApparentRho[12]},
               {30, 60, HalfSpaceDepth});
}

TEST_F(Import, LinesOfMegabytesAreReadWhole) {
  const std::string megabytes(3'000'000, 'm');
  TSoundingFile file = SoundingWithModel();
  file.Line(1) = megabytes + ";";
  file.Line(6) = megabytes;                     // a skipped line
  file.Line(26) += megabytes;                   // after the fifth field
  file.Lines.insert(file.Lines.begin() + 30, megabytes);  // passed over by the model search
  ASSERT_TRUE(ImportText(file.Text()));
  EXPECT_TRUE(Recorder.Messages.empty());
  EXPECT_EQ(Document.ProjectName(), std::string(80, 'm'));
  EXPECT_EQ(Document.MeasurementCount, 5);
  EXPECT_EQ(Document.ApparentRho[1], 100);
  EXPECT_EQ(Document.LayerCount, 3);
}

// Damaged copies of the example files: whatever happens, the import either
// gives a document within the capacities whose last layer is the
// half-space, or one error and no change at all.
TEST_F(Import, DamagedFilesNeverBreakTheDocument) {
  const std::string originals[] = {ReadWholeFile(ExamplePath("ves-schlumberger-dinoloket.txt")),
                                   ReadWholeFile(ExamplePath("ves-wenner-dinoloket.txt"))};
  const char specials[] = {';', '\r', '\n', '\x1A', '\0', '.', 'e', '-', ' '};
  std::mt19937 random(7719);
  int imported = 0;
  for (int round = 0; round < 600; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::string text = originals[round % 2];
    for (int damage = 1 + static_cast<int>(random() % 4); damage > 0; --damage) {
      const std::size_t at = random() % text.size();
      switch (random() % 4) {
        case 0: text[at] = specials[random() % sizeof specials]; break;
        case 1: text[at] = static_cast<char>(random() % 256); break;
        case 2: text.erase(at, random() % 40); break;
        default: text.resize(at); break;
      }
      if (text.empty()) break;
    }
    TResondixData d;
    FillDocument(d);
    const TResondixData before = d;
    Recorder.Messages.clear();
    if (d.ImportFromText(text)) {
      ++imported;
      ASSERT_GE(d.MeasurementCount, 1);
      ASSERT_LE(d.MeasurementCount, MaxMeasurements);
      ASSERT_GE(d.LayerCount, 1);
      ASSERT_LE(d.LayerCount, MaxLayers);
      ASSERT_EQ(d.LayerDepth[d.LayerCount], HalfSpaceDepth);
      ASSERT_EQ(d.FilterCount, d.IsSchlumberger ? 20 : 10);
      for (const auto& message : Recorder.Messages) ASSERT_EQ(message.Kind, TMessageKind::Warning);
    } else {
      ExpectUnchanged(before, d);
      ASSERT_EQ(Recorder.Messages.size(), 1u);
      ASSERT_EQ(Recorder.Messages[0].Kind, TMessageKind::Error);
    }
  }
  // Both outcomes were exercised.
  EXPECT_GT(imported, 0);
  EXPECT_LT(imported, 600);
}

}  // namespace
