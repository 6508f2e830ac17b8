// resondix-cli as a user runs it: output on standard output, messages on
// standard error, the exit status.
#include <sys/stat.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include "CliTestSupport.h"
#include "Equivalence.h"
#include "ResondixData.h"
#include "TestSupport.h"

namespace {

const std::string Example = ExamplePath("three-layer-schlumberger.rxd");

TResondixData Loaded(const std::string& path) {
  TResondixData d;
  EXPECT_TRUE(d.LoadFromFile(path)) << path;
  return d;
}

// The example with one field of its data file replaced.
std::string ChangedExample(const TTemporaryFolder& folder, const std::string& name, const std::string& from,
                           const std::string& to) {
  std::string text = ReadWholeFile(Example);
  WriteWholeFile(folder.File(name), text.replace(text.find(from), from.size(), to));
  return Quoted(folder.File(name));
}

// The one JSON record of a file that failed.
// A command that computes a curve ends the line with the forward model it was to use.
std::string ErrorLine(const std::string& path, const std::string& message, const std::string& forward = "") {
  return "{\"file\":\"" + path + "\",\"error\":\"" + message + "\"" +
         (forward.empty() ? "" : ",\"forward\":\"" + forward + "\"") + "}\n";
}

TEST(Cli, ShowAndCurvePrintOneJsonLinePerFileAndFailuresGoToStandardError) {
  TTemporaryFolder folder;
  const std::string missing = folder.File("missing.rxd");
  const TRun show = RunCli("show " + Quoted(missing) + " " + Quoted(Example));
  EXPECT_EQ(show.Status, 1);  // one file failed
  EXPECT_EQ(show.Err, "Could not open " + missing + "!\n");
  ASSERT_EQ(Count(show.Out, "\n"), 2);  // a record for each file, in their order
  const std::string failedLine = ErrorLine(missing, "Could not open " + missing + "!");
  EXPECT_EQ(show.Out.rfind(failedLine + "{\"file\":\"" + Example + "\",\"info\":[\"Groundwater survey Drentsche Aa\",", 0),
            0u);
  EXPECT_NE(show.Out.find("\"configuration\":\"Schlumberger\",\"measurements\":[{\"spacing\":1.5,\"rho\":138.17},"),
            std::string::npos);
  EXPECT_NE(show.Out.find("{\"rho\":500,\"depth\":10000}],\"annotations\":[{\"x\":430,\"y\":60,\"width\":130,"
                          "\"height\":36,\"text\":\"Clay layer\\u000abelow 3 m\"}],\"dar_zarrouk\":{"), std::string::npos);
  const TRun curve = RunCli("curve " + Quoted(Example));
  ASSERT_EQ(curve.Status, 0) << curve.Err;
  EXPECT_EQ(curve.Out.rfind("{\"file\":\"" + Example + "\",\"configuration\":\"Schlumberger\",\"nodes\":[{\"log_spacing\":0,",
                            0),
            0u)
      << curve.Out;
  EXPECT_EQ(Count(curve.Out, "\"log_spacing\":"), 22 + 31);  // the table's nodes and the chart's samples
  // Without a first layer resistivity the model has no curve.
  const TRun incomplete = RunCli("curve " + ChangedExample(folder, "empty.rxd", "      150.00", " 0.000E+0000"));
  const std::string refusal = folder.File("empty.rxd") + ": layer 1, Rho: Value must be greater than 0!";
  EXPECT_TRUE(incomplete.Status == 1 && incomplete.Out == ErrorLine(folder.File("empty.rxd"), refusal, "filter"));
  EXPECT_EQ(incomplete.Err, refusal + "\n");
  for (const char* arguments : {"frobnicate x", "show", "show a.rxd b.rxd -o c.rxd", "show a.rxd --bogus", "import"})
    EXPECT_EQ(RunCli(arguments).Status, 1) << arguments;
  EXPECT_EQ(RunCli("--help").Status, 0);
}

TEST(CliFit, PrintsTheFitAsTheDocumentHoldsIt) {
  for (const std::string name : {"three-layer-schlumberger.rxd", "four-layer-wenner.rxd"}) {
    const TRun run = RunCli("fit " + Quoted(ExamplePath(name)) + " --unknowns all");
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    const QJsonObject json = run.Json();
    TResondixData d = Loaded(ExamplePath(name));  // the same fit in this process
    for (int i = 1; i <= d.LayerCount; ++i) d.RhoUnknown[i] = true, d.DepthUnknown[i] = i < d.LayerCount;
    d.Fit();
    ASSERT_EQ(d.FitStatus, 0) << name;
    EXPECT_EQ(json["status"].toDouble(), 0);
    EXPECT_EQ(json["rmse"].toDouble(), d.Rmse) << name;  // written to round trip
    EXPECT_EQ(json["evaluations"].toInt(), d.EvaluationCount) << name;
    const QJsonArray unknowns = json["unknowns"].toArray(), layers = json["layers"].toArray();
    ASSERT_EQ(unknowns.size(), d.UnknownCount) << name;
    for (int k = 1; k <= d.UnknownCount; ++k) {
      // Resistivities, then depths, whose bounds lie below the layer's top.
      const QJsonObject u = unknowns[k - 1].toObject();
      const int layer = k > d.LayerCount ? k - d.LayerCount : k;
      const double top = k > d.LayerCount ? d.LayerDepth[layer - 1] : 0;
      EXPECT_EQ(Text(u["name"]), d.ParameterNames[k].str()) << name;
      EXPECT_EQ(u["value"].toDouble(), k > d.LayerCount ? d.LayerDepth[layer] : d.LayerRho[layer]) << name << " " << k;
      EXPECT_EQ(u["percent"].toDouble(), d.ParameterPercent[k]) << name;
      EXPECT_TRUE(d.ParameterLower[k] > 1.7e307 ? u["lower"].isNull() && u["upper"].isNull()
                                                : u["lower"].toDouble() == d.ParameterLower[k] + top &&
                                                      u["upper"].toDouble() == d.ParameterUpper[k] + top)
          << name << " " << k;
    }
    ASSERT_EQ(layers.size(), d.LayerCount);
    for (int i = 1; i <= d.LayerCount; ++i) {
      const QJsonObject l = layers[i - 1].toObject();
      EXPECT_TRUE(l["rho"].toDouble() == d.LayerRho[i] && l["depth"].toDouble() == d.LayerDepth[i]) << i;
      for (const auto& [key, text] :
           {std::pair{"rho_percent_text", d.RhoPercentText[i].str()}, {"rho_interval_text", d.RhoIntervalText[i].str()},
            {"depth_percent_text", d.DepthPercentText[i].str()}, {"depth_interval_text", d.DepthIntervalText[i].str()}})
        EXPECT_EQ(Text(l[key]), text) << key << " " << i;
    }
    const QJsonArray correlation = json["correlation"].toArray();
    ASSERT_EQ(correlation.size(), d.UnknownCount);
    for (int k = 1; k <= d.UnknownCount; ++k) {
      ASSERT_EQ(correlation[k - 1].toArray().size(), k);
      for (int j = 1; j <= k; ++j) EXPECT_EQ(Text(correlation[k - 1].toArray()[j - 1]), d.CorrelationText(k, j));
    }
  }
}

TEST(CliFit, ListedUnknownsAndTheSavedDocument) {
  TTemporaryFolder folder;
  const std::string out = folder.File("fitted.rxd");
  const TRun run = RunCli("fit " + Quoted(Example) + " --unknowns depth2,rho1 -o " + Quoted(out));
  ASSERT_EQ(run.Status, 0) << run.Err;
  // Indexing a QJsonValue: out of range it is undefined, never a crash.
  const QJsonValue unknowns = run.Json()["unknowns"], layers = run.Json()["layers"];
  ASSERT_EQ(unknowns.toArray().size(), 2);
  EXPECT_EQ(Text(unknowns[0]["name"]) + ", " + Text(unknowns[1]["name"]), "Rho 1, Depth 2");
  EXPECT_TRUE(layers[0]["rho_unknown"].toBool() && layers[1]["depth_unknown"].toBool());
  EXPECT_FALSE(layers[0]["depth_unknown"].toBool() || layers[1]["rho_unknown"].toBool());
  EXPECT_EQ(Text(layers[1]["rho_interval_text"]), "  * ");  // fixed values keep their texts
  // The saved file holds the fitted layers, to the file's two decimals, and the rest as it was.
  const TResondixData saved = Loaded(out), original = Loaded(Example);
  EXPECT_NEAR(saved.LayerRho[1], layers[0]["rho"].toDouble(), 0.005);
  EXPECT_NEAR(saved.LayerDepth[2], layers[1]["depth"].toDouble(), 0.005);
  EXPECT_NE(saved.LayerRho[1], original.LayerRho[1]);
  EXPECT_TRUE(saved.LayerRho[2] == original.LayerRho[2] && saved.ApparentRho == original.ApparentRho);
}

TEST(CliFit, RefusalsInputThatCannotBeFittedAndAFitWithoutStatistics) {
  TTemporaryFolder folder;
  TResondixData three = Loaded(Example);
  three.SetMeasurementCount(3);
  three.FileName = folder.File("three.rxd");
  ASSERT_TRUE(three.SaveToFile());
  const std::string few = Quoted(three.FileName);
  const std::string noRho = ChangedExample(folder, "no-rho.rxd", "      46.10", " 0.000E+0000");
  const struct {
    const char* Name;
    std::string Arguments;
    const char* Record;   // "refused" by the fit itself, "error" for a file that failed, "" for a wrong command
    std::string Message;  // on standard error
  } rows[] = {
      {"too many", few + " --unknowns all", "refused", "Too  Many  Unknown  Parameters  !"},
      {"none", Quoted(Example) + " --unknowns ''", "refused", "No  Unknown  Parameters  Specified  !"},
      {"spacing 0", ChangedExample(folder, "zero.rxd", "        4.00", "        0.00") + " --unknowns rho2", "refused",
       "Spacing of measurement 5 must be greater than 0!"},
      {"no list", Quoted(Example), "", "Option --unknowns is required"},
      {"unknown name", Quoted(Example) + " --unknowns rho1,bogus", "", "Unknown parameter \"bogus\" in --unknowns"},
      {"layer beyond the model", Quoted(Example) + " --unknowns rho4", "error", ": rho4 does not exist."},
      {"half-space", Quoted(Example) + " --unknowns depth3", "error", ": depth3 is the half-space, which has no depth."},
      {"measurement without value", noRho + " --unknowns all", "error",
       "no-rho.rxd: measurement 9, Rho: Value must be greater than 0!"},
  };
  for (const auto& row : rows) {
    const TRun run = RunCli("fit " + row.Arguments);
    EXPECT_EQ(run.Status, 1) << row.Name;
    EXPECT_NE(run.Err.find(row.Message), std::string::npos) << row.Name << ": " << run.Err;
    EXPECT_EQ(run.Json().size(), *row.Record ? 3 : 0) << row.Name;  // file, the record, forward
    if (*row.Record) {
      EXPECT_NE(Text(run.Json()[row.Record]).find(row.Message), std::string::npos) << row.Name;
    }
  }
  // A refused file fails the run; the others are still fitted.
  const TRun both = RunCli("fit " + few + " " + Quoted(Example) + " --unknowns all");
  EXPECT_TRUE(both.Status == 1 && Count(both.Out, "\"refused\"") == 1);
  EXPECT_NE(both.Out.find("\n{\"file\":\"" + Example + "\",\"status\":0,"), std::string::npos);
  // A fit that leaves the admissible range is no failure, but it has no statistics.
  // Flat data and a fixed top layer of the wrong resistivity: the fit thins that layer below e^-5 m.
  TResondixData d;
  d.ApparentRho.Fill(51.3);
  d.LayerCount = 2;
  d.LayerRho[1] = 4.7, d.LayerRho[2] = 51.3, d.LayerDepth[1] = 1.37, d.LayerDepth[2] = HalfSpaceDepth;
  d.FileName = folder.File("thin-top.rxd");
  ASSERT_TRUE(d.SaveToFile());
  const TRun run = RunCli("fit " + Quoted(d.FileName) + " --unknowns depth1,rho2");
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Err, "The fit stopped: a parameter left its admissible range.\n");
  EXPECT_TRUE(run.Json()["status"].toDouble() == 2 && run.Json()["rmse"].toDouble() > 0);
  for (const QJsonValue& u : run.Json()["unknowns"].toArray())
    EXPECT_TRUE(u.toObject()["percent"].isNull() && u.toObject()["lower"].isNull());
  EXPECT_EQ(Text(run.Json()["layers"][0]["depth_percent_text"]), "  * ");
}

