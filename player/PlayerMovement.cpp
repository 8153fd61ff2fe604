#include "player/PlayerMovement.h"

#include <algorithm>
#include <cmath>

#include "app/IngameHud.h"
#include "input/IController.h"
#include "input/InputManager.h"
#include "player/Player.h"

namespace {

using A = PlayerAnimation;

constexpr int kF3 = VK_F1 + 2;
constexpr int kF4 = VK_F1 + 3;
constexpr int kF5 = VK_F1 + 4;

float Sign(float v) { return v > 0.0f ? 1.0f : v < 0.0f ? -1.0f : 0.0f; }

}  // namespace

void CPlayerMovement::Run() {
  PlayerState& s = player.State();
  const PlayerTunables& t = player.Tunables();
  accel = t.acceleration * t.walkSpeed;

  if (!s.isGhost) DebugKeys();
  if (!s.endSequence && !s.endRequested) {
    if (s.direction == 0 || s.sliding || s.crouchHeld)
      NoSteering();
    else
      Steering();
    CrouchAndSlide();
    Jump();
  }
  // Landing is what turns a touched end trigger into the finish run, so it
  // runs during the approach to the end too.
  Landing();
  if (!s.endSequence && !s.endRequested) {
    WallSlideLanding();
    SlideDecay();
    AirTimersAndAnimations();
  }
  DeathAndEndCleanUp();
  RespawnAnimation();
  if (s.endSequence) FinishRun();
  player.Animations().ApplyRequest(s.facing == Facing::Left);
}

void CPlayerMovement::DebugKeys() {
  PlayerState& s = player.State();
  const CInputManager* input = CInputManager::GetInstance();
  if (!input) return;
  IController* controller = player.GetController();
  s.freeMove = input->IsKeyDown(kF3);
  // Dying or reloading the data changes the run without changing the
  // recorded commands, so such a run cannot be replayed.
  if (input->IsKeyDown(kF4)) {
    s.dead = true;
    s.deathCause = DeathCause::DebugKey;
    if (!s.scrollSecured) {
      s.scrollPicked = false;
      if (CIngameHud* hud = CIngameHud::GetInstance()) hud->scrollCollected = false;
    }
    if (controller) controller->Invalidate();
  }
  if (input->IsKeyDown(kF5)) {
    player.ReloadData();
    if (controller) controller->Invalidate();
  }
}

void CPlayerMovement::NoSteering() {
  PlayerState& s = player.State();
  const PlayerTunables& t = player.Tunables();
  CPlayerAnimations& animations = player.Animations();
  float& vx = s.velocity.x;
  if ((s.onGround && std::fabs(vx) > t.walkSpeed) || animations.IsCurrent(A::RunToStand)) {
    animations.Request(A::RunToStand);
    vx -= (t.deceleration / 2.0f) * Sign(vx) * s.dt;
  } else if (!s.wallJumping && !s.sliding) {
    if (s.onGround) animations.Request(A::Stand);
    vx -= Sign(vx) * t.deceleration * s.dt;
  }
  if (animations.IsFinished(A::RunToStand)) animations.Request(A::Stand);
  if (std::fabs(vx) < t.deceleration * s.dt) vx = 0.0f;
}

