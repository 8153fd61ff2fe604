#include "platform/SystemClock.h"

#include <SDL.h>

std::int64_t CSystemClock::Counter() {
  return static_cast<std::int64_t>(SDL_GetPerformanceCounter());
}

std::int64_t CSystemClock::Frequency() {
  return static_cast<std::int64_t>(SDL_GetPerformanceFrequency());
}