TEST(CliImport, PrintsTheImportedDocumentAsShowDoesSavesItAndReportsFailures) {
  TTemporaryFolder folder;
  const std::string schlumberger = ExamplePath("ves-schlumberger-dinoloket.txt");
  const TRun run = RunCli("import " + Quoted(schlumberger));
  ASSERT_EQ(run.Status, 0) << run.Err;
  EXPECT_EQ(run.Err, "");
  EXPECT_EQ(run.Out.rfind("{\"file\":\"" + schlumberger + "\",\"info\":[\"Drentsche Aa, VES 12\",", 0), 0u) << run.Out;
  EXPECT_EQ(std::make_pair(Count(run.Out, "\"spacing\":"), Count(run.Out, "\"depth\":")), std::make_pair(14, 4));
  EXPECT_NE(run.Out.find("{\"spacing\":100,\"rho\":39.32}"), std::string::npos);
  EXPECT_EQ(run.Out.find("\"warning\""), std::string::npos);
  // Without a model: the warning in the JSON, not a failure. The data file
  // keeps the imported document, its configuration included.
  const std::string saved = folder.File("w7.rxd");
  const TRun wenner = RunCli("import " + Quoted(ExamplePath("ves-wenner-dinoloket.txt")) + " -o " + Quoted(saved));
  ASSERT_EQ(wenner.Status, 0) << wenner.Err;
  EXPECT_EQ(wenner.Err, "");
  EXPECT_NE(wenner.Out.find(",\"warning\":\"No model was found in imported file. Defaulting to 3-layer model.\"}\n"),
            std::string::npos) << wenner.Out;
  // The starting model from the first and last of its readings, 70.08 and 21.40, and its end spacing 90.
  const TResondixData shown = Loaded(saved);
  EXPECT_EQ(Tables(shown).substr(Tables(shown).find('|')), "| 70.08/30 45.74/60 21.4/10000");
  EXPECT_FALSE(shown.IsSchlumberger);
  // A file that cannot be read gives the import's message, exit status 1 and no output file.
  const std::string missing = folder.File("missing.txt"), damaged = folder.File("damaged.txt");
  std::string text = ReadWholeFile(schlumberger);
  WriteWholeFile(damaged, text.replace(text.find("130.67;"), 6, "130,67"));
  const TRun failed = RunCli("import " + Quoted(missing) + " " + Quoted(damaged) + " " + Quoted(schlumberger));
  EXPECT_EQ(failed.Status, 1);
  EXPECT_EQ(failed.Err, "Could not open " + missing + "!\n'130,67' is not a valid floating point value\n");
  EXPECT_EQ(Count(failed.Out, "\n"), 3);  // the good file is still imported
  EXPECT_EQ(failed.Out.rfind(ErrorLine(missing, "Could not open " + missing + "!") +
                             ErrorLine(damaged, "'130,67' is not a valid floating point value") + "{\"file\":\"" +
                             schlumberger + "\",", 0), 0u) << failed.Out;
  EXPECT_EQ(RunCli("import " + Quoted(damaged) + " -o " + Quoted(folder.File("out.rxd"))).Status, 1);
  EXPECT_FALSE(std::filesystem::exists(folder.File("out.rxd")));
}

