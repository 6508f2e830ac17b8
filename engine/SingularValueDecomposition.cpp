// Singular value decomposition of the fit's Jacobian, J = U·diag(w)·Vᵀ, by
// the Golub–Reinsch method: Householder bidiagonalisation, accumulation of
// the right-hand and then the left-hand transformations, and diagonalisation
// by implicit-shift QR sweeps. It works in place in the fit's arrays:
// J (M × n, n <= M) becomes U, w and the superdiagonal e live in their own
// arrays, V in a square one. The singular values are not sorted; the
// optimiser only uses products U·diag(w)·Vᵀ.
//
// Every negligibility test compares with tol = ε·‖J‖∞, taken once from the
// entry Jacobian, by a strict less-than. A value of exactly 0 always counts
// as negligible and a column or row of exactly 0 gets no reflection: with an
// all-zero Jacobian tol is 0, and without these two guards the method would
// divide 0 by 0.
#include "engine/SingularValueDecomposition.h"

#include <cmath>

namespace {

using TMatrix = TJacobianMatrix;
using TSquare = TUnknownMatrix;
using TVector = TUnknownVector;

struct TTolerance {
  double Tol;
  bool Negligible(double v) const { return std::fabs(v) < Tol || v == 0; }
};

// ‖J‖∞: the largest absolute row sum.
double InfinityNorm(const TMatrix& a, int m, int n) {
  double norm = 0;
  for (int i = 1; i <= m; ++i) {
    double row = 0;
    for (int k = 1; k <= n; ++k) row += std::fabs(a[i][k]);
    if (row > norm) norm = row;
  }
  return norm;
}

// The Householder reflection that maps a vector with first entry `lead` and
// square sum s beyond it onto a multiple g of the first unit vector, with
// g = -√(s + lead²) for lead >= 0 and +√(s + lead²) otherwise, so that it
// never cancels. Stores g in value, h = lead·g − (s + lead²) and replaces
// lead by lead − g: the reflection's vector. Without a reflection (s below
// tol, or nothing at all to reflect) value is lead and the result false.
bool MakeReflection(double s, double& lead, double tol, double& value, double& h) {
  const double f = lead;
  if (s < tol || s + f * f == 0) {
    value = f;
    return false;
  }
  s += f * f;
  const double g = f >= 0 ? -std::sqrt(s) : std::sqrt(s);
  value = g;
  h = f * g - s;
  lead = f - g;
  return true;
}

// Rotates columns a and b of the first rows of x: y = x[r][a], z = x[r][b],
// x[r][a] = y·c + z·s, x[r][b] = z·c − y·s.
template <typename TTable>
void RotateColumns(TTable& x, int rows, int a, int b, double c, double s) {
  for (int r = 1; r <= rows; ++r) {
    const double y = x[r][a];
    const double z = x[r][b];
    x[r][a] = y * c + z * s;
    x[r][b] = z * c - y * s;
  }
}

// Step 1: J = P·B·Qᵀ with B upper bidiagonal (diagonal w, superdiagonal e).
// The reflection vectors stay in J: column k from the diagonal down, row k
// from the superdiagonal on.
void Bidiagonalise(TMatrix& a, TVector& w, TVector& e, int m, int n, double tol) {
  for (int k = 1; k <= n; ++k) {
    double s = 0;
    double h = 0;
    for (int i = k + 1; i <= m; ++i) s += a[i][k] * a[i][k];
    if (MakeReflection(s, a[k][k], tol, w[k], h)) {
      for (int j = k + 1; j <= n; ++j) {
        double t = 0;
        for (int i = k; i <= m; ++i) t += a[i][k] * a[i][j];
        t /= h;
        for (int i = k; i <= m; ++i) a[i][j] += t * a[i][k];
      }
    }
    if (k == n) break;

    s = 0;
    for (int j = k + 2; j <= n; ++j) s += a[k][j] * a[k][j];
    if (MakeReflection(s, a[k][k + 1], tol, e[k], h)) {
      for (int i = k + 1; i <= m; ++i) {
        double t = 0;
        for (int j = k + 1; j <= n; ++j) t += a[k][j] * a[i][j];
        t /= h;
        for (int j = k + 1; j <= n; ++j) a[i][j] += t * a[k][j];
      }
    }
  }
}

// Step 2: V = Q, from the row reflections kept in J.
void AccumulateRight(const TMatrix& a, const TVector& e, TSquare& v, int n) {
  v[n][n] = 1;
  for (int i = n - 1; i >= 1; --i) {
    const int l = i + 1;
    // Negative exactly when row i was reflected: e[i]·(f − g) = f·g − s.
    const double h = e[i] * a[i][l];
    if (h < 0) {
      for (int j = l; j <= n; ++j) v[j][i] = a[i][j] / h;
      for (int j = l; j <= n; ++j) {
        double t = 0;
        for (int r = l; r <= n; ++r) t += a[i][r] * v[r][j];
        for (int r = l; r <= n; ++r) v[r][j] += t * v[r][i];
      }
    }
    for (int j = l; j <= n; ++j) v[i][j] = v[j][i] = 0;
    v[i][i] = 1;
  }
}

// Step 3: U = P (its first n columns), in place of J.
void AccumulateLeft(TMatrix& a, const TVector& w, int m, int n) {
  for (int i = n; i >= 1; --i) {
    const int l = i + 1;
    const double g = w[i];
    for (int j = l; j <= n; ++j) a[i][j] = 0;
    const double h = g * a[i][i];
    if (h >= 0) {  // column i was not reflected
      for (int j = i; j <= m; ++j) a[j][i] = 0;
    } else {
      for (int j = l; j <= n; ++j) {
        double t = 0;
        for (int r = l; r <= m; ++r) t += a[r][i] * a[r][j];
        t /= h;
        for (int r = i; r <= m; ++r) a[r][j] += t * a[r][i];
      }
      for (int j = i; j <= m; ++j) a[j][i] /= g;
    }
    a[i][i] += 1;
  }
}

// Step 4, split test: the lowest l below k whose e[l] is negligible (the
// active block is l+1..k, l = 0 for the whole top), and whether the scan
// stopped at a negligible w[l] instead, which needs a cancellation first.
int FindBlock(const TVector& w, const TVector& e, int k, const TTolerance& tol, bool& cancel) {
  cancel = false;
  int l = k - 1;
  for (; l >= 1; --l) {
    if (tol.Negligible(e[l])) return l;
    if (tol.Negligible(w[l])) {
      cancel = true;
      return l;
    }
  }
  return 0;
}

// A negligible w[l] decouples the block above it: Givens rotations from the
// left chase e[l] out of row l.
void Cancel(TMatrix& u, TVector& w, TVector& e, int m, int l, int k, const TTolerance& tol) {
  double c = 0;
  double s = 1;
  for (int i = l + 1; i <= k; ++i) {
    const double f = s * e[i - 1];
    e[i - 1] = c * e[i - 1];
    if (tol.Negligible(f)) break;
    const double g = w[i];
    const double h = std::sqrt(f * f + g * g);
    w[i] = h;
    c = g / h;
    s = -f / h;
    RotateColumns(u, m, l, i, c, s);
  }
}

// The rotation (c, s) = (f, h)/√(f² + h²); for f = h = 0 there is nothing to
// rotate and the previous rotation is kept rather than dividing by 0.
double Rotation(double f, double h, double& c, double& s) {
  const double z = std::sqrt(f * f + h * h);
  if (z != 0) {
    c = f / z;
    s = h / z;
  }
  return z;
}

// One implicit-shift QR sweep over the block l+1..k, shifted by the
// eigenvalue of the trailing 2 × 2 nearer to w[k]².
void QrSweep(TMatrix& u, TSquare& v, TVector& w, TVector& e, int m, int n, int l, int k) {
  double x = w[l + 1];
  double y = w[k - 1];
  double z = w[k];
  double h = e[k - 1];
  double g = k - 1 == 1 ? 0 : e[k - 2];
  double f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2 * h * y);
  g = std::sqrt(f * f + 1);
  f = ((x - z) * (x + z) + h * (y / (f < 0 ? f - g : f + g) - h)) / x;

