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

struct TLayerModel {
  std::int32_t LayerCount = 0;
  TFixedArray<double, 0, MaxLayers> LayerRho;    // ohm·m; [0] unused
  TFixedArray<double, 0, MaxLayers> LayerDepth;  // bottom of layer i (m); [0] is the surface, 0

  double Thickness(int i) const { return LayerDepth[i] - LayerDepth[i - 1]; }

  friend bool operator==(const TLayerModel& a, const TLayerModel& b) {
    return a.LayerCount == b.LayerCount && a.LayerRho == b.LayerRho && a.LayerDepth == b.LayerDepth;
  }
  friend bool operator!=(const TLayerModel& a, const TLayerModel& b) { return !(a == b); }
};

// One layer of a model written out: its resistivity and the depth of its
// bottom (for the half-space any value: it gets HalfSpaceDepth).
struct TLayer {
  double Rho = 0;
  double Depth = 0;
};

// The model of these layers, top down, the last one the half-space; at most
// MaxLayers of them are taken.
TLayerModel LayerModel(std::initializer_list<TLayer> layers);
