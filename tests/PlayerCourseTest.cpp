// The hero among the level's objects, on the course room of the player test
// level: the spear, the checkpoint, the rising stomper with the scroll above
// it, the trap door over its pit, the end and the stomper under the low
// ceiling.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "audio/AudioManager.h"
#include "audio/Sound.h"
#include "objects/Scroll.h"
#include "support/TestGame.h"
#include "traps/SpearTrap.h"
#include "traps/StomperTrap.h"
#include "traps/TrapDoor.h"

namespace {

using A = PlayerAnimation;

constexpr float kCourse = room::kCourseLeft;
constexpr float kTile = room::kTile;

// Column centres of the course's objects (see make_player_test_level.py).
constexpr float kSpear = kCourse + 4 * kTile + 32;
constexpr float kCheckpoint = kCourse + 8 * kTile + 54;
constexpr float kRider = kCourse + 12 * kTile + 32;
constexpr float kCrusher = kCourse + 50 * kTile + 32;

class PlayerCourse : public ::testing::Test {
protected:
  void SetUp() override { PrepareTestGame(); }
};

template <typename T>
T* Find(PlayerWorld& world, const char* name) {
  return dynamic_cast<T*>(world.level->FindObject(name));
}

int CountSounds(const CAudioManager& audio, const std::string& name) {
  int n = 0;
  for (const CSound* sound : audio.GetSounds())
    n += sound->fileName == "Audio/sfx/" + name + ".wav";
  return n;
}

// Rides the lift up and jumps off its top into the scroll.
void TakeTheScroll(PlayerWorld& world) {
  PlayerState& s = world.State();
  CStomperTrap* rider = Find<CStomperTrap>(world, "rider");
  world.StandAt(kRider);
  world.StepUntil([&] { return rider->phase == CExtendingTrap::kWaitingOut; }, 2000);
  world.controller.held = STEP_JUMP;
  world.StepUntil([&] { return s.scrollPicked; }, 120);
  world.controller.held = 0;
}

TEST_F(PlayerCourse, TheScrollIsLostByDyingBeforeACheckpointAndKeptAfterOne) {
  for (const bool checkpointFirst : {false, true}) {
    PlayerWorld world(true);
    ASSERT_TRUE(world.initialised);
    PlayerState& s = world.State();
    CScroll* scroll = Find<CScroll>(world, "scroll");
    ASSERT_NE(scroll, nullptr);
    TakeTheScroll(world);
    ASSERT_TRUE(s.scrollPicked);
    EXPECT_TRUE(world.hud.scrollCollected);
    EXPECT_TRUE(scroll->active);
    EXPECT_EQ(CountSounds(*world.audio, "sfx_collect"), 1) << "one touch, however many boxes";
    world.StepUntil([&] { return s.onGround; });

    if (checkpointFirst) {
      world.StandAt(kCheckpoint - 200);
      world.controller.held = STEP_RIGHT;
      world.StepUntil([&] { return s.scrollSecured; }, 240);
      world.controller.held = 0;
      EXPECT_TRUE(s.scrollSecured);
      EXPECT_TRUE(scroll->kept);
      EXPECT_EQ(CountSounds(*world.audio, "sfx_checkpoint"), 1);
      const CMovableObject* checkpoint = world.level->FindObject("checkpoint");
      EXPECT_EQ(s.spawn.x, checkpoint->x + 54);
      EXPECT_EQ(s.spawn.y, checkpoint->y + 64);
    }
    // Onto the spear as it comes out.
    world.StandAt(kSpear);
    ASSERT_GE(world.StepUntil([&] { return s.dead; }, 400), 0);
    world.StepUntil([&] { return !s.dead; }, 400);
    world.Steps(2);
    EXPECT_EQ(s.scrollPicked, checkpointFirst);
    EXPECT_EQ(world.hud.scrollCollected, checkpointFirst);
    EXPECT_EQ(scroll->active, checkpointFirst) << "a lost scroll is back in the level";
    if (!checkpointFirst) {
      EXPECT_LT(scroll->phase, 10.0f) << "bobbing from the start again";
    }
  }
}

TEST_F(PlayerCourse, TrapsKillExceptPastTheGoal) {
  const struct {
    const char* what;
    bool endSequence;
    int endStage;
    bool dies;
  } cases[] = {
      {"playing", false, 0, true},
      {"finish run, before the goal", true, 0, true},
      {"finish run, past the goal", true, 1, false},
      {"finish run, last stage", true, 4, false},
  };
  for (const auto& c : cases) {
    PlayerWorld world;
    PlayerState& s = world.State();
    const CSpearTrap* spear = Find<CSpearTrap>(world, "spear");
    world.StandAt(kSpear - 300);
    world.StepUntil([&] { return spear->phase == CExtendingTrap::kWaitingOut; }, 400);
    // Feet on the spear's head.
    s.position = {kSpear, spear->hitBox.top + 10};
    s.endSequence = c.endSequence;
    s.endStage = c.endStage;
    world.player->Collision().CollideWorld();
    EXPECT_EQ(s.dead, c.dies) << c.what;
  }
}

TEST_F(PlayerCourse, TheSpearShaftIsSolidAndItsHeadKills) {
  PlayerWorld world;
  CSpearTrap* spear = Find<CSpearTrap>(world, "spear");
  world.StandAt(kSpear - 300);
  world.StepUntil([&] { return spear->phase == CExtendingTrap::kWaitingOut; }, 400);
  CHitBox shaft;
  CHitBox head;
  ASSERT_TRUE(spear->Collide(spear->hitBox, 0, nullptr));
  head = spear->hitBox;
  // A thin box across the shaft, below the head.
  const float x = (head.left + head.right) / 2;
  shaft = CHitBox(head.bottom + 20, head.bottom + 24, x - 2, x + 2);
  float depth[2] = {0, 0};
  EXPECT_TRUE(world.player->Collision().IsBlocked(shaft, depth)) << "the shaft is solid";
  EXPECT_FALSE(world.player->Collision().TouchObjects(shaft)) << "but harmless";
  EXPECT_TRUE(world.player->Collision().TouchObjects(head)) << "the head kills";
}

TEST_F(PlayerCourse, StompersCarryAndCrush) {
  PlayerWorld world;
  PlayerState& s = world.State();
  CStomperTrap* rider = Find<CStomperTrap>(world, "rider");
  world.StandAt(kRider);
  const float floor = s.position.y;
  world.StepUntil([&] { return rider->phase == CExtendingTrap::kMovingOut; }, 400);
  world.StepUntil([&] { return rider->phase == CExtendingTrap::kWaitingOut; }, 400);
  world.Steps(10);
  EXPECT_FALSE(s.dead);
  EXPECT_TRUE(s.onGround);
  EXPECT_EQ(rider->Extension(), 256);
  EXPECT_NEAR(floor - s.position.y, 256.0f, 4.0f) << "carried the lift's full travel";
  EXPECT_NEAR(s.position.y, rider->hitBox.top + 0.5f, 1.0f) << "half a pixel into its top";
  // And down again with it.
  world.StepUntil([&] { return rider->phase == CExtendingTrap::kWaitingIn; }, 600);
  world.Steps(5);
  EXPECT_NEAR(s.position.y, floor, 1.5f);
  EXPECT_FALSE(s.dead);

  // Under the low ceiling the same ride crushes.
  CStomperTrap* crusher = Find<CStomperTrap>(world, "crusher");
  world.StandAt(kCrusher);
  crusher->SetActive(true);
  ASSERT_GE(world.StepUntil([&] { return s.dead; }, 600), 0);
  EXPECT_EQ(crusher->phase, CExtendingTrap::kMovingOut);
  EXPECT_LT(s.position.y, floor - 100) << "lifted into the ceiling first";
}

TEST_F(PlayerCourse, TheDoorDropsTheHeroAfterItsTrigger) {
  PlayerWorld world;
  PlayerState& s = world.State();
  CTrapDoor* door = Find<CTrapDoor>(world, "door");
  world.StandAt(kCourse + 15 * kTile);
  world.controller.held = STEP_RIGHT;
  world.StepUntil([&] { return s.position.x > kCourse + 18 * kTile + 64; }, 300);
  world.controller.held = 0;
  world.Steps(10);
  EXPECT_TRUE(door->released);
  EXPECT_FALSE(door->active) << "still waiting out the trigger's delay";
  EXPECT_TRUE(s.onGround) << "standing on the closed door";
  EXPECT_EQ(s.position.y, room::kFloor + 1);
  world.StepUntil([&] { return door->active; }, 240);
  world.Steps(60);
  EXPECT_GT(std::fabs(door->angle), 45.0f);
  EXPECT_EQ(s.position.y, room::kFloor + 2 * kTile + 1) << "down in the pit";
  EXPECT_TRUE(s.onGround);
}

}  // namespace
