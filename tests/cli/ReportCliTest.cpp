// The report as a user makes it and hands it on: the PDF read back (its
// pages, their paper, and with pdftotext where it is installed their texts
// against what fit prints, also with the automatic model), one record per
// file with a file that fails left out, the page as an image, the refusals; and the help and the manual page
// naming the same commands and options.
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "chart/ReportPage.h"
#include "tests/TestSupport.h"
#include "tests/cli/CliTestSupport.h"

namespace {

std::string Survey(int i) { return ExamplePath("survey/ves-0" + std::to_string(i) + ".rxd"); }

// The MediaBox of every page, in order, as "WxH" in points.
std::vector<std::string> PageSizes(const std::string& pdf) {
  std::vector<std::string> sizes;
  const std::regex box(R"(/MediaBox \[0 0 (\d+)\.0+ (\d+)\.0+\])");
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), box); it != std::sregex_iterator(); ++it)
    sizes.push_back((*it)[1].str() + "x" + (*it)[2].str());
  return sizes;
}

bool HasPdfToText() { return std::system("command -v pdftotext >/dev/null 2>&1") == 0; }

std::string PageText(const std::string& pdf, int page) {
  TTemporaryFolder folder;
  const std::string text = folder.File("page.txt"), number = std::to_string(page);
  std::system(("pdftotext -q -f " + number + " -l " + number + " " + Quoted(pdf) + " " + Quoted(text)).c_str());
  return ReadWholeFile(text);
}

std::string Figure(double value, int significant = 3) { return ReportNumber(value, significant).toStdString(); }

TEST(CliReport, TheSurveysPagesHoldWhatFitPrintsAndAFileThatFailsIsLeftOut) {
  TTemporaryFolder folder;
  const std::string report = folder.File("report.pdf"), missing = folder.File("missing.rxd");
  const TRun run = RunCli("report " + Quoted(Survey(1)) + " " + Quoted(Survey(2)) + " " + Quoted(missing) + " " +
                          Quoted(Survey(3)) + " " + Quoted(report) + " --fit all");
  EXPECT_EQ(run.Status, 1);
  const auto page = [&](const std::string& file, int n) {
    return "{\"file\":\"" + file + "\",\"output\":\"" + report + "\",\"page\":" + std::to_string(n) +
           ",\"forward\":\"filter\"}\n";
  };
  EXPECT_EQ(run.Out, page(Survey(1), 1) + page(Survey(2), 2) + "{\"file\":\"" + missing +
                         "\",\"error\":\"Could not open " + missing + "!\",\"forward\":\"filter\"}\n" +
                         page(Survey(3), 3));
  EXPECT_EQ(run.Err, "Could not open " + missing + "!\n");
  // Three A4 pages and the section on a page turned to landscape.
  const std::string pdf = ReadWholeFile(report);
  ASSERT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_EQ(PageSizes(pdf), (std::vector<std::string>{"595x842", "595x842", "595x842", "842x595"}));
  if (!HasPdfToText()) return;  // the texts are checked where poppler-utils is installed

  const QJsonObject fit = RunCli("fit " + Quoted(Survey(2)) + " --unknowns all").Json();
  const std::string text = PageText(report, 2);
  for (const std::string& expected :
       {std::string("Groundwater survey Veenhoop, profile A"), std::string("AB/2 (m)"),
        std::string("Apparent resistivity (\u03a9\u00b7m)"),
        "RMSE: " + Figure(fit["rmse"].toDouble(), 4) + " log10 units", std::string("Page 2 of 4")})
    EXPECT_NE(text.find(expected), std::string::npos) << expected << " in\n" << text;
  const QJsonArray layers = fit["layers"].toArray();
  for (int i = 0; i < layers.size(); ++i) {
    EXPECT_NE(text.find(Figure(layers[i]["rho"].toDouble())), std::string::npos) << "rho of layer " << i + 1;
    if (i + 1 < layers.size()) {
      EXPECT_NE(text.find(Figure(layers[i]["depth"].toDouble())), std::string::npos) << "depth of layer " << i + 1;
    }
  }
  const std::string section = PageText(report, 4);
  for (const char* expected : {"Resistivity section", "ves-01", "ves-02", "ves-03", "Distance along the profile (m)"})
    EXPECT_NE(section.find(expected), std::string::npos) << expected;
  EXPECT_EQ(section.find("missing"), std::string::npos);
}

// A file with measurements only: --auto gives its page the model that fit
// --auto fits.
TEST(CliReport, AutoFitsTheAutomaticModelOfEachFileBeforeItsPage) {
  TTemporaryFolder folder;
  const std::string measured = folder.File("measured.rxd"), report = folder.File("auto.pdf");
  ASSERT_EQ(RunCli("import " + Quoted(ExamplePath("survey/ves-01.csv")) + " -o " + Quoted(measured)).Status, 0);
  const TRun run = RunCli("report " + Quoted(measured) + " " + Quoted(report) + " --auto 3 --error 5");
  EXPECT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out, "{\"file\":\"" + measured + "\",\"output\":\"" + report + "\",\"page\":1,\"forward\":\"filter\"}\n");
  ASSERT_EQ(PageSizes(ReadWholeFile(report)).size(), 1u);
  if (!HasPdfToText()) return;
  const QJsonArray layers = RunCli("fit " + Quoted(measured) + " --auto 3 --error 5").Json()["layers"].toArray();
  ASSERT_EQ(layers.size(), 3);
  const std::string text = PageText(report, 1);
  for (int i = 0; i < layers.size(); ++i)
    EXPECT_NE(text.find(Figure(layers[i]["rho"].toDouble())), std::string::npos) << "rho of layer " << i + 1;
}

