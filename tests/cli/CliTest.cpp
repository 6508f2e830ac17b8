// resondix-cli as a user runs it: output on standard output, messages on
// standard error, the exit status.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

struct TRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

// environment: an optional prefix such as "env -u DISPLAY".
TRun RunCli(const std::string& arguments, const std::string& environment = "") {
  static TTemporaryFolder folder;
  const std::string out = folder.File("out.txt");
  const std::string err = folder.File("err.txt");
  const std::string command =
      environment + " '" + RESONDIX_CLI + "' " + arguments + " >'" + out + "' 2>'" + err + "'";
  const int raw = std::system(command.c_str());
  TRun run;
  run.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.Out = ReadWholeFile(out);
  run.Err = ReadWholeFile(err);
  return run;
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

const std::string Example = ExamplePath("three-layer-schlumberger.rxd");

TEST(Cli, ShowPrintsTheDocumentAsOneJsonLine) {
  const TRun run = RunCli("show '" + Example + "'");
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(Count(run.Out, "\n"), 1);
  EXPECT_EQ(run.Out.rfind("{\"file\":\"" + Example + "\",\"info\":[", 0), 0u) << run.Out;
  EXPECT_NE(run.Out.find("\"configuration\":\"Schlumberger\""), std::string::npos);
  EXPECT_EQ(Count(run.Out, "\"spacing\":"), 15);
  EXPECT_EQ(Count(run.Out, "\"depth\":"), 3);
  EXPECT_NE(run.Out.find("{\"spacing\":1.5,"), std::string::npos);
  EXPECT_NE(run.Out.find("\"depth\":10000}"), std::string::npos);
  EXPECT_NE(run.Out.find("\"annotations\":["), std::string::npos);
}

TEST(Cli, ShowWritesTheDocumentBackWithOutputOption) {
  TTemporaryFolder folder;
  const std::string copy = folder.File("copy.rxd");
  const TRun first = RunCli("show '" + Example + "' -o '" + copy + "'");
  ASSERT_EQ(first.Status, 0) << first.Err;
  const TRun second = RunCli("show '" + copy + "'");
  ASSERT_EQ(second.Status, 0) << second.Err;
  // The same document, apart from the file name it was read from and the
  // file-name line that a save refreshes.
  const auto afterInfo = [](const std::string& json) { return json.substr(json.find("\"configuration\"")); };
  EXPECT_EQ(afterInfo(first.Out), afterInfo(second.Out));
}

TEST(Cli, CurveGivesNodesValuesAtTheSpacingsAndTheChartSamples) {
  const TRun run = RunCli("curve '" + Example + "'");
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Out.rfind("{\"configuration\":\"Schlumberger\",\"nodes\":[{\"log_spacing\":0,", 0), 0u) << run.Out;
  EXPECT_EQ(Count(run.Out, "\"log_spacing\":"), 22 + 31);
  EXPECT_EQ(Count(run.Out, "{\"spacing\":"), 15);
  EXPECT_NE(run.Out.find("{\"log_spacing\":3,\"log_rho\":"), std::string::npos);
  EXPECT_EQ(run.Out.find("null"), std::string::npos);
}

TEST(Cli, FailuresGoToStandardErrorAndTheExitStatus) {
  TTemporaryFolder folder;
  const std::string missing = folder.File("missing.rxd");
  const TRun run = RunCli("show '" + missing + "' '" + Example + "'");
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Err, "Could not open " + missing + "!\n");
  EXPECT_EQ(Count(run.Out, "\n"), 1);  // the good file is still shown

  const std::string empty = folder.File("empty-model.rxd");
  const TRun save = RunCli("show '" + Example + "' -o '" + empty + "'");
  ASSERT_EQ(save.Status, 0);
  std::string text = ReadWholeFile(empty);
  // Blank out the first layer's resistivity: the model has no curve then.
  const std::size_t reserved = text.find("\r\n0\r\n");
  text.replace(reserved + 5, 12, " 0.000E+0000");
  WriteWholeFile(empty, text);
  const TRun curve = RunCli("curve '" + empty + "'");
  EXPECT_EQ(curve.Status, 1);
  EXPECT_EQ(curve.Out, "");
  EXPECT_NE(curve.Err.find("layer 1 has no resistivity above 0"), std::string::npos) << curve.Err;

  EXPECT_EQ(RunCli("frobnicate x").Status, 1);
  EXPECT_EQ(RunCli("show").Status, 1);
  EXPECT_EQ(RunCli("show a.rxd b.rxd -o c.rxd").Status, 1);
  EXPECT_EQ(RunCli("show a.rxd --bogus").Status, 1);
  EXPECT_EQ(RunCli("--help").Status, 0);
}

// --- render ------------------------------------------------------------------

