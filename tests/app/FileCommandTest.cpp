// The file commands as a user meets them: the save-changes prompt with each
// answer, New, Open, Save, Save As and the command-line file, with the
// window title, the file name and the messages they leave.
#include <QFileInfo>
#include <QLabel>

#include "AppTestSupport.h"

namespace {

using TFileCommandTest = TWindowTest;

int DataFilesIn(const std::filesystem::path& folder) {
  int count = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
    if (entry.path().extension() == ".rxd") ++count;
  return count;
}

// Gives the document an unsaved change that New would lose.
void ChangeOneValue(TMainForm& window, double value) { window.ResondixData.SetValue(1, 4, false, value); }

struct TPromptCase {
  const char* Name;
  bool Titled;             // the document already has a file
  TSaveAnswer Answer;
  const char* SaveAsPath;  // the Save As dialog's answer for an untitled document; "" cancels
  bool TargetWritable;     // the save can succeed
  bool CommandRuns;        // New replaced the document
  bool FileWritten;
};

void PrintTo(const TPromptCase& c, std::ostream* out) { *out << c.Name; }

class TSavePrompt : public TFileCommandTest, public ::testing::WithParamInterface<TPromptCase> {};

TEST_P(TSavePrompt, NewFollowsTheAnswer) {
  const TPromptCase& c = GetParam();
  auto window = MakeWindow();
  const QString target = c.TargetWritable ? File("kept.rxd") : File("no-such-folder/kept.rxd");
  if (c.Titled) window->ResondixData.FileName = target.toStdString();
  ChangeOneValue(*window, 61.25);
  const std::string nameBefore = window->ResondixData.FileName;

  Messages.Answers = {c.Answer};
  if (!c.Titled && c.Answer == TSaveAnswer::Yes)
    FileDialogs.Paths = {*c.SaveAsPath ? File(c.SaveAsPath) : QString()};
  window->FileNewClick();

  ASSERT_EQ(Messages.Prompts.size(), 1);
  EXPECT_EQ(Messages.Prompts[0], "Save changes to " + QString::fromStdString(nameBefore) + "?");
  if (c.CommandRuns) {
    EXPECT_EQ(window->ResondixData.ApparentRho[4], 0) << "New resets the values";
    EXPECT_TRUE(window->ResondixData.Saved);
    EXPECT_EQ(window->ResondixData.FileName, "untitled.rxd");
    EXPECT_EQ(window->windowTitle(), Title("untitled.rxd"));
  } else {
    EXPECT_EQ(window->ResondixData.ApparentRho[4], 61.25) << "the change is kept";
    EXPECT_FALSE(window->ResondixData.Saved);
  }
  EXPECT_EQ(DataFilesIn(Folder.Folder()), c.FileWritten ? 1 : 0);
}

const TPromptCase PromptCases[] = {
    {"NoDiscardsTheChange", true, TSaveAnswer::No, "", true, true, false},
    {"CancelKeepsEverything", true, TSaveAnswer::Cancel, "", true, false, false},
    {"YesSavesThenGoesOn", true, TSaveAnswer::Yes, "", true, true, true},
    {"YesWithAFailedSaveStops", true, TSaveAnswer::Yes, "", false, false, false},
    {"YesOnUntitledSavesAsThenGoesOn", false, TSaveAnswer::Yes, "chosen.rxd", true, true, true},
    {"YesOnUntitledWithSaveAsCancelledStops", false, TSaveAnswer::Yes, "", true, false, false},
};
INSTANTIATE_TEST_SUITE_P(Prompt, TSavePrompt, ::testing::ValuesIn(PromptCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TFileCommandTest, AFailedSaveInThePromptIsReported) {
  auto window = MakeWindow();
  window->ResondixData.FileName = File("missing-folder/a.rxd").toStdString();
  ChangeOneValue(*window, 12.5);
  Messages.Answers = {TSaveAnswer::Yes};
  window->FileNewClick();
  EXPECT_EQ(Messages.Texts(), QStringList{"Could not save " + File("missing-folder/a.rxd") + "!"});
}

TEST_F(TFileCommandTest, AnUnchangedDocumentIsNotPrompted) {
  auto window = MakeWindow();
  // Only the information lines changed: that alone asks for no save.
  window->ResondixData.ProjectName() = "Survey";
  window->FileNewClick();
  EXPECT_TRUE(Messages.Prompts.isEmpty());
  EXPECT_EQ(window->ResondixData.ProjectName(), "");
}

TEST_F(TFileCommandTest, NewNamesTheFileAndDatesIt) {
  auto window = MakeWindow();
  window->FileNewClick();
  EXPECT_EQ(window->ResondixData.DataFileName(), "untitled.rxd");
  EXPECT_EQ(QString::fromStdString(window->ResondixData.FileDate().str()), TodayText());
  EXPECT_FALSE(TodayText().isEmpty());
}

TEST_F(TFileCommandTest, CloseAsksAndCancelKeepsTheWindowOpen) {
  WriteCompleteSettings();
  auto window = MakeWindow();
  ChangeOneValue(*window, 7.5);
  Messages.Answers = {TSaveAnswer::Cancel, TSaveAnswer::No};
  EXPECT_FALSE(window->close());
  EXPECT_EQ(Messages.Prompts.size(), 1);
  EXPECT_TRUE(window->close());
  EXPECT_EQ(Messages.Prompts.size(), 2);
  EXPECT_TRUE(Messages.Shown.empty());
}

TEST_F(TFileCommandTest, OpenLoadsTheFileAndShowsItsPath) {
  auto window = MakeWindow();
  const QString example = Example("four-layer-wenner.rxd");
  FileDialogs.Paths = {example};
  window->FileOpenClick();
  EXPECT_EQ(FileDialogs.Filters, QStringList{"Resondix data files (*.rxd)|*.rxd|All files (*.*)|*.*"});
  EXPECT_EQ(window->windowTitle(), Title(example));
  EXPECT_EQ(window->ResondixData.FileName, example.toStdString());
  EXPECT_EQ(window->ResondixData.LayerCount, 4);
  EXPECT_EQ(window->StatusPanels[3]->text(), "Wenner");
  EXPECT_EQ(window->StatusPanels[2]->text(), "1/4");
  EXPECT_TRUE(Messages.Shown.empty());
}

struct TOpenFailure {
  const char* Name;
  const char* FileName;
  const char* Content;  // nullptr: the file does not exist
  const char* Message;  // the message before the path
  const char* MessageEnd;
};

void PrintTo(const TOpenFailure& c, std::ostream* out) { *out << c.Name; }

class TOpenFailureTest : public TFileCommandTest, public ::testing::WithParamInterface<TOpenFailure> {};

TEST_P(TOpenFailureTest, LeavesDocumentNameAndTitle) {
  const TOpenFailure& c = GetParam();
  auto window = MakeWindow();
  FileDialogs.Paths = {Example("three-layer-schlumberger.rxd")};
  window->FileOpenClick();
  const std::string nameBefore = window->ResondixData.FileName;
  const QString titleBefore = window->windowTitle();
  const double rhoBefore = window->ResondixData.ApparentRho[5];

  const QString path = File(c.FileName);
  if (c.Content) WriteWholeFile(path.toStdString(), c.Content);
  FileDialogs.Paths = {path};
  window->FileOpenClick();

  EXPECT_EQ(Messages.Texts(), QStringList{c.Message + path + c.MessageEnd});
  ASSERT_EQ(Messages.Shown.size(), 1u);
  EXPECT_EQ(Messages.Shown[0].Kind, TMessageKind::Error);
  EXPECT_EQ(window->ResondixData.FileName, nameBefore);
  EXPECT_EQ(window->windowTitle(), titleBefore);
  EXPECT_EQ(window->ResondixData.ApparentRho[5], rhoBefore);
}

const TOpenFailure OpenFailures[] = {
    {"MissingFile", "gone.rxd", nullptr, "File ", " not found!"},
    {"UnreadableContent", "broken.rxd",
     "Schlumberger/Wenner Data File  (c) 1998 K.P.Vordax - Resondix 2.20\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n"
     "9\r\n10\r\n11\r\n12\r\n13\r\n14\r\nnot a count\r\n",
     "Could not open ", "!"},
};
INSTANTIATE_TEST_SUITE_P(Open, TOpenFailureTest, ::testing::ValuesIn(OpenFailures),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TFileCommandTest, OpenCancelledAfterNoLeavesTheChange) {
  auto window = MakeWindow();
  ChangeOneValue(*window, 18.75);
  Messages.Answers = {TSaveAnswer::No};
  FileDialogs.Paths = {QString()};
  window->FileOpenClick();
  EXPECT_EQ(window->ResondixData.ApparentRho[4], 18.75);
  EXPECT_FALSE(window->ResondixData.Saved);
  EXPECT_EQ(window->windowTitle(), Title("untitled.rxd"));
}

struct TSaveAsCase {
  const char* Name;
  const char* Chosen;    // relative to the test folder
  const char* Expected;  // the file written, relative to the test folder
};

void PrintTo(const TSaveAsCase& c, std::ostream* out) { *out << c.Name; }

class TSaveAsNaming : public TFileCommandTest, public ::testing::WithParamInterface<TSaveAsCase> {};

TEST_P(TSaveAsNaming, WritesTheFileAndShowsIt) {
  const TSaveAsCase& c = GetParam();
  std::filesystem::create_directories(Folder.Folder() / "data.old");
  auto window = MakeWindow();
  ChangeOneValue(*window, 44.5);
  FileDialogs.Paths = {File(c.Chosen)};
  window->FileSaveAsClick();
  const QString expected = File(c.Expected);
  EXPECT_EQ(FileDialogs.ProposedNames, QStringList{"untitled.rxd"});
  EXPECT_EQ(window->ResondixData.FileName, expected.toStdString());
  EXPECT_EQ(window->windowTitle(), Title(expected));
  EXPECT_TRUE(window->ResondixData.Saved);
  TResondixData reread;
  reread.FileName = expected.toStdString();
  ASSERT_TRUE(reread.LoadFromFile());
  EXPECT_EQ(reread.ApparentRho[4], 44.5);
}

const TSaveAsCase SaveAsCases[] = {
    {"NameWithoutExtensionGetsOne", "sounding", "sounding.rxd"},
    {"ExtensionIsKept", "sounding.dat", "sounding.dat"},
    {"DotInTheFolderOnlyStillGetsOne", "data.old/sounding", "data.old/sounding.rxd"},
};
INSTANTIATE_TEST_SUITE_P(SaveAs, TSaveAsNaming, ::testing::ValuesIn(SaveAsCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TFileCommandTest, SaveOfATitledFileWritesWithoutADialog) {
  auto window = MakeWindow();
  FileDialogs.Paths = {File("first.rxd")};
  window->FileSaveClick();  // untitled: Save As
  ASSERT_EQ(FileDialogs.ProposedNames, QStringList{"untitled.rxd"});
  ChangeOneValue(*window, 73.125);
  window->FileSaveClick();
  EXPECT_EQ(FileDialogs.ProposedNames.size(), 1) << "no second dialog";
  EXPECT_TRUE(window->ResondixData.Saved);
  EXPECT_NE(ReadWholeFile(Folder.File("first.rxd")).find("73.12"), std::string::npos);
  // The next Save As proposes the name part of the current file.
  FileDialogs.Paths = {QString()};
  window->FileSaveAsClick();
  EXPECT_EQ(FileDialogs.ProposedNames.last(), "first.rxd");
}

TEST_F(TFileCommandTest, AFailedSaveAsKeepsTheNameAndTitle) {
  auto window = MakeWindow();
  ChangeOneValue(*window, 5.5);
  FileDialogs.Paths = {File("absent/x.rxd")};
  window->FileSaveAsClick();
  EXPECT_EQ(Messages.Texts(), QStringList{"Could not save " + File("absent/x.rxd") + "!"});
  EXPECT_EQ(window->ResondixData.FileName, "untitled.rxd");
  EXPECT_EQ(window->windowTitle(), Title("untitled.rxd"));
  EXPECT_FALSE(window->ResondixData.Saved);
}

TEST_F(TFileCommandTest, CommandLineFileIsOpened) {
  const QString example = Example("three-layer-schlumberger.rxd");
  auto window = MakeWindow({example});
  EXPECT_EQ(window->windowTitle(), Title(example));
  EXPECT_EQ(window->ResondixData.ApparentRho[1], 138.17);
  EXPECT_TRUE(Messages.Shown.empty());
}

TEST_F(TFileCommandTest, MissingCommandLineFileLeavesTheUntitledDocument) {
  const QString missing = File("nowhere.rxd");
  auto window = MakeWindow({missing});
  EXPECT_EQ(Messages.Texts(), QStringList{"File " + missing + " not found!"});
  EXPECT_EQ(window->windowTitle(), Title("untitled.rxd"));
  EXPECT_EQ(window->ResondixData.FileName, "untitled.rxd");
  // A Save therefore asks for a name instead of writing the missing path.
  FileDialogs.Paths = {QString()};
  window->FileSaveClick();
  EXPECT_EQ(FileDialogs.ProposedNames, QStringList{"untitled.rxd"});
}

struct TNameCase {
  const char* Path;
  const char* SaveAs;
  const char* Imported;
};

TEST(FileNames, SaveAsAndImportChangeOnlyTheNamePart) {
  const TNameCase cases[] = {
      {"C:\\soundings\\ves12.txt", "C:\\soundings\\ves12.txt", "C:\\soundings\\ves12.rxd"},
      {"C:\\my.data\\ves12.txt", "C:\\my.data\\ves12.txt", "C:\\my.data\\ves12.rxd"},
      {"C:\\data.old\\sounding", "C:\\data.old\\sounding.rxd", "C:\\data.old\\sounding.rxd"},
      {"/home/a.b/ves 12.5m.txt", "/home/a.b/ves 12.5m.txt", "/home/a.b/ves 12.5m.rxd"},
      {"D:ves7", "D:ves7.rxd", "D:ves7.rxd"},
  };
  for (const TNameCase& c : cases) {
    EXPECT_EQ(WithDataFileExtension(c.Path), c.SaveAs) << c.Path;
    EXPECT_EQ(ImportedDataFileName(c.Path), c.Imported) << c.Path;
  }
  EXPECT_EQ(NamePart("C:\\soundings\\ves12.rxd"), "ves12.rxd");
  EXPECT_EQ(NamePart("/tmp/x/y.rxd"), "y.rxd");
  EXPECT_EQ(NamePart("untitled.rxd"), "untitled.rxd");
}

}  // namespace

namespace {

using TImportCommandTest = TWindowTest;

const std::string DinoloketExample = ExamplePath("ves-schlumberger-dinoloket.txt");

struct TImportCase {
  const char* Name;
  const char* Imported;  // relative to the test folder
  const char* DataFile;  // the name the document takes
};

void PrintTo(const TImportCase& c, std::ostream* out) { *out << c.Name; }

class TImportNaming : public TImportCommandTest, public ::testing::WithParamInterface<TImportCase> {};

TEST_P(TImportNaming, NamesTheDocumentBesideTheImportedFile) {
  const TImportCase& c = GetParam();
  const QString imported = File(c.Imported);
  std::filesystem::create_directories(std::filesystem::path(imported.toStdString()).parent_path());
  const std::string original = ReadWholeFile(DinoloketExample);
  WriteWholeFile(imported.toStdString(), original);
  auto window = MakeWindow();
  FileDialogs.Paths = {imported};
  window->FileImportClick();

  EXPECT_EQ(FileDialogs.Filters, QStringList{"TNO dinoloket files (*.txt)|*.txt|All files (*.*)|*.*"});
  EXPECT_TRUE(Messages.Shown.empty()) << Messages.Texts().join("; ").toStdString();
  const QString dataFile = File(c.DataFile);
  EXPECT_EQ(window->ResondixData.FileName, dataFile.toStdString());
  EXPECT_EQ(window->ResondixData.DataFileName(), dataFile.toStdString());
  EXPECT_EQ(QString::fromStdString(window->ResondixData.FileDate().str()), TodayText());
  EXPECT_EQ(window->windowTitle(), Title(imported)) << "the title shows the imported file";
  EXPECT_GT(window->ResondixData.ApparentRho[1], 0);

  // Save writes the data file and leaves the imported file as it was.
  window->FileSaveClick();
  EXPECT_TRUE(FileDialogs.ProposedNames.isEmpty()) << "no Save As dialog";
  EXPECT_EQ(ReadWholeFile(imported.toStdString()), original);
  TResondixData reread;
  reread.FileName = dataFile.toStdString();
  ASSERT_TRUE(reread.LoadFromFile());
  EXPECT_EQ(reread.ApparentRho[1], window->ResondixData.ApparentRho[1]);
}

const TImportCase ImportCases[] = {
    {"ExtensionReplaced", "soundings/ves12.txt", "soundings/ves12.rxd"},
    {"DotInTheFolderIsKept", "my.data/ves12.txt", "my.data/ves12.rxd"},
    {"NoExtensionGetsOne", "soundings/ves12", "soundings/ves12.rxd"},
};
INSTANTIATE_TEST_SUITE_P(Import, TImportNaming, ::testing::ValuesIn(ImportCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TImportCommandTest, AFailedImportLeavesDocumentNameAndTitle) {
  auto window = MakeWindow({Example("three-layer-schlumberger.rxd")});
  const std::string nameBefore = window->ResondixData.FileName;
  const QString titleBefore = window->windowTitle();
  // The first measurement's resistivity is not a number.
  std::string damaged = ReadWholeFile(DinoloketExample);
  const std::size_t at = damaged.find(";169.15;");
  ASSERT_NE(at, std::string::npos);
  damaged.replace(at + 1, 6, "12,5");
  const QString path = File("damaged.txt");
  WriteWholeFile(path.toStdString(), damaged);

  FileDialogs.Paths = {path};
  window->FileImportClick();
  ASSERT_EQ(Messages.Shown.size(), 1u);
  EXPECT_EQ(Messages.Shown[0].Kind, TMessageKind::Error);
  EXPECT_TRUE(Messages.Shown[0].Text.contains("12,5")) << Messages.Shown[0].Text.toStdString();
  EXPECT_EQ(window->ResondixData.FileName, nameBefore);
  EXPECT_EQ(window->windowTitle(), titleBefore);
  EXPECT_EQ(window->ResondixData.ApparentRho[1], 138.17);
}

TEST_F(TImportCommandTest, UnsavedChangesArePromptedFirst) {
  auto window = MakeWindow();
  window->ResondixData.SetValue(1, 2, false, 77.5);
  Messages.Answers = {TSaveAnswer::Cancel};
  window->FileImportClick();
  EXPECT_EQ(Messages.Prompts.size(), 1);
  EXPECT_TRUE(FileDialogs.Filters.isEmpty()) << "no dialog after Cancel";
  EXPECT_EQ(window->ResondixData.ApparentRho[2], 77.5);
}

}  // namespace
