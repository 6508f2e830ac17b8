// Import of a sounding typed in a spreadsheet and saved as delimited text
// (".csv"): one measurement per row, the spacing in the first column and
// the apparent resistivity in the second; further columns are ignored.
//
// What the file may look like, as spreadsheets and hand editing make it:
//   - an optional heading row: the first row whose first field is not a
//     number (only the first row with content may be one);
//   - fields separated by tabs, semicolons, commas or runs of blanks, fields
//     quoted as RFC 4180 has them ("1,5" or "a ""b""");
//   - "." or the decimal comma. A comma is told apart from a separator by
//     the first measurement row: a row with a tab or a semicolon is separated
//     by that, and its commas are decimal commas (what spreadsheets write in
//     a locale with the decimal comma); a row with commas but neither is
//     comma-separated, unless cutting it at its commas leaves a field with a
//     blank inside ("1,5 138,2"), in which case blanks separate and the
//     commas are decimal. Whatever separates the fields, a comma left inside
//     a field (quoted, or in a blank-separated row) is its decimal point.
//     The first measurement row decides for the whole file;
//   - blank rows, rows of empty fields and rows starting with "#" are
//     passed over; "# configuration: Wenner" (or Schlumberger) sets the
//     configuration, Schlumberger without it;
//   - LF, CR LF or CR line ends, a UTF-8 byte order mark at the start;
//   - the first MaxMeasurements rows of measurements are kept; further rows
//     are counted, not read, and the import warns of them once it has
//     succeeded.
// Every error names the file, the line and the field. The spacing is the
// program's spacing: L/2 for Schlumberger, the electrode distance a for
// Wenner. The file holds no model: the sounding gets the DINOloket import's
// starting model, its end spacing being the largest spacing, and its
// warning.
//
// The import reads into a copy of the document (TResondixData::
// ReplaceContent), so a file that cannot be read changes nothing.
#include <algorithm>
#include <cctype>
#include <optional>
#include <string>
#include <string_view>

#include "document/ImportSupport.h"
#include "document/Messages.h"
#include "document/NumberText.h"
#include "document/ResondixData.h"
#include "document/TextReader.h"

namespace {

// A row longer than this is refused rather than cut, so that no number is
// shortened unnoticed.
constexpr std::size_t MaxLineLength = 4096;
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view ConfigurationKey = "configuration";

constexpr int SpacingField = 1;
constexpr int RhoField = 2;
// Only the first two fields are used; a row needs both.
constexpr int UsedFieldCount = 2;

enum class TSeparator { Undecided, Tab, Semicolon, Comma, Blanks };

bool IsBlankChar(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlankChar(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankChar(text.back())) text.remove_suffix(1);
  return text;
}

// Whether c occurs in line outside double quotes.
bool HasUnquoted(std::string_view line, char c) {
  bool quoted = false;
  for (char x : line) {
    if (x == '"') quoted = !quoted;
    if (x == c && !quoted) return true;
  }
  return false;
}

// The fields of one row. Keeps the first UsedFieldCount fields (unquoted,
// trimmed) and counts all of them.
struct TRow {
  std::string Fields[UsedFieldCount];
  int FieldCount = 0;
  bool AllEmpty = true;

  void Clear() {
    for (std::string& field : Fields) field.clear();
    FieldCount = 0;
    AllEmpty = true;
  }

  // Appends one field read from text: blanks around it are dropped, a quoted
  // field loses its quotes and "" inside becomes ".
  void Add(std::string_view text) {
    text = Trimmed(text);
    if (!text.empty() && text != "\"\"") AllEmpty = false;
    if (FieldCount < UsedFieldCount) {
      std::string& field = Fields[FieldCount];
      if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.substr(1, text.size() - 2);
        for (std::size_t i = 0; i < text.size(); ++i) {
          field += text[i];
          if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') ++i;
        }
      } else {
        field = text;
      }
    }
    ++FieldCount;
  }
};

// Calls field(text) for each field of line cut at separator outside quotes.
template <typename TFieldCall>
void ForEachField(std::string_view line, char separator, TFieldCall field) {
  std::size_t start = 0;
  bool quoted = false;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    if (i < line.size() && line[i] == '"') quoted = !quoted;
    if (i == line.size() || (line[i] == separator && !quoted)) {
      field(line.substr(start, i - start));
      start = i + 1;
    }
  }
}

void SplitAt(std::string_view line, char separator, TRow& row) {
  ForEachField(line, separator, [&row](std::string_view text) { row.Add(text); });
}

