#include "app/MainLoop.h"

#include "app/FrameStats.h"
#include "app/IState.h"
#include "app/LoadingFlag.h"
#include "app/Log.h"
#include "app/ScreenshotFile.h"
#include "app/StateManager.h"
#include "app/SteppedClock.h"
#include "app/Timer.h"
#include "audio/AudioManager.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "input/InputManager.h"
#include "platform/Events.h"
#include "platform/PlatformRenderer.h"
#include "platform/Video.h"

#include <cstdio>

namespace {

constexpr int kScreenshotKey = VK_F1 + 11;

}  // namespace

CMainLoop::CMainLoop(CDirect3D& d3d, CStateManager& stack, CTimer& frameTimer, CSteppedClock* clock,
                     MainLoopOptions loopOptions)
    : device(d3d),
      states(stack),
      timer(frameTimer),
      steppedClock(clock),
      options(std::move(loopOptions)) {}

void PrintDisplayLine(const char* what, const CDirect3D& device) {
  int width = 0;
  int height = 0;
  if (device.GetRenderer()) device.GetRenderer()->OutputSize(width, height);
  std::printf("Kuroshin: %s, output %dx%d, %s\n", what, width, height,
              device.IsFullScreen() && !IsHeadless() ? "full screen" : "windowed");
  std::fflush(stdout);
}

bool CMainLoop::Run() {
  accumulator.Reset();
  bool running = true;
  while (running) {
    PlatformEvent event;
    if (PollPlatformEvent(event)) {
      if (event.type == PlatformEventType::Quit) running = false;
      if (event.type == PlatformEventType::KeyDown && event.virtualKey == kScreenshotKey &&
          !event.repeat)
        screenshotAsked = true;
      if (event.type == PlatformEventType::RenderTargetsLost ||
          event.type == PlatformEventType::RenderDeviceLost)
        device.MarkDeviceLost();
      // The input manager plays the window procedure for everything else.
      if (CInputManager* input = CInputManager::GetInstance()) input->HandleEvent(event);
    } else if (device.NeedsReset() && !LoadingStateExists()) {
      device.Reset();
      if (!device.NeedsReset()) PrintDisplayLine("display reset", device);
    } else {
      RunFrame();
      if (options.frames != 0 && framesRendered >= options.frames) running = false;
      // Nothing left to show: the last state has gone.
      if (states.IsEmpty()) running = false;
    }
  }

  if (options.screenshot.empty()) return true;
  // Draw the final picture once more and keep it instead of presenting it.
  device.BeginFrame();
  if (IState* state = states.GetCurrentState()) state->Draw();
  std::string error;
  if (device.SaveFramePng(options.screenshot, &error)) return true;
  LogError("Could not write the screenshot " + options.screenshot + ": " + error);
  return false;
}

void CMainLoop::RunFrame() {
  if (steppedClock) steppedClock->Advance();
  timer.Tick();
  if (CTextureManager* textures = CTextureManager::GetInstance()) textures->CountFrame();

  accumulator.Advance(timer.DeltaSeconds(), [this](float step) {
    if (CInputManager* input = CInputManager::GetInstance()) input->Update();
    states.Update(step);
    if (options.stats) options.stats->Stepped();
  });

  // While a level loads, its worker thread owns the audio manager.
  if (!LoadingStateExists())
    if (CAudioManager* audio = CAudioManager::GetInstance()) audio->Update();

  device.BeginFrame();
  if (IState* state = states.GetCurrentState()) state->Draw();
  // Read before presenting: the window's picture is undefined after.
  if (screenshotAsked) SaveScreenshot();
  device.EndFrame();
  if (options.stats) options.stats->Presented();
  ++framesRendered;
}

void CMainLoop::SaveScreenshot() {
  screenshotAsked = false;
  std::string error;
  const std::string path = NextScreenshotPath(error);
  if (!path.empty() && device.SaveFramePng(path, &error)) {
    std::printf("Kuroshin: screenshot %s\n", path.c_str());
    std::fflush(stdout);
    return;
  }
  LogError("Could not save a screenshot: " + error);
}
