// A run is nothing but its commands: recorded through the live controller,
// saved, and played back through the replay controller on a fresh level,
// it goes exactly the same way, step for step and bit for bit.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "input/InputManager.h"
#include "input/PlayerController.h"
#include "input/ReplayController.h"
#include "support/TestGame.h"
#include "traps/SpearTrap.h"
#include "traps/StomperTrap.h"
#include "traps/TrapDoor.h"

namespace {

using A = PlayerAnimation;

constexpr float kCourse = room::kCourseLeft;
constexpr float kTile = room::kTile;
constexpr float kSpear = kCourse + 4 * kTile + 32;
constexpr float kRider = kCourse + 12 * kTile + 32;
constexpr float kDoor = kCourse + 18 * kTile + 64;

// Everything of the hero that a replay must reproduce, packed for memcmp.
struct Snapshot {
  Vector2 position;
  Vector2 velocity;
  Vector2 cameraLead;
  int facing;
  int animation;
  int column;
  int row;
  int endStage;
  std::uint32_t flags;
};

Snapshot Take(const CPlayer& player) {
  const PlayerState& s = player.State();
  const CSprite& sprite = player.Animations().Current();
  // Zeroed whole, padding included, so memcmp compares only the values.
  Snapshot shot;
  std::memset(static_cast<void*>(&shot), 0, sizeof shot);
  shot.position = s.position;
  shot.velocity = s.velocity;
  shot.cameraLead = player.Effects().cameraLead;
  shot.facing = static_cast<int>(s.facing);
  shot.animation = static_cast<int>(player.Animations().CurrentId());
  shot.column = sprite.GetColumn();
  shot.row = sprite.GetRow();
  shot.endStage = s.endStage;
  const bool flags[] = {
      s.onGround,   s.jumping,    s.jumpReleased, s.wallContact, s.wallJumping,  s.sliding,
      s.crouchHeld, s.crouched,   s.dead,         s.respawning,  s.endRequested, s.endSequence,
      s.touchLeft,  s.touchRight, s.touchTop,     s.touchBottom, s.scrollPicked, s.scrollSecured};
  for (std::size_t i = 0; i < std::size(flags); ++i) shot.flags |= flags[i] ? 1u << i : 0u;
  return shot;
}

// What a player would press to get through the course, decided from what
// the screen shows: die on the spear once, pass it on the next try, touch
// the checkpoint, ride the lift up to the scroll, stand on the trap door
// until it drops, jump out of the pit and walk into the goal.
class CourseRun {
public:
  explicit CourseRun(PlayerWorld& w) : world(w) {
    spear = dynamic_cast<CSpearTrap*>(w.level->FindObject("spear"));
    rider = dynamic_cast<CStomperTrap*>(w.level->FindObject("rider"));
    door = dynamic_cast<CTrapDoor*>(w.level->FindObject("door"));
  }

  // The keys for the next step.
  std::uint8_t Next() {
    const PlayerState& s = world.State();
    if (s.dead || s.respawning) return 0;
    switch (stage) {
      case 0:  // onto the spear's cell, and wait there
        if (s.position.x < kSpear - 4) return STEP_RIGHT;
        if (s.velocity.x == 0.0f) died = true;
        stage = died ? 1 : 0;
        return 0;
      case 1:  // back from the dead: go once the spear is back in
        if (spear->phase == CExtendingTrap::kMovingIn) sinking = true;
        if (sinking && spear->phase == CExtendingTrap::kWaitingIn) stage = 2;
        return 0;
      case 2:  // past the spear and the checkpoint, up to the lift
        if (s.position.x < kRider - 160) return STEP_RIGHT | STEP_SPRINT;
        if (rider->phase != CExtendingTrap::kWaitingIn) return 0;
        stage = 3;
        [[fallthrough]];
      case 3:
        if (s.position.x < kRider - 24) return STEP_RIGHT;
        if (rider->phase == CExtendingTrap::kWaitingOut) stage = 4;
        return 0;
      case 4:  // jump off the top into the scroll
        if (s.scrollPicked && s.onGround) stage = 5;
        return s.scrollPicked ? 0 : STEP_JUMP;
      case 5:  // onto the door
        if (s.position.x < kDoor - 8) return STEP_RIGHT;
        if (door->active && s.onGround && s.position.y > room::kFloor + kTile) stage = 6;
        return 0;
      case 6:  // out of the pit and into the goal
        return STEP_RIGHT | (s.position.y > room::kFloor + 1 ? STEP_JUMP : 0);
    }
    return 0;
  }

