#include "progress/SaveTime.h"

#include <charconv>
#include <cmath>

#include "app/NumberText.h"

std::string FormatSaveTime(float seconds) {
  char text[64];
  auto result = std::to_chars(text, text + sizeof text, static_cast<double>(seconds),
                              std::chars_format::general, 6);
  return std::string(text, result.ptr);
}

bool ReadSaveTime(const std::string& text, float& seconds) {
  double value = 0.0;
  if (!ParseLeadingDouble(text, value)) return false;
  const float narrowed = static_cast<float>(value);
  if (!std::isfinite(narrowed)) return false;
  seconds = narrowed;
  return true;
}

float StoredSaveTime(float seconds) {
  float stored = seconds;
  ReadSaveTime(FormatSaveTime(seconds), stored);
  return stored;
}
