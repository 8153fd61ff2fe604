#include "platform/MessageBox.h"

#include <SDL.h>

#include <cstdio>

void ShowMessageBox(const std::string& caption, const std::string& text, MessageBoxIcon icon) {
  Uint32 flags = icon == MessageBoxIcon::Warning ? SDL_MESSAGEBOX_WARNING
                 : icon == MessageBoxIcon::Error ? SDL_MESSAGEBOX_ERROR
                                                 : SDL_MESSAGEBOX_INFORMATION;
  // The dummy driver "shows" boxes nobody can see; treat it as no display.
  // A headless run may still have a DISPLAY; a modal box there would hang it.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* hint = SDL_GetHint(SDL_HINT_VIDEODRIVER);
  bool dummy =
      (driver && SDL_strcmp(driver, "dummy") == 0) || (hint && SDL_strcmp(hint, "dummy") == 0);
  if (dummy || SDL_ShowSimpleMessageBox(flags, caption.c_str(), text.c_str(), nullptr) != 0)
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}
