#pragma once

#include <memory>
#include <string>

struct SDL_Window;

// The game's one window.
class CPlatformWindow {
public:
  // Null (with the reason in PlatformError) when the window cannot be made.
  static std::unique_ptr<CPlatformWindow> Create(const std::string& title, unsigned width,
                                                 unsigned height);
  ~CPlatformWindow();
  CPlatformWindow(const CPlatformWindow&) = delete;
  CPlatformWindow& operator=(const CPlatformWindow&) = delete;

  // Exclusive full screen at width x height; at the desktop's own size, full
  // screen without a mode switch. The result may come out at another size
  // (the desktop's): ask the renderer for the real output size.
  bool EnterFullScreen(unsigned width, unsigned height);
  // A framed window whose client area is width x height.
  bool EnterWindow(unsigned width, unsigned height);

  SDL_Window* Native() const { return window; }

private:
  explicit CPlatformWindow(SDL_Window* native) : window(native) {}
  SDL_Window* window;
};
