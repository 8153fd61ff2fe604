#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "app/Camera.h"
#include "app/IState.h"
#include "app/LevelStart.h"
#include "graphics/BitmapFont.h"
#include "input/PlayerController.h"
#include "input/ReplayController.h"

class CAchievementBanner;
class CLevel;
class CLevelFinishScreen;
class CParallaxBackground;
class CPlayer;
class CSound;

// Plays one level: the level, the hero and its recording controller, the
// camera, the background and the music, and the ghost of the best run on a
// silent level of its own. Stores the result and, on a new best time, the
// run; then shows the finish panel over the level.
class CGameState : public IState {
public:
  explicit CGameState(LevelStart start);
  ~CGameState() override;

  // Loads the level. False, with an error naming the level, when the map
  // does not load or has nothing to stand on, or anything else fails.
  bool Init() override;
  void Cleanup() override;
  void Pause() override;
  void Resume() override;
  // The level from its start; the ghost picks up a best run stored since.
  void Restart() override;
  bool Update(float seconds) override;
  void Draw() override;

  const std::string& GetLevelName() const { return start.level; }
  bool IsInitialised() const { return initialised; }
  bool IsFinished() const { return finished; }
  bool HasGhost() const { return ghostActive; }
  CLevel* GetLevel() const { return level.get(); }
  CPlayer* GetPlayer() const { return player.get(); }
  CPlayer* GetGhost() const { return ghostPlayer.get(); }
  CLevel* GetGhostLevel() const { return ghostLevel.get(); }
  CLevelFinishScreen* GetFinishScreen() const { return finishScreen.get(); }
  CAchievementBanner* GetBanner() const { return banner.get(); }
  const CPlayerController& GetPlayerController() const { return playerController; }
  CCamera& GetCamera() { return camera; }
  // Level key: directory and name of the map, as the save profile keys it.
  std::string LevelKey() const;

private:
  // The body of Restart; false when the level cannot be played.
  bool Begin();
  void Finish();
  void StopMusic();
  // Counts a death of the player's own hero and shows what it earned.
  void CountDeath();
  void Announce(const std::vector<std::size_t>& earned);
  IController* LiveController();

  LevelStart start;
  bool initialised = false;
  bool finished = false;
  bool showFps = false;
  bool trimTiles = false;
  CBitmapFont font;
  std::unique_ptr<CPlayer> player;
  std::unique_ptr<CLevel> level;
  CPlayerController playerController;
  // Drives the hero instead of the devices when a replay was given.
  CReplayController replaySource;
  bool replayed = false;
  std::unique_ptr<CParallaxBackground> background;
  CCamera camera;
  CSound* music = nullptr;
  bool ghostActive = false;
  std::unique_ptr<CPlayer> ghostPlayer;
  std::unique_ptr<CLevel> ghostLevel;
  CReplayController replayController;
  std::unique_ptr<CLevelFinishScreen> finishScreen;
  std::unique_ptr<CAchievementBanner> banner;
};
