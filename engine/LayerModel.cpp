#include "engine/LayerModel.h"

#include <limits>

TLayerModel LayerModel(std::initializer_list<TLayer> layers) {
  TLayerModel model;
  for (const TLayer& layer : layers) {
    if (model.LayerCount == MaxLayers) break;
    ++model.LayerCount;
    model.LayerRho[model.LayerCount] = layer.Rho;
    model.LayerDepth[model.LayerCount] = layer.Depth;
  }
  if (model.LayerCount > 0) model.LayerDepth[model.LayerCount] = HalfSpaceDepth;
  return model;
}

double DepthLimit(const TLayerModel& model, int j) {
  return j == model.LayerCount && model.LayerDepth[j] == 0 ? std::numeric_limits<double>::infinity()
                                                           : model.LayerDepth[j];
}

bool IsOrdered(const TLayerModel& model) {
  for (int i = 1; i <= model.LayerCount; ++i) {
    if (!(model.LayerRho[i] > 0)) return false;
    if (i < model.LayerCount &&
        !(model.LayerDepth[i] > model.LayerDepth[i - 1] && model.LayerDepth[i] < DepthLimit(model, i + 1)))
      return false;
  }
  return true;
}
