#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/DisplayMode.h"

// What SIGINT and SIGTERM do once video is up. The game reads them as a
// request to quit: its loop ends and it shuts down as after any quit.
// Command-line tools read no events, so for them a caught signal would be
// lost; they keep the default action and end at once.
enum class StopSignals { QuitEvent, EndAtOnce };

// Video and event subsystem of the whole program. Headless runs use a video
// driver without a screen and a software renderer, so they need no display.
bool InitVideo(bool headless, StopSignals signals = StopSignals::QuitEvent);
void ShutdownVideo();
bool IsHeadless();

// The desktop size of the primary display; none without a real screen.
std::optional<DisplayMode> GetDesktopMode();
// The primary display's modes with four bytes per pixel, in the driver's order.
std::vector<DisplayMode> ListDisplayModes();

// Name of the video driver in use ("x11", "wayland", "dummy", ...).
std::string VideoDriverName();

void SetSystemCursorVisible(bool visible);
bool IsSystemCursorVisible();

// The last platform error, for log lines.
std::string PlatformError();