TEST(CliEquivalence, OneRecordPerFileForAGoodAnUnreadableAndARefusedFile) {
  TTemporaryFolder folder;
  const std::string missing = folder.File("missing.rxd");
  TResondixData three = Loaded(Example);
  three.SetMeasurementCount(3);
  three.FileName = folder.File("three.rxd");
  ASSERT_TRUE(three.SaveToFile());
  const TRun run =
      RunCli("equivalence " + Quoted(missing) + " " + Quoted(three.FileName) + " " + Quoted(Example) + " --unknowns all");
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Err, "Could not open " + missing + "!\nToo  Many  Unknown  Parameters  !\n");
  ASSERT_EQ(Count(run.Out, "\n"), 3);
  const std::string second = run.Out.substr(run.Out.find('\n') + 1), third = second.substr(second.find('\n') + 1);
  EXPECT_EQ(run.Out.rfind(ErrorLine(missing, "Could not open " + missing + "!", "filter") + "{\"file\":\"" +
                          three.FileName + "\",\"refused\":\"Too  Many  Unknown  Parameters  !\",\"forward\":\"filter\"}\n",
                          0), 0u) << run.Out;
  const QJsonObject json = QJsonDocument::fromJson(QByteArray::fromStdString(third)).object();

  // The same fit and analysis in this process.
  TResondixData d = Loaded(Example);
  for (int i = 1; i <= d.LayerCount; ++i) d.RhoUnknown[i] = true, d.DepthUnknown[i] = i < d.LayerCount;
  d.Fit();
  auto e = std::make_unique<TEquivalence>();
  ASSERT_TRUE(AnalyseEquivalence(d, {}, *e));
  EXPECT_EQ(Text(json["file"]), Example);
  EXPECT_EQ(json["rmse"].toDouble(), d.Rmse);
  EXPECT_EQ(json["tolerance"].toObject(),
            (QJsonObject{{"relative", 0.05}, {"absolute", 0.002}, {"rmse", 1.05 * d.Rmse + 0.002}}));
  const QJsonArray parameters = json["parameters"].toArray();
  ASSERT_EQ(parameters.size(), 5);
  for (int k = 1; k <= 5; ++k) {
    const QJsonObject p = parameters[k - 1].toObject();
    const TParameterRange& r = e->Parameters[k];
    EXPECT_EQ(Text(p["name"]), d.ParameterNames[k].str());
    EXPECT_EQ(p["value"].toDouble(), k <= 3 ? d.LayerRho[k] : d.LayerDepth[k - 3]) << k;
    EXPECT_TRUE(p["lower"].toDouble() == r.Range.Lower && p["upper"].toDouble() == r.Range.Upper) << k;
    EXPECT_TRUE(p["lower"].toDouble() <= p["value"].toDouble() && p["value"].toDouble() <= p["upper"].toDouble());
    EXPECT_TRUE(p["lower_open"].toBool() == r.LowerOpen && p["upper_open"].toBool() == r.UpperOpen) << k;
  }
  // The half-space below 40 m of spacing is free upward: the grid's end.
  EXPECT_TRUE(parameters[2]["upper_open"].toBool());
  const QJsonArray layers = json["layers"].toArray();
  ASSERT_EQ(layers.size(), 2);  // above the half-space
  for (int i = 1; i <= 2; ++i) {
    const QJsonObject l = layers[i - 1].toObject();
    const double h = d.LayerDepth[i] - d.LayerDepth[i - 1];
    EXPECT_DOUBLE_EQ(l["thickness"].toDouble(), h);
    EXPECT_DOUBLE_EQ(l["s"].toDouble(), h / d.LayerRho[i]);
    EXPECT_DOUBLE_EQ(l["t"].toDouble(), h * d.LayerRho[i]);
    EXPECT_EQ(l["s_range"].toArray(), (QJsonArray{e->SRange[i].Lower, e->SRange[i].Upper}));
    EXPECT_EQ(l["t_range"].toArray(), (QJsonArray{e->TRange[i].Lower, e->TRange[i].Upper}));
    EXPECT_EQ(l["thickness_range"].toArray(), (QJsonArray{e->ThicknessRange[i].Lower, e->ThicknessRange[i].Upper}));
  }
  EXPECT_DOUBLE_EQ(json["totals"]["thickness"].toDouble(), d.LayerDepth[2]);
  const QJsonArray models = json["models"].toArray();
  ASSERT_EQ(models.size(), e->ModelCount);
  ASSERT_GT(models.size(), 0);
  for (int m = 1; m <= e->ModelCount; ++m)
    for (int i = 1; i <= 3; ++i)
      EXPECT_TRUE(models[m - 1][i - 1]["rho"].toDouble() == e->Models[m].Rho[i] &&
                  models[m - 1][i - 1]["depth"].toDouble() == e->Models[m].Depth[i]) << m << " " << i;
}

