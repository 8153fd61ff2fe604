#pragma once

#include <cstdint>

// One poll of the game controller, laid out as the game reads it: axes in
// -1000..1000, hats in hundredths of degrees clockwise from up (0xFFFFFFFF
// centred), buttons pressed at 0x80. Buttons are numbered as on an
// Xbox-style pad: 0 A, 1 B, 2 X, 3 Y, 4 left shoulder, 5 right shoulder,
// 6 back, 7 start, 8 left stick, 9 right stick.
struct JoyState {
  static constexpr std::uint32_t kCentred = 0xFFFFFFFFu;

  std::int32_t lX = 0;
  std::int32_t lY = 0;
  std::int32_t lZ = 0;
  std::int32_t lRx = 0;
  std::int32_t lRy = 0;
  std::int32_t lRz = 0;
  std::int32_t rglSlider[2] = {0, 0};
  std::uint32_t rgdwPOV[4] = {kCentred, kCentred, kCentred, kCentred};
  std::uint8_t rgbButtons[128] = {};
};
