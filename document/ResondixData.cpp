#include "document/ResondixData.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "document/Messages.h"
#include "document/TextReader.h"
#include "engine/Equivalence.h"

std::string LastErrorMessage;
bool FitSucceeded = false;

namespace {

constexpr double DefaultHalfSpacings[DefaultHalfSpacingCount] = {
    1.5, 2,   2.5, 3,   4,   5,   6,   8,   10,   12,   15,   20,   25,   30,   40,
    50,  60,  75,  100, 125, 150, 175, 200, 225,  250,  275,  300,  350,  400,  500,
    600, 700, 800, 900, 1000, 1250, 1500, 1750, 2000, 2250, 2500, 2750, 3000};

}  // namespace

double DefaultHalfSpacing(int i) {
  return DefaultHalfSpacings[std::clamp(i, 1, DefaultHalfSpacingCount) - 1];
}

const char* ConfigurationName(bool isSchlumberger) { return isSchlumberger ? "Schlumberger" : "Wenner"; }

std::string SoundingTypeTextOf(bool isSchlumberger) { return std::string(" ") + ConfigurationName(isSchlumberger); }

TParameterName UnknownName(bool isDepth, int layer) {
  char name[TParameterName::capacity() + 8];
  std::snprintf(name, sizeof name, "%s %d", isDepth ? "Depth" : "Rho", layer);
  return name;
}

std::string CouldNotOpenText(const std::string& fileName) { return "Could not open " + fileName + "!"; }

namespace {

// "20 measurements" and the like.
std::string Counted(long long count, const char* what) { return std::to_string(count) + " " + what; }

std::string CapacityWarningText(const std::string& fileName, long long measurements, long long layers) {
  const bool moreMeasurements = measurements > MaxMeasurements;
  const bool moreLayers = layers > MaxLayers;
  // The last layer kept stands for all below it.
  const std::string halfSpace = ", the last of them as the half-space.";
  if (!moreLayers)
    return fileName + " holds " + Counted(measurements, "measurements") + "; the program keeps the first " +
           std::to_string(MaxMeasurements) + ".";
  if (!moreMeasurements)
    return fileName + " holds " + Counted(layers, "layers") + "; the program keeps the first " +
           std::to_string(MaxLayers) + halfSpace;
  return fileName + " holds " + Counted(measurements, "measurements") + " and " + Counted(layers, "layers") +
         "; the program keeps the first " + Counted(MaxMeasurements, "measurements") + " and the first " +
         Counted(MaxLayers, "layers") + halfSpace;
}

}  // namespace

void WarnOfDataBeyondCapacity(const std::string& fileName, long long measurements, long long layers) {
  if (measurements > MaxMeasurements || layers > MaxLayers)
    ShowMessage(TMessageKind::Warning, CapacityWarningText(fileName, measurements, layers));
}

std::string ImportedDataFileName(const std::string& path) {
  const std::size_t nameStart = path.find_last_of("/\\:") + 1;  // 0 without a folder
  const std::size_t dot = path.rfind('.');
  const bool hasExtension = dot != std::string::npos && dot >= nameStart;
  return (hasExtension ? path.substr(0, dot) : path) + ".rxd";
}

std::string Utf16Reason(const std::string& verb) {
  return "The file looks like UTF-16 text; save it as UTF-8 text and " + verb + " it again.";
}

TResondixData::TResondixData() { New(); }

void TResondixData::RaiseChange() {
  if (OnChange) OnChange(*this);
}

void TResondixData::New() {
  Annotations.clear();

  for (int i = 0; i <= MaxLayers; ++i) {
    LayerDepth[i] = 0;
    LayerRho[i] = 0;
    RhoUnknown[i] = false;
    DepthUnknown[i] = false;
  }
  ClearLayerStatistics();

  MeasurementsValid = false;
  ModelValid = false;
  Saved = true;

  FileName = UntitledFileName;
  ResetInformation();
  SetSoundingType(true);

  HalfSpacing.Fill(0);
  ApparentRho.Fill(0);
  for (int i = 1; i <= MaxMeasurements; ++i) HalfSpacing[i] = DefaultHalfSpacing(i);
  SetMeasurementCount(std::min(40, MaxMeasurements));

  LayerCount = 3;
  LastFit = {};
  LayerDepth[3] = HalfSpaceDepth;
  DepthUnknown[3] = false;

  FitStatus = 0;

  StructureChanged = true;
  ClearFitResult();
  RaiseChange();
}

void TResondixData::ResetInformation() {
  for (int i = 1; i <= InfoLineCount; ++i) Info[i] = "";
  SoundingTypeText() = SoundingTypeTextOf(true);
}

void TResondixData::StampFileDetails(const std::string& today) {
  DataFileName() = FileName;
  FileDate() = today;
}

void TResondixData::ClearFitResult() {
  HasFitResult = false;
  Rmse = 0;
  FitDiagnostics = {};
  LastFitAutomatic = false;
  for (int k = 1; k <= MaxUnknowns; ++k) ParameterNames[k] = "";
}

void TResondixData::SetMeasurementCount(int n) {
  // Callers keep n within the capacity; holding it there here keeps every
  // reader of the arrays inside them whatever a caller passes.
  MeasurementCount = std::clamp(n, 1, MaxMeasurements);
  StructureChanged = true;
  RaiseChange();
}

void TResondixData::SetSoundingType(bool isSchlumberger) {
  IsSchlumberger = isSchlumberger;
  StructureChanged = true;
  RaiseChange();
}

void TResondixData::SetValue(int column, int row, bool isModel, double value) {
  const auto store = [row, value](auto& values) {
    if (row >= values.Low && row <= values.High) values[row] = value;
  };
  if (!isModel && column == 0) store(HalfSpacing);
  if (!isModel && column == 1) store(ApparentRho);
  if (isModel && column == 0) store(LayerRho);
  if (isModel && column == 1) store(LayerDepth);
  Saved = false;
  StructureChanged = false;
  RaiseChange();
}

void TResondixData::AdoptContent(TResondixData&& source) {
  TChangeHandler handler = std::move(OnChange);
  TStepRunner steps = std::move(OnStep);
  *this = std::move(source);
  OnChange = std::move(handler);
  OnStep = std::move(steps);
}

bool TResondixData::ReplaceContent(const std::function<bool(TResondixData& staged)>& read) {
  TResondixData staged(*this);
  // The copy's notifications are held back: the views must only ever see
  // this document, and only once the whole content has been read.
  int heldBack = 0;
  staged.OnChange = [&heldBack](TResondixData&) { ++heldBack; };
  staged.Annotations.clear();
  if (!read(staged)) return false;
  for (int i = 1; i <= MaxLayers; ++i) {
    staged.RhoUnknown[i] = false;
    staged.DepthUnknown[i] = false;
  }
  AdoptContent(std::move(staged));
  StructureChanged = true;
  ClearFitResult();
  for (int i = 0; i < heldBack; ++i) RaiseChange();
  RaiseChange();
  return true;
}

bool TResondixData::ReadNamedFile(const std::string& fileName,
                                  bool (TResondixData::*read)(TTextReader& reader, const std::string& fileName)) {
  TTextReader reader;
  if (!reader.Open(fileName)) {
    ShowMessage(TMessageKind::Error, CouldNotOpenText(fileName));
    return false;
  }
  return (this->*read)(reader, fileName);
}
