#pragma once

#include "graphics/TextureHandle.h"

// One full-screen background picture, drawn with its top-left corner at
// (x, y) of the screen.
class CBGLayer {
public:
  virtual ~CBGLayer() = default;

  // Draws the whole picture; nothing without one.
  void Draw() const;

  TextureHandle texture;
  int textureWidth = 0;
  // Screen pixels the layer moves per pixel of camera movement.
  float factorX = 0.0f;
  float factorY = 0.0f;
  // Where it stands while the camera is at 0.
  float baseX = 0.0f;
  float baseY = 0.0f;
  float x = 0.0f;
  float y = 0.0f;
};
