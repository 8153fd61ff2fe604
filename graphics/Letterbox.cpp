#include "graphics/Letterbox.h"

#include <cstdint>

Rect ComputeLetterbox(int width, int height) {
  const std::int64_t w = width;
  const std::int64_t h = height;
  if (w * 1024 >= h * 1280) {
    int destinationWidth = static_cast<int>(h * 1280 / 1024);
    int left = width / 2 - destinationWidth / 2;
    return {left, 0, left + destinationWidth, height};
  }
  // Narrower than 5:4 (a portrait desktop, say): fitting the height would
  // crop the sides, so fit the width.
  int destinationHeight = static_cast<int>(w * 1024 / 1280);
  int top = height / 2 - destinationHeight / 2;
  return {0, top, width, top + destinationHeight};
}