void SplitAtBlanks(std::string_view line, TRow& row) {
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlankChar(line[i])) ++i;
    if (i == line.size()) break;
    std::size_t end = i;
    bool quoted = false;
    while (end < line.size() && (quoted || !IsBlankChar(line[end]))) {
      if (line[end] == '"') quoted = !quoted;
      ++end;
    }
    row.Add(line.substr(i, end - i));
    i = end;
  }
}

void Split(std::string_view line, TSeparator separator, TRow& row) {
  row.Clear();
  switch (separator) {
    case TSeparator::Tab: return SplitAt(line, '\t', row);
    case TSeparator::Semicolon: return SplitAt(line, ';', row);
    case TSeparator::Comma: return SplitAt(line, ',', row);
    case TSeparator::Blanks:
    case TSeparator::Undecided: return SplitAtBlanks(line, row);
  }
}

// The separator of a measurement row, as the comment at the top explains.
TSeparator SeparatorOf(std::string_view line) {
  if (HasUnquoted(line, '\t')) return TSeparator::Tab;
  if (HasUnquoted(line, ';')) return TSeparator::Semicolon;
  if (!HasUnquoted(line, ',')) return TSeparator::Blanks;
  bool blankInside = false;
  ForEachField(line, ',', [&blankInside](std::string_view field) {
    field = Trimmed(field);
    blankInside = blankInside || std::any_of(field.begin(), field.end(), IsBlankChar);
  });
  return blankInside ? TSeparator::Blanks : TSeparator::Comma;
}

// A field's number, its decimal comma read as a point.
std::optional<double> FieldNumber(std::string text) {
  std::replace(text.begin(), text.end(), ',', '.');
  return StrToFloatDot(text);
}

// A row of nothing but separators and empty quotes, as spreadsheets write
// for an empty row.
bool IsEmptyRow(std::string_view line) { return line.find_first_not_of(" \t;,\"") == std::string_view::npos; }

// The first field of a row cut at any separator: a heading row is one
// whose first field is no number.
bool StartsWithNumber(std::string_view line) {
  line = Trimmed(line);
  const std::size_t end = line.find_first_of("\t;, ");
  std::string_view first = line.substr(0, end);
  // "1,5;..." and "1,5 ..." start with the number 1 either way.
  if (first.size() >= 2 && first.front() == '"') first = first.substr(1, first.find('"', 1) - 1);
  return FieldNumber(std::string(first)).has_value();
}

std::string FieldName(int field) {
  return "field " + std::to_string(field) + (field == SpacingField ? " (spacing)" : " (apparent resistivity)");
}

// The name of a file without its folder and its extension.
std::string NameWithoutExtension(const std::string& fileName) {
  const std::size_t slash = fileName.find_last_of("/\\");
  std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.erase(dot);
  return name;
}

class TSpreadsheetReader {
public:
  TSpreadsheetReader(TTextReader& reader, TResondixData& document, const std::string& fileName)
      : Reader(reader), D(document), FileName(fileName) {}

  // The rows of measurements, those beyond the capacity included;
  // meaningful once Read succeeded.
  TFileCounts Held;

  // Reads the whole file into the document; false, with the message shown,
  // when it cannot.
  bool Read() {
    if (Reader.StartsLikeUtf16()) return Report(Utf16ImportRefusal(FileName));  // a spreadsheet's "Unicode text"
    bool isSchlumberger = true;
    int count = 0;
    double endSpacing = 0;
    bool contentSeen = false;
    while (!Reader.Eof()) {
      std::string line = Reader.ReadLine(MaxLineLength + 1);
      ++LineNumber;
      if (LineNumber == 1 && line.compare(0, ByteOrderMark.size(), ByteOrderMark) == 0)
        line.erase(0, ByteOrderMark.size());
      if (line.size() > MaxLineLength)
        return Fail("is longer than " + std::to_string(MaxLineLength) + " characters.");
      const std::string_view text = Trimmed(line);
      if (!text.empty() && text.front() == '#') {
        if (!ReadComment(text.substr(1), isSchlumberger)) return false;
        continue;
      }
      if (Separator == TSeparator::Undecided) {
        if (IsEmptyRow(text)) continue;
        // Only the first row with content may be a heading.
        const bool heading = !contentSeen && !StartsWithNumber(text);
        contentSeen = true;
        if (heading) continue;
        Separator = SeparatorOf(text);
      }
      Split(text, Separator, Row);
      if (Row.AllEmpty) continue;
      ++Held.Measurements;
      if (count == MaxMeasurements) continue;
      ++count;
      if (!ReadMeasurement(count)) return false;
      endSpacing = std::max(endSpacing, D.HalfSpacing[count]);
    }
    if (Reader.InputError()) return Report(CouldNotOpenText(FileName));
    if (count == 0) return Report(CouldNotImport() + " The file holds no measurements.");

    D.MeasurementCount = count;
    D.SetSoundingType(isSchlumberger);
    D.SoundingTypeText() = SoundingTypeTextOf(isSchlumberger);
    D.ProjectName() = NameWithoutExtension(FileName);
    MakeStartingModel(D, endSpacing);
    return true;
  }

private:
  std::string CouldNotImport() const { return "Could not import " + FileName + "!"; }