  int stage = 0;

private:
  PlayerWorld& world;
  CSpearTrap* spear = nullptr;
  CStomperTrap* rider = nullptr;
  CTrapDoor* door = nullptr;
  bool died = false;
  bool sinking = false;
};

void Press(CInputManager& input, std::uint8_t keys) {
  input.keys[VK_RIGHT] = (keys & STEP_RIGHT) ? 1 : 0;
  input.keys[VK_LEFT] = (keys & STEP_LEFT) ? 1 : 0;
  input.keys[VK_SPACE] = (keys & STEP_JUMP) ? 1 : 0;
  input.keys[VK_SHIFT] = (keys & STEP_SPRINT) ? 1 : 0;
  input.keys[VK_DOWN] = (keys & STEP_CROUCH) ? 1 : 0;
}

struct Recorded {
  std::vector<Snapshot> steps;
  int deaths = 0;
  bool finished = false;
  bool scroll = false;
  bool carried = false;  // rode the lift while it rose
  bool dropped = false;  // stood on the door as it opened
};

// Plays the course with the live controller; its record is the replay.
Recorded RecordCourse(CPlayerController& recorder) {
  Recorded out;
  PlayerWorld world;
  CInputManager input;
  EXPECT_TRUE(world.player->Init(&recorder, world.level.get(), false));
  world.player->SetBounds({64, 128},
                          {world.level->GetWidthPixels() - 64, world.level->GetHeightPixels()});
  CourseRun run(world);
  const PlayerState& s = world.State();
  const CStomperTrap* rider = dynamic_cast<CStomperTrap*>(world.level->FindObject("rider"));
  bool wasDead = false;
  for (int i = 0; i < 6000 && !out.finished; ++i) {
    Press(input, run.Next());
    out.finished = world.Step();
    out.steps.push_back(Take(*world.player));
    out.deaths += s.dead && !wasDead;
    wasDead = s.dead;
    out.carried |=
        rider->phase == CExtendingTrap::kMovingOut && s.onGround && s.position.y < room::kFloor - 8;
    out.dropped |= run.stage == 6;
  }
  out.scroll = s.scrollPicked;
  return out;
}

class PlayerReplay : public ::testing::Test {
protected:
  void SetUp() override { PrepareTestGame(); }
};

TEST_F(PlayerReplay, ARecordedRunReplaysBitForBit) {
  CPlayerController recorder;
  const Recorded live = RecordCourse(recorder);
  ASSERT_TRUE(live.finished);
  EXPECT_EQ(live.deaths, 1);
  EXPECT_TRUE(live.scroll);
  EXPECT_TRUE(live.carried);
  EXPECT_TRUE(live.dropped);
  ASSERT_EQ(recorder.record.size(), live.steps.size()) << "one byte per step";
  ASSERT_TRUE(recorder.Save("course.rpl"));

  CReplayController replay;
  ASSERT_TRUE(replay.Load("course.rpl"));
  PlayerWorld world;
  ASSERT_TRUE(world.player->Init(&replay, world.level.get(), false));
  world.player->SetBounds({64, 128},
                          {world.level->GetWidthPixels() - 64, world.level->GetHeightPixels()});
  for (std::size_t i = 0; i < live.steps.size(); ++i) {
    const bool finished = world.Step();
    const Snapshot now = Take(*world.player);
    ASSERT_EQ(std::memcmp(&now, &live.steps[i], sizeof now), 0)
        << "step " << i << ": at " << now.position.x << ", " << now.position.y << " instead of "
        << live.steps[i].position.x << ", " << live.steps[i].position.y;
    ASSERT_EQ(finished, i + 1 == live.steps.size());
  }
}

// FNV-1a over every step's snapshot: the whole path of the run.
std::uint64_t PathHash(const std::vector<Snapshot>& steps) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const Snapshot& shot : steps) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&shot);
    for (std::size_t i = 0; i < sizeof shot; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
  }
  return hash;
}

// The course run as the simulation gives it today, in the sanitizer build
// and in the release build alike. Any change to the movement rules, the
// collision, the objects or the data moves these numbers: a change meant to
// keep runs as they were must keep them; one that means to change the game
// updates them (and replays recorded before stop matching).
TEST_F(PlayerReplay, TheCourseRunEndsWhereItAlwaysHas) {
  CPlayerController recorder;
  const Recorded live = RecordCourse(recorder);
  ASSERT_TRUE(live.finished);
  const Snapshot& last = live.steps.back();
  EXPECT_EQ(live.steps.size(), 2037u);
  EXPECT_EQ(last.position.x, 0x1.6fece8p+13f);
  EXPECT_EQ(last.position.y, 0x1.c08p+9f);
  EXPECT_EQ(last.velocity.x, 0.0f);
  EXPECT_EQ(last.velocity.y, 0.0f);
  EXPECT_EQ(PathHash(live.steps), 0x20c738f86818fc80ull);
}

}  // namespace
