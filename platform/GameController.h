#pragma once

#include <memory>

struct _SDL_GameController;

// What the game reads from a pad, in the platform's own units: sticks in
// -32768..32767 (y grows downwards), buttons and d-pad as pressed or not.
struct ControllerSnapshot {
  enum Button {
    A,
    B,
    X,
    Y,
    LeftShoulder,
    RightShoulder,
    Back,
    Start,
    LeftStick,
    RightStick,
    Count
  };
  int leftX = 0;
  int leftY = 0;
  bool up = false, down = false, left = false, right = false;
  bool buttons[Count] = {};
};

// One opened game controller.
class CGameController {
public:
  // Readies the controller subsystem; false when the platform has none.
  static bool InitSubsystem();
  // The first attached controller (from `firstIndex` on), or null.
  static std::unique_ptr<CGameController> OpenFirst(int firstIndex = 0);
  ~CGameController();
  CGameController(const CGameController&) = delete;
  CGameController& operator=(const CGameController&) = delete;

  // The platform's id of this controller, as removal events name it.
  int InstanceId() const { return instanceId; }
  // False once the controller was unplugged.
  bool Read(ControllerSnapshot& snapshot) const;

  // A controller made of software, for tests: attach, set, detach.
  static int AttachVirtual();
  static bool SetVirtualAxis(int device, int axis, int value);  // 0 left x, 1 left y
  static bool SetVirtualButton(int device, ControllerSnapshot::Button button, bool down);
  static bool SetVirtualDpad(int device, bool up, bool down, bool left, bool right);
  static bool DetachVirtual(int device);

private:
  CGameController(_SDL_GameController* native, int id) : controller(native), instanceId(id) {}
  _SDL_GameController* controller;
  int instanceId;
};
