#include "app/Camera.h"

#include <cstdlib>

namespace {

constexpr float kScreenHeight = 2.0f * CCamera::kHalfHeight;

// Truncation toward zero as a cast does it, kept defined for amplitudes no
// screen could show (and NaN).
int Truncate(float value) {
  constexpr float kLimit = 1.0e8f;
  if (!(value > -kLimit)) return value < 0.0f ? -static_cast<int>(kLimit) : 0;
  if (value > kLimit) return static_cast<int>(kLimit);
  return static_cast<int>(value);
}

// Somewhere in [-amplitude, amplitude) on the integer steps.
float ShakeOffset(float amplitude, CRandom& random) {
  int low = Truncate(-amplitude);
  int high = Truncate(amplitude);
  if (high == low) return amplitude;
  return -amplitude + static_cast<float>(random.Next() % (high - low));
}

// A level smaller than the screen stays centred rather than flipping between
// its two limits.
float Clamp(float value, float low, float high) {
  if (high < low) return (low + high) * 0.5f;
  if (low > value) return low;
  if (value > high) return high;
  return value;
}

}  // namespace

void CCamera::Update(float seconds, float targetX, float targetY) {
  x = targetX;

  float topEdge = deadZoneTop * kScreenHeight + (y - kHalfHeight);
  if (topEdge > targetY) {
    y -= topEdge - targetY;
  } else {
    float bottomEdge = y + deadZoneBottom * kScreenHeight - kHalfHeight;
    if (targetY > bottomEdge) y += targetY - bottomEdge;
  }

  if (shakeTime > 0.0f) {
    offsetX = ShakeOffset(shakeX, random);
    offsetY = ShakeOffset(shakeY, random);
    shakeTime -= seconds;
  } else {
    offsetX = 0.0f;
    offsetY = 0.0f;
  }

  x = Clamp(x, minX, maxX);
  y = Clamp(y, minY, maxY);
}

void CCamera::SetLevelSize(float width, float height) {
  maxX = width - kHalfWidth;
  maxY = height - kHalfHeight;
}
