#include "frontend/MenuInput.h"

#include <cstdint>

#include "input/InputManager.h"

namespace {

constexpr int kKeyA = 0x41;
constexpr int kKeyD = 0x44;
constexpr int kKeyS = 0x53;
constexpr int kKeyW = 0x57;
constexpr std::int32_t kAxis = 500;

bool HatNewlyAt(const CInputManager& input, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  if (!input.HasJoystick()) return false;
  const std::uint32_t now = input.joyCurrent.rgdwPOV[0];
  return now != input.joyPrevious.rgdwPOV[0] && (now == a || now == b || now == c);
}

bool CrossesAbove(const CInputManager& input, std::int32_t JoyState::*axis) {
  return input.HasJoystick() && input.joyPrevious.*axis <= kAxis && input.joyCurrent.*axis > kAxis;
}

bool CrossesBelow(const CInputManager& input, std::int32_t JoyState::*axis) {
  return input.HasJoystick() && input.joyPrevious.*axis >= -kAxis &&
         input.joyCurrent.*axis < -kAxis;
}

}  // namespace

bool MenuDownPressed(const CInputManager& input) {
  return input.WasKeyPressed(kKeyS) || input.WasKeyPressed(VK_DOWN) ||
         CrossesAbove(input, &JoyState::lY) || HatNewlyAt(input, 13500, 18000, 22500);
}

bool MenuUpPressed(const CInputManager& input) {
  return input.WasKeyPressed(kKeyW) || input.WasKeyPressed(VK_UP) ||
         CrossesBelow(input, &JoyState::lY) || HatNewlyAt(input, 0, 4500, 31500);
}

bool MenuRightPressed(const CInputManager& input) {
  return input.WasKeyPressed(kKeyD) || input.WasKeyPressed(VK_RIGHT) ||
         CrossesAbove(input, &JoyState::lX) || HatNewlyAt(input, 9000, 13500, 4500);
}

bool MenuLeftPressed(const CInputManager& input) {
  return input.WasKeyPressed(kKeyA) || input.WasKeyPressed(VK_LEFT) ||
         CrossesBelow(input, &JoyState::lX) || HatNewlyAt(input, 27000, 31500, 22500);
}