TEST(CliEquivalence, ToleranceOptionAndTheDarZarroukFiguresOfShowAndFit) {
  const std::string tolerance = "Option --tolerance takes REL,ABS";
  for (const char* value : {"0.05", "a,0.002", "-0.1,0.002", "0.05,", "0.05,0.002,1", "nan,0"}) {
    const TRun run = RunCli("equivalence " + Quoted(Example) + " --unknowns rho1 --tolerance '" + value + "'");
    EXPECT_TRUE(run.Status == 1 && run.Out.empty()) << value;
    EXPECT_EQ(run.Err.rfind(tolerance, 0), 0u) << value << ": " << run.Err;
  }
  const TRun wide =
      RunCli("equivalence " + Quoted(Example) + " --unknowns rho1,depth1 --tolerance 0.5,0.01 --forward accurate");
  ASSERT_EQ(wide.Status, 0) << wide.Err;
  EXPECT_EQ(wide.Json()["tolerance"].toObject()["relative"].toDouble(), 0.5);
  EXPECT_EQ(Text(wide.Json()["forward"]), "accurate");
  EXPECT_EQ(wide.Json()["parameters"].toArray().size(), 2);
  EXPECT_EQ(RunCli("equivalence " + Quoted(Example)).Err.rfind("Option --unknowns is required", 0), 0u);

  // The example's model: 3 m of 150 ohm·m and 17 m of 30 ohm·m above 500 ohm·m.
  const QJsonObject shown = RunCli("show " + Quoted(Example)).Json()["dar_zarrouk"].toObject();
  const QJsonArray layers = shown["layers"].toArray();
  ASSERT_EQ(layers.size(), 2);
  EXPECT_EQ(layers[0].toObject(), (QJsonObject{{"thickness", 3}, {"s", 0.02}, {"t", 450}}));
  EXPECT_EQ(layers[1]["thickness"].toDouble(), 17);
  EXPECT_DOUBLE_EQ(layers[1]["s"].toDouble(), 17.0 / 30);
  EXPECT_EQ(layers[1]["t"].toDouble(), 510);
  const QJsonObject totals = shown["totals"].toObject();
  EXPECT_DOUBLE_EQ(totals["s"].toDouble(), 0.02 + 17.0 / 30);
  EXPECT_EQ(totals["t"].toDouble(), 960);
  EXPECT_DOUBLE_EQ(totals["longitudinal_rho"].toDouble(), 20 / (0.02 + 17.0 / 30));
  EXPECT_DOUBLE_EQ(totals["transverse_rho"].toDouble(), 48);
  EXPECT_DOUBLE_EQ(totals["anisotropy"].toDouble(), std::sqrt(48 * (0.02 + 17.0 / 30) / 20));
  // The fit's figures are those of the fitted layers.
  const QJsonObject fitted = RunCli("fit " + Quoted(Example) + " --unknowns all").Json();
  const QJsonValue first = fitted["layers"].toArray()[0], figures = fitted["dar_zarrouk"];
  EXPECT_DOUBLE_EQ(figures["layers"][0]["s"].toDouble(),
                   first["depth"].toDouble() / first["rho"].toDouble());
}

