#include "platform/Video.h"

#include <SDL.h>

namespace {
bool headlessRun = false;
bool videoUp = false;
}  // namespace

bool InitVideo(bool headless, StopSignals signals) {
  headlessRun = headless;
  if (headless) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
  }
  // Naming a render driver switches SDL's draw batching off unless asked for.
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  // The game shows its own cursor sprite and handles closing itself.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  // Hints outlive SDL_Quit, so each start says which handling it wants.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, signals == StopSignals::EndAtOnce ? "1" : "0");
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) return false;
  videoUp = true;
  return true;
}

void ShutdownVideo() {
  if (!videoUp) return;
  SDL_Quit();
  videoUp = false;
}

bool IsHeadless() { return headlessRun; }

std::optional<DisplayMode> GetDesktopMode() {
  if (headlessRun) return std::nullopt;
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return std::nullopt;
  return DisplayMode{static_cast<unsigned>(mode.w), static_cast<unsigned>(mode.h),
                     static_cast<unsigned>(mode.refresh_rate), mode.format};
}

std::vector<DisplayMode> ListDisplayModes() {
  std::vector<DisplayMode> modes;
  int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(0, i, &mode) != 0) continue;
    // XRGB8888 reports 24 bits per pixel but occupies four bytes.
    if (SDL_BYTESPERPIXEL(mode.format) != 4) continue;
    modes.push_back({static_cast<unsigned>(mode.w), static_cast<unsigned>(mode.h),
                     static_cast<unsigned>(mode.refresh_rate), mode.format});
  }
  return modes;
}

std::string VideoDriverName() {
  const char* name = SDL_GetCurrentVideoDriver();
  return name ? name : "";
}

void SetSystemCursorVisible(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

bool IsSystemCursorVisible() { return SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE; }

std::string PlatformError() { return SDL_GetError(); }
