#include "audio/ScreenGain.h"

#include <cmath>

#include "audio/AudioManager.h"

float ScreenGain(float screenX, float screenY, float* distance) {
  const float dx = 640.0f - screenX;
  const float dy = 512.0f - screenY;
  const float d = std::sqrt(dx * dx + dy * dy);
  if (distance) *distance = d;
  return d < 1280.0f ? 1.0f - d / 1280.0f : 0.0f;
}

void PlayAtScreenPoint(const char* file, float screenX, float screenY) {
  float distance = 0.0f;
  const float gain = ScreenGain(screenX, screenY, &distance);
  CAudioManager* audio = CAudioManager::GetInstance();
  if (audio && distance < 1280.0f) audio->PlaySound(file, false, gain);
}
