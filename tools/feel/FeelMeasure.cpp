#include "tools/feel/FeelMeasure.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "objects/MovableObject.h"
#include "tools/feel/PlayerRig.h"

namespace {

using A = PlayerAnimation;

float FootWidth(const CPlayer& player) {
  const CHitBox& b = player.Collision().BottomBox();
  return b.right - b.left;
}

// Rise of the feet above the floor for a standing jump with the command
// held for `held` steps (-1: throughout).
float StandingJump(int held) {
  PlayerWorld world;
  world.StandAt(room::kFlatLeft + 600.0f);
  const PlayerState& s = world.State();
  const float start = s.position.y;
  float top = start;
  bool left = false;
  world.controller.script = [held](int step) -> std::uint8_t {
    return static_cast<std::uint8_t>(held < 0 || step < held ? STEP_JUMP : 0);
  };
  world.controller.step = 0;
  for (int i = 0; i < 600; ++i) {
    world.Step();
    top = std::min(top, s.position.y);
    if (!s.onGround) left = true;
    if (left && s.onGround) break;
  }
  return start - top;
}

// Flight distance of a jump taken at full speed (`sprint` or walking), plus
// the foot box: the widest gap such a jump crosses.
float JumpGap(bool sprint) {
  PlayerWorld world;
  world.StandAt(room::kFlatLeft + 100.0f);
  const PlayerState& s = world.State();
  const std::uint8_t move = STEP_RIGHT | (sprint ? STEP_SPRINT : 0);
  world.controller.held = move;
  const float speed =
      sprint ? world.player->Tunables().runSpeed : world.player->Tunables().walkSpeed;
  world.StepUntil([&] { return std::fabs(s.velocity.x) >= speed - 6.0f; }, 600);
  world.Steps(30);
  world.controller.held = move | STEP_JUMP;
  float takeoff = s.position.x;
  bool left = false;
  for (int i = 0; i < 600; ++i) {
    if (s.onGround) takeoff = s.position.x;
    world.Step();
    if (!s.onGround) left = true;
    if (left && s.onGround) break;
  }
  return s.position.x - takeoff + FootWidth(*world.player);
}

// Average height gained per kick in a chain of wall jumps up the two-tile
// shaft: from the first wall contact to the fourth.
float WallJumpRise() {
  PlayerWorld world;
  world.StandAt(room::kShaftInner + 64.0f);
  const PlayerState& s = world.State();
  int released = 0;
  world.controller.script = [&](int) -> std::uint8_t {
    const std::uint8_t dir = s.facing == Facing::Right ? STEP_RIGHT : STEP_LEFT;
    if (!s.wallContact) {
      released = 0;
      return dir | STEP_JUMP;
    }
    // Let go twice (ending the last kick, then arming the next), then kick.
    return released++ < 2 ? dir : static_cast<std::uint8_t>(dir | STEP_JUMP);
  };
  std::vector<float> contacts;
  bool wasContact = false;
  for (int i = 0; i < 1200 && contacts.size() < 4; ++i) {
    world.Step();
    if (s.wallContact && !wasContact) contacts.push_back(s.position.y);
    wasContact = s.wallContact;
  }
  return contacts.size() < 4 ? 0.0f : (contacts.front() - contacts.back()) / 3.0f;
}

void MeasureRun(FeelFigures& figures) {
  PlayerWorld world;
  world.StandAt(room::kFlatLeft + 100.0f);
  const PlayerState& s = world.State();
  const float run = world.player->Tunables().runSpeed;
  world.controller.held = STEP_RIGHT | STEP_SPRINT;
  const int steps = world.StepUntil([&] { return s.velocity.x >= run; }, 600);
  figures.timeToFullRun = steps < 0 ? -1.0f : steps * PlayerWorld::kStep;
  world.Steps(30);
  world.controller.held = 0;
  const float from = s.position.x;
  world.StepUntil([&] { return s.velocity.x == 0.0f; }, 600);
  figures.stopFromRun = s.position.x - from;
}

float SlideFromRun() {
  PlayerWorld world;
  world.StandAt(room::kFlatLeft + 100.0f);
  const PlayerState& s = world.State();
  const float run = world.player->Tunables().runSpeed;
  world.controller.held = STEP_RIGHT | STEP_SPRINT;
  world.StepUntil([&] { return s.velocity.x >= run; }, 600);
  world.Steps(30);
  world.controller.held = STEP_CROUCH;
  const float from = s.position.x;
  world.Step();
  world.StepUntil([&] { return !s.sliding; }, 600);
  return s.position.x - from;
}

bool SlidesUnderOneTile() {
  PlayerWorld world;
  world.StandAt(room::kTunnelLeft + 100.0f);
  const PlayerState& s = world.State();
  world.controller.held = STEP_RIGHT | STEP_SPRINT;
  // Down a tile before the ceiling.
  world.StepUntil([&] { return s.position.x >= room::kTunnelIn - 64.0f; }, 600);
  world.controller.held = STEP_RIGHT | STEP_SPRINT | STEP_CROUCH;
  world.StepUntil([&] { return s.position.x > room::kTunnelIn + 32.0f; }, 600);
  world.controller.held = STEP_RIGHT | STEP_SPRINT;
  world.Steps(120);
  return s.position.x > room::kTunnelOut + 64.0f && !s.crouched && !s.dead;
}

bool CrossesPit() {
  PlayerWorld world;
  world.StandAt(room::kPitLeft + 64.0f);
  const PlayerState& s = world.State();
  const CPlayerCollision& collision = world.player->Collision();
  world.controller.held = STEP_RIGHT | STEP_SPRINT;
  // Off the edge as the foot box is about to leave it.
  world.StepUntil(
      [&] {
        return collision.BottomBox().left + s.velocity.x * PlayerWorld::kStep >= room::kPitGapLeft;
      },
      600);
  world.controller.held = STEP_RIGHT | STEP_SPRINT | STEP_JUMP;
  world.Steps(2);
  world.StepUntil([&] { return s.onGround || s.position.y > room::kFloor + 64.0f; }, 600);
  return s.onGround && s.position.y <= room::kFloor + 1.0f &&
         collision.BottomBox().right > room::kPitGapRight;
}

}  // namespace

