// make_survey FOLDER: writes the example survey of examples/survey: six
// Schlumberger soundings 100 m apart along a line, computed with the
// program's own forward model from a smooth two-dimensional earth plus 3 %
// noise, each with the same rough four-layer starting model an interpreter
// would type in; and the first sounding's measurements once more as a
// spreadsheet export (semicolons, decimal commas, a heading row).
//
// The earth along the profile (s from 0 at the first to 1 at the last
// sounding): dry sand over wet sand over a clay layer that thickens and
// deepens to the far end, over the sand of the deep aquifer. The noise comes
// from a fixed seed through std::mt19937, which every standard library
// implements alike, and the Box-Muller transform, so that the files come out
// the same everywhere.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "document/Position.h"
#include "document/ResondixData.h"

namespace {

constexpr int SoundingCount = 6;
constexpr double SoundingDistance = 100;  // metres
// The line runs from (FirstX, FirstY) in the direction (DirectionX, DirectionY).
constexpr double FirstX = 212400;
constexpr double FirstY = 561800;
constexpr double DirectionX = 0.96;
constexpr double DirectionY = 0.28;
constexpr double NoiseLevel = 0.03;  // standard deviation of ln(rho)
constexpr unsigned Seed = 20261206;
constexpr double Pi = 3.14159265358979;

constexpr double HalfSpacings[MaxMeasurements] = {1.5, 2.5, 4, 6, 8, 10, 15, 20, 25, 30, 40, 50, 65, 80, 100};

// The starting model of every sounding.
const TLayerModel StartingModel = LayerModel({{250, 2}, {80, 8}, {20, 20}, {150}});

// The true layers at s in 0..1.
TLayerModel TrueModel(double s) {
  return LayerModel({{400 - 200 * s, 1.5 + 0.8 * std::sin(Pi * s)},
                     {90 + 25 * std::cos(Pi * s), 7 + 3 * s},
                     {12 + 10 * s * s, 18 + 14 * s - 4 * std::sin(Pi * s)},
                     {140}});
}

class TNoise {
public:
  double Normal() {
    const double u1 = (double(Generator()) + 1) / (double(Generator.max()) + 2);
    const double u2 = (double(Generator()) + 1) / (double(Generator.max()) + 2);
    return std::sqrt(-2 * std::log(u1)) * std::cos(2 * Pi * u2);
  }

private:
  std::mt19937 Generator{Seed};
};

std::string SoundingName(int n) {
  char name[16];
  std::snprintf(name, sizeof name, "ves-%02d", n);
  return name;
}

std::string Coordinate(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f", value);
  return text;
}

// The measured curve: the forward model of the true layers with noise, to
// the two decimals of the data file.
void Measure(double s, TNoise& noise, TResondixData& d) {
  d.Layers() = TrueModel(s);
  d.MeasurementCount = MaxMeasurements;
  d.ComputeModelCurve();
  for (int i = 1; i <= MaxMeasurements; ++i) {
    d.HalfSpacing[i] = HalfSpacings[i - 1];
    const double rho = std::exp(d.Curve.LnApparentRho(d.HalfSpacing[i]) + NoiseLevel * noise.Normal());
    d.ApparentRho[i] = std::round(rho * 100) / 100;
  }
}

bool WriteSpreadsheet(const std::string& path, const TResondixData& d) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::fprintf(file, "AB/2 (m);Rho a (ohm.m)\r\n");
  for (int i = 1; i <= d.MeasurementCount; ++i) {
    char line[64];
    std::snprintf(line, sizeof line, "%g;%.2f\r\n", d.HalfSpacing[i], d.ApparentRho[i]);
    for (char* c = line; *c; ++c)
      if (*c == '.') *c = ',';
    std::fputs(line, file);
  }
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "Usage: make_survey FOLDER\n");
    return 1;
  }
  // The files are saved by their names alone, which the data file records.
  std::error_code error;
  std::filesystem::current_path(argv[1], error);
  if (error) {
    std::fprintf(stderr, "Could not enter %s\n", argv[1]);
    return 1;
  }
  TNoise noise;
  for (int n = 1; n <= SoundingCount; ++n) {
    const double s = double(n - 1) / (SoundingCount - 1);
    const double along = (n - 1) * SoundingDistance;
    TResondixData d;
    Measure(s, noise, d);
    const std::string name = SoundingName(n);
    if (n == 1 && !WriteSpreadsheet(name + ".csv", d)) {
      std::fprintf(stderr, "Could not write %s.csv\n", name.c_str());
      return 1;
    }
    d.Layers() = StartingModel;
    d.ProjectName() = "Groundwater survey Veenhoop, profile A";
    d.ProjectLocation() = "Veenhoop, Netherlands";
    d.ProjectDate() = "14-10-2026";
    d.SoundingPosition() =
        PositionText(Coordinate(FirstX + DirectionX * along) + ", " + Coordinate(FirstY + DirectionY * along));
    d.SoundingDirection() = "WSW-ENE";
    d.ABLength() = "200";
    d.DataName() = "VES A" + std::to_string(n);
    d.FileDate() = "14-10-2026";
    d.Remarks() = "Synthetic survey sounding made for the Resondix examples";
    if (!d.SaveToFile(name + ".rxd")) return 1;
  }
  return 0;
}
