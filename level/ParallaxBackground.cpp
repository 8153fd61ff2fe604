#include "level/ParallaxBackground.h"

#include <cmath>
#include <string>
#include <vector>

#include "app/Camera.h"
#include "graphics/TextureManager.h"
#include "level/Level.h"

namespace {

constexpr float kScreenWidth = 1280.0f;

}  // namespace

void CParallaxBackground::Load(const CLevel* owner) {
  level = owner;
  CTextureManager* textures = CTextureManager::GetInstance();
  const float levelWidth = owner ? owner->GetWidthPixels() : 0.0f;
  for (int i = 0; i < kLayerCount; ++i) {
    CBGLayer& layer = layers[i];
    const std::string path = "Graphics/Background/bg_layer0" + std::to_string(i) + ".png";
    layer.texture =
        textures ? textures->GetTexture(path, CTextureManager::kCoverage | CTextureManager::kExact)
                 : nullptr;
    const bool loaded = layer.texture && layer.texture->HasTexture();
    layer.textureWidth = loaded ? layer.texture->Width() : 0;
    layer.baseX = layer.baseY = 0.0f;
    layer.factorY = 0.0f;
    layer.factorX = 0.0f;
    if (i > 0 && loaded && levelWidth > 0.0f)
      layer.factorX = (static_cast<float>(layer.textureWidth) - kScreenWidth) / levelWidth;
  }
}

void CParallaxBackground::Update(const CCamera* camera) {
  if (!camera) return;
  const float cx = camera->x + camera->offsetX;
  const float cy = camera->y + camera->offsetY;
  for (CBGLayer& layer : layers) {
    layer.x = layer.baseX - layer.factorX * cx;
    layer.y = layer.baseY - layer.factorY * cy;
  }
}

void CParallaxBackground::Draw() const {
  // Back to front, each leaving out the bands a nearer layer covers whole.
  std::vector<bool> hidden;
  for (int i = 0; i < kLayerCount; ++i) {
    hidden.clear();
    const CBGLayer& layer = layers[i];
    const int rows = layer.texture && layer.texture->coverage ? layer.texture->coverage->Rows() : 0;
    for (int row = 0; row < rows; ++row) {
      bool covered = false;
      for (int j = i + 1; j < kLayerCount && !covered; ++j)
        covered = std::round(layers[j].y) == std::round(layer.y) && layers[j].CoversRow(row);
      hidden.push_back(covered);
    }
    layer.Draw(&hidden);
  }
}