TEST(CliReport, PaperImagePageAndRefusals) {
  TTemporaryFolder folder;
  const std::string letter = folder.File("letter.pdf");
  ASSERT_EQ(RunCli("report " + Quoted(Survey(4)) + " " + Quoted(letter) + " --paper letter").Status, 0);
  EXPECT_EQ(PageSizes(ReadWholeFile(letter)), std::vector<std::string>{"612x792"}) << "one file: no section";
  // One sounding's page as an image, at twice the report's 96 dots per inch:
  // A4 is 595 x 842 points.
  const std::string image = folder.File("page.png");
  ASSERT_EQ(RunCli("report " + Quoted(Survey(4)) + " " + Quoted(image)).Status, 0);
  const QImage png(QString::fromStdString(image));
  EXPECT_EQ(png.size(), QSize(2 * 793, 2 * 1123));
  EXPECT_NEAR(png.dotsPerMeterX() * 0.0254, 192, 0.5);

  const std::string out = folder.File("out.pdf"), missing = folder.File("missing.rxd");
  const struct {
    std::string Arguments, Output;
  } rows[] = {
      {Quoted(Survey(1)), "report takes one or more input files and one output file.\n"},
      {Quoted(Survey(1)) + " " + Quoted(Survey(2)) + " " + Quoted(folder.File("two.svg")),
       "A report of several soundings has several pages: write it to a .pdf file.\n"},
      {Quoted(Survey(1)) + " " + Quoted(out) + " --paper a5", "Option --paper takes a4 or letter.\n"},
      {Quoted(Survey(1)) + " " + Quoted(out) + " --fit all --auto",
       "Options --auto and --fit exclude each other: --auto fits every value of its model.\n"},
      {Quoted(missing) + " " + Quoted(out), "{\"file\":\"" + missing + "\",\"error\":\"Could not open " + missing +
                                                "!\",\"forward\":\"filter\"}\nCould not open " + missing +
                                                "!\nNo sounding to report; " + out + " was not written.\n"},
  };
  for (const auto& row : rows) {
    const TRun run = RunCli("report " + row.Arguments);
    EXPECT_EQ(run.Status, 1) << row.Arguments;
    EXPECT_EQ(run.Out + run.Err, row.Output) << row.Arguments;
  }
  EXPECT_FALSE(std::filesystem::exists(out));
}

// The options --help lists and the manual page describes, as sets of names.
std::set<std::string> HelpNames(const std::string& help, const std::string& section, const std::regex& name) {
  std::set<std::string> names;
  std::istringstream lines(help.substr(help.find(section)));
  std::string line;
  std::getline(lines, line);
  while (std::getline(lines, line) && !line.empty()) {
    const std::string form = line.substr(0, line.find("  ", 2));
    for (auto it = std::sregex_iterator(form.begin(), form.end(), name); it != std::sregex_iterator(); ++it)
      names.insert((*it)[1].str());
  }
  return names;
}

std::set<std::string> ManualNames(const std::string& manual, const std::string& section, const std::regex& name) {
  const std::size_t start = manual.find(".SH " + section), end = manual.find(".SH ", start + 1);
  std::set<std::string> names;
  std::istringstream lines(manual.substr(start, end - start));
  std::string line, previous;
  while (std::getline(lines, line)) {
    // The item named on the line after each .TP.
    if (previous == ".TP")
      for (auto it = std::sregex_iterator(line.begin(), line.end(), name); it != std::sregex_iterator(); ++it)
        names.insert(std::regex_replace((*it)[1].str(), std::regex(R"(\\-)"), "-"));
    previous = line;
  }
  return names;
}

TEST(CliHelp, TheManualPageDescribesEveryCommandAndOptionThatHelpLists) {
  const std::string help = RunCli("--help").Out;
  const std::string manual = ReadWholeFile(RESONDIX_SOURCE_DIR "/packaging/resondix-cli.1.in");
  const std::set<std::string> options = HelpNames(help, "Options:", std::regex(R"((--?[a-z]+))"));
  EXPECT_EQ(options, ManualNames(manual, "OPTIONS", std::regex(R"(((\\-){1,2}[a-z]+))")));
  EXPECT_TRUE(options.count("--forward") && options.count("--paper")) << help;
  const std::set<std::string> commands = HelpNames(help, "Commands:", std::regex(R"(^  ([a-z]+) )"));
  EXPECT_EQ(commands, ManualNames(manual, "COMMANDS", std::regex(R"(^\.B ([a-z]+)$)")));
  EXPECT_EQ(commands.size(), 10u) << help;
}

}  // namespace
