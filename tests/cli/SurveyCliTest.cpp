// The survey commands as a user runs them: spreadsheet files through
// import, the table of many soundings read back as a spreadsheet would read
// it, and the section's records; a file that fails never stops the others.
#include <cmath>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "document/ResondixData.h"
#include "tests/TestSupport.h"
#include "tests/cli/CliTestSupport.h"

namespace {

using TCsvRow = std::vector<std::string>;

// An RFC 4180 reader: fields separated by commas, quoted fields with ""
// for a quote, records ended by CR LF. Fails the test on anything else.
std::vector<TCsvRow> ParseCsv(const std::string& text) {
  std::vector<TCsvRow> rows(1, TCsvRow(1));
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    std::string& field = rows.back().back();
    if (quoted) {
      if (c != '"')
        field += c;
      else if (i + 1 < text.size() && text[i + 1] == '"')
        field += '"', ++i;
      else
        quoted = false;
    } else if (c == '"') {
      EXPECT_TRUE(field.empty()) << "a quote inside an unquoted field at " << i;
      quoted = true;
    } else if (c == ',') {
      rows.back().emplace_back();
    } else if (c == '\r') {
      EXPECT_EQ(text.substr(i, 2), "\r\n") << "a record ends with CR LF";
      ++i;
      if (i + 1 < text.size()) rows.emplace_back(1);
    } else {
      EXPECT_NE(c, '\n') << "a bare LF at " << i;
      field += c;
    }
  }
  EXPECT_FALSE(quoted);
  return rows;
}

// Rows as maps from the heading's names; every row as wide as the heading.
std::vector<std::map<std::string, std::string>> Records(const std::string& csv) {
  const std::vector<TCsvRow> rows = ParseCsv(csv);
  std::vector<std::map<std::string, std::string>> records;
  for (std::size_t r = 1; r < rows.size(); ++r) {
    EXPECT_EQ(rows[r].size(), rows[0].size()) << "row " << r;
    std::map<std::string, std::string> record;
    for (std::size_t c = 0; c < rows[0].size() && c < rows[r].size(); ++c) record[rows[0][c]] = rows[r][c];
    records.push_back(record);
  }
  return records;
}

std::vector<QJsonObject> JsonLines(const std::string& out) {
  std::vector<QJsonObject> lines;
  for (std::size_t start = 0; start < out.size();) {
    const std::size_t end = out.find('\n', start);
    lines.push_back(QJsonDocument::fromJson(QByteArray::fromStdString(out.substr(start, end - start))).object());
    start = end == std::string::npos ? out.size() : end + 1;
  }
  return lines;
}

// The number in a field; NaN for an empty one.
double Number(const std::string& field) { return field.empty() ? NAN : std::stod(field); }

std::string SurveyFile(int n) { return ExamplePath("survey/ves-0" + std::to_string(n) + ".rxd"); }

std::string SurveyFiles() {
  std::string files;
  for (int n = 1; n <= 6; ++n) files += Quoted(SurveyFile(n)) + " ";
  return files;
}

// A copy of the first survey sounding with one text replaced.
std::string ChangedSounding(const TTemporaryFolder& folder, const std::string& name, const std::string& from,
                            const std::string& to) {
  std::string text = ReadWholeFile(SurveyFile(1));
  WriteWholeFile(folder.File(name), text.replace(text.find(from), from.size(), to));
  return folder.File(name);
}

