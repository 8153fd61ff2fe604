#pragma once

#include <vector>

#include "graphics/TextureHandle.h"

// One full-screen background picture, drawn with its top-left corner at
// (x, y) of the screen.
class CBGLayer {
public:
  virtual ~CBGLayer() = default;

  // Draws the picture; nothing without one. With its coverage measured, only
  // what shows on the screen: empty blocks are left out, solid ones copied
  // without blending, and the block rows `hidden` marks (behind a solid band
  // of a nearer layer) skipped.
  void Draw(const std::vector<bool>* hidden = nullptr) const;
  // Whether the picture fills block row `row` across the whole screen.
  bool CoversRow(int row) const;

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
