#pragma once

#include <memory>
#include <string>

#include "platform/Rect.h"

struct SDL_Surface;

// Pixels of an image file in memory, 32-bit ARGB. Decoding touches no
// renderer, so it may run on any thread (the level loader decodes here).
class CDecodedImage {
public:
  // Null when the file cannot be read or decoded (see PlatformError).
  static std::unique_ptr<CDecodedImage> Load(const std::string& path);
  // A blank image of one colour, for tests and generated textures.
  static std::unique_ptr<CDecodedImage> Filled(int width, int height, unsigned argb);
  ~CDecodedImage();
  CDecodedImage(const CDecodedImage&) = delete;
  CDecodedImage& operator=(const CDecodedImage&) = delete;

  int Width() const;
  int Height() const;
  // ARGB at a pixel; 0 outside the image.
  unsigned Pixel(int x, int y) const;
  void SetPixel(int x, int y, unsigned argb);
  // Fills a rectangle (clipped to the image).
  void Fill(const Rect& area, unsigned argb);
  bool SavePng(const std::string& path) const;
  SDL_Surface* Native() const { return surface; }

private:
  explicit CDecodedImage(SDL_Surface* native) : surface(native) {}
  SDL_Surface* surface;
};
