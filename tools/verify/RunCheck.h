#pragma once

#include <memory>
#include <string>

#include "app/Camera.h"
#include "app/IngameHud.h"
#include "graphics/TextureManager.h"
#include "input/ReplayController.h"

class CLevel;
class CPlayer;

// Plays a recorded run on its level without a window or sound, with the
// game's own level, hero and replay code, as fast as the machine allows.
class CRunCheck {
public:
  // Replays longer than this are no run of a level.
  static constexpr long long kMaxReplayBytes = 1200000;

  struct Result {
    bool completed = false;
    int steps = 0;      // simulated, the completing step included
    float time = 0.0f;  // the run timer as the HUD holds it
    int deaths = 0;
    bool scroll = false;
  };

  CRunCheck();
  ~CRunCheck();

  // Reads the replay and loads the level with its hero. False, with the
  // reason (naming the file) in `error`, when either cannot be read.
  bool Load(const std::string& levelPath, const std::string& replayPath, std::string& error);
  // Steps until the run completes the level or its commands run out.
  Result Run();

private:
  CTextureManager textures;
  CIngameHud hud;
  CCamera camera;
  CReplayController replay;
  std::unique_ptr<CLevel> level;
  std::unique_ptr<CPlayer> player;
};
