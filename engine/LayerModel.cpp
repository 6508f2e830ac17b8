#include "engine/LayerModel.h"

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