// Width and height from a PNG's header chunk.
std::pair<int, int> PngSize(const std::string& png) {
  const auto word = [&](std::size_t at) {
    return (png[at] & 0xFF) << 24 | (png[at + 1] & 0xFF) << 16 | (png[at + 2] & 0xFF) << 8 | (png[at + 3] & 0xFF);
  };
  return png.size() >= 24 ? std::make_pair(word(16), word(20)) : std::make_pair(-1, -1);
}

TEST(CliRender, WritesPngSvgAndPdfByExtensionWithoutADisplayOrRefuses) {
  TTemporaryFolder folder;
  for (const auto& [name, signature] : {std::pair{"c.png", "\x89PNG\r\n"}, {"c.SVG", "<?xml"}, {"c.pdf", "%PDF-"}}) {
    const std::string output = folder.File(name);
    const TRun run = RunCli("render " + Quoted(Example) + " " + Quoted(output) + " --size 321x203");
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(ReadWholeFile(output).rfind(signature, 0), 0u) << name;
    // The example's values run from 30 to 500 ohm·m: 10 to 10000.
    EXPECT_EQ(run.Out, "{\"file\":\"" + Example + "\",\"output\":\"" + output + "\",\"width\":321,\"height\":203,"
                       "\"model_curve\":true,\"first_decade\":1,\"decade_count\":3,\"forward\":\"filter\"}\n");
  }
  EXPECT_EQ(PngSize(ReadWholeFile(folder.File("c.png"))), std::make_pair(321, 203));
  EXPECT_NE(ReadWholeFile(folder.File("c.pdf")).find("%%EOF"), std::string::npos);
  // The example's annotation is drawn as copies draw it: its two lines as text.
  const std::string svg = ReadWholeFile(folder.File("c.SVG"));
  EXPECT_TRUE(svg.find(">Clay layer</text>") != std::string::npos && svg.find(">below 3 m</text>") != std::string::npos);
  // The default size, without a display; without the second layer's
  // resistivity there is no staircase and no curve.
  const std::string output = folder.File("chart.png");
  const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";
  ASSERT_EQ(RunCli("render " + Quoted(Example) + " " + Quoted(output), noDisplay).Status, 0);
  EXPECT_EQ(PngSize(ReadWholeFile(output)), std::make_pair(800, 600));
  const std::string incomplete = ChangedExample(folder, "partial.rxd", "       30.00       20.00", " 0.000E+0000 20");
  const TRun partial = RunCli("render " + incomplete + " " + Quoted(output) + " --size 400X300");
  ASSERT_EQ(partial.Status, 0) << partial.Err;
  EXPECT_NE(partial.Out.find("\"model_curve\":false"), std::string::npos) << partial.Out;
  EXPECT_EQ(PngSize(ReadWholeFile(output)), std::make_pair(400, 300));
  // Refusals write nothing.
  const std::string refused = folder.File("refused.png"), jpg = folder.File("c.jpg"), absent = folder.File("no.rxd");
  const std::string sizes = "Option --size takes WIDTHxHEIGHT in pixels, each 1 to 10000, for example 800x600.\n";
  const std::pair<std::string, std::string> rows[] = {  // arguments, output and message
      {Quoted(Example), "render takes one input file and one output file.\n"},
      {Quoted(Example) + " " + Quoted(jpg), "Unknown output format of " + jpg + ": use .png, .svg or .pdf.\n"},
      {Quoted(Example) + " " + Quoted(refused) + " --size 800", sizes},
      {Quoted(Example) + " " + Quoted(refused) + " --size 10001x600",
       "An image of 10001x600 pixels is too large: --size allows at most 10000x10000.\n"},
      {Quoted(absent) + " " + Quoted(refused),
       ErrorLine(absent, "Could not open " + absent + "!", "filter") + "Could not open " + absent + "!\n"},
      {Quoted(Example) + " " + Quoted(folder.File("no/a.png")),
       ErrorLine(Example, "Could not save " + folder.File("no/a.png") + "!", "filter") + "Could not save " +
           folder.File("no/a.png") + "!\n"},
  };
  for (const auto& [arguments, message] : rows) {
    const TRun run = RunCli("render " + arguments);
    EXPECT_EQ(run.Status, 1) << arguments;
    EXPECT_EQ(run.Out + run.Err, message) << arguments;
  }
  EXPECT_FALSE(std::filesystem::exists(refused));
}

