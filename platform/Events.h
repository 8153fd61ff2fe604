#pragma once

// Events the game reacts to, converted from the platform's at this edge.
enum class PlatformEventType {
  Other,              // taken and dropped
  Quit,               // the window was closed or a quit was requested
  RenderTargetsLost,  // render-target contents are gone; recreate them
  RenderDeviceLost,   // every texture is gone
  KeyDown,
  KeyUp,
  MouseMotion,
  MouseButtonDown,
  MouseButtonUp,
  MouseWheel,
  FocusLost,  // keys let go elsewhere never arrive
  ControllerAdded,
  ControllerRemoved,
};

struct PlatformEvent {
  PlatformEventType type = PlatformEventType::Other;
  int virtualKey = 0;    // keys: Windows virtual-key code, 0 when unknown
  bool altHeld = false;  // keys: an Alt key is down
  bool repeat = false;   // keys: auto-repeat
  int button = 0;        // mouse buttons: 0 left, 1 right, 2 middle, 3 and 4 the side ones
  int dx = 0;            // mouse motion: relative counts
  int dy = 0;
  float x = 0.0f;  // mouse: pointer in output pixels of the window
  float y = 0.0f;
  int wheel = 0;    // wheel: 120 per notch, positive away from the player
  int device = -1;  // controllers: the platform's device id
};

// Takes one pending event; false when none is waiting.
bool PollPlatformEvent(PlatformEvent& event);

// Asks the frame loop to end at its next pass; the window itself is closed at
// shutdown, after everything drawn with it. Safe from any thread.
void PostQuit();
