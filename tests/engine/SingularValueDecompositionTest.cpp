// The decomposition of the fit's Jacobian: U·diag(w)·Vᵀ reproduces J, U's
// columns and V are orthonormal, the singular values are non-negative, for
// every shape a fit can produce (1 × 1 up to 15 × 15), full rank and rank
// deficient, and for the single-unknown cases.
#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ResondixData.h"

namespace {

// Orthonormality holds to rounding: a few hundred units of the last place
// for at most 15 × 15.
constexpr double RoundingTolerance = 1e-12;
// The product: the sweeps stop once a superdiagonal entry is below
// tol = ε·‖J‖∞ (ε = 1e-10) and leave it, so U·diag(w)·Vᵀ may be off by
// about that much; relative to ‖J‖∞.
constexpr double ProductTolerance = 10 * 1e-10;

using TEntries = std::vector<std::vector<double>>;  // [row][column], from 0

struct TShape {
  int Rows;
  int Columns;
};

const TShape Shapes[] = {{1, 1}, {2, 1}, {15, 1}, {2, 2}, {3, 2}, {5, 5}, {9, 4},
                         {15, 5}, {15, 7}, {12, 11}, {15, 14}, {15, 15}};

TEntries UniformEntries(int rows, int columns, std::mt19937& random) {
  std::uniform_real_distribution<double> entry(-1.0, 1.0);
  TEntries a(rows, std::vector<double>(columns));
  for (auto& row : a)
    for (double& v : row) v = entry(random);
  return a;
}

// Columns scaled like a fit's: resistivities and thicknesses differ in
// sensitivity by up to two orders of magnitude.
void ScaleColumns(TEntries& a, std::mt19937& random) {
  std::uniform_real_distribution<double> exponent(-1.0, 1.0);
  for (std::size_t k = 0; k < a[0].size(); ++k) {
    const double scale = std::pow(10.0, exponent(random));
    for (auto& row : a) row[k] *= scale;
  }
}

TEntries RandomEntries(int rows, int columns, std::mt19937& random) {
  TEntries a = UniformEntries(rows, columns, random);
  ScaleColumns(a, random);
  return a;
}

// A product of rows × rank and rank × columns factors: rank deficient when
// rank < columns.
TEntries LowRankEntries(int rows, int columns, int rank, std::mt19937& random) {
  const TEntries left = UniformEntries(rows, rank, random);
  const TEntries right = UniformEntries(rank, columns, random);
  TEntries a(rows, std::vector<double>(columns, 0.0));
  for (int i = 0; i < rows; ++i)
    for (int k = 0; k < columns; ++k)
      for (int r = 0; r < rank; ++r) a[i][k] += left[i][r] * right[r][k];
  ScaleColumns(a, random);
  return a;
}

double InfinityNorm(const TEntries& a) {
  double norm = 0;
  for (const auto& row : a) {
    double sum = 0;
    for (double v : row) sum += std::fabs(v);
    norm = std::max(norm, sum);
  }
  return norm;
}

// A document holding a as its Jacobian, decomposed.
TResondixData Decomposed(const TEntries& a) {
  TResondixData d;
  d.SetMeasurementCount(static_cast<int>(a.size()));
  d.UnknownCount = static_cast<std::uint8_t>(a[0].size());
  // Stale content from an earlier decomposition must not matter.
  for (int i = 1; i <= MaxMeasurements; ++i)
    for (int k = 1; k <= MaxUnknowns; ++k) d.Jacobian[i][k] = 7.25;
  for (int j = 1; j <= MaxUnknowns; ++j)
    for (int k = 1; k <= MaxUnknowns; ++k) d.RightVectors[j][k] = -3.5;
  for (std::size_t i = 0; i < a.size(); ++i)
    for (std::size_t k = 0; k < a[i].size(); ++k) d.Jacobian[int(i) + 1][int(k) + 1] = a[i][k];
  d.DecomposeJacobian();
  return d;
}

// Checks everything the optimiser relies on; the product within tolerance
// times ‖J‖∞.
void ExpectDecomposition(const TResondixData& d, const TEntries& a, double tolerance, const std::string& what) {
  const int m = d.MeasurementCount;
  const int n = d.UnknownCount;
  const double scale = InfinityNorm(a);
  double worstProduct = 0;
  for (int i = 1; i <= m; ++i)
    for (int k = 1; k <= n; ++k) {
      double sum = 0;
      for (int j = 1; j <= n; ++j) sum += d.Jacobian[i][j] * d.SingularValues[j] * d.RightVectors[k][j];
      ASSERT_TRUE(std::isfinite(sum)) << what;
      worstProduct = std::max(worstProduct, std::fabs(sum - a[i - 1][k - 1]));
    }
  EXPECT_LE(worstProduct, tolerance * scale) << what << ": U·diag(w)·Vᵀ differs from J";

  double worstU = 0;
  double worstV = 0;
  double worstVt = 0;
  for (int j = 1; j <= n; ++j)
    for (int k = 1; k <= n; ++k) {
      double u = 0;
      double v = 0;
      double vt = 0;
      for (int i = 1; i <= m; ++i) u += d.Jacobian[i][j] * d.Jacobian[i][k];
      for (int i = 1; i <= n; ++i) v += d.RightVectors[i][j] * d.RightVectors[i][k];
      for (int i = 1; i <= n; ++i) vt += d.RightVectors[j][i] * d.RightVectors[k][i];
      const double identity = j == k ? 1 : 0;
      worstU = std::max(worstU, std::fabs(u - identity));
      worstV = std::max(worstV, std::fabs(v - identity));
      worstVt = std::max(worstVt, std::fabs(vt - identity));
    }
  EXPECT_LE(worstU, RoundingTolerance) << what << ": columns of U not orthonormal";
  EXPECT_LE(worstV, RoundingTolerance) << what << ": VᵀV is not I";
  EXPECT_LE(worstVt, RoundingTolerance) << what << ": VVᵀ is not I";
  for (int k = 1; k <= n; ++k) EXPECT_GE(d.SingularValues[k], 0) << what << ": w[" << k << "]";
}

std::string Named(const char* kind, const TShape& shape) {
  return std::string(kind) + " " + std::to_string(shape.Rows) + "x" + std::to_string(shape.Columns);
}

TEST(SingularValueDecomposition, FullRankJacobiansOfEveryShape) {
  std::mt19937 random(20260512);
  for (const TShape& shape : Shapes)
    for (int trial = 0; trial < 20; ++trial) {
      const TEntries a = RandomEntries(shape.Rows, shape.Columns, random);
      ExpectDecomposition(Decomposed(a), a, ProductTolerance, Named("full rank", shape));
    }
}

TEST(SingularValueDecomposition, RankDeficientJacobians) {
  std::mt19937 random(1998);
  for (const TShape& shape : Shapes) {
    if (shape.Columns < 2) continue;
    for (int rank = 1; rank < shape.Columns; ++rank) {
      const TEntries a = LowRankEntries(shape.Rows, shape.Columns, rank, random);
      const TResondixData d = Decomposed(a);
      ExpectDecomposition(d, a, ProductTolerance, Named(("rank " + std::to_string(rank)).c_str(), shape));
      // As many singular values near 0 as the rank falls short.
      std::vector<double> w;
      for (int k = 1; k <= shape.Columns; ++k) w.push_back(d.SingularValues[k]);
      std::sort(w.begin(), w.end());
      for (int k = 0; k < shape.Columns - rank; ++k)
        EXPECT_LE(w[k], ProductTolerance * InfinityNorm(a)) << Named("rank", shape) << " rank " << rank;
    }
  }
}

TEST(SingularValueDecomposition, ZeroColumnsAndAllZeroJacobians) {
  // A depth far below the spacings, or a model that cannot react, gives a
  // column of zeros; with every column zero the tolerance itself is 0.
  std::mt19937 random(7);
  for (const TShape& shape : Shapes) {
    TEntries zero(shape.Rows, std::vector<double>(shape.Columns, 0.0));
    ExpectDecomposition(Decomposed(zero), zero, 0, Named("all zero", shape));
    const TResondixData d = Decomposed(zero);
    for (int k = 1; k <= shape.Columns; ++k) EXPECT_EQ(d.SingularValues[k], 0) << Named("all zero", shape);

    if (shape.Columns < 2) continue;
    for (int column : {0, shape.Columns / 2, shape.Columns - 1}) {
      TEntries a = RandomEntries(shape.Rows, shape.Columns, random);
      for (auto& row : a) row[column] = 0;
      ExpectDecomposition(Decomposed(a), a, ProductTolerance,
                          Named(("zero column " + std::to_string(column + 1)).c_str(), shape));
    }
  }
}

TEST(SingularValueDecomposition, AColumnOfTinyEntriesGivesASingularValueNearZero) {
  std::mt19937 random(31);
  TEntries a = RandomEntries(15, 5, random);
  for (auto& row : a) row[2] *= 1e-13;
  const TResondixData d = Decomposed(a);
  const double negligible = d.SvdTolerance * InfinityNorm(a);
  ExpectDecomposition(d, a, ProductTolerance, "tiny column");
  double smallest = d.SingularValues[1];
  for (int k = 2; k <= 5; ++k) smallest = std::min(smallest, d.SingularValues[k]);
  EXPECT_LE(smallest, negligible);
}

TEST(SingularValueDecomposition, SingleUnknown) {
  struct TCase {
    const char* Name;
    std::vector<double> Column;
    double Value;              // w[1]
    bool FirstUnitVector;      // U's column is (1, 0, ...)
  };
  const TCase cases[] = {
      // The reflection makes w[1] the Euclidean norm of the column.
      {"reflected", {0.3, -1.2, 0.4}, 1.3, false},
      {"reflected, negative lead", {-2.5, 0.0, 6.0}, 6.5, false},
      {"one measurement", {-0.731}, 0.731, true},
      // Below the first entry the squares sum to less than tol = ε·‖J‖∞
      // (1e-12 < 4.2e-10): no reflection, w[1] = |J[1][1]|.
      {"no reflection", {4.2, 1e-6, 0.0}, 4.2, true},
      {"no reflection, negative", {-4.2, 0.0, -1e-6}, 4.2, true},
  };
  for (const TCase& c : cases) {
    TEntries a;
    for (double v : c.Column) a.push_back({v});
    const TResondixData d = Decomposed(a);
    EXPECT_NEAR(d.SingularValues[1], c.Value, RoundingTolerance * c.Value) << c.Name;
    EXPECT_EQ(std::fabs(d.RightVectors[1][1]), 1.0) << c.Name;
    if (c.FirstUnitVector) {
      EXPECT_EQ(d.Jacobian[1][1], 1.0) << c.Name;
      for (int i = 2; i <= d.MeasurementCount; ++i) EXPECT_EQ(d.Jacobian[i][1], 0.0) << c.Name;
      EXPECT_EQ(d.SingularValues[1] * d.RightVectors[1][1], c.Column[0]) << c.Name;
    } else {
      ExpectDecomposition(d, a, ProductTolerance, c.Name);
    }
  }
}

}  // namespace
