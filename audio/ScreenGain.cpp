#include "audio/ScreenGain.h"

#include <cmath>

float ScreenGain(float screenX, float screenY, float* distance) {
  const float dx = 640.0f - screenX;
  const float dy = 512.0f - screenY;
  const float d = std::sqrt(dx * dx + dy * dy);
  if (distance) *distance = d;
  return d < 1280.0f ? 1.0f - d / 1280.0f : 0.0f;
}
