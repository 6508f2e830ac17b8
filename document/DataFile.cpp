// The .rxd data file: a line-oriented text with fixed-width real numbers, so
// that it can be read and edited by hand.
//
// Layout: the identification line, the fourteen description lines, the count
// line "measurements layers", one line per measurement (L/2 and apparent
// resistivity), a reserved integer line, one line per layer (resistivity and
// bottom depth; the half-space carries 10000.00), an empty line, the number
// of annotations and one annotation line each.
//
// Saving goes through a temporary file, so a failed save never damages the
// previous file. Loading reads into a copy of the document and takes it
// over only when the whole file was read, so a failed load changes nothing.
// The annotation section is read within fixed bounds, so that no file can
// make a load take unbounded time or memory. Measurements, layers and
// annotations beyond what the document keeps are left out with a warning.
#include <algorithm>
#include <string>

#include "document/Messages.h"
#include "document/NumberText.h"
#include "document/ResondixData.h"
#include "document/ShortString.h"
#include "document/TextReader.h"

namespace {

constexpr std::string_view IdentificationLine =
    "Schlumberger/Wenner Data File  (c) 1998 K.P.Vordax - Resondix 2.20";
// Where the identification test looks in the first line (0-based column 40
// is column 41), and how much of it.
constexpr std::size_t IdentificationColumn = 40;
constexpr std::size_t IdentificationLength = 10;
// A first line shorter than this announces the older order of the
// description lines.
constexpr std::size_t PresentLayoutWidth = 60;

constexpr std::string_view LineEnd = "\r\n";
constexpr std::string_view LineBreakMark = "&crnl;";

// Far above any real chart, and still what the chart's boxes take in at
// once: at most this many annotation lines are read, and their texts are
// cut to this many bytes in all.
constexpr int MaxAnnotationCount = 1000;
constexpr std::size_t MaxAnnotationTextLength = 65536;
// The longest line a text of that length gives: every character a line
// break written as "&crnl;", with the position, the size and the quotes.
constexpr std::size_t MaxAnnotationLineLength = 6 * MaxAnnotationTextLength + 64;

std::string AnnotationsLeftOut(const std::string& fileName) {
  return "Not all annotations of " + fileName + " were read: the program keeps at most " +
         std::to_string(MaxAnnotationCount) + " annotations with " + std::to_string(MaxAnnotationTextLength) +
         " bytes of text in all.";
}

void AppendLine(std::string& text, std::string_view line) {
  text += line;
  text += LineEnd;
}

// A measurement or layer line: the two fields side by side. A field that
// fills its 12 characters (from 100000000 on, or negative values) would run
// into the one before it and make the line unreadable, so it gets one blank
// in front.
std::string PairLine(double first, double second) {
  std::string line = FormatFileReal(first);
  const std::string secondField = FormatFileReal(second);
  if (secondField[0] != ' ') line += ' ';
  return line + secondField;
}

// --- Annotation lines ------------------------------------------------------

bool NeedsQuotes(std::string_view item) {
  return std::any_of(item.begin(), item.end(), [](char c) {
    return c == ' ' || c == '"' || c == ',' || static_cast<unsigned char>(c) < 32 || c == 127;
  });
}

// An annotation's text as the last item of its line: quoted when needed,
// with each line break (CR LF, LF or CR) written as "&crnl;". One pass, so
// that a text of megabytes costs no more than its length.
std::string TextItem(std::string_view text) {
  if (!NeedsQuotes(text)) return std::string(text);  // a line break needs quotes
  std::string item = "\"";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      item += LineBreakMark;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      if (c == '"') item += '"';
      item += c;
    }
  }
  return item + '"';
}

std::string AnnotationLine(const TAnnotation& annotation) {
  std::string line = "TE";
  for (int value : {annotation.ChartX, annotation.ChartY, annotation.Width, annotation.Height})
    line += "," + std::to_string(value);
  return line + "," + TextItem(annotation.Text);
}

