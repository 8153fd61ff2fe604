#pragma once

#include <memory>

#include "platform/PlatformTexture.h"

// A shared slot for one texture. Handles point at the cell, not the texture,
// so an owner (the texture cache, or the device for render targets) can
// release or replace the texture while every holder keeps its handle. Owners
// empty their cells before the renderer goes; a cell that outlives its owner
// therefore holds nothing.
struct TextureCell {
  std::unique_ptr<CPlatformTexture> texture;
};

// Empty: no cell. A cell holding null: a released texture.
using TextureHandle = std::shared_ptr<TextureCell>;
