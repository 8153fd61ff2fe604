#include "platform/DecodedImage.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>

std::unique_ptr<CDecodedImage> CDecodedImage::Load(const std::string& path) {
  SDL_Surface* loaded = IMG_Load(path.c_str());
  if (!loaded) return nullptr;
  SDL_Surface* converted = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(loaded);
  if (!converted) return nullptr;
  if (converted->w <= 0 || converted->h <= 0) {
    SDL_SetError("image has no size");
    SDL_FreeSurface(converted);
    return nullptr;
  }
  return std::unique_ptr<CDecodedImage>(new CDecodedImage(converted));
}

std::unique_ptr<CDecodedImage> CDecodedImage::Filled(int width, int height, unsigned argb) {
  SDL_Surface* surface =
      SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return nullptr;
  SDL_FillRect(surface, nullptr, argb);
  return std::unique_ptr<CDecodedImage>(new CDecodedImage(surface));
}

CDecodedImage::~CDecodedImage() { SDL_FreeSurface(surface); }

int CDecodedImage::Width() const { return surface->w; }
int CDecodedImage::Height() const { return surface->h; }

unsigned CDecodedImage::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= surface->w || y >= surface->h) return 0;
  auto* row = static_cast<const std::uint8_t*>(surface->pixels) + y * surface->pitch;
  return reinterpret_cast<const std::uint32_t*>(row)[x];
}

void CDecodedImage::SetPixel(int x, int y, unsigned argb) {
  if (x < 0 || y < 0 || x >= surface->w || y >= surface->h) return;
  auto* row = static_cast<std::uint8_t*>(surface->pixels) + y * surface->pitch;
  reinterpret_cast<std::uint32_t*>(row)[x] = argb;
}

void CDecodedImage::Fill(const Rect& area, unsigned argb) {
  SDL_Rect rect{area.left, area.top, area.Width(), area.Height()};
  SDL_FillRect(surface, &rect, argb);
}

bool CDecodedImage::SavePng(const std::string& path) const {
  return IMG_SavePNG(surface, path.c_str()) == 0;
}