// The line with each "&crnl;" turned back into a line break, in one pass.
// The text keeps "\n" between its lines.
std::string WithLineBreaks(std::string_view line) {
  std::string result;
  result.reserve(line.size());
  std::size_t at = 0;
  for (std::size_t mark = line.find(LineBreakMark); mark != std::string_view::npos;
       mark = line.find(LineBreakMark, at)) {
    result.append(line.substr(at, mark - at));
    result += '\n';
    at = mark + LineBreakMark.size();
  }
  result.append(line.substr(at));
  return result;
}

// Splits a comma-separated line whose items may be quoted with doubled
// quotes inside. False when a quoted item is not closed properly, unless
// the line was cut: then its last item may end inside the quotes.
bool SplitItems(std::string_view line, bool cut, std::vector<std::string>& items) {
  items.clear();
  std::size_t i = 0;
  while (true) {
    std::string item;
    if (i < line.size() && line[i] == '"') {
      ++i;
      while (true) {
        const std::size_t quote = std::min(line.find('"', i), line.size());
        item.append(line.substr(i, quote - i));
        i = quote;
        if (i == line.size()) {
          if (!cut) return false;
          break;
        }
        if (i + 1 < line.size() && line[i + 1] == '"') {
          item += '"';
          i += 2;
          continue;
        }
        ++i;
        break;
      }
      if (i < line.size() && line[i] != ',') return false;
    } else {
      const std::size_t comma = std::min(line.find(',', i), line.size());
      item.assign(line.substr(i, comma - i));
      i = comma;
    }
    items.push_back(std::move(item));
    if (i >= line.size()) return true;
    ++i;  // the comma
  }
}

bool ParseInt(const std::string& text, int& value) {
  TTextReader reader;
  reader.OpenText(text);
  std::int32_t number = 0;
  if (text.empty() || !reader.ReadInteger(number) || !reader.Eof()) return false;
  value = number;
  return true;
}

// One annotation line back into a record, its text cut to keep bytes; false
// when the line is not one. lineCut: the line is the beginning of a longer
// one. textCut: the text was cut.
bool ParseAnnotationLine(std::string_view line, bool lineCut, std::size_t keep, TAnnotation& annotation,
                         bool& textCut) {
  std::vector<std::string> items;
  if (!SplitItems(WithLineBreaks(line), lineCut, items) || items.size() != 6 || items[0] != "TE") return false;
  if (!ParseInt(items[1], annotation.ChartX) || !ParseInt(items[2], annotation.ChartY) ||
      !ParseInt(items[3], annotation.Width) || !ParseInt(items[4], annotation.Height))
    return false;
  const std::string& text = items[5];
  const std::size_t kept = CutLength(text, keep);
  textCut = kept < text.size();
  annotation.Text.assign(text, 0, kept);  // no spare capacity for a thousand texts
  return true;
}

// The annotation section after the layer lines: an empty line, the count,
// the lines. A file without it, or with a damaged one, loads without the
// annotations that cannot be read. False when the section holds more than
// the program keeps.
bool ReadAnnotations(TTextReader& reader, std::vector<TAnnotation>& annotations) {
  std::string countLine;
  while (!reader.Eof() && countLine.empty()) countLine = reader.ReadLine(MaxNumberLength + 1);
  int count = 0;
  if (!ParseInt(countLine, count)) return true;
  bool complete = true;
  std::size_t textLeft = MaxAnnotationTextLength;
  for (int i = 0; i < count && !reader.Eof(); ++i) {
    if (i == MaxAnnotationCount || textLeft == 0) return false;
    std::string line = reader.ReadLine(MaxAnnotationLineLength + 1);
    const bool lineCut = line.size() > MaxAnnotationLineLength;
    if (lineCut) line.pop_back();
    TAnnotation annotation;
    bool textCut = false;
    if (ParseAnnotationLine(line, lineCut, textLeft, annotation, textCut)) {
      textLeft -= annotation.Text.size();
      annotations.push_back(std::move(annotation));
    }
    complete = complete && !lineCut && !textCut;
  }
  return complete;
}

// --- Description lines -------------------------------------------------------

// An empty or single-blank text: it sorts at or before " ".
bool IsBlank(std::string_view text) { return text <= std::string_view(" "); }

