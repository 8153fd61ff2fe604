#include "tools/verify/RunCheck.h"

#include <sys/stat.h>

#include "level/Level.h"
#include "player/Player.h"

namespace {

constexpr float kStep = 1.0f / 120.0f;

}  // namespace

CRunCheck::CRunCheck() = default;

CRunCheck::~CRunCheck() {
  player.reset();
  level.reset();
}

bool CRunCheck::Load(const std::string& levelPath, const std::string& replayPath,
                     std::string& error) {
  struct stat info;
  if (stat(replayPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    error = replayPath + ": no readable replay file";
    return false;
  }
  if (info.st_size > kMaxReplayBytes) {
    error = replayPath + ": " + std::to_string(info.st_size) +
            " bytes, more than a replay holds (" + std::to_string(kMaxReplayBytes) + ")";
    return false;
  }
  if (!replay.Load(replayPath)) {
    error = replayPath + ": the replay cannot be read";
    return false;
  }
  level = std::make_unique<CLevel>(&camera);
  if (!level->Load(levelPath) || !level->GetCollisionLayer()) {
    error = levelPath + ": the level cannot be loaded (see log.txt)";
    return false;
  }
  // As the gameplay state starts a level.
  hud.scrollCollected = false;
  hud.timerRunning = false;
  hud.time = 0.0f;
  player = std::make_unique<CPlayer>();
  if (!player->Init(&replay, level.get(), false)) {
    error = levelPath + ": the hero cannot be set up (see log.txt)";
    return false;
  }
  player->SetBounds({64.0f, 128.0f}, {level->GetWidthPixels() - 64.0f, level->GetHeightPixels()});
  camera.maxX = level->GetWidthPixels() - CCamera::kHalfWidth;
  camera.maxY = level->GetHeightPixels() - CCamera::kHalfHeight;
  return true;
}

CRunCheck::Result CRunCheck::Run() {
  Result result;
  if (!player) return result;
  const PlayerState& state = player->State();
  const int steps = static_cast<int>(replay.frames.size());
  bool wasDead = false;
  // The gameplay state's order: hero, level, camera, run timer.
  for (int i = 0; i < steps; ++i) {
    const bool completed = player->Update(kStep);
    ++result.steps;
    if (state.dead && !wasDead) ++result.deaths;
    wasDead = state.dead;
    if (completed) {
      result.completed = true;
      result.time = hud.time;
      result.scroll = hud.scrollCollected;
      return result;
    }
    level->Update(kStep, false);
    const Vector2 target = player->CameraTarget();
    camera.Update(kStep, target.x, target.y);
    hud.Update(kStep);
  }
  result.time = hud.time;
  result.scroll = hud.scrollCollected;
  return result;
}
