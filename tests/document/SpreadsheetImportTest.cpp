// Import of soundings typed in a spreadsheet (".csv"): the shapes that
// spreadsheets and hand editing give such files, the errors that name the
// line and the field, the starting model, and that a file that cannot be
// imported changes nothing.
#include <cctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/ResondixData.h"
#include "tests/TestSupport.h"

namespace {

const std::string ImportedName = "/survey/veenhoop/ves-12.csv";
const std::string NoModel = "No model was found in imported file. Defaulting to 3-layer model.";
// Three measurements and the starting model they give: the first, the mean
// and the last apparent resistivity, down to a third and two thirds of the
// largest spacing.
const std::string Expected = "1.5:100 3:93.75 30:50 | 100/10 75/20 50/10000";

std::string Rows(int count, const std::string& end = "\n") {
  std::string text;
  for (int i = 1; i <= count; ++i) text += std::to_string(i) + ";" + std::to_string(100 + i) + end;
  return text;
}

struct TShape {
  const char* Name;
  std::string Text;
  std::string Tables;  // expected measurements and model; empty when the import must fail
  std::string Error;   // after "Could not import <file>! "
};

void PrintTo(const TShape& shape, std::ostream* out) { *out << shape.Name; }

const TShape Shapes[] = {
    {"comma, decimal point, heading, LF", "spacing,rho\n1.5,100\n3,93.75\n30,50\n", Expected, ""},
    {"comma and blanks after it", "1.5, 100\n3,  93.75\n30 ,50\n", Expected, ""},
    {"semicolon, decimal comma, heading, CR LF", "AB/2 (m);Rho a (ohm.m)\r\n1,5;100\r\n3;93,75\r\n30;50\r\n",
     Expected, ""},
    {"tab, decimal comma", "L/2\tRho\n1,5\t100\n3\t93,75\n30\t50\n", Expected, ""},
    {"blanks, no heading", "  1.5   100\n3 93.75\n30\t 50\n", Expected, ""},
    {"blanks, decimal comma", "1,5 100\n3 93,75\n30 50\n", Expected, ""},
    {"commas, quoted decimal commas", "\"spacing\",\"rho\"\n\"1,5\",\"100\"\n\"3\",\"93,75\"\n30,50\n", Expected, ""},
    {"blank rows, rows of empty fields, CR line ends", "\r\r1.5;100\r;;\r3;93.75\r \r\"\";\"\"\r30;50\r", Expected,
     ""},
    {"byte order mark, comments, further columns", "\xEF\xBB\xBF# Veenhoop\nspacing,rho,remark\n1.5,100,dry\n3,93.75,\n30,50,wet\n",
     Expected, ""},
    {"rows not ended by a line end", "1.5;100\n3;93.75\n30;50", Expected, ""},
    {"fifteen rows", "L/2;rho\n" + Rows(15), "", ""},
    {"text in the resistivity column", "spacing;rho\n1,5;100\n3;n/a\n", "",
     "Line 3, field 2 (apparent resistivity): 'n/a' is not a valid floating point value"},
    {"text in the spacing column", "1.5,100\nthree,93\n", "",
     "Line 2, field 1 (spacing): 'three' is not a valid floating point value"},
    {"a heading after the first row", "1;100\nspacing;rho\n", "",
     "Line 2, field 1 (spacing): 'spacing' is not a valid floating point value"},
    {"thousands separator", "1.5;1.200,5\n", "",
     "Line 1, field 2 (apparent resistivity): '1.200,5' is not a valid floating point value"},
    {"one column", "# one\n1.5\n", "",
     "Line 2, field 2 (apparent resistivity): missing; a row holds the spacing and the apparent resistivity."},
    {"empty resistivity field", "1.5;100\n3;\n", "",
     "Line 2, field 2 (apparent resistivity): missing; a row holds the spacing and the apparent resistivity."},
    {"resistivity not above 0", "1.5;100\n3;-93\n", "",
     "Line 2, field 2 (apparent resistivity): Value must be greater than 0!"},
    {"spacing 0", "0;100\n", "", "Line 1, field 1 (spacing): Value must be greater than 0!"},
    {"spacing beyond the grid's range", "1.5;100\n3100;50\n", "",
     "Line 2, field 1 (spacing): Value must be between 0 and 3100!"},
    {"heading only", "spacing;rho\r\n;;\r\n", "", "The file holds no measurements."},
    {"empty file", "", "", "The file holds no measurements."},
    {"unknown configuration", "# configuration: dipole\n1;2\n", "",
     "Line 1 names the configuration 'dipole': use Schlumberger or Wenner."},
    {"a line of 5000 characters", "1;2\n" + std::string(5000, ' ') + "\n", "",
     "Line 2 is longer than 4096 characters."},
    {"UTF-16 text", std::string("\xFF\xFE" "1\0;\0" "2\0\n\0", 10), "",
     "The file looks like UTF-16 text; save it as UTF-8 text and import it again."},
};

class TSpreadsheetShapes : public ::testing::TestWithParam<TShape> {};

TEST_P(TSpreadsheetShapes, GiveTheMeasurementsOrAnErrorNamingLineAndField) {
  const TShape& shape = GetParam();
  TMessageRecorder recorder;
  TResondixData document;
  document.FileName = ImportedName;
  document.SetValue(1, 4, false, 61.25);  // an unsaved change that a failed import keeps
  const TResondixData before = document;
  const bool imported = document.ImportSpreadsheetText(shape.Text);
  if (shape.Error.empty()) {
    ASSERT_TRUE(imported) << (recorder.Texts.empty() ? "" : recorder.Texts.back());
    EXPECT_EQ(recorder.Texts, std::vector<std::string>{NoModel});
    EXPECT_EQ(recorder.Kinds, std::vector<TMessageKind>{TMessageKind::Warning});
    if (!shape.Tables.empty()) {
      EXPECT_EQ(Tables(document), shape.Tables);
    }
    EXPECT_EQ(document.ProjectName(), "ves-12");
    EXPECT_TRUE(document.IsSchlumberger);
  } else {
    EXPECT_FALSE(imported);
    EXPECT_EQ(recorder.Texts, std::vector<std::string>{"Could not import " + ImportedName + "! " + shape.Error});
    EXPECT_EQ(recorder.Kinds, std::vector<TMessageKind>{TMessageKind::Error});
    ExpectUnchanged(before, document);
  }
}

// Test names from the rows' names: letters and digits, the rest "_".
INSTANTIATE_TEST_SUITE_P(Shapes, TSpreadsheetShapes, ::testing::ValuesIn(Shapes), [](const auto& info) {
  std::string name = info.param.Name;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
});

TEST(SpreadsheetImport, FifteenRowsAreKeptAndTheConfigurationLineRead) {
  TMessageRecorder recorder;
  TResondixData document;
  document.FileName = ImportedName;
  // Rows past the fifteenth are counted, not read; the import warns of them.
  ASSERT_TRUE(document.ImportSpreadsheetText("L/2;rho\n" + Rows(15) + "\n16;116\n17;n/a\n# end\n18;118\n"));
  EXPECT_EQ(document.MeasurementCount, 15);
  EXPECT_EQ(document.ApparentRho[15], 115);
  EXPECT_EQ(Tables(document).substr(Tables(document).find('|')), "| 101/5 108/10 115/10000");
  EXPECT_EQ(recorder.Texts, (std::vector<std::string>{
                                NoModel, ImportedName + " holds 18 measurements; the program keeps the first 15."}));
  EXPECT_EQ(recorder.Kinds, std::vector<TMessageKind>(2, TMessageKind::Warning));

  for (const char* line : {"# Configuration : WENNER", "#configuration:wenner"}) {
    ASSERT_TRUE(document.ImportSpreadsheetText(std::string(line) + "\r\n1;100\r\n9;50\r\n")) << line;
    EXPECT_FALSE(document.IsSchlumberger) << line;
    EXPECT_EQ(document.SoundingTypeText(), " Wenner");
  }
  // The configuration goes through the data file: it is read back as Wenner.
  TResondixData reread;
  ASSERT_TRUE(reread.LoadFromText(document.DataFileText()));
  EXPECT_FALSE(reread.IsSchlumberger);
  ASSERT_TRUE(document.ImportSpreadsheetText("# configuration: Schlumberger\n1;100\n9;50\n"));
  EXPECT_TRUE(document.IsSchlumberger);
  EXPECT_EQ(document.SoundingTypeText(), " Schlumberger");
}

TEST(SpreadsheetImport, TheReplacedContentIsAnnouncedOnceItIsWhole) {
  TMessageRecorder recorder;
  TResondixData document;
  document.Annotations.push_back({10, 20, 100, 40, "old note"});
  document.RhoUnknown[1] = document.HasFitResult = true;
  std::vector<int> countsSeen;
  document.OnChange = [&countsSeen](TResondixData& sender) { countsSeen.push_back(sender.MeasurementCount); };
  ASSERT_TRUE(document.ImportSpreadsheetText("1.5;100\n3;93.75\n30;50\n"));
  EXPECT_FALSE(countsSeen.empty());
  for (int count : countsSeen) EXPECT_EQ(count, 3);
  EXPECT_TRUE(document.Annotations.empty() && document.StructureChanged);
  EXPECT_FALSE(document.RhoUnknown[1] || document.HasFitResult);
  EXPECT_EQ(document.Remarks(), "No model was found in imported file.");
}

// By name: a ".csv" file of any case is a spreadsheet, anything else a
// DINOloket file; the example spreadsheet holds the first survey sounding.
TEST(SpreadsheetImport, ImportFileChoosesTheReaderByTheExtension) {
  TMessageRecorder recorder;
  TTemporaryFolder folder;
  const std::string upper = folder.File("VES-1.CSV"), text = folder.File("ves-1.txt");
  WriteWholeFile(upper, "1.5;100\n3;93.75\n30;50\n");
  WriteWholeFile(text, "1.5;100\n3;93.75\n30;50\n");
  TResondixData document;
  ASSERT_TRUE(document.ImportFile(upper, "today"));
  EXPECT_EQ(Tables(document), Expected);
  EXPECT_EQ(document.FileName, folder.File("VES-1.rxd"));
  EXPECT_FALSE(document.ImportFile(text, "today"));  // too short for a DINOloket file
  EXPECT_EQ(recorder.Texts.back().rfind("Could not import " + text + "! The file ends before", 0), 0u);
  EXPECT_FALSE(document.ImportFile(folder.File("missing.csv"), "today"));
  EXPECT_EQ(recorder.Texts.back(), "Could not open " + folder.File("missing.csv") + "!");

  TResondixData example, survey;
  ASSERT_TRUE(example.ImportFile(ExamplePath("survey/ves-01.csv"), "today"));
  ASSERT_TRUE(survey.LoadFromFile(ExamplePath("survey/ves-01.rxd")));
  EXPECT_EQ(example.MeasurementCount, 15);
  EXPECT_EQ(example.HalfSpacing, survey.HalfSpacing);
  EXPECT_EQ(example.ApparentRho, survey.ApparentRho);
}

}  // namespace
