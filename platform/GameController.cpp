#include "platform/GameController.h"

#include <SDL.h>

#include <map>

namespace {

// Virtual controllers stay open here so their values can be set.
std::map<int, SDL_Joystick*>& VirtualJoysticks() {
  static std::map<int, SDL_Joystick*> joysticks;
  return joysticks;
}

constexpr SDL_GameControllerButton kButtons[ControllerSnapshot::Count] = {
    SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_B,
    SDL_CONTROLLER_BUTTON_X,
    SDL_CONTROLLER_BUTTON_Y,
    SDL_CONTROLLER_BUTTON_LEFTSHOULDER,
    SDL_CONTROLLER_BUTTON_RIGHTSHOULDER,
    SDL_CONTROLLER_BUTTON_BACK,
    SDL_CONTROLLER_BUTTON_START,
    SDL_CONTROLLER_BUTTON_LEFTSTICK,
    SDL_CONTROLLER_BUTTON_RIGHTSTICK,
};

}  // namespace

bool CGameController::InitSubsystem() {
  if (SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return true;
  return SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
}

std::unique_ptr<CGameController> CGameController::OpenFirst(int firstIndex) {
  if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return nullptr;
  int count = SDL_NumJoysticks();
  for (int i = firstIndex < 0 ? 0 : firstIndex; i < count; ++i) {
    if (!SDL_IsGameController(i)) continue;
    SDL_GameController* native = SDL_GameControllerOpen(i);
    if (!native) continue;
    int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(native));
    return std::unique_ptr<CGameController>(new CGameController(native, id));
  }
  SDL_SetError("no game controller is attached");
  return nullptr;
}

CGameController::~CGameController() { SDL_GameControllerClose(controller); }

bool CGameController::Read(ControllerSnapshot& snapshot) const {
  snapshot = ControllerSnapshot();
  if (!SDL_GameControllerGetAttached(controller)) return false;
  SDL_GameControllerUpdate();
  snapshot.leftX = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
  snapshot.leftY = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
  snapshot.up = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_UP);
  snapshot.down = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  snapshot.left = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  snapshot.right = SDL_GameControllerGetButton(controller, SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  for (int b = 0; b < ControllerSnapshot::Count; ++b)
    snapshot.buttons[b] = SDL_GameControllerGetButton(controller, kButtons[b]) != 0;
  return true;
}

int CGameController::AttachVirtual() {
  if (!InitSubsystem()) return -1;
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX;
  desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  desc.name = "Kuroshin test pad";
  int index = SDL_JoystickAttachVirtualEx(&desc);
  if (index < 0) return -1;
  SDL_Joystick* joystick = SDL_JoystickOpen(index);
  if (!joystick) return -1;
  int id = SDL_JoystickInstanceID(joystick);
  VirtualJoysticks()[id] = joystick;
  return id;
}

static SDL_Joystick* FindVirtual(int device) {
  auto found = VirtualJoysticks().find(device);
  return found == VirtualJoysticks().end() ? nullptr : found->second;
}

bool CGameController::SetVirtualAxis(int device, int axis, int value) {
  SDL_Joystick* joystick = FindVirtual(device);
  return joystick &&
         SDL_JoystickSetVirtualAxis(
             joystick, axis == 0 ? SDL_CONTROLLER_AXIS_LEFTX : SDL_CONTROLLER_AXIS_LEFTY,
             static_cast<Sint16>(value)) == 0;
}

bool CGameController::SetVirtualButton(int device, ControllerSnapshot::Button button, bool down) {
  SDL_Joystick* joystick = FindVirtual(device);
  return joystick && SDL_JoystickSetVirtualButton(joystick, kButtons[button], down ? 1 : 0) == 0;
}

bool CGameController::SetVirtualDpad(int device, bool up, bool down, bool left, bool right) {
  SDL_Joystick* joystick = FindVirtual(device);
  if (!joystick) return false;
  SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_UP, up);
  SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_DOWN, down);
  SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, left);
  SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, right);
  return true;
}

bool CGameController::DetachVirtual(int device) {
  SDL_Joystick* joystick = FindVirtual(device);
  if (!joystick) return false;
  int index = -1;
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    if (SDL_JoystickGetDeviceInstanceID(i) == device) index = i;
  SDL_JoystickClose(joystick);
  VirtualJoysticks().erase(device);
  return index >= 0 && SDL_JoystickDetachVirtual(index) == 0;
}
