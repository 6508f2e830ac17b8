// Import of the vertical electrical sounding text files published by TNO's
// DINOloket service.
//
// The file is read strictly by line position. Fields are ended by ";".
//   lines 1..25   header: 1 the sounding's name, 2..4 its position (system,
//                 coordinates, surface height in NAP), 9 the date, 11 the
//                 direction, 13 the configuration ("SCHLUMB" or another
//                 text), 14 the last half spacing of the sounding
//   line 26 on    one measurement per line, L/2 in field 1, the electrode
//                 distance a of a Wenner sounding in field 2 and the apparent
//                 resistivity in field 5, up to the last half spacing
//   "Kop VES interpretatie;"   the header of the interpreted model, searched
//                 for; 15 lines later one layer per line follows, the depth
//                 of its bottom in field 2 (empty for the half-space) and its
//                 resistivity in field 3
// A file without a model gets a three-layer starting model from its
// measurements, with a warning. Measurements and layers beyond the
// document's capacities are counted, not kept, and the import warns of them
// once it has succeeded.
//
// Whatever the file, the import keeps only a bounded part of each line: the
// header lines up to the longest text or number it uses, the measurement and
// model lines up to the last field it uses, each field up to the longest
// number. A longer number text is not a number.
//
// The import reads into a copy of the document (TResondixData::
// ReplaceContent), so a file that cannot be read changes nothing.
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

#include "document/ImportSupport.h"
#include "document/Messages.h"
#include "document/NumberText.h"
#include "document/Position.h"
#include "document/ResondixData.h"
#include "document/TextReader.h"

