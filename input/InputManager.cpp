#include "input/InputManager.h"

#include <algorithm>
#include <cstring>

#include "app/Log.h"
#include "graphics/Direct3D.h"
#include "platform/Events.h"
#include "platform/GameController.h"

CInputManager::CInputManager() = default;

CInputManager::~CInputManager() { controller.reset(); }

bool CInputManager::SetupJoystick() {
  if (!CGameController::InitSubsystem()) {
    LogError("Could not enumerate input devices.");
    return false;
  }
  controller = CGameController::OpenFirst();
  if (!controller) {
    LogError("Could not create DirectInput device.");
    return false;
  }
  return true;
}

bool CInputManager::HandleEvent(const PlatformEvent& event) {
  switch (event.type) {
    case PlatformEventType::Quit:
      return false;
    case PlatformEventType::KeyDown:
      if (event.virtualKey == 0) break;
      // With Alt held keys are system keys: never entered. Alt+Enter toggles
      // full screen once per press, not on every auto-repeat.
      if (event.altHeld || event.virtualKey == VK_MENU) {
        if (event.virtualKey == VK_RETURN && !event.repeat) {
          if (CDirect3D* d3d = CDirect3D::GetInstance()) d3d->SetFullScreen(!d3d->IsFullScreen());
        }
        break;
      }
      keysPending[event.virtualKey] = 1;
      break;
    case PlatformEventType::KeyUp:
      // Applied even with Alt held, or a key let go during Alt stays down.
      if (event.virtualKey != 0) keysPending[event.virtualKey] = 0;
      break;
    case PlatformEventType::MouseMotion:
      pendingDX += event.dx;
      pendingDY += event.dy;
      pointerX = event.x;
      pointerY = event.y;
      break;
    case PlatformEventType::MouseButtonDown:
    case PlatformEventType::MouseButtonUp:
      if (event.button >= 0 && event.button < MOUSE_BUTTONS)
        buttonsPending[event.button] = event.type == PlatformEventType::MouseButtonDown ? 1 : 0;
      pointerX = event.x;
      pointerY = event.y;
      break;
    case PlatformEventType::MouseWheel:
      pendingWheel += event.wheel;
      break;
    case PlatformEventType::FocusLost:
      ReleaseEverything();
      break;
    case PlatformEventType::ControllerAdded:
      if (!controller && CGameController::InitSubsystem())
        controller = CGameController::OpenFirst(event.device);
      break;
    case PlatformEventType::ControllerRemoved:
      if (controller && controller->InstanceId() == event.device) {
        controller.reset();
        joyCurrent = JoyState();
        controller = CGameController::OpenFirst();  // another pad may still be there
      }
      break;
    default:
      break;
  }
  return true;
}

void CInputManager::ReleaseEverything() {
  std::memset(keysPending, 0, sizeof keysPending);
  std::memset(buttonsPending, 0, sizeof buttonsPending);
}

void CInputManager::Update() {
  std::memcpy(keysPrevious, keys, sizeof keys);
  std::memcpy(keys, keysPending, sizeof keys);
  std::memcpy(buttonsPrevious, buttons, sizeof buttons);
  std::memcpy(buttons, buttonsPending, sizeof buttons);

  previousX = mouseX;
  previousY = mouseY;
  previousDX = mouseDX;
  previousDY = mouseDY;
  previousWheelDelta = wheelDelta;
  previousWheelTotal = wheelTotal;

  mouseDX = pendingDX;
  mouseDY = pendingDY;
  wheelDelta = pendingWheel;
  wheelTotal += pendingWheel;
  pendingDX = pendingDY = pendingWheel = 0;

  UpdateMousePosition();
  PollJoystick();
}

void CInputManager::UpdateMousePosition() {
  CDirect3D* d3d = CDirect3D::GetInstance();
  if (!d3d) return;
  const Rect& box = d3d->GetLetterbox();
  if (box.Width() <= 0 || box.Height() <= 0) return;
  // In floating point: whole-number division would give 0 for every pixel.
  mouseX = static_cast<int>((pointerX - static_cast<float>(box.left)) /
                            static_cast<float>(box.Width()) * 1280.0f);
  mouseY = static_cast<int>((pointerY - static_cast<float>(box.top)) /
                            static_cast<float>(box.Height()) * 1024.0f);
}

void CInputManager::PollJoystick() {
  if (!controller) return;
  joyPrevious = joyCurrent;
  ControllerSnapshot pad;
  if (!controller->Read(pad)) {
    // Unplugged: the character must not keep running on its last input.
    controller.reset();
    joyCurrent = JoyState();
    return;
  }
  auto axis = [](int value) { return std::clamp(value * 1000 / 32767, -1000, 1000); };
  joyCurrent.lX = axis(pad.leftX);
  joyCurrent.lY = axis(pad.leftY);
  // Hundredths of degrees clockwise from up; opposite directions cancel.
  int dx = (pad.right ? 1 : 0) - (pad.left ? 1 : 0);
  int dy = (pad.down ? 1 : 0) - (pad.up ? 1 : 0);
  static constexpr std::uint32_t kPov[3][3] = {
      {31500, 0, 4500}, {27000, JoyState::kCentred, 9000}, {22500, 18000, 13500}};
  joyCurrent.rgdwPOV[0] = kPov[dy + 1][dx + 1];
  for (int b = 0; b < ControllerSnapshot::Count; ++b)
    joyCurrent.rgbButtons[b] = pad.buttons[b] ? 0x80 : 0;
}

bool CInputManager::IsButtonDown(int button) const {
  return button >= 0 && button < MOUSE_BUTTONS && buttons[button] != 0;
}

bool CInputManager::WasButtonPressed(int button) const {
  return IsButtonDown(button) && buttons[button] == 1 && buttonsPrevious[button] == 0;
}

bool CInputManager::IsJoyButtonDown(int button) const {
  return button >= 0 && button < 128 && joyCurrent.rgbButtons[button] != 0;
}

bool CInputManager::WasJoyButtonPressed(int button) const {
  return IsJoyButtonDown(button) && joyPrevious.rgbButtons[button] == 0;
}