  double c = 1;
  double s = 1;
  for (int i = l + 2; i <= k; ++i) {
    g = e[i - 1];
    y = w[i];
    h = s * g;
    g = c * g;
    z = Rotation(f, h, c, s);
    if (i - 1 != l + 1) e[i - 2] = z;
    f = x * c + g * s;
    g = g * c - x * s;
    h = y * s;
    y = y * c;
    RotateColumns(v, n, i - 1, i, c, s);
    w[i - 1] = Rotation(f, h, c, s);
    f = c * g + s * y;
    x = c * y - s * g;
    RotateColumns(u, m, i - 1, i, c, s);
  }
  e[k - 1] = f;
  w[k] = x;
}

// Step 4: QR sweeps until every superdiagonal entry is negligible, from the
// bottom up. The total sweep limit ends it early, leaving the values that
// have not converged as the last sweep left them.
void Diagonalise(TMatrix& u, TSquare& v, TVector& w, TVector& e, int m, int n, const TTolerance& tol) {
  const int sweepLimit = 10 * n;
  int sweeps = 0;
  for (int k = n; k >= 1;) {
    bool cancel = false;
    int l = FindBlock(w, e, k, tol, cancel);
    if (cancel) {
      Cancel(u, w, e, m, l, k, tol);
      // The cancellation can leave e[k−1] at exactly 0, which also splits
      // off w[k]; the shift below would divide by it.
      if (e[k - 1] == 0) l = k - 1;
    }
    if (l == k - 1) {
      if (w[k] < 0) {
        w[k] = -w[k];
        for (int r = 1; r <= n; ++r) v[r][k] = -v[r][k];
      }
      --k;
      continue;
    }
    if (++sweeps > sweepLimit) return;
    QrSweep(u, v, w, e, m, n, l, k);
  }
}

}  // namespace

void DecomposeJacobian(TJacobianMatrix& a, TUnknownVector& w, TUnknownVector& e, TUnknownMatrix& v, int m, int n,
                       double tolerance) {
  if (n < 1) return;
  const TTolerance tol{tolerance * InfinityNorm(a, m, n)};
  Bidiagonalise(a, w, e, m, n, tol.Tol);
  AccumulateRight(a, e, v, n);
  AccumulateLeft(a, w, m, n);
  Diagonalise(a, v, w, e, m, n, tol);
}
