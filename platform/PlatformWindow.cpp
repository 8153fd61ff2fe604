#include "platform/PlatformWindow.h"

#include <SDL.h>

std::unique_ptr<CPlatformWindow> CPlatformWindow::Create(const std::string& title, unsigned width,
                                                         unsigned height) {
  SDL_Window* native = SDL_CreateWindow(title.c_str(), 0, 0, static_cast<int>(width),
                                        static_cast<int>(height), SDL_WINDOW_SHOWN);
  if (!native) return nullptr;
  return std::unique_ptr<CPlatformWindow>(new CPlatformWindow(native));
}

CPlatformWindow::~CPlatformWindow() { SDL_DestroyWindow(window); }

bool CPlatformWindow::EnterFullScreen(unsigned width, unsigned height) {
  SDL_DisplayMode desktop;
  int display = SDL_GetWindowDisplayIndex(window);
  if (display < 0) display = 0;
  bool desktopSize = SDL_GetDesktopDisplayMode(display, &desktop) == 0 &&
                     static_cast<unsigned>(desktop.w) == width &&
                     static_cast<unsigned>(desktop.h) == height;
  if (desktopSize) return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;

  SDL_DisplayMode wanted{};
  wanted.w = static_cast<int>(width);
  wanted.h = static_cast<int>(height);
  wanted.refresh_rate = 60;
  SDL_DisplayMode closest;
  if (SDL_GetClosestDisplayMode(display, &wanted, &closest)) {
    if (SDL_SetWindowDisplayMode(window, &closest) != 0) return false;
  }
  return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0;
}

bool CPlatformWindow::EnterWindow(unsigned width, unsigned height) {
  if (SDL_SetWindowFullscreen(window, 0) != 0) return false;
  SDL_SetWindowBordered(window, SDL_TRUE);
  SDL_SetWindowSize(window, static_cast<int>(width), static_cast<int>(height));
  return true;
}
