#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/Rect.h"

struct SDL_Surface;

// Pixels of an image file in memory, 32-bit ARGB. Decoding touches no
// renderer, so it may run on any thread (the level loader decodes here).
class CDecodedImage {
public:
  // PNG files are untrusted input (a broken download, a hostile map): these
  // bounds keep any file from taking long or taking much memory.
  static constexpr std::size_t kMaxFileBytes = std::size_t{64} << 20;
  static constexpr unsigned kMaxSide = 8192;
  static constexpr std::size_t kMaxPixelBytes = std::size_t{256} << 20;

  // Decodes a PNG file. Null when the file cannot be read, is not a PNG
  // within the bounds above or is damaged; `error`, when given, then says
  // why in a few words for the caller's log line.
  static std::unique_ptr<CDecodedImage> Load(const std::string& path, std::string* error = nullptr);
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
  // Writes an 8-bit RGBA PNG; on failure no partial file is left at `path`
  // and `error`, when given, says why.
  bool SavePng(const std::string& path, std::string* error = nullptr) const;
  SDL_Surface* Native() const { return surface; }

private:
  explicit CDecodedImage(SDL_Surface* native) : surface(native) {}
  SDL_Surface* surface;
};