namespace {

// The header lines the import uses.
constexpr int HeaderLineCount = 25;
constexpr int NameLine = 1;
constexpr int SystemLine = 2;
constexpr int CoordinatesLine = 3;
constexpr int HeightLine = 4;
constexpr int DateLine = 9;
constexpr int DirectionLine = 11;
constexpr int TypeLine = 13;
constexpr int EndSpacingLine = 14;
constexpr std::string_view SchlumbergerType = "SCHLUMB";
constexpr std::string_view ModelHeader = "Kop VES interpretatie;";
constexpr int LinesBeforeModel = 15;

constexpr int HalfSpacingField = 1;
constexpr int ElectrodeDistanceField = 2;
constexpr int ApparentRhoField = 5;
// A Wenner sounding's L/2 is 1.5 a; field 1 and field 2 agree when they are
// within this fraction of each other.
constexpr double WennerRatio = 1.5;
constexpr double WennerAgreement = 0.01;
constexpr int DepthField = 2;
constexpr int LayerRhoField = 3;

// What is kept of a header line: an 80-character text or a number with its
// closing ";", and one character more, by which a line too long for a
// number shows.
constexpr std::size_t HeaderLineKeep = MaxNumberLength + 2;
// What is kept of each field of a measurement or model line: a number, and
// one character more for the same reason.
constexpr std::size_t FieldKeep = MaxNumberLength + 1;

std::string EndsBeforeMeasurements(const std::string& fileName) {
  return "Could not import " + fileName + "! The file ends before its first measurement (line 26).";
}


// A line without its closing ";". A line that lacks it keeps all of its
// text: its last character is part of the value.
std::string_view Cut(std::string_view line) {
  if (!line.empty() && line.back() == ';') line.remove_suffix(1);
  return line;
}

// Field n (from 1) of a line whose fields are each ended by ";": the text
// after the (n-1)th ";" up to the next one or the end of the line; empty
// when the line has fewer fields.
std::string_view Field(std::string_view line, int n) {
  std::size_t start = 0;
  for (int k = 1; k < n; ++k) {
    const std::size_t end = line.find(';', start);
    if (end == std::string_view::npos) return {};
    start = end + 1;
  }
  const std::size_t end = line.find(';', start);
  return line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

// A field's number; a text longer than any number is not one, also when
// only its kept beginning is at hand.
std::optional<double> NumberOf(std::string_view text) {
  return text.size() <= MaxNumberLength ? StrToFloatDot(text) : std::nullopt;
}

bool IsBlank(std::string_view text) { return text.find_first_not_of(" \t") == std::string_view::npos; }

class TDinoloketReader {
public:
  TDinoloketReader(TTextReader& reader, TResondixData& document, const std::string& fileName)
      : Reader(reader), D(document), FileName(fileName) {}

  // Meaningful once Read succeeded.
  TFileCounts Held;

  // Reads the whole file into the document; false, with the message shown,
  // when it cannot.
  bool Read() {
    if (Reader.StartsLikeUtf16()) return Fail(Utf16ImportRefusal(FileName));
    double endSpacing = 0;
    if (!ReadHeader(endSpacing) || !ReadMeasurements(endSpacing)) return false;
    bool modelRead = false;
    if ((HeaderSeen || FindModelHeader()) && !ReadModel(modelRead)) return false;
    // A read error ends the text early; it must not pass for a file without
    // a model.
    if (Reader.InputError()) return Fail(CouldNotOpenText(FileName));
    if (!modelRead) MakeStartingModel(D, endSpacing);
    return true;
  }

private:
  bool Fail(const std::string& message) {
    ShowMessage(TMessageKind::Error, Reader.InputError() ? CouldNotOpenText(FileName) : message);
    return false;
  }

  bool ToNumber(std::string_view text, double& value) {
    const auto number = NumberOf(text);
    if (!number) return Fail(NotANumber(text));
    value = *number;
    return true;
  }

  static bool IsUsedHeaderLine(int n) {
    return n <= HeightLine || n == DateLine || n == DirectionLine || n == TypeLine || n == EndSpacingLine;
  }

  bool ReadHeader(double& endSpacing) {
    std::string lines[HeaderLineCount + 1];
    for (int n = 1; n <= HeaderLineCount; ++n) {
      if (IsUsedHeaderLine(n))
        lines[n] = Reader.ReadLine(HeaderLineKeep);
      else
        Reader.SkipLine();
    }
    // Without this the first measurement would read as an empty field.
    if (Reader.Eof()) return Fail(EndsBeforeMeasurements(FileName));

    D.ProjectName() = Cut(lines[NameLine]);
    D.SoundingPosition() = PositionText(Cut(lines[CoordinatesLine])) + " (" + std::string(Cut(lines[SystemLine])) +
                           "), Z = " + std::string(Cut(lines[HeightLine])) + " (NAP)";
    D.ProjectDate() = Cut(lines[DateLine]);
    D.SoundingDirection() = Cut(lines[DirectionLine]);
    const std::string_view type = Cut(lines[TypeLine]);
    D.SoundingTypeText() = type;
    D.SetSoundingType(type == SchlumbergerType);
    const std::string_view endSpacingText = Cut(lines[EndSpacingLine]);
    D.ABLength() = endSpacingText;
    return ToNumber(endSpacingText, endSpacing);
  }

  // The program's spacing of a measurement line with L/2 halfSpacing: for
  // Wenner the electrode distance a, which the chart and the model curve
  // use, when field 2 holds it (L/2 = 1.5 a); otherwise L/2 as it stands.
  double SpacingOf(std::string_view line, double halfSpacing) const {
    if (D.IsSchlumberger) return halfSpacing;
    const auto a = NumberOf(Field(line, ElectrodeDistanceField));
    if (!a || !(*a > 0)) return halfSpacing;
    const double expected = WennerRatio * *a;
    return std::abs(halfSpacing - expected) <= WennerAgreement * expected ? *a : halfSpacing;
  }

  // One line per measurement up to the end spacing (an L/2); the end of the
  // file also ends the measurements (the header made sure there is a first
  // one).
  bool ReadMeasurements(double endSpacing) {
    int count = 0;
    bool ended = false;
    while (count < MaxMeasurements && !ended && !Reader.Eof()) {
      const std::string line = Reader.ReadFields(';', ApparentRhoField, FieldKeep);
      ++count;
      double halfSpacing = 0;
      if (!ToNumber(Field(line, HalfSpacingField), halfSpacing) ||
          !ToNumber(Field(line, ApparentRhoField), D.ApparentRho[count]))
        return false;
      D.HalfSpacing[count] = SpacingOf(line, halfSpacing);
      ended = halfSpacing == endSpacing;
    }
    D.MeasurementCount = count;
    Held.Measurements = count;
    if (!ended) CountMoreMeasurements(endSpacing);
    return true;
  }

  // Past the capacity: the lines that read as measurements, up to the end
  // spacing. The line that ends them may be the model's header.
  void CountMoreMeasurements(double endSpacing) {
    while (!Reader.Eof()) {
      const std::string line = Reader.ReadFields(';', ApparentRhoField, FieldKeep);
      const auto halfSpacing = NumberOf(Field(line, HalfSpacingField));
      if (!halfSpacing || !NumberOf(Field(line, ApparentRhoField))) {
        // Read as fields, the header line is still the whole line.
        HeaderSeen = line == ModelHeader;
        return;
      }
      ++Held.Measurements;
      if (*halfSpacing == endSpacing) return;
    }
  }

  bool FindModelHeader() {
    while (!Reader.Eof())
      if (Reader.ReadLine(ModelHeader.size() + 1) == ModelHeader) return true;
    return false;
  }

  // One line per layer down to the half-space. A model that stops without
  // one (at the capacity or at the end of the file) makes its last layer
  // the half-space; a file that ends before the first layer has no model.
  bool ReadModel(bool& modelRead) {
    for (int n = 1; n <= LinesBeforeModel; ++n) Reader.SkipLine();
    int count = 0;
    bool halfSpace = false;
    while (count < MaxLayers && !halfSpace && !Reader.Eof()) {
      const std::string line = Reader.ReadFields(';', LayerRhoField, FieldKeep);
      ++count;
      const std::string_view depth = Field(line, DepthField);
      if (IsHalfSpaceDepth(depth))
        D.LayerDepth[count] = HalfSpaceDepth;
      else if (!ToNumber(depth, D.LayerDepth[count]))
        return false;
      if (!ToNumber(Field(line, LayerRhoField), D.LayerRho[count])) return false;
      halfSpace = D.LayerDepth[count] == HalfSpaceDepth;
    }
    modelRead = count > 0;
    if (!modelRead) return true;
    D.LayerCount = count;
    D.LayerDepth[count] = HalfSpaceDepth;
    Held.Layers = count;
    if (!halfSpace) CountMoreLayers();
    return true;
  }

  static bool IsHalfSpaceDepth(std::string_view depth) { return depth.size() <= MaxNumberLength && IsBlank(depth); }

  // Past the capacity: the lines that read as layers, down to the
  // half-space.
  void CountMoreLayers() {
    while (!Reader.Eof()) {
      const std::string line = Reader.ReadFields(';', LayerRhoField, FieldKeep);
      const std::string_view depthText = Field(line, DepthField);
      const std::optional<double> depth = IsHalfSpaceDepth(depthText) ? HalfSpaceDepth : NumberOf(depthText);
      if (!depth || !NumberOf(Field(line, LayerRhoField))) return;
      ++Held.Layers;
      if (*depth == HalfSpaceDepth) return;
    }
  }

  TTextReader& Reader;
  TResondixData& D;
  const std::string& FileName;
  // The line that ended the measurements was the model's header.
  bool HeaderSeen = false;
};

}  // namespace

namespace {

constexpr std::string_view NoModelRemark = "No model was found in imported file.";

// A text that is not a number is quoted in its message; a field of
// megabytes is shown by its beginning, so that the message stays readable.
constexpr std::size_t MaxQuotedLength = 80;

}  // namespace

std::string Utf16ImportRefusal(const std::string& fileName) {
  return "Could not import " + fileName + "! " + Utf16Reason("import");
}

std::string NotANumber(std::string_view text) {
  const std::size_t shown = CutLength(text, MaxQuotedLength);
  return "'" + std::string(text.substr(0, shown)) + (shown < text.size() ? "..." : "") +
         "' is not a valid floating point value";
}

void MakeStartingModel(TResondixData& document, double endSpacing) {
  const double first = document.ApparentRho[1];
  const double last = document.ApparentRho[document.MeasurementCount];
  document.LayerCount = 3;
  document.LayerRho[1] = first;
  document.LayerDepth[1] = endSpacing / 3;
  document.LayerRho[2] = (first + last) / 2;
  document.LayerDepth[2] = endSpacing * 2 / 3;
  document.LayerRho[3] = last;
  document.LayerDepth[3] = HalfSpaceDepth;
  document.Remarks() = NoModelRemark;
  ShowMessage(TMessageKind::Warning, NoModelWarningText);
}

bool TResondixData::ImportDinoloket(const std::string& fileName) {
  return ReadNamedFile(fileName, &TResondixData::ImportFrom);
}

bool TResondixData::ImportFromText(std::string_view text) {
  TTextReader reader;
  reader.OpenText(text);
  return ImportFrom(reader, FileName);
}

bool TResondixData::ImportFrom(TTextReader& reader, const std::string& fileName) {
  return ImportContent(fileName, [&](TResondixData& staged, TFileCounts& held) {
    TDinoloketReader dinoloket(reader, staged, fileName);
    if (!dinoloket.Read()) return false;
    held = dinoloket.Held;
    return true;
  });
}

bool TResondixData::ImportContent(const std::string& fileName,
                                  const std::function<bool(TResondixData& staged, TFileCounts& held)>& read) {
  TFileCounts held;
  const bool imported = ReplaceContent([&](TResondixData& staged) {
    staged.ResetInformation();
    if (!read(staged, held)) return false;
    staged.FileName = fileName;
    return true;
  });
  if (imported) WarnOfDataBeyondCapacity(fileName, held.Measurements, held.Layers);
  return imported;
}
