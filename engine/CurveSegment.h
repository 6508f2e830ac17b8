// The cubic Hermite segment through which both forward models interpolate
// their curve tables in log10 spacing and log10 apparent resistivity.
#pragma once

// The value at t = x − X[j] into the segment from node j to node j+1, with
// q = t/h for the node distance h: y and the node slopes s and sNext at the
// ends, and the chord slope d = (Y[j+1] − Y[j]) / h.
inline double HermiteSegment(double y, double s, double sNext, double d, double t, double q) {
  return y + s * t + (3 * d - 2 * s - sNext) * t * q + (s + sNext - 2 * d) * t * q * q;
}
