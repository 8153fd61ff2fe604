#include "app/MainLoop.h"

#include "app/IState.h"
#include "app/LoadingFlag.h"
#include "app/Log.h"
#include "app/StateManager.h"
#include "app/SteppedClock.h"
#include "app/Timer.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "platform/Events.h"

CMainLoop::CMainLoop(CDirect3D& d3d, CStateManager& stack, CTimer& frameTimer, CSteppedClock* clock,
                     MainLoopOptions loopOptions)
    : device(d3d),
      states(stack),
      timer(frameTimer),
      steppedClock(clock),
      options(std::move(loopOptions)) {}

bool CMainLoop::Run() {
  accumulator.Reset();
  bool running = true;
  while (running) {
    PlatformEvent event;
    if (PollPlatformEvent(event)) {
      switch (event.type) {
        case PlatformEventType::Quit:
          running = false;
          break;
        case PlatformEventType::RenderTargetsLost:
        case PlatformEventType::RenderDeviceLost:
          device.MarkDeviceLost();
          break;
        case PlatformEventType::Other:
          break;
      }
    } else if (device.NeedsReset() && !loadingStateExists) {
      device.Reset();
    } else {
      RunFrame();
      if (options.frames != 0 && framesRendered >= options.frames) running = false;
    }
  }

  if (options.screenshot.empty()) return true;
  // Draw the final picture once more and keep it instead of presenting it.
  device.BeginFrame();
  if (IState* state = states.GetCurrentState()) state->Draw();
  if (device.SaveFramePng(options.screenshot)) return true;
  LogError("Could not write the screenshot " + options.screenshot);
  return false;
}

void CMainLoop::RunFrame() {
  if (steppedClock) steppedClock->Advance();
  timer.Tick();
  if (CTextureManager* textures = CTextureManager::GetInstance()) textures->CountFrame();

  accumulator.Advance(timer.DeltaSeconds(), [this](float step) { states.Update(step); });

  device.BeginFrame();
  if (IState* state = states.GetCurrentState()) state->Draw();
  device.EndFrame();
  ++framesRendered;
}