// The pictures of render and section are saved as a data file is: a
// write-protected file and one that is not a regular file are refused with
// the save message and left as they were; a link is written through to the
// file it names.
TEST(CliRender, PicturesAreSavedAsDataFilesAre) {
  namespace fs = std::filesystem;
  TTemporaryFolder folder;
  const std::string readOnly = folder.File("read-only.png");
  WriteWholeFile(readOnly, "keep");
  fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::create_directory(folder.File("folder.svg"));
  fs::create_symlink("absent.pdf", folder.File("dangling.pdf"));
  const struct {
    const char* Command;
    std::string Target, Written;  // Written: the file that holds the picture, empty when refused
  } rows[] = {
      {"render", "read-only.png", ""},
      {"render", "folder.svg", ""},
      {"render", "dangling.pdf", "absent.pdf"},
      {"section", "read-only.png", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.Command) + " " + row.Target);
    const std::string target = folder.File(row.Target);
    const TRun run = RunCli(std::string(row.Command) + " " + Quoted(Example) + " " + Quoted(target));
    EXPECT_EQ(run.Status, row.Written.empty() ? 1 : 0);
    EXPECT_EQ(run.Err, row.Written.empty() ? "Could not save " + target + "!\n" : "");
    if (!row.Written.empty()) {
      EXPECT_EQ(ReadWholeFile(folder.File(row.Written)).rfind("%PDF-", 0), 0u);
    }
  }
  EXPECT_TRUE(ReadWholeFile(readOnly) == "keep") << "the write-protected file is kept";
  EXPECT_TRUE(fs::is_symlink(folder.File("dangling.pdf")));
}

