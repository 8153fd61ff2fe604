// Checkpoints and scrolls in a level, driven by a stand-in for the player's
// calls: activation once, the lit-from-start checkpoint, the respawn point,
// the scroll's bobbing, and a scroll lost by dying before a checkpoint but
// kept after one.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>

#include "app/Camera.h"
#include "graphics/TextureManager.h"
#include "level/Level.h"
#include "objects/Checkpoint.h"
#include "objects/Scroll.h"
#include "tests/support/GameData.h"
#include "tests/support/TestMaps.h"

namespace {

constexpr float kStep = 1.0f / 120;

// What the player does with checkpoints and scrolls each step, and when it
// dies, until the player exists.
struct PlayerStandIn {
  explicit PlayerStandIn(CLevel& world) : level(world) {}

  void Touch(const CHitBox& box) {
    CMovableObject* found = level.FindCollidingObject(box, "checkpoint", nullptr);
    if (auto* checkpoint = dynamic_cast<CCheckpoint*>(found)) {
      if (picked) secured = true;
      checkpoint->SetActive(true);
      spawnX = checkpoint->RespawnX();
      spawnY = checkpoint->RespawnY();
      if (CMovableObject* scroll = level.FindObject("scroll"); scroll && secured)
        scroll->SetActive(false);
    }
    if (CMovableObject* scroll = level.FindCollidingObject(box, "scroll", nullptr)) {
      picked = true;
      scroll->SetActive(true);
    }
  }
  void Die() {
    if (!secured) picked = false;
    level.Reset("checkpoint");
  }

  CLevel& level;
  bool picked = false;
  bool secured = false;
  float spawnX = 0;
  float spawnY = 0;
};

class CheckpointScrollTest : public ::testing::Test {
protected:
  std::unique_ptr<CLevel> Load(const std::string& traps) {
    std::ofstream("objects.tmx") << GridMap({"................", "................"}, traps);
    auto level = std::make_unique<CLevel>(&camera);
    EXPECT_TRUE(level->Load("objects.tmx"));
    level->Update(kStep, false);
    return level;
  }
  // A box around a point, clear of the world origin.
  static CHitBox Around(float px, float py) { return {py - 10, py + 10, px - 10, px + 10}; }

  CGameDataDirectory data;
  CTextureManager textures;
  CCamera camera;
};

}  // namespace

TEST_F(CheckpointScrollTest, CheckpointsActivateOnceAndStayLit) {
  auto level = Load(MapObject("cp", "checkpoint", 100.5f, 200, 109, 129) +
                    MapObject("lit", "checkpoint", 600, 200, 109, 129, {{"active", "1"}}));
  auto* checkpoint = dynamic_cast<CCheckpoint*>(level->FindObject("cp"));
  auto* lit = dynamic_cast<CCheckpoint*>(level->FindObject("lit"));
  ASSERT_TRUE(checkpoint && lit);
  EXPECT_EQ(checkpoint->current, &checkpoint->inactiveSprite);
  EXPECT_EQ(lit->state, CCheckpoint::kActivating) << "lit from the start";
  EXPECT_FALSE(lit->Collide(Around(650, 260), 0, nullptr)) << "and never touched";

  // The box file's box (15, 7, 73 x 121) at the position.
  EXPECT_FLOAT_EQ(checkpoint->hitBox.left, 115.5f);
  EXPECT_FLOAT_EQ(checkpoint->hitBox.bottom, 328);
  float depth[2] = {-1, -1};
  EXPECT_TRUE(checkpoint->Collide(Around(150, 260), 0, depth));
  EXPECT_EQ(depth[0], -1) << "writes no depth";

  PlayerStandIn player(*level);
  player.Touch(Around(150, 260));
  EXPECT_FLOAT_EQ(player.spawnX, 154.5f) << "its centre: half of 109 is 54";
  EXPECT_FLOAT_EQ(player.spawnY, 264);
  level->Update(kStep, false);
  EXPECT_EQ(checkpoint->state, CCheckpoint::kActivating);
  EXPECT_EQ(level->FindCollidingObject(Around(150, 260), "checkpoint", nullptr), nullptr)
      << "the player cannot take it twice";

  // Twelve frames at 0.08 s (and one strictly longer step each) later it
  // glows for good.
  int steps = 0;
  while (checkpoint->state != CCheckpoint::kActive && steps++ < 200) level->Update(kStep, false);
  EXPECT_NEAR(steps, 11 * 10, 2);
  EXPECT_EQ(checkpoint->current, &checkpoint->activationSprite);
  level->Update(kStep, false);
  EXPECT_EQ(checkpoint->current, &checkpoint->activeSprite);

  player.Die();
  level->Update(kStep, false);
  EXPECT_EQ(checkpoint->state, CCheckpoint::kActive) << "respawns leave checkpoints alone";
  level->Reset("");
  level->Update(kStep, false);
  EXPECT_EQ(checkpoint->state, CCheckpoint::kInactive) << "a full reset puts it out";
  EXPECT_TRUE(checkpoint->Collide(Around(150, 260), 0, nullptr));
}