// The fitted values of the table, S and T included, equal those fit prints;
// position, project and counts those show prints.
TEST(CliTable, TheFittedSurveyReadsBackAsFitAndShowPrintIt) {
  TTemporaryFolder folder;
  const std::string missing = folder.File("missing.rxd");
  const std::string quoted = ChangedSounding(folder, "quoted.rxd", "Groundwater survey Veenhoop, profile A",
                                             "Survey \"Veenhoop\", A");
  const TRun table = RunCli("table --fit all " + Quoted(missing) + " " + SurveyFiles() + Quoted(quoted));
  EXPECT_EQ(table.Status, 1);  // one file failed
  const auto records = Records(table.Out);
  ASSERT_EQ(records.size(), 8u);
  EXPECT_EQ(ParseCsv(table.Out)[0],
            (TCsvRow{"file", "project", "x", "y", "configuration", "measurements", "rho1", "depth1", "rho2", "depth2",
                     "rho3", "depth3", "rho4", "rmse", "fit_status", "total_s", "total_t", "forward", "error"}));
  EXPECT_EQ(records[0].at("file"), missing);
  EXPECT_EQ(records[0].at("error"), "Could not open " + missing + "!");
  EXPECT_EQ(records[0].at("rho1") + records[0].at("rmse") + records[0].at("project"), "");
  EXPECT_EQ(records[7].at("project"), "Survey \"Veenhoop\", A");

  const std::vector<QJsonObject> fits = JsonLines(RunCli("fit " + SurveyFiles() + " --unknowns all").Out);
  const std::vector<QJsonObject> shows = JsonLines(RunCli("show " + SurveyFiles()).Out);
  ASSERT_EQ(fits.size(), 6u);
  ASSERT_EQ(shows.size(), 6u);
  for (int n = 1; n <= 6; ++n) {
    const auto& row = records[n];
    const QJsonObject& fit = fits[n - 1];
    const QJsonArray layers = fit["layers"].toArray();
    SCOPED_TRACE(row.at("file"));
    EXPECT_EQ(row.at("file"), SurveyFile(n));
    EXPECT_EQ(row.at("error"), "");
    EXPECT_EQ(row.at("project"), Text(shows[n - 1]["info"][0]));
    EXPECT_EQ("X, Y = " + row.at("x") + ", " + row.at("y"), Text(shows[n - 1]["info"][5]));
    EXPECT_EQ(row.at("configuration"), Text(shows[n - 1]["configuration"]));
    EXPECT_EQ(Number(row.at("measurements")), shows[n - 1]["measurements"].toArray().size());
    EXPECT_EQ(Number(row.at("fit_status")), fit["status"].toDouble());
    EXPECT_EQ(Number(row.at("rmse")), fit["rmse"].toDouble());  // both written to round trip
    ASSERT_EQ(layers.size(), 4);
    for (int i = 1; i <= 4; ++i) {
      EXPECT_EQ(Number(row.at("rho" + std::to_string(i))), layers[i - 1]["rho"].toDouble());
      if (i < 4) {
        EXPECT_EQ(Number(row.at("depth" + std::to_string(i))), layers[i - 1]["depth"].toDouble());
      }
    }
    EXPECT_EQ(Number(row.at("total_s")), fit["dar_zarrouk"]["totals"]["s"].toDouble());
    EXPECT_EQ(Number(row.at("total_t")), fit["dar_zarrouk"]["totals"]["t"].toDouble());
  }
}

