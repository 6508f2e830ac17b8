// The file commands as a user meets them: the save-changes prompt with each
// answer, New, Open, Save, Save As, Import, Export report and the
// command-line file, with the title, the file name and the messages they
// leave.
#include <QAction>
#include <QDir>
#include <QFileInfo>

#include "tests/app/AppTestSupport.h"

namespace {

using TFileCommandTest = TWindowTest;

// An unsaved change of the fourth apparent resistivity.
void Change(TMainForm& window, double rho) { window.Document().SetValue(1, 4, false, rho); }

struct TPromptCase {
  const char* Name;
  void (TMainForm::*Command)();
  bool Titled;  // the document has a file already; else Save As offers "chosen.rxd"
  TSaveAnswer Answer;
  bool SaveAsCancelled;
  bool Writable;  // the document's file can be written
};

void PrintTo(const TPromptCase& c, std::ostream* out) { *out << c.Name; }

class TSavePrompt : public TFileCommandTest, public ::testing::WithParamInterface<TPromptCase> {};

TEST_P(TSavePrompt, TheCommandFollowsTheAnswer) {
  const TPromptCase& c = GetParam();
  auto window = MakeWindow();
  const QString target = File(c.Writable ? "kept.rxd" : "no-such-folder/kept.rxd");
  if (c.Titled) window->Document().FileName = target.toStdString();
  Change(*window, 61.25);
  QStringList shown = {"Prompt: Save changes to " + QString::fromStdString(window->Document().FileName) + "?"};
  if (!c.Writable) shown << "Error: Could not save " + target + "!";
  Messages.Answers = {c.Answer};
  if (!c.Titled && c.Answer == TSaveAnswer::Yes) FileDialogs.Paths = {c.SaveAsCancelled ? "" : File("chosen.rxd")};
  (window.get()->*c.Command)();

  EXPECT_EQ(Messages.Shown, shown);
  EXPECT_EQ(FileDialogs.Filters.size(), !c.Titled && c.Answer == TSaveAnswer::Yes ? 1 : 0) << "Save As only";
  const bool written = c.Answer == TSaveAnswer::Yes && c.Writable && !c.SaveAsCancelled;
  EXPECT_EQ(std::filesystem::exists(Folder.File(c.Titled ? "kept.rxd" : "chosen.rxd")), written);
  // The command goes on unless it was cancelled or its save did not happen.
  const bool goesOn = c.Answer == TSaveAnswer::No || written;
  EXPECT_EQ(window->Document().ApparentRho[4], goesOn ? 0 : 61.25);
  EXPECT_EQ(window->Document().Saved, goesOn);
  if (goesOn) {  // New names and dates the new document
    EXPECT_EQ(window->windowTitle(), Title("untitled.rxd"));
    EXPECT_EQ(QString::fromStdString(window->Document().FileDate().str()), TodayText());
  }
}

constexpr auto New = &TMainForm::FileNewClick, Open = &TMainForm::FileOpenClick, Import = &TMainForm::FileImportClick;
constexpr TSaveAnswer Yes = TSaveAnswer::Yes, No = TSaveAnswer::No, Cancel = TSaveAnswer::Cancel;

const TPromptCase PromptCases[] = {
    {"NoDiscardsTheChange", New, true, No, false, true},
    {"CancelStopsImportBeforeItsDialog", Import, true, Cancel, false, true},
    {"YesSavesThenGoesOn", New, true, Yes, false, true},
    {"YesWithAFailedSaveStops", New, true, Yes, false, false},
    {"YesOnUntitledSavesAsThenGoesOn", New, false, Yes, false, true},
    {"YesOnUntitledWithSaveAsCancelledStops", New, false, Yes, true, true},
};
INSTANTIATE_TEST_SUITE_P(Prompt, TSavePrompt, ::testing::ValuesIn(PromptCases),
                         [](const auto& info) { return std::string(info.param.Name); });

// An example file with one text replaced.
std::string Damaged(const char* example, const std::string& from, const std::string& to) {
  std::string text = ReadWholeFile(ExamplePath(example));
  return text.replace(text.find(from), from.size(), to);
}

TEST_F(TFileCommandTest, FailedLoadsLeaveDocumentNameAndTitle) {
  // A command-line file named relative to the start folder is named by its full path.
  const QString startFolder = QDir::currentPath();
  QDir::setCurrent(QString(RESONDIX_SOURCE_DIR) + "/examples");
  auto window = MakeWindow({"three-layer-schlumberger.rxd"});
  QDir::setCurrent(startFolder);
  const QString example = QDir::toNativeSeparators(Example("three-layer-schlumberger.rxd"));
  ASSERT_EQ(window->windowTitle(), Title(example));
  const struct {
    void (TMainForm::*Command)();
    const char* FileName;
    bool Exists;
    std::string Content;
    const char* Message;  // %1: the path
  } failures[] = {
      {Open, "unreadable-count.rxd", true, Damaged("three-layer-schlumberger.rxd", "\r\n15 3\r\n", "\r\nnot a count\r\n"),
       "Could not open %1!"},
      {Open, "empty.rxd", true, "", "Could not open %1!\nIt is not a Resondix data file."},
      {Import, "missing.txt", false, "", "File %1 not found!"},
      {Import, "field-not-a-number.txt", true, Damaged("ves-schlumberger-dinoloket.txt", ";169.15;", ";12,5;"),
       "'12,5' is not a valid floating point value"},
  };
  window->MeasurementsGridSelectCell(7);
  for (const auto& c : failures) {
    const QString path = File(c.FileName);
    if (c.Exists) WriteWholeFile(path.toStdString(), c.Content);
    Messages.Shown.clear();
    FileDialogs.Paths = {path};
    (window.get()->*c.Command)();
    EXPECT_EQ(Messages.Shown, QStringList{"Error: " + QString(c.Message).replace("%1", path)});
    EXPECT_EQ(window->Document().FileName, example.toStdString()) << c.FileName;
    EXPECT_EQ(window->windowTitle(), Title(example)) << c.FileName;
    EXPECT_EQ(window->Document().ApparentRho[1], 138.17) << c.FileName;
    EXPECT_EQ(window->MeasurementsRow(), 7) << c.FileName;
  }
}

TEST_F(TFileCommandTest, OpenSaveAsAndSave) {
  std::filesystem::create_directories(Folder.Folder() / "data.old");
  auto window = MakeWindow();
  const QString example = Example("four-layer-wenner.rxd"), saved = File("data.old/sounding.rxd");
  FileDialogs.Paths = {example, File("data.old/sounding"), File("absent/x.rxd")};
  window->Document().ProjectName() = "Survey";  // information alone: no save prompt below
  window->FileOpenClick();
  EXPECT_EQ(FileDialogs.Filters.first(), "Resondix data files (*.rxd)|*.rxd|All files (*.*)|*.*");
  EXPECT_EQ(window->windowTitle(), Title(example));

  Change(*window, 44.5);
  window->FileSaveAsClick();
  EXPECT_EQ(window->windowTitle(), Title(saved));
  EXPECT_NE(ReadWholeFile(saved.toStdString()).find("44.50"), std::string::npos);
  Change(*window, 73.25);
  window->FileSaveClick();  // a titled file: no dialog
  EXPECT_NE(ReadWholeFile(saved.toStdString()).find("73.25"), std::string::npos);
  // A Save As that fails keeps the name, the title and the unsaved state.
  Change(*window, 5.5);
  window->FileSaveAsClick();
  EXPECT_EQ(FileDialogs.ProposedNames, (QStringList{"four-layer-wenner.rxd", "sounding.rxd"}));
  EXPECT_EQ(Messages.Shown, QStringList{"Error: Could not save " + File("absent/x.rxd") + "!"});
  EXPECT_EQ(window->Document().FileName, saved.toStdString());
  EXPECT_EQ(window->windowTitle(), Title(saved));
  EXPECT_FALSE(window->Document().Saved);
  // Each dialog starts in the folder of the document's file; an untitled
  // document's in the folder of the latest file read or written, never in
  // one a failed Save As chose.
  Messages.Answers = {TSaveAnswer::No, TSaveAnswer::No};
  window->FileOpenClick();
  window->FileNewClick();
  window->FileImportClick();
  const QString examples = QFileInfo(example).absolutePath(), dataOld = QFileInfo(saved).absolutePath();
  EXPECT_EQ(FileDialogs.Folders, (QStringList{"", examples, dataOld, dataOld, dataOld}));
}

TEST_F(TFileCommandTest, ImportNamesTheDocumentBesideTheFileNeverSavesOverItAndReadsBySuffix) {
  std::filesystem::create_directories(Folder.Folder() / "my.data");
  const QString imported = File("my.data/ves 12.5m.txt"), dataFile = File("my.data/ves 12.5m.rxd");
  const std::string original = ReadWholeFile(ExamplePath("ves-schlumberger-dinoloket.txt"));
  WriteWholeFile(imported.toStdString(), original);
  auto window = MakeWindow();
  FileDialogs.Paths = {imported};
  window->FileImportClick();
  EXPECT_TRUE(Messages.Shown.isEmpty());
  EXPECT_EQ(window->Document().FileName, dataFile.toStdString());
  EXPECT_EQ(window->Document().DataFileName(), dataFile.toStdString());
  EXPECT_EQ(QString::fromStdString(window->Document().FileDate().str()), TodayText());
  EXPECT_EQ(window->windowTitle(), Title(imported)) << "the title shows the imported file";

  window->FileSaveClick();
  EXPECT_EQ(FileDialogs.Filters,
            QStringList{"TNO dinoloket files (*.txt)|*.txt|Spreadsheet files (*.csv)|*.csv|All files (*.*)|*.*"})
      << "no Save As";
  EXPECT_EQ(window->windowTitle(), Title(dataFile)) << "once saved, the title shows the data file";
  EXPECT_EQ(ReadWholeFile(imported.toStdString()), original);
  EXPECT_NE(ReadWholeFile(dataFile.toStdString()).find("169.15"), std::string::npos);

  // The reader follows the chosen file's extension; a spreadsheet that
  // cannot be read leaves the window's sounding as it was.
  const QString good = File("ves-07.CSV"), bad = File("bad.csv");
  WriteWholeFile(good.toStdString(), "L/2;Rho\r\n1,5;120\r\n10;80,5\r\n30;40\r\n");
  WriteWholeFile(bad.toStdString(), "1.5,120\n10,eighty\n");
  FileDialogs.Paths = {good, bad};
  window->FileImportClick();
  const TResondixData& d = window->Document();
  EXPECT_EQ(Messages.Shown, QStringList{"Warning: No model was found in imported file. Defaulting to 3-layer model."});
  EXPECT_EQ(Tables(d), "1.5:120 10:80.5 30:40 | 120/10 80/20 40/10000");
  EXPECT_EQ(d.FileName, File("ves-07.rxd").toStdString());
  const std::string before = Tables(d);
  Messages.Shown.clear();
  window->FileImportClick();
  EXPECT_EQ(Messages.Shown, QStringList{"Error: Could not import " + bad +
                                        "! Line 2, field 2 (apparent resistivity): 'eighty' is not a valid floating "
                                        "point value"});
  EXPECT_EQ(Tables(d), before);
  EXPECT_EQ(d.FileName, File("ves-07.rxd").toStdString());
}

// The report's page in the format the chosen name asks for, with the
// equivalent models on its chart while the Equivalence window shows them,
// and the smooth model while the chart does; the document stays as it was.
TEST_F(TFileCommandTest, ExportReportWritesTheSoundingsPageAndLeavesTheDocument) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  window->show();
  TResondixData& d = window->Document();
  MarkAllUnknown(d);
  window->DataFitClick();
  Messages.Shown.clear();
  const std::string file = d.DataFileText();
  const bool saved = d.Saved;
  const QString title = window->windowTitle();
  auto* exportReport = Child<QAction>(*window, "FileExportReport");
  const auto exported = [&](const char* chosen, const char* written) {
    FileDialogs.Paths = {File(chosen)};
    exportReport->trigger();
    return ReadWholeFile(Folder.File(written));
  };
  const struct { const char* Chosen; const char* Written; const char* Signature; } rows[] = {
      {"report.pdf", "report.pdf", "%PDF-"}, {"page.SVG", "page.SVG", "<?xml"}, {"page.png", "page.png", "\x89PNG"},
      {"named", "named.pdf", "%PDF-"}};
  for (const auto& row : rows) EXPECT_EQ(exported(row.Chosen, row.Written).rfind(row.Signature, 0), 0u) << row.Chosen;
  EXPECT_EQ(FileDialogs.ProposedNames.value(0), "three-layer-schlumberger.pdf");
  EXPECT_EQ(FileDialogs.Filters.value(0), "PDF documents (*.pdf)|*.pdf|SVG drawings (*.svg)|*.svg|PNG images "
                                          "(*.png)|*.png|All files (*.*)|*.*");
  const std::string legend = ">Equivalent models</text>";
  EXPECT_EQ(exported("page.svg", "page.svg").find(legend), std::string::npos);
  Child<QAction>(*window, "DataEquivalence")->trigger();
  EXPECT_NE(exported("band.svg", "band.svg").find(legend), std::string::npos);
  const std::string smooth = ">Smooth model</text>";
  EXPECT_EQ(exported("band.svg", "band.svg").find(smooth), std::string::npos);
  Child<QAction>(*window, "DataSmoothModel")->trigger();
  EXPECT_NE(exported("smooth.svg", "smooth.svg").find(smooth), std::string::npos);
  EXPECT_EQ(Messages.Shown, QStringList());
  exported("no-such-folder/report.pdf", "");
  EXPECT_EQ(Messages.Shown, QStringList{"Error: Could not save " + File("no-such-folder/report.pdf") + "!"});
  EXPECT_EQ(d.DataFileText(), file);
  EXPECT_EQ(d.Saved, saved);
  EXPECT_EQ(window->windowTitle(), title);
}

}  // namespace
