#include "app/Entry.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>

#include "app/CommandLine.h"
#include "app/DataFolder.h"
#include "app/FrameStats.h"
#include "app/IngameHud.h"
#include "app/MainLoop.h"
#include "app/ProgramLog.h"
#include "app/SaveFolder.h"
#include "app/StateManager.h"
#include "app/SteppedClock.h"
#include "app/Timer.h"
#include "app/UserOptions.h"
#include "app/Version.h"
#include "audio/AudioManager.h"
#include "frontend/IntroState.h"
#include "frontend/LevelSelection.h"
#include "frontend/LoadingState.h"
#include "frontend/MenuState.h"
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
  CUserOptions* options = nullptr;

  // The state stack goes first: a level still loading is joined before
  // anything it uses is destroyed.
  ~Services() {
    delete states;
    delete options;
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
  // Answered before any file is opened: a question writes nothing.
  switch (FindInfoRequest(commandLine)) {
    case InfoRequest::Help:
      std::fputs(HelpText().c_str(), stdout);
      return 0;
    case InfoRequest::Version:
      std::printf("kuroshin %s\n", kVersionLabel);
      return 0;
    case InfoRequest::None:
      break;
  }
  LaunchOptions launch = ReadLaunchOptions(commandLine);

  // The game runs in its data folder, so every path in the data stays
  // relative to it; the files named on the command line are the player's
  // and are found from where the game was started.
  std::error_code noFolder;
  const std::string started = std::filesystem::current_path(noFolder).string();
  const std::optional<DataFolder> data =
      FindDataFolder(commandLine.Text("data"), started, ExecutablePath());
  if (!data || ::chdir(data->path.c_str()) != 0) {
    std::fputs("Could not find the game's data\n", stderr);
    return 1;
  }
  launch.screenshot = AgainstFolder(launch.screenshot, started);
  launch.replay = AgainstFolder(launch.replay, started);
  launch.input = AgainstFolder(launch.input, started);

  if (data->installed) {
    const std::optional<UserFolders> folders =
        InstalledUserFolders([](const char* name) { return std::getenv(name); });
    if (!folders) {
      std::fputs("Could not find the player's home folder\n", stderr);
      return 1;
    }
    UseUserFolders(*folders);
  }
  // A log that cannot be opened is lost silently, as ever; the game runs on.
  std::string noLogFolder;
  MakeUserFolder(CurrentUserFolders().state, noLogFolder);
  CProgramLog log(StateFolder());

  // The clocks outlive the timer that reads them.
  CSystemClock systemClock;
  CSteppedClock steppedClock;
  Services services;
  if (!InitVideo(launch.headless, StopSignals::QuitEvent)) {
    ShowMessageBox("Error", "Could not create window");
    return -1;
  }
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
  // Both read now, so a damaged one is noticed (and kept aside) at once.
  services.options = new CUserOptions();
  services.options->Load();
  services.progress->LoadStatistics();
  services.audio->SetCategoryEnabled(CAudioManager::MusicCategory, services.options->values.music);
  services.audio->SetCategoryEnabled(CAudioManager::EffectsCategory,
                                     services.options->values.effects);

  const StartDisplay display =
      ChooseStartDisplay(commandLine, services.options->values, launch.headless);
  std::optional<DisplayMode> desktop = GetDesktopMode();
  std::optional<WindowSize> screen;
  if (desktop) screen = WindowSize{desktop->width, desktop->height};
  const WindowSize size = SettleWindowSize(display.width, display.height, screen);

  CPlatformWindow* window = services.d3d->CreateMainWindow(size.width, size.height);
  if (!window) {
    ShowMessageBox("Error", "Could not create window");
    return -1;
  }
  if (!services.d3d->Init(window, size.width, size.height, display.fullScreen, display.vsync))
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

  // With a fixed step the loader is waited for, so frame N always shows the
  // same step of a level.
  CLoadingState::waitForEveryLoad = launch.fixedStep;
  if (launch.level.empty()) {
    services.states->PushState(new CIntroState);
  } else {
    // Past the menus, with the main menu underneath to come back to, on
    // the chapter of the level.
    auto* menu = new CMenuState;
    services.states->PushState(menu);
    if (auto* levels =
            dynamic_cast<CLevelSelection*>(menu->navigator.FindScreen("level_selection")))
      levels->ShowChapterOf(launch.level);
    auto* loading = new CLoadingState({launch.level, launch.replay, launch.input});
    loading->endGameOnFailure = true;
    services.states->PushState(loading);
  }

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
