// resondix-cli as a user runs it: output on standard output, messages on
// standard error, the exit status.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "ResondixData.h"
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
  EXPECT_NE(curve.Err.find("empty-model.rxd: layer 1, Rho: Value must be greater than 0!"), std::string::npos) << curve.Err;

  EXPECT_EQ(RunCli("frobnicate x").Status, 1);
  EXPECT_EQ(RunCli("show").Status, 1);
  EXPECT_EQ(RunCli("show a.rxd b.rxd -o c.rxd").Status, 1);
  EXPECT_EQ(RunCli("show a.rxd --bogus").Status, 1);
  EXPECT_EQ(RunCli("--help").Status, 0);
}

// --- fit ------------------------------------------------------------------------

QJsonObject ParseLine(const std::string& line) {
  QJsonParseError error;
  const QJsonDocument json = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
  return json.object();
}

std::vector<QJsonObject> ParseLines(const std::string& out) {
  std::vector<QJsonObject> objects;
  for (std::size_t start = 0, end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
    objects.push_back(ParseLine(out.substr(start, end - start)));
  return objects;
}

std::string Text(const QJsonValue& value) { return value.toString().toStdString(); }

TResondixData Loaded(const std::string& path) {
  TResondixData d;
  d.FileName = path;
  EXPECT_TRUE(d.LoadFromFile()) << path;
  return d;
}

// A sounding of flat apparent resistivity 51.3 with a model whose top layer
// is far too conductive; measurements and layers as given, then change.
std::string SaveSounding(const TTemporaryFolder& folder, const std::string& name, int measurements, int layers,
                         const std::function<void(TResondixData&)>& change = {}) {
  TResondixData d;
  d.SetMeasurementCount(measurements);
  for (int i = 1; i <= measurements; ++i) d.ApparentRho[i] = 51.3;
  d.LayerCount = layers;
  for (int i = 1; i <= layers; ++i) {
    d.LayerRho[i] = i == 1 ? 4.7 : 51.3;
    d.LayerDepth[i] = i < layers ? 1.37 * i : HalfSpaceDepth;
  }
  if (change) change(d);
  d.FileName = folder.File(name);
  EXPECT_TRUE(d.SaveToFile());
  return d.FileName;
}

TEST(CliFit, PrintsTheFitAsTheDocumentHoldsIt) {
  for (const std::string name : {"three-layer-schlumberger.rxd", "four-layer-wenner.rxd"}) {
    const std::string path = ExamplePath(name);
    const TRun run = RunCli("fit '" + path + "' --unknowns all");
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    ASSERT_EQ(Count(run.Out, "\n"), 1);
    const QJsonObject json = ParseLine(run.Out);

    // The same fit in this process.
    TResondixData d = Loaded(path);
    for (int i = 1; i <= d.LayerCount; ++i) {
      d.RhoUnknown[i] = true;
      d.DepthUnknown[i] = i < d.LayerCount;
    }
    d.Fit();
    ASSERT_EQ(d.FitStatus, 0) << name;

    EXPECT_EQ(Text(json["file"]), path);
    EXPECT_EQ(json["status"].toDouble(), 0);
    EXPECT_EQ(json["rmse"].toDouble(), d.Rmse) << name;  // written to round trip
    EXPECT_EQ(json["evaluations"].toInt(), d.EvaluationCount) << name;

    const QJsonArray unknowns = json["unknowns"].toArray();
    ASSERT_EQ(unknowns.size(), d.UnknownCount) << name;
    for (int k = 1; k <= d.UnknownCount; ++k) {
      const QJsonObject u = unknowns[k - 1].toObject();
      EXPECT_EQ(Text(u["name"]), d.ParameterNames[k].str()) << name;
      EXPECT_EQ(u["percent"].toDouble(), d.ParameterPercent[k]) << name;
      const bool depth = k > d.LayerCount;
      const int layer = depth ? k - d.LayerCount : k;
      const double value = depth ? d.LayerDepth[layer] : d.LayerRho[layer];
      EXPECT_EQ(u["value"].toDouble(), value) << name << " " << k;
      if (d.ParameterLower[k] > 1.7e307) {
        EXPECT_TRUE(u["lower"].isNull() && u["upper"].isNull()) << name << " " << k;
      } else {
        // Bounds of the value itself: a depth's thickness bounds lie below its layer's top.
        const double top = depth ? d.LayerDepth[layer - 1] : 0;
        EXPECT_EQ(u["lower"].toDouble(), d.ParameterLower[k] + top) << name << " " << k;
        EXPECT_EQ(u["upper"].toDouble(), d.ParameterUpper[k] + top) << name << " " << k;
        EXPECT_LT(u["lower"].toDouble(), value);
        EXPECT_GT(u["upper"].toDouble(), value);
      }
    }

    const QJsonArray layers = json["layers"].toArray();
    ASSERT_EQ(layers.size(), d.LayerCount);
    for (int i = 1; i <= d.LayerCount; ++i) {
      const QJsonObject l = layers[i - 1].toObject();
      EXPECT_EQ(l["rho"].toDouble(), d.LayerRho[i]);
      EXPECT_EQ(l["depth"].toDouble(), d.LayerDepth[i]);
      EXPECT_TRUE(l["rho_unknown"].toBool());
      EXPECT_EQ(l["depth_unknown"].toBool(), i < d.LayerCount);
      EXPECT_EQ(Text(l["rho_percent_text"]), d.RhoPercentText[i].str());
      EXPECT_EQ(Text(l["rho_interval_text"]), d.RhoIntervalText[i].str());
      EXPECT_EQ(Text(l["depth_percent_text"]), d.DepthPercentText[i].str());
      EXPECT_EQ(Text(l["depth_interval_text"]), d.DepthIntervalText[i].str());
    }
    EXPECT_EQ(Text(layers[d.LayerCount - 1].toObject()["depth_interval_text"]), "  * ");

    const QJsonArray correlation = json["correlation"].toArray();
    ASSERT_EQ(correlation.size(), d.UnknownCount);
    for (int k = 1; k <= d.UnknownCount; ++k) {
      const QJsonArray row = correlation[k - 1].toArray();
      ASSERT_EQ(row.size(), k);
      for (int j = 1; j <= k; ++j) EXPECT_EQ(Text(row[j - 1]), d.CorrelationText(k, j)) << k << "," << j;
      EXPECT_EQ(Text(row[k - 1]), "100%");
    }
  }
}

TEST(CliFit, ListedUnknownsAndTheSavedDocument) {
  TTemporaryFolder folder;
  const std::string out = folder.File("fitted.rxd");
  const TRun run = RunCli("fit '" + Example + "' --unknowns depth2,rho1 -o '" + out + "'");
  ASSERT_EQ(run.Status, 0) << run.Err;
  const QJsonObject json = ParseLine(run.Out);
  const QJsonArray unknowns = json["unknowns"].toArray();
  ASSERT_EQ(unknowns.size(), 2);
  EXPECT_EQ(Text(unknowns[0].toObject()["name"]), "Rho 1");  // the fit's order, not the list's
  EXPECT_EQ(Text(unknowns[1].toObject()["name"]), "Depth 2");
  const QJsonArray layers = json["layers"].toArray();
  EXPECT_TRUE(layers[0].toObject()["rho_unknown"].toBool());
  EXPECT_FALSE(layers[0].toObject()["depth_unknown"].toBool());
  EXPECT_FALSE(layers[1].toObject()["rho_unknown"].toBool());
  EXPECT_TRUE(layers[1].toObject()["depth_unknown"].toBool());
  EXPECT_EQ(Text(layers[1].toObject()["rho_interval_text"]), "  * ");  // fixed values keep their texts

  // The saved file holds the fitted layers (to the file's two decimals).
  const TResondixData saved = Loaded(out);
  const TResondixData original = Loaded(Example);
  for (int i = 1; i <= 3; ++i) {
    const QJsonObject l = layers[i - 1].toObject();
    EXPECT_NEAR(saved.LayerRho[i], l["rho"].toDouble(), 0.005) << i;
    EXPECT_NEAR(saved.LayerDepth[i], l["depth"].toDouble(), 0.005) << i;
  }
  EXPECT_NE(saved.LayerRho[1], original.LayerRho[1]);
  EXPECT_EQ(saved.LayerRho[2], original.LayerRho[2]);
  EXPECT_EQ(saved.ApparentRho, original.ApparentRho);
}

TEST(CliFit, RefusalsAreReportedPerFile) {
  TTemporaryFolder folder;
  const std::string few = SaveSounding(folder, "three-measurements.rxd", 3, 3);
  const std::string zeroSpacing =
      SaveSounding(folder, "zero-spacing.rxd", 15, 2, [](TResondixData& d) { d.HalfSpacing[4] = 0; });
  struct TCase {
    const char* Name;
    std::string Arguments;
    std::string Refusal;
  };
  const TCase cases[] = {
      {"too many", "'" + few + "' --unknowns all", "Too  Many  Unknown  Parameters  !"},
      {"none", "'" + Example + "' --unknowns ''", "No  Unknown  Parameters  Specified  !"},
      {"spacing 0", "'" + zeroSpacing + "' --unknowns rho2", "Spacing of measurement 4 must be greater than 0!"},
  };
  for (const TCase& c : cases) {
    const TRun run = RunCli("fit " + c.Arguments);
    EXPECT_EQ(run.Status, 1) << c.Name;
    const QJsonObject json = ParseLine(run.Out);
    EXPECT_EQ(Text(json["refused"]), c.Refusal) << c.Name;
    EXPECT_EQ(json.size(), 2) << c.Name;  // file and refused
    EXPECT_EQ(run.Err, c.Refusal + "\n") << c.Name;
  }

  // A refused file fails the run, the others are still fitted.
  const TRun both = RunCli("fit '" + few + "' '" + Example + "' --unknowns all");
  EXPECT_EQ(both.Status, 1);
  const std::vector<QJsonObject> lines = ParseLines(both.Out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0].contains("refused"));
  EXPECT_EQ(lines[1]["status"].toDouble(), 0);
}

