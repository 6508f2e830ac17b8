// The .rxd data file: the exact text written, what is read back, and that neither a failed save nor
// a failed load ever loses data. Damaged files at large are left to tests/fuzz/DataFileFuzz.cpp.
#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/ResondixData.h"
#include "tests/TestSupport.h"

namespace {

const std::string Identification = "Schlumberger/Wenner Data File  (c) 1998 K.P.Vordax - Resondix 2.20";

// A file of the present layout: description lines D1..D14 (line 5 given),
// then the body from the count line on.
std::string File(const std::vector<std::string>& body, const std::string& typeLine = " Schlumberger",
                 const std::string& lineEnd = "\r\n") {
  std::vector<std::string> lines = {Identification};
  for (int i = 1; i <= 14; ++i) lines.push_back(i == 5 ? typeLine : "D" + std::to_string(i));
  lines.insert(lines.end(), body.begin(), body.end());
  return JoinLines(lines, lineEnd);
}
const std::vector<std::string> SmallBody = {"3 2", "        1.50       10.00", "        3.00       20.00",
                                            "        6.00       30.00", "0", "      100.00        5.00",
                                            "       50.00    10000.00", "", "0"};

struct DataFile : ::testing::Test {
  TTemporaryFolder Folder;
  TMessageRecorder Recorder;
  TResondixData Document;
  int Changes = 0;