// Without --fit: the model as the file holds it, its misfit, no status; a
// three-layer model leaves the fourth layer's columns empty. --json gives
// the same values, one object per file.
TEST(CliTable, TheModelAsItStandsAsJsonOrIntoAFile) {
  TTemporaryFolder folder;
  const std::string fitted = folder.File("fitted.rxd"), three = ExamplePath("three-layer-schlumberger.rxd");
  const TRun fit = RunCli("fit " + Quoted(SurveyFile(3)) + " --unknowns all -o " + Quoted(fitted));
  ASSERT_EQ(fit.Status, 0) << fit.Err;
  const std::string out = folder.File("table.csv");
  const TRun table = RunCli("table " + Quoted(fitted) + " " + Quoted(three) + " -o " + Quoted(out));
  ASSERT_EQ(table.Status, 0) << table.Err;
  EXPECT_EQ(table.Out, "");
  const auto records = Records(ReadWholeFile(out));
  ASSERT_EQ(records.size(), 2u);
  // The saved file keeps two decimals of the fitted values: nearly the fit's misfit.
  EXPECT_NEAR(Number(records[0].at("rmse")), fit.Json()["rmse"].toDouble(), 1e-3);
  EXPECT_NE(Number(records[0].at("rmse")), fit.Json()["rmse"].toDouble());
  EXPECT_EQ(records[0].at("fit_status"), "");
  EXPECT_EQ(records[1].at("rho3"), "500");
  EXPECT_EQ(records[1].at("depth3") + records[1].at("rho4"), "");
  EXPECT_EQ(records[1].at("x") + ";" + records[1].at("y"), "234512;556780");

  const TRun json = RunCli("table --json " + Quoted(fitted) + " " + Quoted(three) + " " + Quoted(folder.File("no.rxd")));
  EXPECT_EQ(json.Status, 1);
  const std::vector<QJsonObject> lines = JsonLines(json.Out);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0]["rmse"].toDouble(), Number(records[0].at("rmse")));
  EXPECT_EQ(lines[1]["depth2"].toDouble(), Number(records[1].at("depth2")));
  EXPECT_TRUE(lines[1]["rho4"].isNull() && lines[1]["fit_status"].isNull());
  EXPECT_EQ(lines[2], QJsonObject({{"file", QString::fromStdString(folder.File("no.rxd"))},
                                   {"error", QString::fromStdString("Could not open " + folder.File("no.rxd") + "!")},
                                   {"forward", "filter"}}));
  // The accurate forward model gives another misfit than the filter's, as
  // fit does with it.
  const TRun accurate = RunCli("table --json --forward accurate --fit all " + Quoted(SurveyFile(3)));
  const TRun accurateFit = RunCli("fit --forward accurate --unknowns all " + Quoted(SurveyFile(3)));
  ASSERT_EQ(accurate.Status, 0) << accurate.Err;
  EXPECT_EQ(accurate.Json()["rmse"].toDouble(), accurateFit.Json()["rmse"].toDouble());
  EXPECT_EQ(Text(accurate.Json()["forward"]), "accurate");
  EXPECT_NE(accurate.Json()["rmse"].toDouble(), RunCli("table --json --fit all " + Quoted(SurveyFile(3))).Json()["rmse"].toDouble());

  for (const char* arguments : {"table --csv --json x.rxd", "table --fit rho9 x.rxd", "table", "table --forward x a.rxd"})
    EXPECT_EQ(RunCli(arguments).Status, 1) << arguments;
}

// A file that cannot be fitted gives its reason in its row; the files after
// it are still fitted.
TEST(CliTable, AFileThatCannotBeFittedGivesItsReason) {
  TTemporaryFolder folder;
  const std::string noRho = ChangedSounding(folder, "no-rho.rxd", "      382.43", " 0.000E+0000");
  const TRun table = RunCli("table --fit rho4 " + Quoted(noRho) + " " + Quoted(SurveyFile(2)) + " " +
                            Quoted(ExamplePath("three-layer-schlumberger.rxd")));
  EXPECT_EQ(table.Status, 1);
  const auto records = Records(table.Out);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].at("error"), noRho + ": measurement 1, Rho: Value must be greater than 0!");
  EXPECT_EQ(records[1].at("fit_status"), "0");
  EXPECT_EQ(records[2].at("error"), "The model of " + ExamplePath("three-layer-schlumberger.rxd") +
                                        " has 3 layers: rho4 does not exist.");
}

