// The recent-files list: its rules for adding, moving and removing files
// and the Reopen items that show them, the stored values with their gaps
// and errors, and the list as a user meets it across two runs of the
// program.
#include <QAction>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>

#include "app/MRUList.h"
#include "tests/app/AppTestSupport.h"

namespace {

// A window with the File menu's first three items, the third the Reopen
// submenu, as the list expects its owner to be.
struct TOwner {
  QMainWindow Window;
  TOwner() {
    QMenu* file = Window.menuBar()->addMenu("File");
    file->addAction("&New");
    file->addAction("&Open...");
    AddRecentFileItems(*file->addMenu("&Reopen"));
  }
  QAction* Item(int slot) const { return Child<QAction>(Window, ("FileName" + std::to_string(slot)).c_str()); }
};

QString F(int n) { return QString("C:\\soundings\\ves%1.rxd").arg(n); }
// The ten slots: the files given, then free slots.
QStringList Slots(QStringList files) {
  while (files.size() < MaxRecentFiles) files << QString();
  return files;
}
QStringList Ten() {  // ves10 at the top, ves1 at the bottom
  QStringList files;
  for (int n = 10; n >= 1; --n) files << F(n);
  return files;
}

struct TListCase {
  const char* Name;
  QStringList Stored;  // the values "0" to "9" before loading; empty: no key
  QStringList Added;   // added in this order after loading
  std::function<void(TMRUList& list, TOwner& owner)> Then;
  QStringList Expected;  // the ten slots
};

void PrintTo(const TListCase& c, std::ostream* out) { *out << c.Name; }

class TRecentFileRules : public TWindowTest, public ::testing::WithParamInterface<TListCase> {};

TEST_P(TRecentFileRules, SlotsAndItems) {
  const TListCase& c = GetParam();
  for (int slot = 0; slot < c.Stored.size(); ++slot) Settings()->setValue("MRU/" + QString::number(slot), c.Stored[slot]);
  TOwner owner;
  TMRUList list(owner.Window, Messages);
  list.RegistryKey = "MRU";
  // As the window does: a chosen entry is opened, which puts it at the top.
  QStringList chosen;
  list.OnFileClick = [&chosen](TMRUList& sender) {
    chosen << sender.SelectedFile();
    sender.AddFile(sender.SelectedFile());
  };
  list.LoadFromRegistry();
  for (const QString& path : c.Added) list.AddFile(path);
  if (c.Then) c.Then(list, owner);

  const QStringList expected = Slots(c.Expected);
  EXPECT_EQ(QStringList(list.Entries().begin(), list.Entries().end()), expected);
  int files = 0;
  for (int slot = 0; slot < MaxRecentFiles; ++slot) {
    const bool listed = !expected[slot].isEmpty();
    files += listed;
    EXPECT_EQ(owner.Item(slot)->isVisible(), listed) << "item " << slot;
    if (listed) {
      // As the menu shows it: "&&" is one "&".
      EXPECT_EQ(owner.Item(slot)->text().replace("&&", "&"), QString("%1. %2").arg(slot + 1).arg(expected[slot]));
    }
  }
  EXPECT_EQ(list.Count(), files);
  EXPECT_TRUE(Messages.Shown.isEmpty());
}

const TListCase ListCases[] = {
    {"EmptyHidesEveryItem", {}, {}, nullptr, {}},
    {"ElevenFilesKeepTheNewestTen", {}, {F(1), F(2), F(3), F(4), F(5), F(6), F(7), F(8), F(9), F(10), F(11)},
     nullptr, {F(11), F(10), F(9), F(8), F(7), F(6), F(5), F(4), F(3), F(2)}},
    {"ChoosingSlot5MovesItToTheTop", Ten(), {},
     [](TMRUList&, TOwner& owner) { owner.Item(5)->trigger(); },
     {F(5), F(10), F(9), F(8), F(7), F(6), F(4), F(3), F(2), F(1)}},
    // An empty path adds nothing.
    {"ALettercaseVariantMovesUpInItsNewCase", {}, {"c:\\a.rxd", "c:\\b.rxd", "c:\\c.rxd", "C:\\A.RXD", ""},
     nullptr, {"C:\\A.RXD", "c:\\c.rxd", "c:\\b.rxd"}},
    // The files below move up; the last slot is emptied; an unlisted path changes nothing.
    {"RemovingMovesTheFilesBelowUp", Ten(), {},
     [](TMRUList& list, TOwner&) {
       for (const QString& path : {F(8), F(1).toUpper(), F(99), QString()}) list.RemoveFile(path);
     },
     {F(10), F(9), F(7), F(6), F(5), F(4), F(3), F(2)}},
    // Gaps come only from stored values, and stay: each file keeps its number.
    {"AStoredGapIsKept", {"", F(1)}, {}, nullptr, {"", F(1)}},
    {"AFileAddedAboveAGapPushesItDown", {"", F(1), "", F(2)}, {F(3)}, nullptr, {F(3), "", F(1), "", F(2)}},
    // An "&" in a path is shown as it is, never as an accelerator.
    {"AnAmpersandIsNoAccelerator", {}, {"C:\\R&D\\ves.rxd"},
     [](TMRUList&, TOwner& owner) { EXPECT_EQ(owner.Item(0)->text(), "1. C:\\R&&D\\ves.rxd"); },
     {"C:\\R&D\\ves.rxd"}},
};
INSTANTIATE_TEST_SUITE_P(List, TRecentFileRules, ::testing::ValuesIn(ListCases),
                         [](const auto& info) { return std::string(info.param.Name); });

using TRecentFileSettings = TWindowTest;

TEST_F(TRecentFileSettings, AllTenSlotsAreStoredAndSettingsErrorsAreShown) {
  TOwner owner;
  {
    TMRUList list(owner.Window, Messages);
    list.RegistryKey = "MRU";
    list.AddFile(F(1));
    list.SaveToRegistry();  // makes the missing group
  }
  QStringList stored;
  for (int slot = 0; slot < MaxRecentFiles; ++slot) stored << Settings()->value("MRU/" + QString::number(slot)).toString();
  EXPECT_EQ(stored, Slots({F(1)}));
  EXPECT_TRUE(Messages.Shown.isEmpty());

  // A value of another type stops the reading there; the menu is left as it was.
  Settings()->setValue("MRU/0", F(7));
  Settings()->setValue("MRU/1", QStringList{"C:\\a.rxd", "C:\\b.rxd"});
  Settings()->setValue("MRU/2", F(8));
  TOwner another;
  TMRUList damaged(another.Window, Messages);
  damaged.RegistryKey = "MRU";
  damaged.LoadFromRegistry();
  EXPECT_EQ(Messages.Shown, QStringList{"Error: The settings value MRU/1 is not a text."});
  EXPECT_EQ(damaged.Entries()[0], F(7));
  EXPECT_EQ(damaged.Entries()[2], "");
  EXPECT_EQ(damaged.Count(), 0);
  EXPECT_FALSE(another.Item(0)->isVisible());

  // Settings that cannot be written (their folder is a file) show their error.
  Messages.Shown.clear();
  const QString unwritable = File("settings.ini") + "/settings.ini";
  SetSettingsFile(unwritable);
  damaged.SaveToRegistry();
  EXPECT_EQ(Messages.Shown, QStringList{"Error: Could not access the settings " + unwritable + "."});
}

// Two runs of the program: the files opened in the first are listed in the
// second, which reopens one of them, edits its details and saves them.
TEST_F(TRecentFileSettings, TheListOutlivesTheWindowAndReopensItsFiles) {
  QStringList files;
  for (const char* name : {"a.rxd", "b.rxd", "c.rxd"}) {
    files << File(name);
    WriteWholeFile(File(name).toStdString(), ReadWholeFile(ExamplePath("three-layer-schlumberger.rxd")));
  }
  auto item = [](const TMainForm& window, int slot) {
    return Child<QAction>(window, ("FileName" + std::to_string(slot)).c_str());
  };
  auto captions = [&item](const TMainForm& window) {
    QStringList shown;
    for (int slot = 0; slot < MaxRecentFiles; ++slot)
      if (item(window, slot)->isVisible()) shown << item(window, slot)->text();
    return shown;
  };
  auto* reopenEnabled = +[](TMainForm& window) {
    window.File1Click();  // opening the File menu
    return Child<QMenu>(window, "FileReopen")->isEnabled();
  };
  {
    auto first = MakeWindow();
    EXPECT_FALSE(reopenEnabled(*first));
    FileDialogs.Paths = files;
    for (int i = 0; i < 3; ++i) first->FileOpenClick();
    EXPECT_TRUE(reopenEnabled(*first));
    ASSERT_TRUE(first->close());
  }
  auto second = MakeWindow();
  EXPECT_TRUE(reopenEnabled(*second));
  EXPECT_EQ(captions(*second), (QStringList{"1. " + files[2], "2. " + files[1], "3. " + files[0]}));

  // An unsaved change is asked about first; Cancel reopens nothing.
  second->Document().SetValue(1, 4, false, 61.25);
  item(*second, 1)->trigger();
  EXPECT_EQ(second->windowTitle(), Title("untitled.rxd"));
  Messages.Answers = {TSaveAnswer::No};
  item(*second, 1)->trigger();
  EXPECT_EQ(second->windowTitle(), Title(files[1]));
  EXPECT_EQ(second->Document().ApparentRho[4], 131.06) << "the file's value";
  EXPECT_EQ(captions(*second), (QStringList{"1. " + files[1], "2. " + files[2], "3. " + files[0]}));

  // A file that is gone is reported and taken off; the others keep their order.
  std::filesystem::remove(files[2].toStdString());
  item(*second, 1)->trigger();
  EXPECT_EQ(Messages.Shown.mid(1), (QStringList{"Prompt: Save changes to untitled.rxd?",
                                                "Error: File " + files[2] + " not found!"}));
  EXPECT_EQ(second->Document().FileName, files[1].toStdString());
  EXPECT_EQ(captions(*second), (QStringList{"1. " + files[1], "2. " + files[0]}));

  // The details edited in the dialog are in the saved file.
  InformationUsers = {[](TGeneralInformationForm& dialog) {
    auto* name = Child<QLineEdit>(dialog, "prName");
    name->selectAll();
    QTest::keyClicks(name, "Delta survey");
    Press(dialog, "OKButton");
  }};
  second->FileInformationClick();
  second->FileSaveClick();
  EXPECT_NE(ReadWholeFile(files[1].toStdString()).find("Delta survey"), std::string::npos);

  // Save As and a file named on the command line come to the top too.
  FileDialogs.Paths = {File("d.rxd")};
  second->FileSaveAsClick();
  EXPECT_EQ(captions(*second).first(), "1. " + File("d.rxd"));
  ASSERT_TRUE(second->close());
  auto third = MakeWindow({files[0]});
  EXPECT_EQ(captions(*third), (QStringList{"1. " + files[0], "2. " + File("d.rxd"), "3. " + files[1]}));
}

}  // namespace