  bool Load(const std::string& text) {
    const std::string path = Folder.File("in.rxd");
    WriteWholeFile(path, text);
    Document.OnChange = [this](TResondixData&) { ++Changes; };
    Changes = 0;
    Recorder.Texts.clear();
    const bool loaded = Document.LoadFromFile(path);
    if (loaded) {
      EXPECT_EQ(Document.FileName, path) << "a loaded document takes the file's name";
    }
    return loaded;
  }
};

TEST_F(DataFile, WritesTheDocumentedLayoutWithEveryFieldReadable) {
  std::vector<std::string> expected = {Identification, "", "", "", "", " Schlumberger", "", "", "", "", "",
                                       "", "", "6-12-2026", "", "15 3"};
  for (const char* s : {"1.50", "2.00", "2.50", "3.00", "4.00", "5.00", "6.00", "8.00", "10.00", "12.00", "15.00",
                        "20.00", "25.00", "30.00", "40.00"})
    expected.push_back(std::string(12 - std::string(s).size(), ' ') + s + " 0.000E+0000");
  expected.insert(expected.end(), {"0", " 0.000E+0000 0.000E+0000", " 0.000E+0000 0.000E+0000",
                                   " 0.000E+0000    10000.00", "", "0"});
  Document.FileDate() = "6-12-2026";
  EXPECT_EQ(Document.DataFileText(), JoinLines(expected));
  // Fields that fill their 12 characters get a blank in front; the
  // configuration line follows the configuration, whatever an import left.
  Document.SetSoundingType(false);
  Document.SoundingTypeText() = "WENNER";
  Document.ApparentRho[1] = 485000000;
  Document.HalfSpacing[2] = 123456789;
  Document.ApparentRho[2] = -2;
  Document.Annotations = {{120, 45, 100, 40, "Top soil\ndry"}, {-3, 7, 1, 1, "plain"},
                          {0, 0, 50, 20, "say \"hi\", twice\n\nend"}, {5, 5, 60, 30, ""}};
  const std::string text = Document.DataFileText();
  for (const char* part : {"\r\n Wenner\r\n", "\r\n        1.50 485000000.00\r\n123456789.00 -2.000E+0000\r\n",
                           "\r\n4\r\nTE,120,45,100,40,\"Top soil&crnl;dry\"\r\nTE,-3,7,1,1,plain\r\n"
                           "TE,0,0,50,20,\"say \"\"hi\"\", twice&crnl;&crnl;end\"\r\nTE,5,5,60,30,\r\n"})
    EXPECT_NE(text.find(part), std::string::npos) << part;
  ASSERT_TRUE(Load(text));
  EXPECT_EQ(Document.DataFileText(), text);  // every field read back as written
}

TEST_F(DataFile, ASaveReplacesTheFileWholeOrNotAtAll) {
  const std::string path = Folder.File("s.rxd"), missing = Folder.File("no/x.rxd"), occupied = Folder.File("o.rxd");
  std::filesystem::create_directory(occupied);  // a folder with a file in it
  WriteWholeFile(occupied + "/inside", "keep");
  Document.FileName = Document.DataFileName() = "before.rxd";
  for (const std::string& name : {missing, occupied}) {
    Document.Saved = false;
    EXPECT_FALSE(Document.SaveToFile(name));
    EXPECT_TRUE(!Document.Saved && Document.FileName == "before.rxd" && Document.DataFileName() == "before.rxd");
  }
  EXPECT_EQ(Recorder.Texts,
            (std::vector<std::string>{"Could not save " + missing + "!", "Could not save " + occupied + "!"}));
  EXPECT_EQ(ReadWholeFile(occupied + "/inside"), "keep");
  WriteWholeFile(path, "old content");
  ASSERT_TRUE(Document.SaveToFile(path));
  EXPECT_TRUE(Document.Saved && Document.FileName == path && Document.DataFileName() == path);
  EXPECT_EQ(ReadWholeFile(path), Document.DataFileText());
  for (const auto& entry : std::filesystem::directory_iterator(Folder.Folder()))
    EXPECT_EQ(entry.path().extension(), ".rxd") << "left behind: " << entry.path();
}

TEST_F(DataFile, ReadsAnyLineEndAndClearsTheFitState) {
  const std::string crlf = File(SmallBody);
  for (const char* lineEnd : {"\r\n", "\n", "\r"}) {
    Document.RhoUnknown[1] = Document.HasFitResult = true;
    Document.Saved = false;
    ASSERT_TRUE(Load(File(SmallBody, " Schlumberger", lineEnd)));
    EXPECT_EQ(Document.DataFileText(), crlf);  // the file is in the form the program writes
    EXPECT_FALSE(Document.RhoUnknown[1] || Document.HasFitResult);
    EXPECT_TRUE(Document.Saved && Document.StructureChanged);
    EXPECT_EQ(Changes, 2);  // the configuration step, then the end
  }
  // Character 26 ends the text: before the second layer line, the file is cut short.
  const std::size_t secondLayer = crlf.find("       50.00");
  ASSERT_FALSE(Load(crlf.substr(0, secondLayer) + "\x1A" + crlf.substr(secondLayer)));
  ASSERT_TRUE(Load(crlf.substr(0, crlf.find("\r\n\r\n0")) + "\x1A" + "\r\n\r\n1\r\n1,2,3,4,\"x\""));
  EXPECT_EQ(Tables(Document), "1.5:10 3:20 6:30 | 100/5 50/10000");
  EXPECT_TRUE(Document.Annotations.empty()) << "nothing is read past character 26";
  ASSERT_TRUE(Load(File(SmallBody, " Wenner ")));  // only the exact text " Wenner" selects Wenner
  EXPECT_TRUE(Document.IsSchlumberger);
}

// Counts beyond the capacities are named in one warning; counts below 1
// are not worth one.
TEST_F(DataFile, CountsOutsideTheCapacitiesAreHeldInsideWithTheHalfSpaceLast) {
  std::vector<std::string> surplus = {"20 6"};
  for (int i = 1; i <= 20; ++i) surplus.push_back(std::to_string(i) + " " + std::to_string(100 + i));
  surplus.insert(surplus.end(), {"7", "10 1 trailing word", "20 2", "30 3", "40 4", "50 5", "60 10000"});
  const std::string path = Folder.File("in.rxd");
  const struct {
    std::vector<std::string> Body;
    std::string Tables;
    std::vector<std::string> Warnings;
  } rows[] = {
      {surplus,
       "1:101 2:102 3:103 4:104 5:105 6:106 7:107 8:108 9:109 10:110 11:111 12:112 13:113 14:114 15:115 "
       "| 10/1 20/2 30/3 40/10000",
       {path + " holds 20 measurements and 6 layers; the program keeps the first 15 measurements and the first 4 "
               "layers, the last of them as the half-space."}},
      {{"0 -3", "0"}, "1.5:0 | 0/10000", {}}};
  for (const auto& row : rows) {
    Document = TResondixData();
    ASSERT_TRUE(Load(File(row.Body)));
    EXPECT_EQ(Tables(Document), row.Tables);
    EXPECT_EQ(Recorder.Texts, row.Warnings);
  }
  // Huge counts: the file ends long before the lines they announce.
  EXPECT_FALSE(Load(File({"2147483647 2147483647", "2 20"})));
  EXPECT_EQ(Recorder.Texts.size(), 1u);
}

TEST_F(DataFile, TheOlderLayoutMovesTheDescriptionLines) {
  // A first line of 50 characters: the older order of the description lines;
  // old 7 fills in for a blank old 11, old 12 for a blank old 14.
  ASSERT_TRUE(Load(JoinLines({Identification.substr(0, 50), "Name", "Place", "Position", "Direction", "Date", " Wenner",
                              "Old7", "8", "9", "Old10", " ", "Old12", "Old13", "", "1 1", "1.5 10", "0",
                              "100 10000"})));
  std::vector<std::string> info;
  for (int i = 1; i <= InfoLineCount; ++i) info.push_back(Document.Info[i].str());
  EXPECT_EQ(info, (std::vector<std::string>{"Name", "Place", "Date", " ", " Wenner", "Position", "Direction", " ",
                                            "Old7", " ", "Old10", "Old7", "Old13", "Old12"}));
}

TEST_F(DataFile, AFailedLoadChangesNothingAndReportsTheFile) {
  std::string badLayer = File(SmallBody, " Wenner"), badCount = File(SmallBody), badMeasurement = File(SmallBody);
  badLayer.replace(badLayer.find("      100.00"), 12, "    1,00.00 ");
  badCount.replace(badCount.find("3 2"), 3, "2147483648 2");
  badMeasurement.replace(badMeasurement.find("        3.00"), 12, "       1e999");
  const auto cutAfter = [](int lines) {  // the first lines of a whole file
    std::vector<std::string> all = {Identification};
    for (int i = 1; i <= 14; ++i) all.push_back("D" + std::to_string(i));
    all.insert(all.end(), SmallBody.begin(), SmallBody.end());
    all.resize(lines);
    return JoinLines(all, "\n");
  };
  const std::string notData = "\nIt is not a Resondix data file.", endsEarly = "\nThe file ends before its last layer line.";
  // The path, and what the message adds to "Could not open <path>!".
  std::vector<std::pair<std::string, std::string>> files = {{Folder.File("absent.rxd"), ""},
                                                            {Folder.Folder().string(), ""}};
  for (const auto& [text, reason] : std::vector<std::pair<std::string, std::string>>{
           {badLayer, ""}, {badCount, ""}, {badMeasurement, ""}, {"", notData}, {"not a data file\nat all\n", notData},
           {Identification + std::string(15, '\n') + std::string(3'000'000, '1'), ""}, {cutAfter(1), endsEarly},
           {cutAfter(12), endsEarly}, {cutAfter(16), endsEarly}, {cutAfter(18), endsEarly},
           {cutAfter(20), endsEarly}, {cutAfter(21), endsEarly}}) {
    files.emplace_back(Folder.File("bad" + std::to_string(files.size()) + ".rxd"), reason);
    WriteWholeFile(files.back().first, text);
  }
  Document.ProjectName() = "Keep me";
  Document.Annotations.push_back({1, 2, 3, 4, "keep"});
  Document.RhoUnknown[1] = Document.HasFitResult = true;
  Document.Saved = false;
  Document.OnChange = [this](TResondixData&) { ++Changes; };
  Document.FileName = Folder.File("current.rxd");
  for (const auto& [path, reason] : files) {
    const TResondixData before = Document;
    Recorder.Texts.clear();
    EXPECT_FALSE(Document.LoadFromFile(path)) << path;  // the name too stays
    ExpectUnchanged(before, Document);
    EXPECT_EQ(Recorder.Texts, std::vector<std::string>{"Could not open " + path + "!" + reason});
  }
  EXPECT_EQ(Changes, 0);
  // Whole to its last layer line: the annotation section may be missing.
  ASSERT_TRUE(Load(cutAfter(22)));
  EXPECT_TRUE(Document.LayerCount == 2 && Document.LayerRho[2] == 50 && Document.Annotations.empty());
}

TEST_F(DataFile, AnnotationTextsAreWrittenAndReadInOnePassWithinTheirBounds) {
  const std::string manyBreaks(65536, '\n');  // the longest text kept, with the longest line it gives
  std::string manyMarks;
  for (int i = 0; i < 65536; ++i) manyMarks += "&crnl;";
  const struct {
    const char* Name;
    std::string Text;  // as the window holds it
    std::string Item;  // its item in the file
    std::string Read;  // what is read back
  } rows[] = {
      {"every line break", "a\r\nb\nc\rd\n\r", "\"a&crnl;b&crnl;c&crnl;d&crnl;&crnl;\"", "a\nb\nc\nd\n\n"},
      {"quotes and a mark's letters", "say \"&crnl\"", "\"say \"\"&crnl\"\"\"", "say \"&crnl\""},
      {"a mark inside a mark", "&\ncrnl;", "\"&&crnl;crnl;\"", "&\ncrnl;"},
      {"65536 line breaks", manyBreaks, "\"" + manyMarks + "\"", manyBreaks},
  };
  for (const auto& row : rows) {
    Document.Annotations = {{7, 8, 90, 30, row.Text}};
    const std::string text = Document.DataFileText();
    EXPECT_NE(text.find("\r\n1\r\nTE,7,8,90,30," + row.Item + "\r\n"), std::string::npos) << row.Name;
    ASSERT_TRUE(Load(text)) << row.Name;
    ASSERT_EQ(Document.Annotations.size(), 1u) << row.Name;
    EXPECT_EQ(Document.Annotations[0].Text, row.Read) << row.Name;
    EXPECT_TRUE(Recorder.Texts.empty()) << row.Name;
  }
}

TEST_F(DataFile, AnnotationsBeyondTheBoundsAreLeftOutOrCutWithAWarningNamingTheFile) {
  const auto withAnnotations = [](const std::string& count, const std::vector<std::string>& lines) {
    std::vector<std::string> body(SmallBody.begin(), SmallBody.end() - 1);
    body.push_back(count);
    body.insert(body.end(), lines.begin(), lines.end());
    return File(body);
  };
  const std::vector<std::string> thousandAndOne(1001, "TE,1,2,3,4,box");
  std::string fourMegabytes = "\"";  // a line of 4 MB, cut while inside its quotes
  for (int i = 0; i < 4 << 20; i += 8) fourMegabytes += "ab&crnl;";
  std::string expectedBreaks;
  while (expectedBreaks.size() < 65536) expectedBreaks += "ab\n";
  const std::string euro = "\xE2\x82\xAC";  // three bytes: 65536 is not a whole number of them
  std::string euros;
  for (int i = 0; i < 30000; ++i) euros += euro;
  const struct {
    const char* Name;
    std::string File;
    std::size_t Count;
    std::size_t LastLength;  // of the last annotation's text
    bool Warned;
  } rows[] = {
      {"1001 annotations keep 1000", withAnnotations("1001", thousandAndOne), 1000, 3, true},
      {"1000 annotations", withAnnotations("1000", std::vector<std::string>(1000, "TE,1,2,3,4,box")), 1000, 3, false},
      {"a count beyond the lines", withAnnotations("5000", {"TE,1,2,3,4,a", "TE,1,2,3,4,bc"}), 2, 2, false},
      {"a text of 70000 bytes", withAnnotations("1", {"TE,1,2,3,4," + std::string(70000, 'x')}), 1, 65536, true},
      {"a 4 MB line", withAnnotations("1", {"TE,1,2,3,4," + fourMegabytes}), 1, 65536, true},
      {"a cut never splits a character", withAnnotations("1", {"TE,1,2,3,4," + euros}), 1, 65535, true},
      {"64 KB of text in all", withAnnotations("20", std::vector<std::string>(20, "TE,1,2,3,4," + std::string(4000, 'y'))),
       17, 65536 - 16 * 4000, true},
  };
  for (const auto& row : rows) {
    ASSERT_TRUE(Load(row.File)) << row.Name;
    EXPECT_EQ(Tables(Document), "1.5:10 3:20 6:30 | 100/5 50/10000") << row.Name;
    ASSERT_EQ(Document.Annotations.size(), row.Count) << row.Name;
    EXPECT_EQ(Document.Annotations.back().Text.size(), row.LastLength) << row.Name;
    EXPECT_EQ(Recorder.Texts, row.Warned ? std::vector<std::string>{"Not all annotations of " + Document.FileName +
                                                                     " were read: the program keeps at most 1000 "
                                                                     "annotations with 65536 bytes of text in all."}
                                         : std::vector<std::string>{})
        << row.Name;
    EXPECT_TRUE(Recorder.Kinds.empty() || Recorder.Kinds[0] == TMessageKind::Warning) << row.Name;
  }
  ASSERT_TRUE(Load(rows[4].File));
  EXPECT_TRUE(Document.Annotations[0].Text == expectedBreaks.substr(0, 65536));
  ASSERT_TRUE(Load(rows[5].File));
  EXPECT_TRUE(Document.Annotations[0].Text == euros.substr(0, 65535));
  // Work that never shows the annotations does not read them.
  Document.KeepAnnotations = false;
  ASSERT_TRUE(Load(rows[0].File));
  EXPECT_TRUE(Document.Annotations.empty() && Recorder.Texts.empty());
  EXPECT_EQ(Tables(Document), "1.5:10 3:20 6:30 | 100/5 50/10000");
}

#ifdef _WIN32
// Windows has no FIFOs; its devices are names in every folder. A read that
// blocks on the console ends by ctest's time-out.
struct TBlockingGuard {};
std::vector<std::string> NotRegularFiles(const TTemporaryFolder&) { return {"NUL", "CON"}; }
#else
// Opens of a FIFO block until a writer comes; one that blocks ends the test program instead of hanging it.
struct TBlockingGuard {
  TBlockingGuard() { alarm(60); }
  ~TBlockingGuard() { alarm(0); }
};
std::vector<std::string> NotRegularFiles(const TTemporaryFolder& folder) {
  const std::string fifo = folder.File("fifo.rxd");
  EXPECT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  return {fifo, "/dev/null"};
}
#endif

TEST_F(DataFile, OnlyRegularFilesAreReadAndUtf16TextIsNamed) {
  std::vector<std::string> paths = NotRegularFiles(Folder);
  paths.push_back(Folder.File("folder.rxd"));
  std::filesystem::create_directory(paths.back());
  Document.ProjectName() = "Keep me";
  for (const std::string& path : paths) {
    for (const bool import : {false, true}) {
      const TResondixData before = Document;
      Recorder.Texts.clear();
      [[maybe_unused]] const TBlockingGuard guard;
      EXPECT_FALSE(import ? Document.ImportDinoloket(path) : Document.LoadFromFile(path)) << path;
      ExpectUnchanged(before, Document);
      EXPECT_EQ(Recorder.Texts, std::vector<std::string>{"Could not open " + path + "!"});
    }
  }
  // A data file saved as UTF-16, with and without its byte-order mark.
  std::string utf16;
  for (char c : Document.DataFileText()) utf16 += std::string{c, '\0'};
  for (const std::string& text : {"\xFF\xFE" + utf16, utf16}) {
    EXPECT_FALSE(Load(text));
    EXPECT_EQ(Recorder.Texts, std::vector<std::string>{"Could not open " + Folder.File("in.rxd") +
                                                       "!\nThe file looks like UTF-16 text; save it as UTF-8 text "
                                                       "and open it again."});
  }
}

struct TSaveRow {
  const char* Name;
  std::string Target;   // what is saved, relative to the folder
  std::string Written;  // the file that holds the document afterwards, empty when the save is refused
};

#ifdef _WIN32
// Windows has no FIFOs, and links need rights a user seldom has. A file that
// another program holds open cannot be replaced there, and a device name is
// a device in every folder.
HANDLE Hold(const TTemporaryFolder& folder, const char* name, DWORD sharing) {
  WriteWholeFile(folder.File(name), "keep");
  const HANDLE file = CreateFileW((folder.Folder() / name).c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE) << name;
  return file;
}

struct TSystemTargets {
  HANDLE Held = INVALID_HANDLE_VALUE;
  std::vector<TSaveRow> Rows(const TTemporaryFolder& folder) {
    Held = Hold(folder, "held.rxd", FILE_SHARE_READ | FILE_SHARE_WRITE);  // as the C library's fopen shares
    return {{"a file held open", "held.rxd", ""}, {"the device NUL", "NUL", ""}, {"the device CON", "CON", ""}};
  }
  // A holder that lets the file be deleted: a newer Windows may replace it,
  // an older one (and Wine) refuses; either way the file is whole. A save
  // that deleted the file to make room for the new one would lose it here.
  void ExpectKept(const TTemporaryFolder& folder, TResondixData& document) {
    CloseHandle(Held);
    EXPECT_EQ(ReadWholeFile(folder.File("held.rxd")), "keep");
    const HANDLE shared = Hold(folder, "shared.rxd", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    const bool saved = document.SaveToFile(folder.File("shared.rxd"));
    CloseHandle(shared);
    EXPECT_EQ(ReadWholeFile(folder.File("shared.rxd")), saved ? document.DataFileText() : "keep");
  }
};
#else
struct TSystemTargets {
  std::vector<TSaveRow> Rows(const TTemporaryFolder& folder) {
    EXPECT_EQ(mkfifo(folder.File("fifo.rxd").c_str(), 0600), 0);
    std::filesystem::create_symlink("absent.rxd", folder.File("dangling.rxd"));
    std::filesystem::create_symlink("dangling.rxd", folder.File("chain.rxd"));
    std::filesystem::create_symlink("no-folder/absent.rxd", folder.File("into-nothing.rxd"));
    return {{"a FIFO", "fifo.rxd", ""},
            {"a dangling link", "dangling.rxd", "absent.rxd"},
            {"a chain of links", "chain.rxd", "absent.rxd"},
            {"a link into a missing folder", "into-nothing.rxd", ""}};
  }
  void ExpectKept(const TTemporaryFolder& folder, TResondixData&) {
    namespace fs = std::filesystem;
    EXPECT_TRUE(fs::is_fifo(folder.File("fifo.rxd")));
    EXPECT_TRUE(fs::is_symlink(folder.File("dangling.rxd")) && fs::is_symlink(folder.File("chain.rxd")));
  }
};
#endif

TEST_F(DataFile, ASaveRefusesWhatAPlainWriteWouldAndWritesThroughLinks) {
  namespace fs = std::filesystem;
  const std::string readOnly = Folder.File("read-only.rxd");
  WriteWholeFile(readOnly, "keep");
  const fs::perms readOnlyPerms = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(readOnly, readOnlyPerms);  // the read-only attribute on Windows
  const std::string longest(251, 'n');  // with ".rxd" the file system's limit of 255 bytes
  TSystemTargets system;
  std::vector<TSaveRow> rows = system.Rows(Folder);
  rows.insert(rows.end(), {{"a write-protected file", "read-only.rxd", ""},
                           {"a name of 250 bytes", std::string(246, 'n') + ".rxd", std::string(246, 'n') + ".rxd"},
                           {"a name of 255 bytes", longest + ".rxd", longest + ".rxd"}});
  for (const auto& row : rows) {
    fs::remove(Folder.File("absent.rxd"));
    Document.FileName = Folder.File(row.Target);
    Document.Saved = false;
    Recorder.Texts.clear();
    EXPECT_EQ(Document.SaveToFile(), !row.Written.empty()) << row.Name;
    EXPECT_EQ(Document.Saved, !row.Written.empty()) << row.Name;
    if (row.Written.empty())
      EXPECT_EQ(Recorder.Texts, std::vector<std::string>{"Could not save " + Document.FileName + "!"}) << row.Name;
    else
      EXPECT_EQ(ReadWholeFile(Folder.File(row.Written)), Document.DataFileText()) << row.Name;
  }
  EXPECT_EQ(ReadWholeFile(readOnly), "keep");
  EXPECT_EQ(fs::status(readOnly).permissions() & fs::perms::all, readOnlyPerms);
  system.ExpectKept(Folder, Document);
  for (const auto& entry : fs::directory_iterator(Folder.Folder()))
    EXPECT_NE(entry.path().extension(), ".tmp") << "left behind: " << entry.path();
  fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::add);  // Windows deletes no read-only file
}

// Names are UTF-8 on every system; Windows opens them through its wide-character
// API, where the narrow one would spell a name outside its ANSI code page
// differently on disk, or not find it.
TEST_F(DataFile, AUtf8NameIsSavedReplacedAndLoadedUnderThatName) {
  const std::string name = "\xC3\x96l\xC3\xA7\xC3\xBCm \xD0\xB7\xD0\xBE\xD0\xBD\xD0\xB4 \xE2\x82\xAC.rxd";  // Ölçüm зонд €
  const std::string path = Folder.Folder().u8string() + "/" + name;
  Document.ProjectName() = "first";
  ASSERT_TRUE(Document.SaveToFile(path));
  Document.ProjectName() = "second";
  ASSERT_TRUE(Document.SaveToFile(path));
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(Folder.Folder()))
    names.push_back(entry.path().filename().u8string());
  EXPECT_EQ(names, std::vector<std::string>{name});
  TResondixData loaded;
  ASSERT_TRUE(loaded.LoadFromFile(path));
  EXPECT_EQ(loaded.ProjectName().str(), "second");
}

}  // namespace
