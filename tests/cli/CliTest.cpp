// resondix-cli as a user runs it: output on standard output, messages on
// standard error, the exit status.
#include <sys/stat.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <gtest/gtest.h>

#include "document/ResondixData.h"
#include "tests/TestSupport.h"
#include "tests/cli/CliTestSupport.h"

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

// The date an import gives the document: today's in the user's short date format.
std::string TodayText() { return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString(); }

// Every command's records whole, on the bundled examples (tests/cli/GoldenLines.txt).
TEST(Cli, EveryCommandPrintsItsRecordedLines) {
  std::istringstream golden(ReadWholeFile(RESONDIX_SOURCE_DIR "/tests/cli/GoldenLines.txt"));
  std::string line, command, expected;
  int commands = 0;
  const auto check = [&] {
    if (command.empty()) return;
    ++commands;
    const TRun run = RunCli(command, "cd '" RESONDIX_SOURCE_DIR "' &&");
    EXPECT_EQ(run.Status, 0) << command << ": " << run.Err;
    EXPECT_EQ(run.Out, expected) << command;
  };
  while (std::getline(golden, line)) {
    if (line.rfind('#', 0) == 0) continue;
    if (line.rfind("$ resondix-cli ", 0) == 0) {
      check();
      command = line.substr(15), expected.clear();
    } else {
      const std::size_t today = line.find("{today}");
      if (today != std::string::npos) line.replace(today, 7, TodayText());
      expected += line + "\n";
    }
  }
  check();
  EXPECT_EQ(commands, 10);
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
  // Without a first layer resistivity the model has no curve.
  const TRun incomplete = RunCli("curve " + ChangedExample(folder, "empty.rxd", "      150.00", " 0.000E+0000"));
  const std::string refusal = folder.File("empty.rxd") + ": layer 1, Rho: Value must be greater than 0!";
  EXPECT_TRUE(incomplete.Status == 1 && incomplete.Out == ErrorLine(folder.File("empty.rxd"), refusal, "filter"));
  EXPECT_EQ(incomplete.Err, refusal + "\n");
  for (const char* arguments : {"frobnicate x", "show", "show a.rxd b.rxd -o c.rxd", "show a.rxd --bogus", "import"})
    EXPECT_EQ(RunCli(arguments).Status, 1) << arguments;
  EXPECT_EQ(RunCli("--help").Status, 0);
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

TEST(CliFit, AutoSavesItsModelAndTheNewOptionsRefuseWhatTheyCannotTake) {
  TTemporaryFolder folder;
  const std::string out = folder.File("auto.rxd");
  const TRun run = RunCli("fit " + Quoted(Example) + " --auto 2 --error 5 -o " + Quoted(out));
  ASSERT_EQ(run.Status, 0) << run.Err;
  ASSERT_EQ(run.Json()["layers"].toArray().size(), 2);
  EXPECT_EQ(run.Json()["unknowns"].toArray().size(), 3);  // every value of the model
  EXPECT_EQ(run.Json()["misfit"].toArray().size(), 15);
  const TResondixData saved = Loaded(out);
  EXPECT_EQ(saved.LayerCount, 2);
  EXPECT_NEAR(saved.LayerDepth[1], run.Json()["layers"][0]["depth"].toDouble(), 0.005);
  const struct {
    const char* Arguments;
    const char* Message;
  } rows[] = {
      {"fit FILE --auto 5", "Option --auto takes 2, 3 or 4 layers, or no number to choose them."},
      {"fit FILE --auto --unknowns all", "Options --auto and --unknowns exclude each other"},
      {"fit FILE --unknowns all --error 5", "Option --error goes with --auto."},
      {"smooth FILE --error 0", "Option --error takes a percentage above 0 and below 100."},
      {"smooth FILE --error 3x", "Option --error takes a percentage above 0 and below 100."},
  };
  for (const auto& row : rows) {
    std::string arguments = row.Arguments;
    arguments.replace(arguments.find("FILE"), 4, Quoted(Example));
    const TRun refused = RunCli(arguments);
    EXPECT_TRUE(refused.Status == 1 && refused.Out.empty()) << row.Arguments;
    EXPECT_EQ(refused.Err.rfind(row.Message, 0), 0u) << row.Arguments << ": " << refused.Err;
  }
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
  EXPECT_NE(wenner.Out.find(",\"warning\":\"No model was found in imported file. Defaulting to 3-layer model.\","
                            "\"warnings\":[]}\n"),
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
  const std::string third = run.Out.substr(run.Out.find('\n', run.Out.find('\n') + 1) + 1);
  EXPECT_EQ(run.Out.rfind(ErrorLine(missing, "Could not open " + missing + "!", "filter") + "{\"file\":\"" +
                          three.FileName + "\",\"refused\":\"Too  Many  Unknown  Parameters  !\",\"forward\":\"filter\"}\n",
                          0), 0u) << run.Out;
  EXPECT_EQ(third.rfind("{\"file\":\"" + Example + "\",\"rmse\":", 0), 0u) << third;
}

TEST(CliEquivalence, ToleranceOption) {
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
                       "\"model_curve\":true,\"first_decade\":1,\"decade_count\":3,\"warnings\":[],"
                       "\"forward\":\"filter\"}\n");
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

// Each kind of file keeps what fits, warns once on standard error, and
// every record of the file lists the warning.
TEST(Cli, DataBeyondTheCapacitiesIsKeptUpToThemWithItsWarningInEveryRecord) {
  TTemporaryFolder folder;
  const auto changed = [](std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
  };
  const std::string data = folder.File("ves-20.rxd"), dinoloket = folder.File("ves-17.txt"),
                    spreadsheet = folder.File("ves-18.csv");
  std::string text = changed(ReadWholeFile(Example), "\r\n15 3\r\n", "\r\n20 3\r\n");
  WriteWholeFile(data, changed(text, "\r\n0\r\n", "\r\n50 90\r\n60 91\r\n75 92\r\n100 93\r\n125 94\r\n0\r\n"));
  // The example's 14 measurements up to 100 m and 4 layers, with more of each.
  text = changed(ReadWholeFile(ExamplePath("ves-schlumberger-dinoloket.txt")), "\n100;", "\n300;");
  text = changed(text, "\n;\r\nOpmerkingen", "\n150;10;1;300;41;\n200;10;1;300;42;\n300;10;1;300;43;\n;\nOpmerkingen");
  WriteWholeFile(dinoloket, changed(text, "4;;85.00;;", "4;40;85.00;;;\n5;60;90;;;\n6;;95;;"));
  std::string rows = "L/2;Rho\n";
  for (int i = 1; i <= 18; ++i) rows += std::to_string(i) + ";" + std::to_string(100 + i) + "\n";
  WriteWholeFile(spreadsheet, rows);

  const std::string dataWarning = data + " holds 20 measurements; the program keeps the first 15.";
  const std::pair<std::string, std::string> runs[] = {  // arguments, the warning
      {"show " + Quoted(data), dataWarning},
      {"curve " + Quoted(data), dataWarning},
      {"fit " + Quoted(data) + " --unknowns rho1", dataWarning},
      {"smooth " + Quoted(data), dataWarning},
      {"render " + Quoted(data) + " " + Quoted(folder.File("chart.svg")), dataWarning},
      {"table --json " + Quoted(data), dataWarning},
      {"import " + Quoted(dinoloket), dinoloket + " holds 17 measurements and 6 layers; the program keeps the first "
                                                  "15 measurements and the first 4 layers, the last of them as the "
                                                  "half-space."},
      {"import " + Quoted(spreadsheet), spreadsheet + " holds 18 measurements; the program keeps the first 15."},
  };
  for (const auto& [arguments, warning] : runs) {
    const TRun run = RunCli(arguments);
    EXPECT_EQ(run.Status, 0) << arguments;
    EXPECT_EQ(run.Err, warning + "\n") << arguments;
    EXPECT_EQ(run.Json()["warnings"].toArray(), QJsonArray{QString::fromStdString(warning)}) << arguments;
  }
  // A fit's own warnings follow those of reading the file, in one list.
  const TRun fitted = RunCli("fit " + Quoted(data) + " --unknowns rho3,depth2");
  EXPECT_EQ(fitted.Json()["warnings"].toArray(),
            (QJsonArray{QString::fromStdString(dataWarning),
                        "The measurements do not fix Rho 3 (uncertainty 100 %). Try fit --auto."}));
  const TRun imported = RunCli("import " + Quoted(dinoloket));
  EXPECT_EQ(imported.Json()["measurements"].toArray().size(), 15);
  EXPECT_EQ(imported.Json()["layers"].toArray().size(), 4);
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
    const TRun curve = RunCli("curve " + Quoted(Example) + option);
    ASSERT_EQ(curve.Status, 0) << curve.Err;
    EXPECT_EQ(Text(curve.Json()["forward"]), named);
    EXPECT_EQ(curve.Json()["nodes"].toArray().size(), named == "accurate" ? 111 : 22);

    const TRun fit = RunCli("fit " + Quoted(Example) + " --unknowns rho2,depth1" + option);
    ASSERT_EQ(fit.Status, 0) << fit.Err;
    EXPECT_EQ(Text(fit.Json()["forward"]), named);

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
