// The layered earth of a sounding: horizontal layers, each with a
// resistivity and the depth of its bottom, the last one the half-space.
// Indexed from 1 as the layers are numbered; depth 0 is the surface.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "engine/FixedArray.h"

constexpr int MaxLayers = 4;
// The depth stored for the half-space, which has no bottom.
constexpr double HalfSpaceDepth = 10000.0;

// A layered earth of at most Capacity layers: the interpreted model of a
// sounding has four (TLayerModel), the smooth model of the measurements many
// thin ones (TResistivityProfile in engine/SmoothInversion.h). The forward
// model and the chart's staircase work on either.
template <int Capacity>
struct TLayeredEarth {
  static constexpr int MaxLayerCount = Capacity;

  std::int32_t LayerCount = 0;
  TFixedArray<double, 0, Capacity> LayerRho;    // ohm·m; [0] unused
  TFixedArray<double, 0, Capacity> LayerDepth;  // bottom of layer i (m); [0] is the surface, 0

  double Thickness(int i) const { return LayerDepth[i] - LayerDepth[i - 1]; }

  friend bool operator==(const TLayeredEarth& a, const TLayeredEarth& b) {
    return a.LayerCount == b.LayerCount && a.LayerRho == b.LayerRho && a.LayerDepth == b.LayerDepth;
  }
  friend bool operator!=(const TLayeredEarth& a, const TLayeredEarth& b) { return !(a == b); }
};

struct TLayerModel : TLayeredEarth<MaxLayers> {};

// One layer of a model written out: its resistivity and the depth of its
// bottom (for the half-space any value: it gets HalfSpaceDepth).
struct TLayer {
  double Rho = 0;
  double Depth = 0;
};

// The model of these layers, top down, the last one the half-space; at most
// MaxLayers of them are taken.
TLayerModel LayerModel(std::initializer_list<TLayer> layers);

// The depth below which interface j holds the one above it: its stored
// depth, but none (infinity) for the half-space's stored 0, a value not
// entered.
double DepthLimit(const TLayerModel& model, int j);

// Positive resistivities and interfaces strictly in order from the surface
// down to the half-space's stored depth: what the value rules ask of a
// complete model, checked without composing their messages.
bool IsOrdered(const TLayerModel& model);