void CPlayerMovement::Steering() {
  PlayerState& s = player.State();
  const PlayerTunables& t = player.Tunables();
  CPlayerAnimations& animations = player.Animations();
  float& vx = s.velocity.x;
  // Turning round brakes harder; the facing is still last step's.
  if ((s.facing == Facing::Right && Sign(vx) < 0.0f) ||
      (s.facing == Facing::Left && Sign(vx) > 0.0f))
    accel += t.deceleration;
  s.facing = s.direction < 0 ? Facing::Left : Facing::Right;
  const bool left = s.facing == Facing::Left;

  if (!s.sprint || s.wallJumping) {
    if (s.onGround) {
      animations.Request(
          animations.IsCurrent(A::Walk) || animations.IsCurrent(A::Run) ? A::Walk : A::StandToWalk);
      if (animations.IsFinished(A::StandToWalk)) animations.Request(A::Walk);
    }
    if (left) {
      if (vx > -t.walkSpeed) {
        vx -= accel * s.dt;
        vx = std::clamp(vx, -t.walkSpeed, t.walkSpeed);
      } else {
        vx += (t.deceleration / 5.0f) * s.dt;
      }
    } else {
      if (vx < t.walkSpeed) {
        vx += accel * s.dt;
        vx = std::clamp(vx, -t.walkSpeed, t.walkSpeed);
      } else {
        vx -= (t.deceleration / 5.0f) * s.dt;
      }
    }
  } else {
    if (s.onGround) animations.Request(A::Run);
    // In the air a run keeps speed above walking pace but does not build it.
    if (left) {
      if (s.onGround || vx >= -t.walkSpeed) vx -= 2.0f * accel * s.dt;
    } else {
      if (s.onGround || vx <= t.walkSpeed) vx += 2.0f * accel * s.dt;
    }
    vx = std::clamp(vx, -t.runSpeed, t.runSpeed);
  }
}

void CPlayerMovement::CrouchAndSlide() {
  PlayerState& s = player.State();
  const PlayerTunables& t = player.Tunables();
  CPlayerAnimations& animations = player.Animations();
  CPlayerCollision& collision = player.Collision();
  float& vx = s.velocity.x;

  if (!s.crouch) {
    if (!s.crouchHeld && !s.sliding) {
      s.crouched = false;
      return;
    }
    // Stand up if there is room.
    animations.SetCurrent(A::Stand);
    collision.UpdateHitBoxes();
    if (!collision.IsBlocked(collision.TopBox(), nullptr)) {
      s.sliding = s.crouched = s.crouchHeld = false;
    } else {
      s.crouched = true;
      animations.SetCurrent(A::Crouch);
      CSprite& crouch = animations.Get(A::Crouch);
      crouch.SetFrame(crouch.GetColumns() - 1, crouch.GetRows() - 1);
      animations.Request(A::Crouch);
    }
    return;
  }

  if (!s.onGround) {
    if (s.touchLeft || s.touchRight) {
      s.crouchHeld = false;
      return;
    }
    // Pulling the legs in: floor and ceiling right away.
    float depth[2] = {0.0f, 0.0f};
    bool floor = false;
    bool ceiling = false;
    if (s.velocity.y > 0.0f && collision.IsBlocked(collision.BottomBox(), depth)) {
      s.velocity.y = 0.0f;
      s.position.y -= depth[1] - 1.0f;
      floor = true;
      collision.UpdateHitBoxes();
    }
    if (collision.IsBlocked(collision.TopBox(), depth)) {
      s.jumpTimer = 0.0f;
      s.velocity.y = 0.0f;
      s.position.y += depth[1];
      ceiling = true;
      collision.UpdateHitBoxes();
    }
    if (floor && ceiling) s.crouchHeld = false;
    return;
  }

  if (vx != 0.0f && !s.sliding) {
    animations.Request(A::Crouch);
    if (!s.crouchHeld) {
      const float boost = std::fabs(vx) > t.runSpeed ? t.slideStart : 0.0f;
      vx += s.facing == Facing::Left ? -boost : boost;
      vx = std::clamp(vx, -t.slideStart, t.slideStart);
    }
    s.sliding = true;
    return;
  }
  animations.Request(animations.IsCurrent(A::Crouch) ? A::Crouch : A::StandToCrouch);
  s.crouchHeld = true;
}