TEST(CliImport, SpreadsheetFilesWithTheirWarningAndErrorsNamingLineAndField) {
  TTemporaryFolder folder;
  const std::string bad = folder.File("bad.csv");
  WriteWholeFile(bad, "spacing;rho\r\n1,5;100\r\n3;-\r\n");
  const TRun run = RunCli("import " + Quoted(bad) + " " + Quoted(ExamplePath("survey/ves-01.csv")));
  EXPECT_EQ(run.Status, 1);
  const std::vector<QJsonObject> lines = JsonLines(run.Out);
  ASSERT_EQ(lines.size(), 2u);
  const std::string message =
      "Could not import " + bad + "! Line 3, field 2 (apparent resistivity): '-' is not a valid floating point value";
  EXPECT_EQ(Text(lines[0]["error"]), message);
  EXPECT_EQ(run.Err, message + "\n");
  EXPECT_EQ(Text(lines[1]["warning"]), "No model was found in imported file. Defaulting to 3-layer model.");
  EXPECT_EQ(lines[1]["measurements"].toArray().size(), 15);
  EXPECT_EQ(lines[1]["layers"].toArray().size(), 3);
}

TEST(CliSection, RecordsInInputOrderDistancesAlongTheLineAndFailuresLeftOut) {
  TTemporaryFolder folder;
  const std::string picture = folder.File("section.png"), missing = folder.File("missing.rxd");
  const std::string noPosition = ChangedSounding(folder, "nowhere.rxd", "X, Y = 212400, 561800", "near the farm");
  // In reverse file order, sorted by x: the distances follow the positions.
  std::string reversed;
  for (int n = 6; n >= 1; --n) reversed += Quoted(SurveyFile(n)) + " ";
  const TRun run = RunCli("section " + reversed + Quoted(missing) + " " + Quoted(picture) + " --order x --size 900x500");
  EXPECT_EQ(run.Status, 1);
  const std::vector<QJsonObject> lines = JsonLines(run.Out);
  ASSERT_EQ(lines.size(), 7u);
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(Text(lines[k]["file"]), SurveyFile(6 - k));
    // The survey's soundings stand 100 m apart on a straight line.
    EXPECT_NEAR(lines[k]["distance"].toDouble(), 100.0 * (5 - k), 0.5) << k;
    EXPECT_GT(lines[k]["rmse"].toDouble(), 0);
  }
  EXPECT_EQ(Text(lines[6]["error"]), "Could not open " + missing + "!");
  const QImage image(QString::fromStdString(picture));
  EXPECT_EQ(image.size(), QSize(900, 500));

  // Without a position everywhere the soundings stand evenly in file order,
  // and an order by x cannot be made.
  const TRun even = RunCli("section " + Quoted(noPosition) + " " + Quoted(SurveyFile(4)) + " " + Quoted(picture));
  ASSERT_EQ(even.Status, 0) << even.Err;
  EXPECT_EQ(JsonLines(even.Out)[1]["distance"].toDouble(), 1);
  const TRun refused = RunCli("section " + Quoted(noPosition) + " " + Quoted(SurveyFile(4)) + " " +
                              Quoted(folder.File("y.png")) + " --order y");
  EXPECT_EQ(refused.Status, 1);
  EXPECT_NE(refused.Err.find(noPosition + " has none."), std::string::npos) << refused.Err;
  EXPECT_FALSE(std::filesystem::exists(folder.File("y.png")));
  // With --fit, the fitted models and their misfit, as table --fit gives them.
  const TRun fitted = RunCli("section --fit all " + Quoted(SurveyFile(2)) + " " + Quoted(picture));
  const TRun tabled = RunCli("table --json --fit all " + Quoted(SurveyFile(2)));
  ASSERT_EQ(fitted.Status, 0) << fitted.Err;
  EXPECT_EQ(fitted.Json()["rmse"].toDouble(), tabled.Json()["rmse"].toDouble());
  EXPECT_EQ(fitted.Json()["fit_status"].toDouble(), 0);
  EXPECT_NE(fitted.Json()["rmse"].toDouble(), lines[4]["rmse"].toDouble());  // the starting model's
  for (const std::string arguments : {"section a.rxd out.gif", "section a.rxd out.png --order z",
                                      "section a.rxd out.png --depth -3", "section out.png",
                                      "section a.rxd out.png --fit rho0"})
    EXPECT_EQ(RunCli(arguments).Status, 1) << arguments;
}

}  // namespace
