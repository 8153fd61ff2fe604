#pragma once

#include <cstdint>
#include <string>

#include "app/FixedStepAccumulator.h"

class CDirect3D;
class CFrameStats;
class CStateManager;
class CSteppedClock;
class CTimer;

struct MainLoopOptions {
  std::uint64_t frames = 0;      // end after this many rendered frames; 0 = until quit
  std::string screenshot;        // written after the last frame when not empty
  CFrameStats* stats = nullptr;  // told of every present and every step when given
};

// "Kuroshin: <what>, output WxH, full screen|windowed" on standard output,
// for whoever watches the game from outside (tests, scripts).
void PrintDisplayLine(const char* what, const CDirect3D& device);

// The message pump and frame loop. Each pass does exactly one thing: handle
// one pending event, or reset the device, or run one frame (whole update
// steps of 1/120 s, then drawing). It ends on a quit request, after the
// frames asked for, or when the state stack has become empty. F12 saves the
// next frame drawn as a numbered picture in "Screenshots".
class CMainLoop {
public:
  // `steppedClock`, when given, is the timer's clock and advances one update
  // step per frame.
  CMainLoop(CDirect3D& device, CStateManager& states, CTimer& timer, CSteppedClock* steppedClock,
            MainLoopOptions options);

  // Returns false when the run ended normally but its screenshot could not be
  // written.
  bool Run();

  std::uint64_t FramesRendered() const { return framesRendered; }

private:
  void RunFrame();
  // The screenshot key's picture of the frame just drawn.
  void SaveScreenshot();

  CDirect3D& device;
  CStateManager& states;
  CTimer& timer;
  CSteppedClock* steppedClock;
  MainLoopOptions options;
  CFixedStepAccumulator accumulator;
  std::uint64_t framesRendered = 0;
  bool screenshotAsked = false;
};