void CPlayerMovement::Jump() {
  PlayerState& s = player.State();
  const PlayerTunables& t = player.Tunables();
  CPlayerAnimations& animations = player.Animations();

  if (!s.jump || s.crouched) {
    // A tap still rises for the shortest jump.
    const float elapsed = t.maxJumpTime - s.jumpTimer;
    if (elapsed < t.minJumpTime) s.jumpTimer = t.minJumpTime - elapsed;
    if (!s.onGround && !s.wallJumping) s.jumpReleased = true;
    if ((s.wallJumping || s.jumping) && s.jumpTimer <= 0.0f) {
      if (s.onGround) s.jumping = false;
      if (s.wallContact) s.wallJumping = false;
      if (s.velocity.y < 0.0f) s.velocity.y = 0.0f;
    }
    return;
  }

  if (!s.jumping && s.onGround && s.velocity.y > -t.jumpStart) {
    s.jumping = true;
    s.velocity.y = -t.jumpStart;
    s.jumpTimer = t.maxJumpTime;
  }
  if (!s.wallJumping && s.wallContact && s.jumpReleased) {
    s.wallContact = false;
    s.wallJumping = true;
    if (s.velocity.y > -t.wallJumpStartY) s.velocity.y -= t.wallJumpStartY;
    animations.Request(A::WallJump);
    CSprite& wallJump = animations.Get(A::WallJump);
    // Off the wall the other way; the art turns within the jump.
    if (s.facing == Facing::Left) {
      s.facing = Facing::Right;
      wallJump.SetScale(1.0f, wallJump.GetScaleY());
    } else {
      s.facing = Facing::Left;
      wallJump.SetScale(-1.0f, wallJump.GetScaleY());
    }
    if (s.wallOnLeft && s.velocity.x < t.wallJumpStartX)
      s.velocity.x += t.wallJumpStartX;
    else if (s.wallOnRight && s.velocity.x > -t.wallJumpStartX)
      s.velocity.x -= t.wallJumpStartX;
    s.jumpTimer = t.maxJumpTime;
  }
  s.jumpReleased = false;
}

void CPlayerMovement::Landing() {
  PlayerState& s = player.State();
  if (s.onGround) {
    if (s.wallJumping || s.wallContact) {
      s.wallJumping = s.wallContact = false;
      s.wallSlideLanding = true;
    }
    if (s.endRequested) s.endSequence = true;
  } else if (player.Animations().IsCurrent(A::WallJump)) {
    if (s.velocity.x < 0.0f) s.facing = Facing::Left;
    if (s.velocity.x > 0.0f) s.facing = Facing::Right;
  }
}

void CPlayerMovement::WallSlideLanding() {
  PlayerState& s = player.State();
  CPlayerAnimations& animations = player.Animations();
  if (!s.wallSlideLanding) return;
  if (s.velocity.x == 0.0f &&
      (animations.IsCurrent(A::WallSlide) ||
       (animations.IsCurrent(A::WallSlideDown) && !animations.IsFinished(A::WallSlideDown))))
    animations.Request(A::WallSlideDown);
  else
    s.wallSlideLanding = false;
}

void CPlayerMovement::SlideDecay() {
  PlayerState& s = player.State();
  if (!s.sliding) return;
  if (s.touchLeft || s.touchRight) {
    s.sliding = false;
    return;
  }
  player.Animations().Request(A::Crouch);
  s.velocity.x -= player.Tunables().slideDecrease * Sign(s.velocity.x) * s.dt;
  if (s.velocity.x == 0.0f) s.sliding = false;
}

void CPlayerMovement::AirTimersAndAnimations() {
  PlayerState& s = player.State();
  const PlayerTunables& t = player.Tunables();
  CPlayerAnimations& animations = player.Animations();

  if ((s.wallJumping || s.jumping) && s.jumpTimer > 0.0f) s.jumpTimer -= s.dt;
  bool rising = false;
  if (s.wallJumping) {
    s.velocity.x -= t.wallJumpDecreaseX * Sign(s.velocity.x) * s.dt;
    if (s.velocity.y < 0.0f) {
      animations.Request(A::WallJump);
      rising = true;
    }
  }
  if (!rising && !s.onGround) {
    if (s.velocity.y < 0.0f) {
      animations.Request(A::Jump);
    } else if (s.velocity.y > 0.0f && !s.sliding && !s.crouchHeld) {
      animations.Request(animations.IsCurrent(A::FallLoop) ? A::FallLoop : A::JumpFall);
      if (animations.IsFinished(A::JumpFall)) animations.Request(A::FallLoop);
    }
  }
  if (s.wallContact && s.velocity.y > 0.0f) {
    if (animations.IsCurrent(A::Jump) || animations.IsCurrent(A::WallSlideUp) ||
        animations.IsCurrent(A::JumpFall) || animations.IsCurrent(A::FallLoop))
      animations.Request(A::WallSlideUp);
    if (animations.IsFinished(A::WallSlideUp)) animations.Request(A::WallSlide);
    if (animations.IsCurrent(A::WallSlide)) animations.Request(A::WallSlide);
  }
}

