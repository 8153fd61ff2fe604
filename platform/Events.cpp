#include "platform/Events.h"

#include <SDL.h>

#include <atomic>

namespace {
std::atomic<bool> quitRequested{false};
}

bool PollPlatformEvent(PlatformEvent& event) {
  if (quitRequested.exchange(false)) {
    event.type = PlatformEventType::Quit;
    return true;
  }
  SDL_Event sdlEvent;
  if (!SDL_PollEvent(&sdlEvent)) return false;
  switch (sdlEvent.type) {
    case SDL_QUIT:
      event.type = PlatformEventType::Quit;
      break;
    case SDL_RENDER_TARGETS_RESET:
      event.type = PlatformEventType::RenderTargetsLost;
      break;
    case SDL_RENDER_DEVICE_RESET:
      event.type = PlatformEventType::RenderDeviceLost;
      break;
    default:
      event.type = PlatformEventType::Other;
      break;
  }
  return true;
}

void PostQuit() { quitRequested = true; }
