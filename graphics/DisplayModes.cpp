#include "graphics/DisplayModes.h"

std::vector<DisplayMode> DeduplicateDisplayModes(const std::vector<DisplayMode>& modes) {
  std::vector<DisplayMode> kept;
  unsigned lastWidth = 0;
  unsigned lastHeight = 0;
  for (const DisplayMode& mode : modes) {
    if (mode.width == lastWidth && mode.height == lastHeight) continue;
    kept.push_back(mode);
    lastWidth = mode.width;
    lastHeight = mode.height;
  }
  return kept;
}
