// The program's decimal logarithm. Every decimal logarithm, in the engine
// and on the chart alike, is ln v / 2.3026 (not the exact ln 10), and a
// decimal logarithm returns to a natural one by multiplying with 2.3026: the
// stored curves, the fits and the chart's pixel ties all rest on it.
#pragma once

#include <cmath>

constexpr double Ln10 = 2.3026;
inline double DecimalLog(double v) { return std::log(v) / Ln10; }