void CPlayerMovement::DeathAndEndCleanUp() {
  PlayerState& s = player.State();
  if (s.dead) {
    player.Animations().Request(A::Death);
    s.endStage = 0;
    s.endSequence = s.endRequested = s.onGround = false;
  }
  if (s.dead || s.endSequence || s.endRequested) {
    s.jumping = s.crouchHeld = s.wallContact = s.wallJumping = s.sliding = s.crouched = false;
    s.wallOnLeft = s.wallOnRight = s.jumpReleased = s.wallSlideLanding = false;
  }
}

void CPlayerMovement::RespawnAnimation() {
  PlayerState& s = player.State();
  CPlayerAnimations& animations = player.Animations();
  if (!s.respawning) return;
  if (animations.IsFinished(A::Respawn)) {
    s.respawning = false;
    // The respawn's last frame is the fall's first pose.
    animations.SetCurrent(A::JumpFall);
  } else {
    animations.Request(A::Respawn);
  }
}

void CPlayerMovement::WalkOn() {
  PlayerState& s = player.State();
  const PlayerTunables& t = player.Tunables();
  s.velocity.x += t.walkSpeed * t.acceleration * s.dt;
  s.velocity.x = std::clamp(s.velocity.x, -t.walkSpeed, t.walkSpeed);
}

void CPlayerMovement::FinishRun() {
  PlayerState& s = player.State();
  const PlayerTunables& t = player.Tunables();
  CPlayerAnimations& animations = player.Animations();
  s.facing = Facing::Right;
  switch (s.endStage) {
    case 0:
      WalkOn();
      animations.Request(A::Run);
      break;
    case 1:
      WalkOn();
      animations.Request(A::End02);
      if (animations.AtFrameStart(A::End02, 8)) s.velocity.y = -t.jumpStart * 0.53f;
      if (animations.IsFinished(A::End02)) s.endStage = 2;
      break;
    case 2: {
      WalkOn();
      animations.Request(A::End03);
      if (animations.AtFrameStart(A::End03, 2)) s.velocity.y = -t.jumpStart * 0.35f;
      if (animations.AtFrameStart(A::End03, 16)) {
        CSprite& end03 = animations.Get(A::End03);
        end03.SetFrameTime(0.035f);
        end03.ResetElapsed();
        s.velocity.y = -t.jumpStart * 0.53f;
      }
      if (animations.IsFinished(A::End03) && s.onGround) s.endStage = 3;
      break;
    }
    case 3: {
      animations.Request(A::End04);
      if (animations.IsCurrent(A::End03)) {
        WalkOn();
        break;
      }
      if (!animations.IsCurrent(A::End04)) break;
      if (animations.AtFrameStart(A::End04, 3, 0)) s.velocity.y = -t.jumpStart;
      const CSprite& end04 = animations.Get(A::End04);
      if (s.onGround && (end04.GetRow() > 0 || end04.GetColumn() > 3)) {
        s.velocity.x -= Sign(s.velocity.x) * (t.deceleration / 3.0f) * s.dt;
        if (std::fabs(s.velocity.x) < (t.deceleration / 6.0f) * s.dt) s.velocity.x = 0.0f;
      }
      if (animations.IsFinished(A::End04) && s.velocity.x == 0.0f) s.endStage = 4;
      break;
    }
    case 4:
      animations.Request(A::End05);
      if (animations.IsFinished(A::End05)) s.endFinished = true;
      break;
  }
}
