#include "app/Entry.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/CommandLine.h"
#include "app/FrameStats.h"
#include "app/IngameHud.h"
#include "app/MainLoop.h"
#include "app/StateManager.h"
#include "app/SteppedClock.h"
#include "app/Timer.h"
#include "audio/AudioManager.h"
#include "frontend/LoadingState.h"
#include "graphics/CursorSprite.h"
#include "graphics/Direct3D.h"
#include "graphics/Sprite.h"
#include "graphics/TextureManager.h"
#include "input/InputManager.h"
#include "platform/MessageBox.h"
#include "platform/PlatformRenderer.h"
#include "platform/SystemClock.h"
#include "platform/Video.h"
#include "progress/ProgressStore.h"

namespace {

// Played when no level is named, until the menus lead to the levels.
constexpr const char* kFirstLevel = "Levels/1 Tutorial/01 Dawn Path.tmx";

// The program-wide services, created and destroyed in a fixed order.
struct Services {
  CDirect3D* d3d = nullptr;
  CTextureManager* textures = nullptr;
  CStateManager* states = nullptr;
  CAudioManager* audio = nullptr;
  CInputManager* input = nullptr;
  CTimer* timer = nullptr;
  CProgressStore* progress = nullptr;
  CIngameHud* hud = nullptr;

  // The state stack goes first: a level still loading is joined before
  // anything it uses is destroyed.
  ~Services() {
    delete states;
    delete hud;
    delete progress;
    delete audio;
    delete input;
    delete textures;
    delete d3d;
    delete timer;
    ShutdownVideo();
  }
};

}  // namespace

int RunKuroshin(int argc, const char* const* argv) {
  CCommandLine commandLine(argc, argv);
  LaunchOptions launch = ReadLaunchOptions(commandLine);

  // The clocks outlive the timer that reads them.
  CSystemClock systemClock;
  CSteppedClock steppedClock;
  Services services;
  if (!InitVideo(launch.headless, StopSignals::QuitEvent)) {
    ShowMessageBox("Error", "Could not create window");
    return -1;
  }
  std::optional<DisplayMode> desktop = GetDesktopMode();
  std::optional<WindowSize> screen;
  if (desktop) screen = WindowSize{desktop->width, desktop->height};
  WindowSize size =
      SettleWindowSize(commandLine.RequestedWidth(), commandLine.RequestedHeight(), screen);

  services.d3d = new CDirect3D();
  services.textures = new CTextureManager();
  services.states = new CStateManager();
  // Without a sound device the game runs on silently.
  services.audio = new CAudioManager(launch.headless);
  services.input = new CInputManager();
  IClock& clock = launch.fixedStep ? static_cast<IClock&>(steppedClock) : systemClock;
  services.timer = new CTimer(clock);
  services.progress = new CProgressStore();
  services.hud = new CIngameHud();

  CPlatformWindow* window = services.d3d->CreateMainWindow(size.width, size.height);
  if (!window) {
    ShowMessageBox("Error", "Could not create window");
    return -1;
  }
  if (!services.d3d->Init(window, size.width, size.height, !launch.windowed, launch.vsync))
    return -1;
  PrintDisplayLine(
      ("video " + VideoDriverName() + ", renderer " + services.d3d->GetRenderer()->Name()).c_str(),
      *services.d3d);
  // Without a pad the game plays from the keyboard; a pad plugged in later
  // is picked up by the input manager.
  services.input->SetupJoystick();

  services.d3d->clearColour = 0xff000000;
  SetSystemCursorVisible(false);

  // Frame rates are real time even in fixed-step runs.
  services.textures->StartFrameCounter(systemClock);
  cursorSprite.Init(services.d3d);
  cursorSprite.SetTexture(1, 0, 0, 0, 0.0f,
                          services.textures->GetTexture("Graphics/Misc/ui_shuriken.png"));

  LevelStart start{launch.level, launch.replay, launch.input};
  std::error_code error;
  if (start.level.empty() && std::filesystem::is_regular_file(kFirstLevel, error))
    start.level = kFirstLevel;
  // With a fixed step the loader is waited for, so frame N always shows the
  // same step of the level.
  if (!start.level.empty())
    services.states->PushState(new CLoadingState(std::move(start), launch.fixedStep));

  services.timer->Tick();
  services.timer->Tick();
  CFrameStats stats(systemClock);
  MainLoopOptions loopOptions{launch.frames, launch.screenshot, launch.stats ? &stats : nullptr};
  CMainLoop loop(*services.d3d, *services.states, *services.timer,
                 launch.fixedStep ? &steppedClock : nullptr, loopOptions);
  const bool ran = loop.Run();
  if (launch.stats) {
    std::printf("%s\n", stats.Line().c_str());
    std::fflush(stdout);
  }
  // A level that could not be loaded, with nothing else to go back to.
  const bool levelFailed = services.states->IsEmpty() && CLoadingState::FailedLoads() > 0;
  return ran && !levelFailed ? 0 : 1;
}
