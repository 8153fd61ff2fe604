#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/Camera.h"
#include "app/IngameHud.h"
#include "graphics/TextureManager.h"
#include "input/IController.h"
#include "level/Level.h"
#include "player/Player.h"

class CAudioManager;

// Commands from a test: a byte held until changed, or one from a script.
class ScriptedController : public IController {
public:
  void ReadInput() override {
    FromStepByte(script ? script(step) : held);
    ++step;
  }
  void Invalidate() override { invalid = true; }

  std::uint8_t held = 0;
  std::function<std::uint8_t(int)> script;
  int step = 0;
  bool invalid = false;
};

// The rooms of tests/levels/Player Test.tmx, in level pixels: the first and
// last column inside the walls, and the floor's top.
namespace room {
constexpr float kTile = 64.0f;
constexpr float kFloor = 14 * kTile;
constexpr float kFlatLeft = 2 * kTile, kFlatRight = 45 * kTile;
constexpr float kPitLeft = 47 * kTile, kPitGapLeft = 53 * kTile, kPitGapRight = 59 * kTile;
constexpr float kShaftLeft = 68 * kTile, kShaftInner = 72 * kTile, kShaftInnerRight = 74 * kTile;
constexpr float kTunnelLeft = 81 * kTile, kTunnelIn = 88 * kTile, kTunnelOut = 90 * kTile;
constexpr float kSlopesLeft = 112 * kTile;
constexpr float kCourseLeft = 143 * kTile;
}  // namespace room

// The services a player needs (decoding textures, the HUD, optionally
// silent audio), a level and a live player on it, stepped as the gameplay
// runs them. Works in a game directory such as PrepareGameDirectory makes.
class PlayerWorld {
public:
  static constexpr float kStep = 1.0f / 120.0f;
  static const char* const kMap;

  // In a prepared game directory.
  explicit PlayerWorld(bool withAudio = false, const std::string& map = kMap);
  ~PlayerWorld();

  // One fixed step as the gameplay state runs it: player, then level.
  bool Step();
  void Steps(int count);
  // Steps until `done` holds or `limit` steps have run; the steps taken, or
  // -1 at the limit.
  int StepUntil(const std::function<bool()>& done, int limit = 1200);
  // Puts the hero standing at (x, feet on the floor row), made the spawn
  // point, past its respawn animation and on the ground.
  void StandAt(float x, float floorY = room::kFloor);

  PlayerState& State() { return player->State(); }

  CTextureManager textures;
  CIngameHud hud;
  std::unique_ptr<CAudioManager> audio;
  CCamera camera;
  std::unique_ptr<CLevel> level;
  ScriptedController controller;
  std::unique_ptr<CPlayer> player;
  bool initialised = false;
};

// Makes the working directory a game directory for the test level: the
// Graphics, Values and Audio folders of `dataDir` linked in, `testLevel`
// copied to PlayerWorld::kMap.
void PrepareGameDirectory(const std::string& dataDir, const std::string& testLevel);