TEST(Cli, OutputAndMessagesReachTheUserWholeOrTheStatusSaysSo) {
  TTemporaryFolder folder;
  // Standard output on a full device: the JSON is lost, and the status says so.
  for (const std::string& arguments : {"show " + Quoted(Example), std::string("--help")}) {
    const TRun full = RunCli(arguments, "", "/dev/full");
    EXPECT_EQ(full.Status, 2) << arguments;
    EXPECT_EQ(full.Err, "Could not write to standard output!\n") << arguments;
  }
  EXPECT_NE(RunCli("--help").Out.find("(default 800x600, at most 10000x10000)"), std::string::npos);
  // A message holding NUL bytes is printed whole; UTF-16 text is named as such.
  std::string withNul = ReadWholeFile(ExamplePath("ves-schlumberger-dinoloket.txt")), utf16;
  WriteWholeFile(folder.File("nul.txt"), withNul.replace(withNul.find("130.67;"), 7, std::string("130\0.67;", 8)));
  for (char c : ReadWholeFile(ExamplePath("ves-schlumberger-dinoloket.txt"))) utf16 += std::string{c, '\0'};
  WriteWholeFile(folder.File("utf16.txt"), "\xFF\xFE" + utf16);
  const std::string fifo = folder.File("fifo.rxd");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::pair<std::string, std::string> rows[] = {  // arguments, standard error
      {"import " + Quoted(folder.File("nul.txt")), std::string("'130") + '\0' + ".67' is not a valid floating point value\n"},
      {"import " + Quoted(folder.File("utf16.txt")), "Could not import " + folder.File("utf16.txt") +
                                                         "! The file looks like UTF-16 text; save it as UTF-8 text "
                                                         "and import it again.\n"},
      {"show " + Quoted(fifo), "Could not open " + fifo + "!\n"},  // at once, not waiting for a writer
  };
  for (const auto& [arguments, err] : rows) {
    const TRun run = RunCli(arguments, "timeout 60");
    EXPECT_EQ(run.Status, 1) << arguments;
    EXPECT_EQ(run.Err, err) << arguments;
  }
}