// Width and height from a PNG's header chunk.
std::pair<int, int> PngSize(const std::string& png) {
  const auto word = [&](std::size_t at) {
    return (int(static_cast<unsigned char>(png[at])) << 24) | (int(static_cast<unsigned char>(png[at + 1])) << 16) |
           (int(static_cast<unsigned char>(png[at + 2])) << 8) | int(static_cast<unsigned char>(png[at + 3]));
  };
  return png.size() >= 24 ? std::make_pair(word(16), word(20)) : std::make_pair(-1, -1);
}

TEST(CliRender, WritesPngSvgAndPdfByExtension) {
  TTemporaryFolder folder;
  const struct {
    const char* Name;
    const char* Signature;
  } rows[] = {{"chart.png", "\x89PNG\r\n"}, {"chart.SVG", "<?xml"}, {"chart.pdf", "%PDF-"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    const std::string output = folder.File(row.Name);
    const TRun run = RunCli("render '" + Example + "' '" + output + "' --size 321x203");
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    const std::string content = ReadWholeFile(output);
    EXPECT_EQ(content.rfind(row.Signature, 0), 0u);
    // The example's values run from 30 to 500 ohm.m: 10 .. 10000.
    EXPECT_EQ(run.Out, "{\"file\":\"" + Example + "\",\"output\":\"" + output +
                           "\",\"width\":321,\"height\":203,\"model_curve\":true,\"first_decade\":1,"
                           "\"decade_count\":3}\n");
  }
  EXPECT_EQ(PngSize(ReadWholeFile(folder.File("chart.png"))), std::make_pair(321, 203));
  const std::string svg = ReadWholeFile(folder.File("chart.SVG"));
  EXPECT_NE(svg.find("viewBox=\"0 0 321 203\""), std::string::npos);
  EXPECT_NE(svg.find(">L/2<"), std::string::npos) << "the Schlumberger axis title";
  EXPECT_NE(ReadWholeFile(folder.File("chart.pdf")).find("%%EOF"), std::string::npos);
}

TEST(CliRender, DefaultSizeWithoutADisplayAndAModelCurveOnlyWhenComplete) {
  TTemporaryFolder folder;
  const std::string output = folder.File("chart.png");
  const TRun run = RunCli("render '" + Example + "' '" + output + "'", "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM");
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(PngSize(ReadWholeFile(output)), std::make_pair(800, 600));

  // Blank out the second layer's resistivity: no staircase, no curve.
  const std::string incomplete = folder.File("incomplete.rxd");
  std::string text = ReadWholeFile(Example);
  const std::size_t reserved = text.find("\r\n0\r\n");
  ASSERT_NE(reserved, std::string::npos);
  const std::size_t secondLayer = text.find("\r\n", reserved + 5) + 2;
  text.replace(secondLayer, 12, " 0.000E+0000");
  WriteWholeFile(incomplete, text);
  const TRun partial = RunCli("render '" + incomplete + "' '" + output + "' --size 400X300");
  ASSERT_EQ(partial.Status, 0) << partial.Err;
  EXPECT_EQ(partial.Err, "");
  EXPECT_NE(partial.Out.find("\"model_curve\":false"), std::string::npos) << partial.Out;
  EXPECT_EQ(PngSize(ReadWholeFile(output)), std::make_pair(400, 300));
}

TEST(CliRender, RefusesBadArgumentsAndReportsFileErrors) {
  TTemporaryFolder folder;
  const std::string output = folder.File("chart.png");
  const struct {
    const char* Name;
    std::string Arguments;
    std::string Message;
  } rows[] = {
      {"no output", "render '" + Example + "'", "render takes one input file and one output file.\n"},
      {"unknown format", "render '" + Example + "' '" + folder.File("chart.jpg") + "'",
       "Unknown output format of " + folder.File("chart.jpg") + ": use .png, .svg or .pdf.\n"},
      {"size without height", "render '" + Example + "' '" + output + "' --size 800", ""},
      {"size of zero", "render '" + Example + "' '" + output + "' --size 0x600", ""},
      {"negative size", "render '" + Example + "' '" + output + "' --size 800x-6", ""},
      {"size too large", "render '" + Example + "' '" + output + "' --size 10001x600", ""},
      {"size with junk", "render '" + Example + "' '" + output + "' --size 800x600px", ""},
      {"missing input", "render '" + folder.File("missing.rxd") + "' '" + output + "'",
       "Could not open " + folder.File("missing.rxd") + "!\n"},
      {"unwritable output", "render '" + Example + "' '" + folder.File("no/such/folder.png") + "'",
       "Could not save " + folder.File("no/such/folder.png") + "!\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Name);
    const TRun run = RunCli(row.Arguments);
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, "");
    if (row.Message.empty())
      EXPECT_EQ(run.Err.rfind("Option --size takes WIDTHxHEIGHT", 0), 0u) << run.Err;
    else
      EXPECT_EQ(run.Err, row.Message);
  }
  EXPECT_FALSE(std::filesystem::exists(output)) << "nothing written by a refused render";
}

}  // namespace
