#include "platform/PlatformTexture.h"

#include <SDL.h>

#include "platform/DecodedImage.h"
#include "platform/PlatformRenderer.h"

std::unique_ptr<CPlatformTexture> CPlatformTexture::CreateTarget(CPlatformRenderer& renderer,
                                                                 int width, int height) {
  SDL_Texture* native = SDL_CreateTexture(renderer.Native(), SDL_PIXELFORMAT_ARGB8888,
                                          SDL_TEXTUREACCESS_TARGET, width, height);
  if (!native) return nullptr;
  SDL_SetTextureScaleMode(native, SDL_ScaleModeLinear);
  SDL_SetTextureBlendMode(native, SDL_BLENDMODE_BLEND);
  return std::unique_ptr<CPlatformTexture>(new CPlatformTexture(native, width, height));
}

CPlatformTexture::~CPlatformTexture() { SDL_DestroyTexture(texture); }

std::unique_ptr<CPlatformTexture> CPlatformTexture::CreateFromImage(CPlatformRenderer& renderer,
                                                                    const CDecodedImage& image,
                                                                    bool smooth) {
  SDL_Texture* native = SDL_CreateTextureFromSurface(renderer.Native(), image.Native());
  if (!native) return nullptr;
  SDL_SetTextureScaleMode(native, smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  SDL_SetTextureBlendMode(native, SDL_BLENDMODE_BLEND);
  return std::unique_ptr<CPlatformTexture>(
      new CPlatformTexture(native, image.Width(), image.Height()));
}
