#pragma once

#include <memory>

#include "graphics/AlphaCoverage.h"
#include "platform/DecodedImage.h"
#include "platform/PlatformTexture.h"

class CPlatformRenderer;

// A shared slot for one texture. Handles point at the cell, not the texture,
// so an owner (the texture cache, or the device for render targets) can
// release or replace the texture while every holder keeps its handle. Owners
// empty their cells before the renderer goes.
//
// A texture may arrive in two halves: the decoded pixels (made on whatever
// thread loaded the file) and the renderer's texture, which only the main
// thread may create; Resolve() makes it on first use.
struct TextureCell {
  std::unique_ptr<CPlatformTexture> texture;
  std::unique_ptr<CDecodedImage> pending;  // decoded, not yet uploaded
  // Measured from the pixels when the texture was asked for with it; never
  // changed afterwards.
  std::shared_ptr<const CAlphaCoverage> coverage;
  // Drawn at its own size only: sampled without filtering.
  bool exact = false;

  // A cell holding neither counts as no texture: nothing draws it and its
  // size is not to be read.
  bool HasTexture() const { return texture || pending; }
  int Width() const;
  int Height() const;
  // The texture to draw, uploading the pending pixels first; main thread
  // only. Null when there is none or the upload failed.
  CPlatformTexture* Resolve(CPlatformRenderer& renderer);
  void Release();
};

// Empty: no cell. A cell holding null: a released texture.
using TextureHandle = std::shared_ptr<TextureCell>;
