#pragma once

#include <cstdint>
#include <memory>

#include "app/Singleton.h"
#include "input/JoyState.h"

class CGameController;
struct PlatformEvent;

// Windows virtual-key codes: the key arrays are indexed by them.
enum VirtualKey : std::uint8_t {
  VK_BACK = 0x08,
  VK_TAB = 0x09,
  VK_RETURN = 0x0D,
  VK_SHIFT = 0x10,
  VK_CONTROL = 0x11,
  VK_MENU = 0x12,  // Alt
  VK_PAUSE = 0x13,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_PRIOR = 0x21,
  VK_NEXT = 0x22,
  VK_END = 0x23,
  VK_HOME = 0x24,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_INSERT = 0x2D,
  VK_DELETE = 0x2E,
  VK_F1 = 0x70,
};

enum MouseButton { MOUSE_LEFT = 0, MOUSE_RIGHT, MOUSE_MIDDLE, MOUSE_X1, MOUSE_X2, MOUSE_BUTTONS };

// Keyboard, mouse and game-controller state of the current fixed step and
// the one before, so that readers can ask both "down" and "pressed in this
// step". Events fill the pending state as they arrive; Update() makes it the
// current state once per step. Program-wide.
class CInputManager : public Singleton<CInputManager> {
public:
  CInputManager();
  ~CInputManager();

  // Opens the first attached game controller; false (with the error logged)
  // when there is none or it cannot be set up. Later plugs are picked up.
  bool SetupJoystick();
  bool HasJoystick() const { return controller != nullptr; }

  // The window procedure: takes one event. Returns false when the event
  // asks the program to end.
  bool HandleEvent(const PlatformEvent& event);

  // Once per fixed step, before the states update.
  void Update();

  bool IsKeyDown(int vk) const { return keys[vk & 0xff] != 0; }
  bool WasKeyPressed(int vk) const { return keys[vk & 0xff] == 1 && keysPrevious[vk & 0xff] == 0; }
  bool IsButtonDown(int button) const;
  bool WasButtonPressed(int button) const;
  bool IsJoyButtonDown(int button) const;
  bool WasJoyButtonPressed(int button) const;

  std::uint8_t keys[256] = {};
  std::uint8_t keysPending[256] = {};
  std::uint8_t keysPrevious[256] = {};
  std::uint8_t buttons[MOUSE_BUTTONS] = {};
  int mouseX = 0;
  int mouseY = 0;
  int wheelTotal = 0;
  int mouseDX = 0;
  int mouseDY = 0;
  int wheelDelta = 0;
  std::uint8_t buttonsPending[MOUSE_BUTTONS] = {};
  int pendingDX = 0;
  int pendingDY = 0;
  int pendingWheel = 0;
  std::uint8_t buttonsPrevious[MOUSE_BUTTONS] = {};
  int previousX = 0;
  int previousY = 0;
  int previousWheelTotal = 0;
  int previousDX = 0;
  int previousDY = 0;
  int previousWheelDelta = 0;
  JoyState joyPrevious;
  JoyState joyCurrent;

private:
  void UpdateMousePosition();
  void ReleaseEverything();

  void PollJoystick();

  std::unique_ptr<CGameController> controller;
  // Pointer position in window pixels, from the latest motion event.
  float pointerX = 0.0f;
  float pointerY = 0.0f;
};
