#include "platform/Events.h"

#include <SDL.h>

#include <atomic>

#include "platform/KeyMap.h"

namespace {

std::atomic<bool> quitRequested{false};

// Window coordinates to the renderer's output pixels (they differ on
// high-density displays).
void ToOutputPixels(Uint32 windowId, int x, int y, PlatformEvent& event) {
  event.x = static_cast<float>(x);
  event.y = static_cast<float>(y);
  SDL_Window* window = SDL_GetWindowFromID(windowId);
  SDL_Renderer* renderer = window ? SDL_GetRenderer(window) : nullptr;
  int windowW = 0, windowH = 0, outputW = 0, outputH = 0;
  if (!renderer) return;
  SDL_GetWindowSize(window, &windowW, &windowH);
  if (SDL_GetRendererOutputSize(renderer, &outputW, &outputH) != 0 || windowW <= 0 || windowH <= 0)
    return;
  event.x = static_cast<float>(x) * static_cast<float>(outputW) / static_cast<float>(windowW);
  event.y = static_cast<float>(y) * static_cast<float>(outputH) / static_cast<float>(windowH);
}

int ButtonIndex(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return 0;
    case SDL_BUTTON_RIGHT:
      return 1;
    case SDL_BUTTON_MIDDLE:
      return 2;
    case SDL_BUTTON_X1:
      return 3;
    case SDL_BUTTON_X2:
      return 4;
    default:
      return -1;
  }
}

void Convert(const SDL_Event& in, PlatformEvent& event) {
  event = PlatformEvent();
  switch (in.type) {
    case SDL_QUIT:
      event.type = PlatformEventType::Quit;
      break;
    case SDL_RENDER_TARGETS_RESET:
      event.type = PlatformEventType::RenderTargetsLost;
      break;
    case SDL_RENDER_DEVICE_RESET:
      event.type = PlatformEventType::RenderDeviceLost;
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      event.type = in.type == SDL_KEYDOWN ? PlatformEventType::KeyDown : PlatformEventType::KeyUp;
      event.virtualKey = VirtualKeyFromScancode(in.key.keysym.scancode);
      event.altHeld = (in.key.keysym.mod & KMOD_ALT) != 0;
      event.repeat = in.key.repeat != 0;
      break;
    case SDL_MOUSEMOTION:
      event.type = PlatformEventType::MouseMotion;
      event.dx = in.motion.xrel;
      event.dy = in.motion.yrel;
      ToOutputPixels(in.motion.windowID, in.motion.x, in.motion.y, event);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      event.button = ButtonIndex(in.button.button);
      if (event.button < 0) break;
      event.type = in.type == SDL_MOUSEBUTTONDOWN ? PlatformEventType::MouseButtonDown
                                                  : PlatformEventType::MouseButtonUp;
      ToOutputPixels(in.button.windowID, in.button.x, in.button.y, event);
      break;
    case SDL_MOUSEWHEEL: {
      event.type = PlatformEventType::MouseWheel;
      int notches = in.wheel.y;
      if (in.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      event.wheel = notches * 120;
      break;
    }
    case SDL_WINDOWEVENT:
      if (in.window.event == SDL_WINDOWEVENT_FOCUS_LOST) event.type = PlatformEventType::FocusLost;
      break;
    case SDL_CONTROLLERDEVICEADDED:
      event.type = PlatformEventType::ControllerAdded;
      event.device = in.cdevice.which;  // a device index
      break;
    case SDL_CONTROLLERDEVICEREMOVED:
      event.type = PlatformEventType::ControllerRemoved;
      event.device = in.cdevice.which;  // an instance id
      break;
    default:
      break;
  }
}

}  // namespace

bool PollPlatformEvent(PlatformEvent& event) {
  if (quitRequested.exchange(false)) {
    event = PlatformEvent();
    event.type = PlatformEventType::Quit;
    return true;
  }
  SDL_Event sdlEvent;
  if (!SDL_PollEvent(&sdlEvent)) return false;
  Convert(sdlEvent, event);
  return true;
}

void PostQuit() { quitRequested = true; }