void MoveOlderLayout(TResondixData& d) {
  const auto old = d.Info;  // old[n] is the text of file line n + 1
  d.ProjectDate() = old[5];
  d.InfoLine4() = " ";
  d.SoundingTypeText() = old[6];
  d.SoundingPosition() = old[3];
  d.SoundingDirection() = old[4];
  d.ABLength() = " ";
  d.InfoLine9() = old[7];
  d.InfoLine10() = " ";
  d.DataFileName() = old[10];
  d.DataName() = (IsBlank(old[11]) && !IsBlank(old[7])) ? old[7] : old[11];
  d.Remarks() = (IsBlank(old[14]) && !IsBlank(old[12])) ? old[12] : old[14];
}

bool PassesIdentification(const std::string& firstLine) {
  if (firstLine.size() <= IdentificationColumn) return false;
  const std::string_view key = std::string_view(firstLine).substr(IdentificationColumn, IdentificationLength);
  return IdentificationLine.find(key) == IdentificationColumn;
}

// Why a file is refused as a whole, on the second line of its message.
constexpr const char* NotADataFileReason = "It is not a Resondix data file.";
constexpr const char* EndsEarlyReason = "The file ends before its last layer line.";

// Reads `count` record lines of two reals each into the slots 1..capacity,
// passing over the surplus lines. A line within the capacity that the file
// does not have is a file cut short (reason set).
template <typename TArray>
bool ReadPairs(TTextReader& reader, long long count, int capacity, TArray& first, TArray& second,
               std::string& reason) {
  for (long long i = 1; i <= count; ++i) {
    if (i <= capacity) {
      if (reader.Eof()) {
        reason = EndsEarlyReason;
        return false;
      }
      if (!reader.ReadReal(first[static_cast<int>(i)]) || !reader.ReadReal(second[static_cast<int>(i)]))
        return false;
    } else if (reader.Eof()) {
      break;  // the rest of the surplus lines would all read as empty
    }
    reader.SkipLine();
  }
  return true;
}

// Reads an integer from a line the file must have.
bool ReadRequiredInteger(TTextReader& reader, std::int32_t& value, std::string& reason) {
  if (reader.Eof()) {
    reason = EndsEarlyReason;
    return false;
  }
  return reader.ReadInteger(value);
}

// What the reader found beside the document: why a file that is not whole
// was refused (empty for a value that cannot be read), whether annotations
// were left out or cut, and the counts the file gives.
struct TReadReport {
  std::string Reason;
  bool AnnotationsComplete = true;
  std::int32_t MeasurementCount = 0;
  std::int32_t LayerCount = 0;
};

// The reader proper, into a document that is thrown away when it fails. A
// file is whole when it passes the identification test and has every line
// up to its last layer line; the annotation section may be missing.
bool ReadDocument(TResondixData& d, TTextReader& reader, TReadReport& report) {
  std::string& reason = report.Reason;
  const std::string firstLine = reader.ReadLine(TInfoText::capacity());
  if (!PassesIdentification(firstLine)) {
    reason = NotADataFileReason;
    return false;
  }
  for (int i = 1; i <= InfoLineCount; ++i) d.Info[i] = reader.ReadLine(TInfoText::capacity());
  if (firstLine.size() < PresentLayoutWidth) MoveOlderLayout(d);
  d.SetSoundingType(!(d.SoundingTypeText() == SoundingTypeTextOf(false)));

  std::int32_t& measurementCount = report.MeasurementCount;
  std::int32_t& layerCount = report.LayerCount;
  if (!ReadRequiredInteger(reader, measurementCount, reason) || !reader.ReadInteger(layerCount)) return false;
  reader.SkipLine();
  if (!ReadPairs(reader, measurementCount, MaxMeasurements, d.HalfSpacing, d.ApparentRho, reason)) return false;
  d.MeasurementCount = std::clamp(measurementCount, 1, MaxMeasurements);

  std::int32_t reserved = 0;
  if (!ReadRequiredInteger(reader, reserved, reason)) return false;
  reader.SkipLine();

  if (!ReadPairs(reader, layerCount, MaxLayers, d.LayerRho, d.LayerDepth, reason)) return false;
  d.LayerCount = std::clamp(layerCount, 1, MaxLayers);
  // The last layer is the half-space, also when the file listed more layers
  // than fit or none at all.
  if (layerCount != d.LayerCount) d.LayerDepth[d.LayerCount] = HalfSpaceDepth;

  if (d.KeepAnnotations) report.AnnotationsComplete = ReadAnnotations(reader, d.Annotations);
  return !reader.InputError();
}

