#pragma once

// Events the game reacts to, converted from the platform's at this edge.
enum class PlatformEventType {
  Other,              // taken and dropped
  Quit,               // the window was closed or a quit was requested
  RenderTargetsLost,  // render-target contents are gone; recreate them
  RenderDeviceLost,   // every texture is gone
};

struct PlatformEvent {
  PlatformEventType type = PlatformEventType::Other;
};

// Takes one pending event; false when none is waiting.
bool PollPlatformEvent(PlatformEvent& event);

// Asks the frame loop to end at its next pass; the window itself is closed at
// shutdown, after everything drawn with it. Safe from any thread.
void PostQuit();
