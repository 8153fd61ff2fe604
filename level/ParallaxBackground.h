#pragma once

#include "level/BGLayer.h"

class CCamera;
class CLevel;

// The four pictures behind every level, back to front. The back one stands
// still; each nearer one slides so that its right edge comes into view as
// the camera reaches the level's end.
class CParallaxBackground {
public:
  static constexpr int kLayerCount = 4;

  // Loads the pictures and sets the slide factors for the level's width. A
  // missing picture, or a level without width, leaves its layer standing
  // (and a missing one draws nothing).
  void Load(const CLevel* owner);
  // Follows the camera's centre (with its shake); without a camera the
  // layers stay where they are (the replay ghost has none).
  void Update(const CCamera* camera);
  // Back to front.
  void Draw() const;

  const CBGLayer& GetLayer(int i) const { return layers[i]; }

private:
  const CLevel* level = nullptr;
  CBGLayer layers[kLayerCount];
};