TEST(CliFit, AFitThatLeavesTheRangeHasNoStatistics) {
  TTemporaryFolder folder;
  const std::string path = SaveSounding(folder, "thin-top.rxd", 15, 2);
  const TRun run = RunCli("fit '" + path + "' --unknowns depth1,rho2");
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Err, "The fit stopped: a parameter left its admissible range.\n");
  const QJsonObject json = ParseLine(run.Out);
  EXPECT_EQ(json["status"].toDouble(), 2);
  EXPECT_GT(json["rmse"].toDouble(), 0);
  for (const QJsonValue& u : json["unknowns"].toArray()) {
    EXPECT_TRUE(u.toObject()["percent"].isNull());
    EXPECT_TRUE(u.toObject()["lower"].isNull());
  }
  EXPECT_EQ(Text(json["layers"].toArray()[0].toObject()["depth_percent_text"]), "  * ");
}

TEST(CliFit, InputThatCannotBeFitted) {
  TTemporaryFolder folder;
  const std::string noRho = SaveSounding(folder, "no-rho.rxd", 15, 3, [](TResondixData& d) { d.ApparentRho[9] = 0; });
  struct TCase {
    const char* Name;
    std::string Arguments;
    std::string Message;  // part of standard error
  };
  const TCase cases[] = {
      {"no list", "'" + Example + "'", "Option --unknowns is required"},
      {"unknown name", "'" + Example + "' --unknowns rho1,bogus", "Unknown parameter \"bogus\" in --unknowns"},
      {"layer 5", "'" + Example + "' --unknowns rho5", "Unknown parameter \"rho5\""},
      {"depth of layer 4", "'" + Example + "' --unknowns depth4", "Unknown parameter \"depth4\""},
      {"empty name", "'" + Example + "' --unknowns rho1,,rho2", "Unknown parameter \"\""},
      {"layer beyond the model", "'" + Example + "' --unknowns rho4", ": rho4 does not exist."},
      {"half-space depth", "'" + Example + "' --unknowns depth3", ": depth3 is the half-space, which has no depth."},
      {"measurement without value", "'" + noRho + "' --unknowns all",
       "no-rho.rxd: measurement 9, Rho: Value must be greater than 0!"},
      {"output with two files", "'" + Example + "' '" + Example + "' --unknowns all -o x.rxd", "Option -o"},
  };
  for (const TCase& c : cases) {
    const TRun run = RunCli("fit " + c.Arguments);
    EXPECT_EQ(run.Status, 1) << c.Name;
    EXPECT_EQ(run.Out, "") << c.Name;
    EXPECT_NE(run.Err.find(c.Message), std::string::npos) << c.Name << ": " << run.Err;
  }
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