TEST_F(CheckpointScrollTest, ScrollsBob) {
  auto level =
      Load(MapObject("fast", "scroll", 100, 20, 64, 64, {{"speed", "300"}}) +
           MapObject("slow", "scroll", 300, 20, 64, 64, {{"speed", "0.5"}}) +
           MapObject("set", "scroll", 500, 20, 64, 64, {{"speed", "250"}, {"latitude", "12.5"}}));
  auto* fast = dynamic_cast<CScroll*>(level->FindObject("fast"));
  auto* slow = dynamic_cast<CScroll*>(level->FindObject("slow"));
  auto* set = dynamic_cast<CScroll*>(level->FindObject("set"));
  ASSERT_TRUE(fast && slow && set);
  EXPECT_FLOAT_EQ(slow->speed, 125) << "below 1 counts as unset";
  EXPECT_FLOAT_EQ(slow->latitude, 8);
  EXPECT_FLOAT_EQ(set->speed, 250);
  EXPECT_FLOAT_EQ(set->latitude, 12.5f);
  // 300 degrees per second: a quarter turn, the top of the bob, in 0.3 s.
  for (int i = 1; i < 36; ++i) level->Update(kStep, false);
  EXPECT_NEAR(fast->offset, 8, 1e-3);
  EXPECT_NEAR(fast->hitBox.top, 20 + 16.47 + 8, 1e-3);
  EXPECT_NEAR(fast->hitBox.left, 100 + 8.62, 1e-3);
  for (int i = 0; i < 120 * 3600; ++i) fast->Update(kStep, false);
  EXPECT_LT(fast->phase, 360.0f);
  EXPECT_NEAR(fast->offset, 8, 0.01) << "an hour on, the bob is as smooth";
}

TEST_F(CheckpointScrollTest, AScrollIsLostByDyingUntilACheckpointKeepsIt) {
  auto level = Load(MapObject("scroll", "scroll", 100, 20, 64, 64) +
                    MapObject("spare", "scroll", 300, 20, 64, 64) +
                    MapObject("cp", "checkpoint", 500, 0, 109, 129));
  CMovableObject* scroll = level->FindObject("scroll");
  CMovableObject* spare = level->FindObject("spare");
  PlayerStandIn player(*level);

  player.Touch(Around(132, 52));
  EXPECT_TRUE(player.picked);
  EXPECT_TRUE(scroll->active) << "taken";
  level->Update(kStep, false);
  EXPECT_EQ(level->FindCollidingObject(Around(132, 52), "scroll", nullptr), nullptr);

  player.Die();
  EXPECT_FALSE(player.picked);
  EXPECT_FALSE(scroll->active) << "lost with the life";
  EXPECT_EQ(static_cast<CScroll*>(scroll)->phase, 0.0f) << "bobbing starts over";
  level->Update(kStep, false);
  EXPECT_EQ(level->FindCollidingObject(Around(132, 52), "scroll", nullptr), scroll);

  // Taken again, then a checkpoint: kept through any number of deaths.
  player.Touch(Around(132, 52));
  player.Touch(Around(550, 60));
  EXPECT_TRUE(player.secured);
  player.Die();
  player.Die();
  EXPECT_TRUE(scroll->active);
  level->Update(kStep, false);
  EXPECT_EQ(level->FindCollidingObject(Around(132, 52), "scroll", nullptr), nullptr);

  // Only the object named "scroll" is kept: another one comes back.
  player.Touch(Around(332, 52));
  EXPECT_TRUE(spare->active);
  player.Die();
  EXPECT_FALSE(spare->active);
}
