// resondix-cli as a user runs it: output on standard output, messages on
// standard error, the exit status.
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

struct TRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

TRun RunCli(const std::string& arguments) {
  static TTemporaryFolder folder;
  const std::string out = folder.File("out.txt");
  const std::string err = folder.File("err.txt");
  const std::string command = std::string("'") + RESONDIX_CLI + "' " + arguments + " >'" + out + "' 2>'" + err + "'";
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

const std::string SchlumbergerImport = ExamplePath("ves-schlumberger-dinoloket.txt");
const std::string WennerImport = ExamplePath("ves-wenner-dinoloket.txt");
const std::string NoModelWarning = "No model was found in imported file. Defaulting to 3-layer model.";

TEST(CliImport, PrintsTheImportedDocumentAsShowDoes) {
  const TRun run = RunCli("import '" + SchlumbergerImport + "'");
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(Count(run.Out, "\n"), 1);
  EXPECT_EQ(run.Out.rfind("{\"file\":\"" + SchlumbergerImport + "\",\"info\":[\"Drentsche Aa, VES 12\",", 0), 0u)
      << run.Out;
  EXPECT_NE(run.Out.find("\"configuration\":\"Schlumberger\""), std::string::npos);
  EXPECT_EQ(Count(run.Out, "\"spacing\":"), 14);
  EXPECT_EQ(Count(run.Out, "\"depth\":"), 4);
  EXPECT_NE(run.Out.find("{\"spacing\":100,\"rho\":39.32}"), std::string::npos);
  EXPECT_EQ(run.Out.find("\"warning\""), std::string::npos);
}

TEST(CliImport, AFileWithoutModelCarriesTheWarningAndSucceeds) {
  TTemporaryFolder folder;
  const std::string saved = folder.File("w7.rxd");
  const TRun run = RunCli("import '" + WennerImport + "' -o '" + saved + "'");
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Err, "");
  EXPECT_NE(run.Out.find(",\"warning\":\"" + NoModelWarning + "\"}\n"), std::string::npos) << run.Out;
  EXPECT_NE(run.Out.find("\"configuration\":\"Wenner\""), std::string::npos);

  // The data file keeps the imported document, its configuration included;
  // the measurements have two decimals already, the starting model gets
  // them in the file.
  const TRun shown = RunCli("show '" + saved + "'");
  ASSERT_EQ(shown.Status, 0) << shown.Err;
  const auto measurements = [](const std::string& json) {
    return json.substr(json.find("\"measurements\""), json.find("\"layers\"") - json.find("\"measurements\""));
  };
  EXPECT_EQ(measurements(shown.Out), measurements(run.Out));
  EXPECT_NE(shown.Out.find("\"configuration\":\"Wenner\""), std::string::npos);
  EXPECT_NE(shown.Out.find("\"depth\":30},{\"rho\":45.74,\"depth\":60},{"), std::string::npos) << shown.Out;
}

TEST(CliImport, FailuresReportTheImportsMessageAndExitWithOne) {
  TTemporaryFolder folder;
  const std::string missing = folder.File("missing.txt");
  const std::string damaged = folder.File("damaged.txt");
  std::string text = ReadWholeFile(SchlumbergerImport);
  text.replace(text.find("130.67;"), 6, "130,67");
  WriteWholeFile(damaged, text);

  const TRun run = RunCli("import '" + missing + "' '" + damaged + "' '" + SchlumbergerImport + "'");
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Err, "Could not open " + missing + "!\n'130,67' is not a valid floating point value\n");
  EXPECT_EQ(Count(run.Out, "\n"), 1);  // the good file is still imported

  const std::string output = folder.File("out.rxd");
  EXPECT_EQ(RunCli("import '" + damaged + "' -o '" + output + "'").Status, 1);
  EXPECT_FALSE(std::filesystem::exists(output));
  EXPECT_EQ(RunCli("import a.txt b.txt -o c.rxd").Status, 1);
  EXPECT_EQ(RunCli("import").Status, 1);
}

}  // namespace
