#include "platform/PlatformRenderer.h"

#include <SDL.h>

#include "platform/DecodedImage.h"
#include "platform/PlatformTexture.h"
#include "platform/PlatformWindow.h"

std::unique_ptr<CPlatformRenderer> CPlatformRenderer::Create(CPlatformWindow& window, bool vsync) {
  Uint32 flags = SDL_RENDERER_TARGETTEXTURE | (vsync ? SDL_RENDERER_PRESENTVSYNC : 0);
  SDL_Renderer* native = SDL_CreateRenderer(window.Native(), -1, flags);
  if (!native) return nullptr;
  SDL_SetRenderDrawBlendMode(native, SDL_BLENDMODE_NONE);
  return std::unique_ptr<CPlatformRenderer>(new CPlatformRenderer(native));
}

CPlatformRenderer::~CPlatformRenderer() { SDL_DestroyRenderer(renderer); }

bool CPlatformRenderer::SetVSync(bool on) { return SDL_RenderSetVSync(renderer, on ? 1 : 0) == 0; }

bool CPlatformRenderer::OutputSize(int& width, int& height) const {
  return SDL_GetRendererOutputSize(renderer, &width, &height) == 0;
}

std::string CPlatformRenderer::Name() const {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name) return "";
  return info.name;
}

bool CPlatformRenderer::SetTarget(CPlatformTexture* target) {
  return SDL_SetRenderTarget(renderer, target ? target->Native() : nullptr) == 0;
}

void CPlatformRenderer::Clear(std::uint32_t argb) {
  SDL_SetRenderDrawColor(renderer, (argb >> 16) & 0xff, (argb >> 8) & 0xff, argb & 0xff,
                         (argb >> 24) & 0xff);
  SDL_RenderClear(renderer);
}

void CPlatformRenderer::Copy(CPlatformTexture& texture, const Rect& destination) {
  SDL_Rect rect{destination.left, destination.top, destination.Width(), destination.Height()};
  // The copy replaces what is there; the virtual screen's alpha is not coverage.
  SDL_BlendMode previous;
  SDL_GetTextureBlendMode(texture.Native(), &previous);
  SDL_SetTextureBlendMode(texture.Native(), SDL_BLENDMODE_NONE);
  SDL_RenderCopy(renderer, texture.Native(), nullptr, &rect);
  SDL_SetTextureBlendMode(texture.Native(), previous);
}

void CPlatformRenderer::Present() { SDL_RenderPresent(renderer); }

std::unique_ptr<CDecodedImage> CPlatformRenderer::ReadTarget() {
  int width = 0;
  int height = 0;
  SDL_Texture* target = SDL_GetRenderTarget(renderer);
  if (target) {
    if (SDL_QueryTexture(target, nullptr, nullptr, &width, &height) != 0) return nullptr;
  } else if (!OutputSize(width, height)) {
    return nullptr;
  }
  std::unique_ptr<CDecodedImage> image = CDecodedImage::Filled(width, height, 0);
  if (!image) return nullptr;
  SDL_Surface* surface = image->Native();
  if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, surface->pixels,
                           surface->pitch) != 0)
    return nullptr;
  // What the player saw is opaque; the target's alpha is not coverage.
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                                 static_cast<std::size_t>(y) * surface->pitch);
    for (int x = 0; x < width; ++x) row[x] |= 0xff000000u;
  }
  return image;
}

bool CPlatformRenderer::SaveTargetPng(const std::string& path, std::string* error) {
  std::unique_ptr<CDecodedImage> image = ReadTarget();
  if (!image) {
    if (error) *error = "cannot read the picture back: " + std::string(SDL_GetError());
    return false;
  }
  return image->SavePng(path, error);
}
