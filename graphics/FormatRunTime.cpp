#include "graphics/FormatRunTime.h"

#include <cmath>

namespace {

void AppendDigits(std::string& out, int value, int width) {
  char digits[8];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value > 0 && count < 8);
  for (int i = count; i < width; ++i) out += '0';
  while (count > 0) out += digits[--count];
}

}  // namespace

std::string FormatRunTime(float seconds) {
  // Clamped while still a float: converting a huge or NaN time to int would
  // be undefined. Below 1000 the fraction times 100 stays under 100 in float.
  if (!(seconds >= 0.0f)) seconds = 0.0f;
  int whole = 999;
  int hundredths = 99;
  if (seconds < 1000.0f) {
    whole = static_cast<int>(std::floor(seconds));
    hundredths = static_cast<int>(std::floor((seconds - static_cast<float>(whole)) * 100.0f));
  }
  std::string out;
  out.reserve(6);
  AppendDigits(out, whole, 3);
  out += '.';
  AppendDigits(out, hundredths, 2);
  return out;
}
