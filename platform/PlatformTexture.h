#pragma once

#include <memory>

struct SDL_Texture;
class CDecodedImage;
class CPlatformRenderer;

// A texture that belongs to one renderer; it must be destroyed before it.
class CPlatformTexture {
public:
  // A texture the renderer can draw into; null on failure (see PlatformError).
  static std::unique_ptr<CPlatformTexture> CreateTarget(CPlatformRenderer& renderer, int width,
                                                        int height);
  // A texture with the image's pixels, sampled linearly when `smooth`, else
  // nearest (for textures only ever drawn at their own size); main thread
  // only.
  static std::unique_ptr<CPlatformTexture> CreateFromImage(CPlatformRenderer& renderer,
                                                           const CDecodedImage& image,
                                                           bool smooth = true);
  ~CPlatformTexture();
  CPlatformTexture(const CPlatformTexture&) = delete;
  CPlatformTexture& operator=(const CPlatformTexture&) = delete;

  int Width() const { return width; }
  int Height() const { return height; }
  SDL_Texture* Native() const { return texture; }

private:
  CPlatformTexture(SDL_Texture* native, int w, int h) : texture(native), width(w), height(h) {}
  SDL_Texture* texture;
  int width;
  int height;
};