TEST(Cli, AnnotationsAreKeptOnlyWhereTheyAreShownOrSaved) {
  TTemporaryFolder folder;
  std::string text = ReadWholeFile(Example);
  text = text.substr(0, text.rfind("\r\n1\r\nTE,")) + "\r\n1001\r\n";
  for (int i = 1; i <= 1001; ++i) text += "TE,1,2,3,4,box\r\n";
  const std::string many = folder.File("many.rxd"), fitted = folder.File("fitted.rxd");
  WriteWholeFile(many, text);
  const std::string warning = "Not all annotations of " + many +
                              " were read: the program keeps at most 1000 annotations with 65536 bytes of text in "
                              "all.\n";
  const std::pair<std::string, std::string> rows[] = {  // arguments, standard error
      {"show " + Quoted(many), warning},
      {"curve " + Quoted(many), ""},
      {"table " + Quoted(many), ""},
      {"fit " + Quoted(many) + " --unknowns rho1", ""},
      {"fit " + Quoted(many) + " --unknowns rho1 -o " + Quoted(fitted), warning},
  };
  for (const auto& [arguments, err] : rows) {
    const TRun run = RunCli(arguments);
    EXPECT_EQ(run.Status, 0) << arguments;
    EXPECT_EQ(run.Err, err) << arguments;
  }
  EXPECT_EQ(Loaded(fitted).Annotations.size(), 1000u);  // the fitted document keeps what it read
}

}  // namespace

TEST(CliForward, EveryCommandThatComputesACurveTakesTheModelAndSaysWhichItUsed) {
  TTemporaryFolder folder;
  for (const std::string forward : {"", "filter", "accurate"}) {
    const std::string option = forward.empty() ? "" : " --forward " + forward;
    const std::string named = forward.empty() ? "filter" : forward;
    TResondixData d = Loaded(Example);  // the same computations in this process
    d.ForwardModel = named == "accurate" ? TForwardModel::Accurate : TForwardModel::Filter;
    d.ComputeModelCurve();

    const TRun curve = RunCli("curve " + Quoted(Example) + option);
    ASSERT_EQ(curve.Status, 0) << curve.Err;
    EXPECT_EQ(Text(curve.Json()["forward"]), named);
    EXPECT_EQ(curve.Json()["nodes"].toArray().size(), named == "accurate" ? 111 : 22);
    const QJsonArray at = curve.Json()["at_spacings"].toArray();
    for (int i = 1; i <= d.MeasurementCount; ++i)
      EXPECT_EQ(at[i - 1].toObject()["log_rho"].toDouble(), d.CurveLogRhoAt(DecimalLog(d.HalfSpacing[i]))) << named;

    const TRun fit = RunCli("fit " + Quoted(Example) + " --unknowns rho2,depth1" + option);
    ASSERT_EQ(fit.Status, 0) << fit.Err;
    d.RhoUnknown[2] = d.DepthUnknown[1] = true;
    d.Fit();
    EXPECT_EQ(Text(fit.Json()["forward"]), named);
    EXPECT_EQ(fit.Json()["rmse"].toDouble(), d.Rmse) << named;

    const TRun render = RunCli("render " + Quoted(Example) + " " + Quoted(folder.File("chart.png")) + option);
    ASSERT_EQ(render.Status, 0) << render.Err;
    EXPECT_EQ(Text(render.Json()["forward"]), named);
  }
  // A refusal line names it too; an unknown model is refused before any file is read.
  const TRun refused = RunCli("fit " + Quoted(Example) + " --unknowns '' --forward accurate");
  EXPECT_TRUE(refused.Json().contains("refused")) << refused.Out;
  EXPECT_EQ(Text(refused.Json()["forward"]), "accurate") << refused.Out;
  const TRun unknown = RunCli("curve " + Quoted(Example) + " --forward exact");
  EXPECT_TRUE(unknown.Status == 1 && unknown.Out.empty());
  EXPECT_EQ(unknown.Err, "Option --forward takes accurate or filter.\n");
}
