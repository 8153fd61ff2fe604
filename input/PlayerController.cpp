#include "input/PlayerController.h"

#include "app/AtomicFile.h"
#include "app/Log.h"
#include "input/InputManager.h"

namespace {

constexpr int kKeyA = 0x41;
constexpr int kKeyD = 0x44;
constexpr int kKeyS = 0x53;
constexpr int kKeyW = 0x57;

constexpr std::int32_t kStickDirection = 500;
// Crouching needs the stick pushed well down, so a diagonal while running
// does not slide by accident.
constexpr std::int32_t kStickCrouch = 900;

bool HatIs(std::uint32_t hat, std::uint32_t a, std::uint32_t b, std::uint32_t c) {
  return hat == a || hat == b || hat == c;
}

}  // namespace

CPlayerController::CPlayerController() { record.reserve(kReservedSteps); }

void CPlayerController::ReadInput() {
  const CInputManager* input = CInputManager::GetInstance();
  if (feeding) {
    FromStepByte(fedPosition < fed.size() ? fed[fedPosition] : 0);
    ++fedPosition;
    record.push_back(ToStepByte());
  } else if (input) {
    ReadFrom(*input, input->HasJoystick());
  } else {
    direction = 0;
    jump = sprint = crouch = false;
    record.push_back(ToStepByte());
  }
}

void CPlayerController::ReadFrom(const CInputManager& input, bool joystickAttached) {
  auto down = [&input](int vk) { return input.keys[vk] != 0; };
  const JoyState& joy = input.joyCurrent;
  auto button = [&joy](int b) { return joy.rgbButtons[b] != 0; };
  const std::uint32_t hat = joystickAttached ? joy.rgdwPOV[0] : JoyState::kCentred;

  // Left is tested first so that holding both never cancels out.
  if (down(VK_LEFT) || down(kKeyA) || joy.lX < -kStickDirection ||
      HatIs(hat, 22500, 27000, 31500)) {
    direction = -1;
  } else if (down(VK_RIGHT) || down(kKeyD) || joy.lX > kStickDirection ||
             HatIs(hat, 4500, 9000, 13500)) {
    direction = 1;
  } else {
    direction = 0;
  }
  sprint = down(VK_SHIFT) || button(2);
  jump = down(VK_SPACE) || down(kKeyW) || down(VK_UP) || button(0);
  crouch = down(VK_CONTROL) || down(kKeyS) || down(VK_DOWN) || joy.lY > kStickCrouch ||
           HatIs(hat, 13500, 18000, 22500) || button(1);

  record.push_back(ToStepByte());
}

void CPlayerController::Clear() {
  record.clear();
  invalid = false;
  fedPosition = 0;
}

void CPlayerController::Feed(std::vector<std::uint8_t> steps) {
  feeding = !steps.empty();
  fed = std::move(steps);
  fedPosition = 0;
}

bool CPlayerController::Save(const std::string& path) const {
  if (invalid) return false;
  std::string error;
  if (WriteFileAtomically(path, std::string(record.begin(), record.end()), error)) return true;
  LogWarning("Could not save replay " + path + ": " + error);
  return false;
}