FeelFigures MeasureFeel() {
  FeelFigures figures;
  {
    PlayerWorld world;
    if (!world.initialised || !world.level->GetCollisionLayer()) {
      figures.error = "the hero or the test level did not load";
      return figures;
    }
  }
  figures.standingJumpHeld = StandingJump(-1);
  figures.standingJumpTap = StandingJump(1);
  figures.walkingJumpGap = JumpGap(false);
  figures.runningJumpGap = JumpGap(true);
  figures.wallJumpRise = WallJumpRise();
  MeasureRun(figures);
  figures.slideFromRun = SlideFromRun();
  figures.slidesUnderOneTile = SlidesUnderOneTile();
  figures.runningJumpCrossesPit = CrossesPit();
  figures.ok = true;
  return figures;
}

std::vector<FinishStep> MeasureFinishRun() {
  std::vector<FinishStep> steps;
  PlayerWorld world;
  const CMovableObject* trigger = world.level->FindObject("end_trigger");
  if (!trigger) return steps;
  world.StandAt(trigger->x - 200.0f);
  const PlayerState& s = world.State();
  world.controller.held = STEP_RIGHT;
  world.StepUntil([&] { return s.endStage >= 1; }, 2400);
  const float ground = s.position.y;
  for (int i = 0; i < 2400; ++i) {
    const bool done = world.Step();
    const CSprite& sprite = world.player->Animations().Current();
    steps.push_back({sprite.GetName(), sprite.GetRow() * sprite.GetColumns() + sprite.GetColumn(),
                     ground - s.position.y, s.onGround});
    if (done) break;
  }
  return steps;
}

std::string FeelJson(const FeelFigures& f, const std::vector<FinishStep>& finish) {
  std::string text = "{\n";
  char line[160];
  auto number = [&](const char* name, float value, int decimals) {
    std::snprintf(line, sizeof line, "  \"%s\": %.*f,\n", name, decimals, value);
    text += line;
  };
  auto flag = [&](const char* name, bool value) {
    text += std::string("  \"") + name + "\": " + (value ? "true" : "false") + ",\n";
  };
  number("standingJumpHeld", f.standingJumpHeld, 3);
  number("standingJumpTap", f.standingJumpTap, 3);
  number("walkingJumpGap", f.walkingJumpGap, 3);
  number("runningJumpGap", f.runningJumpGap, 3);
  number("wallJumpRise", f.wallJumpRise, 3);
  number("timeToFullRun", f.timeToFullRun, 4);
  number("stopFromRun", f.stopFromRun, 3);
  number("slideFromRun", f.slideFromRun, 3);
  flag("slidesUnderOneTile", f.slidesUnderOneTile);
  flag("runningJumpCrossesPit", f.runningJumpCrossesPit);
  text += "  \"finishRun\": [\n";
  for (std::size_t i = 0; i < finish.size(); ++i) {
    std::snprintf(line, sizeof line, "    [\"%s\", %d, %.3f, %s]%s\n", finish[i].animation.c_str(),
                  finish[i].frame, finish[i].height, finish[i].onGround ? "true" : "false",
                  i + 1 < finish.size() ? "," : "");
    text += line;
  }
  text += "  ]\n}\n";
  return text;
}
