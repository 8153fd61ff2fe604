#include "tools/feel/PlayerRig.h"

#include <filesystem>

#include "audio/AudioManager.h"

namespace fs = std::filesystem;

const char* const PlayerWorld::kMap = "Levels/Test/Player Test.tmx";

void PrepareGameDirectory(const std::string& dataDir, const std::string& testLevel) {
  const fs::path data = fs::absolute(dataDir);
  for (const char* folder : {"Graphics", "Values", "Audio"})
    if (!fs::exists(folder)) fs::create_directory_symlink(data / folder, folder);
  fs::create_directories("Levels/Test");
  fs::copy_file(testLevel, PlayerWorld::kMap, fs::copy_options::overwrite_existing);
}

PlayerWorld::PlayerWorld(bool withAudio, const std::string& map) {
  if (withAudio) audio = std::make_unique<CAudioManager>(true);
  level = std::make_unique<CLevel>(map, &camera);
  player = std::make_unique<CPlayer>();
  initialised = player->Init(&controller, level.get(), false);
  player->SetBounds({64.0f, 128.0f}, {level->GetWidthPixels() - 64.0f, level->GetHeightPixels()});
}

PlayerWorld::~PlayerWorld() {
  // The player's sound goes back before the audio manager.
  player.reset();
  level.reset();
}

bool PlayerWorld::Step() {
  const bool finished = player->Update(kStep);
  level->Update(kStep, false);
  hud.Update(kStep);
  return finished;
}

void PlayerWorld::Steps(int count) {
  for (int i = 0; i < count; ++i) Step();
}

int PlayerWorld::StepUntil(const std::function<bool()>& done, int limit) {
  for (int i = 0; i < limit; ++i) {
    if (done()) return i;
    Step();
  }
  return done() ? limit : -1;
}

void PlayerWorld::StandAt(float x, float floorY) {
  PlayerState& s = State();
  s.spawn = {x, floorY - 8.0f};
  s.position = s.spawn;
  s.velocity = {};
  // Lands again at the new place, whatever it stood on before.
  s.onGround = false;
  const std::uint8_t held = controller.held;
  const auto script = controller.script;
  controller.held = 0;
  controller.script = nullptr;
  StepUntil([&] { return !s.respawning && s.onGround && s.velocity.x == 0.0f; }, 600);
  // A jump still under way ends on a step on the ground without the command.
  Steps(2);
  controller.held = held;
  controller.script = script;
}