// The file text, handed to put in pieces: everything up to the annotation
// count, then one piece per annotation line, so that a save never holds the
// text of all annotations at once.
template <typename TPut>
void PutDataFileText(const TResondixData& d, TPut&& put) {
  std::string text;
  AppendLine(text, IdentificationLine);
  for (int i = 1; i <= InfoLineCount; ++i) {
    // The configuration line always follows the configuration, so that it
    // survives a save and a reload whatever text an import left there.
    if (i == 5)
      AppendLine(text, SoundingTypeTextOf(d.IsSchlumberger));
    else
      AppendLine(text, d.Info[i]);
  }
  AppendLine(text, std::to_string(d.MeasurementCount) + " " + std::to_string(d.LayerCount));
  for (int i = 1; i <= d.MeasurementCount; ++i) AppendLine(text, PairLine(d.HalfSpacing[i], d.ApparentRho[i]));
  AppendLine(text, "0");
  for (int i = 1; i <= d.LayerCount; ++i) AppendLine(text, PairLine(d.LayerRho[i], d.LayerDepth[i]));
  AppendLine(text, "");
  AppendLine(text, std::to_string(d.Annotations.size()));
  put(std::string_view(text));
  for (const TAnnotation& annotation : d.Annotations) {
    text = AnnotationLine(annotation);
    text += LineEnd;
    put(std::string_view(text));
  }
}

}  // namespace

std::string TResondixData::DataFileText() const {
  std::string text;
  PutDataFileText(*this, [&text](std::string_view piece) { text += piece; });
  return text;
}

bool TResondixData::SaveToFile() { return SaveToFile(std::string(FileName)); }

bool TResondixData::SaveToFile(const std::string& fileName) {
  // The file records its own name; a file that was not written leaves the
  // document as it was.
  const TInfoText previousDataFileName = DataFileName();
  DataFileName() = fileName;
  const auto write = [this](std::FILE* file) {
    bool written = true;
    PutDataFileText(*this, [&](std::string_view piece) {
      written = written && std::fwrite(piece.data(), 1, piece.size(), file) == piece.size();
    });
    return written;
  };
  if (!WriteFileAtomically(fileName, write)) {
    DataFileName() = previousDataFileName;
    ShowMessage(TMessageKind::Error, "Could not save " + fileName + "!");
    return false;
  }
  FileName = fileName;
  Saved = true;
  return true;
}

bool TResondixData::LoadFromFile(const std::string& fileName) {
  return ReadNamedFile(fileName, &TResondixData::LoadFrom);
}

bool TResondixData::LoadFromText(std::string_view text) {
  TTextReader reader;
  reader.OpenText(text);
  return LoadFrom(reader, FileName);
}

bool TResondixData::LoadFrom(TTextReader& reader, const std::string& fileName) {
  // Read as a data file, UTF-16 text would be refused as something else.
  const bool utf16 = reader.StartsLikeUtf16();
  TReadReport report;
  const bool loaded = ReplaceContent([&](TResondixData& staged) {
    if (!ReadDocument(staged, reader, report)) {
      std::string& reason = report.Reason;
      if (utf16) reason = Utf16Reason("open");
      const bool withReason = !reason.empty() && !reader.InputError();
      ShowMessage(TMessageKind::Error, CouldNotOpenText(fileName) + (withReason ? "\n" + reason : ""));
      return false;
    }
    // Already so when the notifications arrive.
    staged.FileName = fileName;
    staged.Saved = true;
    return true;
  });
  if (!loaded) return false;
  WarnOfDataBeyondCapacity(fileName, report.MeasurementCount, report.LayerCount);
  if (!report.AnnotationsComplete) ShowMessage(TMessageKind::Warning, AnnotationsLeftOut(fileName));
  return true;
}
