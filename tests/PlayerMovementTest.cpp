// The hero's movement rules, step by step on the rooms of the player test
// level (tests/levels/Player Test.tmx) with the game's own values.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "audio/AudioManager.h"
#include "audio/Sound.h"
#include "input/InputManager.h"
#include "support/TestGame.h"

namespace {

using A = PlayerAnimation;

class PlayerMovement : public ::testing::Test {
protected:
  void SetUp() override { PrepareTestGame(); }
};

int CountSounds(const CAudioManager& audio, const std::string& name) {
  int n = 0;
  for (const CSound* sound : audio.GetSounds())
    n += sound->fileName == "Audio/sfx/" + name + ".wav";
  return n;
}

TEST_F(PlayerMovement, JumpsNeedTheCommandLetGoFirst) {
  PlayerWorld world;
  ASSERT_TRUE(world.initialised);
  PlayerState& s = world.State();

  // A ground jump held through its landing does not jump again.
  world.StandAt(room::kFlatLeft + 600);
  world.controller.held = STEP_JUMP;
  ASSERT_GT(world.StepUntil([&] { return !s.onGround; }), 0);
  ASSERT_GT(world.StepUntil([&] { return s.onGround; }), 0);
  world.Steps(60);
  EXPECT_TRUE(s.onGround);
  EXPECT_EQ(s.velocity.y, 0.0f);
  world.controller.held = 0;
  world.Step();
  world.controller.held = STEP_JUMP;
  world.Step();
  EXPECT_FALSE(s.onGround) << "let go and pressed again, it jumps";

  // A wall jump needs the command let go while sliding, then pressed.
  world.StandAt(room::kShaftInner + 64);
  world.controller.held = STEP_RIGHT | STEP_JUMP;
  ASSERT_GT(world.StepUntil([&] { return s.wallContact; }), 0);
  // Still held from the ground jump: it slides on.
  EXPECT_FALSE(s.jumpReleased);
  world.Steps(10);
  EXPECT_TRUE(s.wallContact);
  EXPECT_FALSE(s.wallJumping);
  world.controller.held = STEP_RIGHT;
  world.Step();
  world.controller.held = STEP_RIGHT | STEP_JUMP;
  world.Step();
  EXPECT_TRUE(s.wallJumping);
  EXPECT_EQ(s.facing, Facing::Left);
  EXPECT_LT(s.velocity.x, 0.0f) << "kicked off away from the wall";
  EXPECT_LT(s.velocity.y, 0.0f);
}

TEST_F(PlayerMovement, BrakingAndTurning) {
  PlayerWorld world;
  PlayerState& s = world.State();
  const PlayerTunables& t = world.player->Tunables();
  const float dt = PlayerWorld::kStep;

  // Turning from a walk brakes with the acceleration only on the first step,
  // with acceleration and deceleration from the second on.
  world.StandAt(room::kFlatLeft + 600);
  world.controller.held = STEP_RIGHT;
  world.Steps(60);
  float before = s.velocity.x;
  ASSERT_GE(before, t.walkSpeed - t.deceleration / 5 * dt);
  world.controller.held = STEP_LEFT;
  world.Step();
  EXPECT_NEAR(s.velocity.x, before - t.acceleration * t.walkSpeed * dt, 1e-3);
  before = s.velocity.x;
  world.Step();
  EXPECT_NEAR(s.velocity.x, before - (t.acceleration * t.walkSpeed + t.deceleration) * dt, 1e-3);

  // Let go from a run, the hero skids at half the braking until the skid
  // animation ends, then stands.
  world.StandAt(room::kFlatLeft + 100);
  world.controller.held = STEP_RIGHT | STEP_SPRINT;
  world.StepUntil([&] { return s.velocity.x == t.runSpeed; });
  world.Steps(5);
  world.controller.held = 0;
  int skid = 0;
  while (skid < 200) {
    before = s.velocity.x;
    world.Step();
    if (!world.player->Animations().IsCurrent(A::RunToStand)) break;
    float expected = before - t.deceleration / 2 * dt;
    if (expected < t.deceleration * dt) expected = 0.0f;  // the last crumb of speed goes
    ASSERT_NEAR(s.velocity.x, expected, 1e-3);
    ++skid;
  }
  EXPECT_GT(skid, 10);
  EXPECT_TRUE(world.player->Animations().IsCurrent(A::Stand));
  world.Steps(30);
  EXPECT_EQ(s.velocity.x, 0.0f);
}

TEST_F(PlayerMovement, OnlyTheWallFacedHoldsAFall) {
  PlayerWorld world;
  PlayerState& s = world.State();
  const PlayerTunables& t = world.player->Tunables();
  for (const Facing facing : {Facing::Right, Facing::Left}) {
    world.StandAt(room::kShaftInner + 64);
    // High up against the shaft's right wall, falling, no command.
    const CHitBox& right = world.player->Collision().RightBox();
    s.position.x += room::kShaftInnerRight - right.right + 0.15f;
    s.position.y = room::kFloor - 400;
    s.onGround = false;
    s.facing = facing;
    float fastest = 0.0f;
    for (int i = 0; i < 40; ++i) {
      world.Step();
      EXPECT_TRUE(s.touchRight) << "step " << i;
      fastest = std::max(fastest, s.velocity.y);
    }
    EXPECT_EQ(fastest, facing == Facing::Right ? t.wallSlideSpeed : t.maxFallSpeed);
    EXPECT_EQ(s.wallContact, facing == Facing::Right);
  }
}

TEST_F(PlayerMovement, WallContactWithinAFifthOfAPixelMovesNothing) {
  PlayerWorld world;
  PlayerState& s = world.State();
  const struct {
    float depth;
    float moved;  // back out of the wall
  } cases[] = {{0.15f, 0.0f}, {0.2f, 0.0f}, {0.5f, 0.4f}, {3.0f, 2.9f}};
  for (const auto& c : cases) {
    world.StandAt(room::kFlatRight - 200);
    const CHitBox& right = world.player->Collision().RightBox();
    s.position.x += room::kFlatRight - right.right + c.depth;
    const float x = s.position.x;
    world.Step();
    EXPECT_TRUE(s.touchRight) << c.depth;
    EXPECT_NEAR(x - s.position.x, c.moved, 1e-3) << c.depth;
  }
}

TEST_F(PlayerMovement, SlidingUnderALowCeilingStaysDownUntilThereIsRoom) {
  PlayerWorld world;
  PlayerState& s = world.State();
  CPlayerAnimations& animations = world.player->Animations();
  world.StandAt(room::kTunnelLeft + 100);
  world.controller.held = STEP_RIGHT | STEP_SPRINT;
  world.StepUntil([&] { return s.position.x >= room::kTunnelIn - 40; });
  world.controller.held = STEP_CROUCH;
  world.Steps(3);
  ASSERT_TRUE(s.sliding);
  // Let go under the ceiling: it cannot stand, so it stays on the last
  // crouching frame.
  world.StepUntil([&] { return s.position.x > room::kTunnelIn + 16; });
  world.controller.held = 0;
  world.Step();
  EXPECT_TRUE(s.crouched);
  const CSprite& crouch = animations.Get(A::Crouch);
  EXPECT_TRUE(animations.IsCurrent(A::Crouch));
  EXPECT_EQ(crouch.GetColumn(), crouch.GetColumns() - 1);
  const CHitBox& top = world.player->Collision().TopBox();
  EXPECT_GT(top.top, room::kFloor - room::kTile) << "the crouching head fits under the ceiling";
  // Out the other side it stands up.
  world.StepUntil([&] { return !s.crouched; }, 300);
  EXPECT_FALSE(s.crouched);
  EXPECT_GT(s.position.x, room::kTunnelOut);
  EXPECT_FALSE(animations.IsCurrent(A::Crouch));
}

TEST_F(PlayerMovement, TheCrouchingBoxesMirrorFacingRight) {
  PlayerWorld world;
  PlayerState& s = world.State();
  world.StandAt(room::kFlatLeft + 600);
  const PHBoxRecord& record = world.player->Collision().CrouchingSet().First();
  const CPlayerCollision& collision = world.player->Collision();
  for (const Facing facing : {Facing::Left, Facing::Right}) {
    world.controller.held = facing == Facing::Left ? STEP_LEFT : STEP_RIGHT;
    world.Step();
    world.controller.held = STEP_CROUCH;
    world.StepUntil([&] { return s.velocity.x == 0.0f; });
    world.Steps(20);
    ASSERT_TRUE(world.player->Animations().IsCurrent(A::Crouch) ||
                world.player->Animations().IsCurrent(A::StandToCrouch));
    const float originX = collision.CrouchingSet().originX;
    const float w = 128.0f;
    if (facing == Facing::Left) {
      EXPECT_FLOAT_EQ(collision.LeftBox().left - originX, record.left.left);
      EXPECT_FLOAT_EQ(collision.RightBox().right - originX, record.right.right);
    } else {
      // Drawn on the frame's left, it guards the right side, mirrored.
      EXPECT_FLOAT_EQ(collision.RightBox().right - originX, w - record.left.left);
      EXPECT_FLOAT_EQ(collision.RightBox().left - originX, w - record.left.right);
      EXPECT_FLOAT_EQ(collision.LeftBox().left - originX, w - record.right.right);
    }
    world.controller.held = 0;
    world.Steps(30);
  }
}

TEST_F(PlayerMovement, PositionStaysInItsBounds) {
  PlayerWorld world;
  PlayerState& s = world.State();
  world.StandAt(room::kFlatLeft + 600);
  const Vector2 min{room::kFlatLeft + 400, 128.0f};
  const Vector2 max{room::kFlatLeft + 800, room::kFloor - 300};
  world.player->SetBounds(min, max);
  world.controller.held = STEP_LEFT | STEP_SPRINT;
  for (int i = 0; i < 240; ++i) {
    world.Step();
    ASSERT_GE(s.position.x, min.x);
    ASSERT_LE(s.position.y, max.y);
  }
  EXPECT_EQ(s.position.x, min.x);
  EXPECT_EQ(s.position.y, max.y) << "held on the lower bound above the floor";
}

TEST_F(PlayerMovement, CameraLeadRunsAheadAtTheHerosSpeed) {
  PlayerWorld world;
  PlayerState& s = world.State();
  world.StandAt(room::kFlatLeft + 1200);
  world.controller.held = STEP_LEFT;
  world.Steps(120);
  EXPECT_EQ(world.player->Effects().cameraLead.x, -CPlayerEffects::kCameraLeadLimit);
  world.controller.held = STEP_RIGHT;
  int steps = 0;
  while (world.player->Effects().cameraLead.x < CPlayerEffects::kCameraLeadLimit && steps < 200) {
    const float lead = world.player->Effects().cameraLead.x;
    world.Step();
    ++steps;
    if (world.player->Effects().cameraLead.x < CPlayerEffects::kCameraLeadLimit) {
      ASSERT_NEAR(world.player->Effects().cameraLead.x - lead,
                  std::fabs(s.velocity.x) * PlayerWorld::kStep, 1e-3);
    }
  }
  EXPECT_GT(steps, 30) << "200 pixels of lead at about walking speed";
  // It may pass the limit by one step; the next puts it on the limit.
  world.Step();
  EXPECT_EQ(world.player->CameraTarget().x, s.position.x + CPlayerEffects::kCameraLeadLimit);
}

TEST_F(PlayerMovement, SoundsComeOnTheirFramesAndOnlyFromTheLiveHero) {
  PlayerWorld world(true);
  PlayerState& s = world.State();
  CAudioManager& audio = *world.audio;
  world.StandAt(room::kFlatLeft + 100);
  audio.StopAll(false);
  // The floor holds the feet a pixel deep; the landing sounds once.
  EXPECT_EQ(s.position.y, room::kFloor + 1);
  world.controller.held = STEP_JUMP;
  world.StepUntil([&] { return !s.onGround; });
  world.controller.held = 0;
  world.StepUntil([&] { return s.onGround; });
  world.Steps(60);
  EXPECT_EQ(s.position.y, room::kFloor + 1);
  EXPECT_EQ(CountSounds(audio, "sfx_jump"), 1);
  EXPECT_EQ(CountSounds(audio, "sfx_hit_ground"), 1);
  // A running loop plays its footfall twice per pass.
  audio.StopAll(false);
  world.controller.held = STEP_RIGHT | STEP_SPRINT;
  world.StepUntil([&] { return world.player->Animations().IsCurrent(A::Run); });
  const CSprite& run = world.player->Animations().Get(A::Run);
  world.StepUntil([&] { return run.GetColumn() == 0 && run.GetElapsed() == 0.0f; });
  audio.StopAll(false);
  int passes = 0;
  for (int i = 0; i < 400 && passes < 3; ++i) {
    world.Step();
    if (run.GetColumn() == 0 && run.GetElapsed() == 0.0f) ++passes;
  }
  EXPECT_EQ(passes, 3);
  EXPECT_EQ(CountSounds(audio, "sfx_run01"), 6);

  // A ghost on its own level makes no sound, wall slide included.
  audio.StopAll(false);
  const std::size_t before = audio.GetSounds().size();
  CLevel ghostLevel(PlayerWorld::kMap, nullptr);
  ScriptedController ghostController;
  CPlayer ghost;
  ASSERT_TRUE(ghost.Init(&ghostController, &ghostLevel, true));
  ghostController.held = STEP_RIGHT | STEP_JUMP;
  for (int i = 0; i < 300; ++i) {
    ghost.Update(PlayerWorld::kStep);
    ghostLevel.Update(PlayerWorld::kStep, true);
  }
  EXPECT_EQ(audio.GetSounds().size(), before);
}

TEST_F(PlayerMovement, EachFrameSoundStartsWithItsFrameOnly) {
  PlayerWorld world(true);
  CAudioManager& audio = *world.audio;
  CPlayerAnimations& animations = world.player->Animations();
  const struct {
    A animation;
    int column;
    int row;
    const char* sound;  // null: none
  } cases[] = {
      {A::Walk, 2, 0, "sfx_walk01"},
      {A::Walk, 2, 2, "sfx_walk02"},
      {A::Walk, 2, 1, nullptr},
      {A::Walk, 3, 0, nullptr},
      {A::Run, 2, 0, "sfx_run01"},
      {A::Run, 9, 0, "sfx_run01"},
      {A::Run, 5, 0, nullptr},
      {A::Jump, 2, 0, "sfx_jump"},
      {A::WallJump, 1, 0, "sfx_wall_jump"},
      {A::RunToStand, 0, 0, "sfx_slide"},
      {A::Crouch, 0, 0, "sfx_slide"},
      {A::StandToCrouch, 0, 0, "sfx_crouch"},
      {A::Death, 0, 0, "sfx_die"},
      {A::Respawn, 0, 0, "sfx_respawn"},
      {A::WallSlideUp, 0, 0, nullptr},
      {A::Stand, 0, 0, nullptr},
  };
  for (const auto& c : cases) {
    for (const bool frameStart : {true, false}) {
      audio.StopAll(false);
      CSprite& sprite = animations.Get(c.animation);
      animations.SetCurrent(c.animation);
      sprite.SetFrame(c.column, c.row);
      sprite.ResetElapsed();
      // Part-way through the frame, nothing starts.
      if (!frameStart) sprite.Advance(PlayerWorld::kStep / 4);
      world.player->Effects().UpdateSounds();
      const int played = static_cast<int>(audio.GetSounds().size()) - 1;  // the wall loop stays
      const int expected = frameStart && c.sound ? 1 : 0;
      EXPECT_EQ(played, expected) << CPlayerAnimations::SheetOf(c.animation).name << " " << c.column
                                  << "," << c.row << (frameStart ? "" : " mid-frame");
      if (expected) {
        EXPECT_EQ(CountSounds(audio, c.sound), 1) << c.sound;
      }
    }
  }
}

TEST_F(PlayerMovement, DebugKeysActOnTheLiveHeroOnlyAndSpoilTheRecord) {
  PlayerWorld world;
  CInputManager input;
  CLevel ghostLevel(PlayerWorld::kMap, nullptr);
  ScriptedController ghostController;
  CPlayer ghost;
  ASSERT_TRUE(ghost.Init(&ghostController, &ghostLevel, true));
  world.StandAt(room::kFlatLeft + 600);
  for (int i = 0; i < 60; ++i) ghost.Update(PlayerWorld::kStep);

  input.keys[VK_F1 + 3] = 1;  // F4: die
  world.Step();
  ghost.Update(PlayerWorld::kStep);
  EXPECT_TRUE(world.State().dead);
  EXPECT_FALSE(ghost.State().dead);
  EXPECT_TRUE(world.controller.invalid);
  EXPECT_FALSE(ghostController.invalid);

  input.keys[VK_F1 + 3] = 0;
  world.controller.invalid = false;
  input.keys[VK_F1 + 4] = 1;  // F5: read the data files again
  world.Step();
  EXPECT_TRUE(world.controller.invalid);
  input.keys[VK_F1 + 4] = 0;

  world.controller.invalid = false;
  input.keys[VK_F1 + 2] = 1;  // F3: free flight with the mouse
  input.mouseDX = 5;
  const float x = world.State().position.x;
  world.Step();
  EXPECT_TRUE(world.State().freeMove);
  EXPECT_EQ(world.State().position.x, x + 5);
  EXPECT_TRUE(world.controller.invalid);
}

}  // namespace