  bool Report(const std::string& message) {
    ShowMessage(TMessageKind::Error, Reader.InputError() ? CouldNotOpenText(FileName) : message);
    return false;
  }

  // An error in the current line.
  bool Fail(const std::string& what) {
    return Report(CouldNotImport() + " Line " + std::to_string(LineNumber) + " " + what);
  }

  bool FailField(int field, const std::string& reason) {
    return Report(CouldNotImport() + " Line " + std::to_string(LineNumber) + ", " + FieldName(field) + ": " + reason);
  }

  // "# configuration: Wenner"; any other comment is passed over.
  bool ReadComment(std::string_view comment, bool& isSchlumberger) {
    comment = Trimmed(comment);
    if (comment.size() < ConfigurationKey.size() ||
        !EqualNoCase(comment.substr(0, ConfigurationKey.size()), ConfigurationKey))
      return true;
    comment = Trimmed(comment.substr(ConfigurationKey.size()));
    if (comment.empty() || comment.front() != ':') return true;
    const std::string_view value = Trimmed(comment.substr(1));
    if (EqualNoCase(value, "Schlumberger") || EqualNoCase(value, "Wenner")) {
      isSchlumberger = EqualNoCase(value, "Schlumberger");
      return true;
    }
    return Fail("names the configuration '" + std::string(value) + "': use Schlumberger or Wenner.");
  }

  bool ReadValue(int field, double& value) {
    const std::string& text = Row.Fields[field - 1];
    if (field > Row.FieldCount || text.empty())
      return FailField(field, "missing; a row holds the spacing and the apparent resistivity.");
    const auto number = FieldNumber(text);
    if (!number) return FailField(field, NotANumber(text));
    value = *number;
    return true;
  }

  bool ReadMeasurement(int i) {
    double spacing = 0;
    double rho = 0;
    if (!ReadValue(SpacingField, spacing) || !ReadValue(RhoField, rho)) return false;
    // The grid's rules, but a spacing of 0 is a value not entered, which a
    // file has no use for.
    if (!D.ValidateValue(0, i, false, spacing)) return FailField(SpacingField, LastErrorMessage);
    if (spacing == 0) return FailField(SpacingField, "Value must be greater than 0!");
    if (!D.ValidateValue(1, i, false, rho)) return FailField(RhoField, LastErrorMessage);
    D.HalfSpacing[i] = spacing;
    D.ApparentRho[i] = rho;
    return true;
  }

  TTextReader& Reader;
  TResondixData& D;
  const std::string& FileName;
  int LineNumber = 0;
  TSeparator Separator = TSeparator::Undecided;
  TRow Row;
};

}  // namespace

bool TResondixData::ImportSpreadsheet(const std::string& fileName) {
  return ReadNamedFile(fileName, &TResondixData::ImportSpreadsheetFrom);
}

bool TResondixData::ImportSpreadsheetText(std::string_view text) {
  TTextReader reader;
  reader.OpenText(text);
  return ImportSpreadsheetFrom(reader, FileName);
}

bool TResondixData::ImportSpreadsheetFrom(TTextReader& reader, const std::string& fileName) {
  return ImportContent(fileName, [&](TResondixData& staged, TFileCounts& held) {
    TSpreadsheetReader spreadsheet(reader, staged, fileName);
    if (!spreadsheet.Read()) return false;
    held = spreadsheet.Held;
    return true;
  });
}

bool TResondixData::ImportFile(const std::string& fileName, const std::string& today) {
  if (!(EndsWithNoCase(fileName, ".csv") ? ImportSpreadsheet(fileName) : ImportDinoloket(fileName))) return false;
  FileName = ImportedDataFileName(fileName);
  StampFileDetails(today);
  return true;
}
