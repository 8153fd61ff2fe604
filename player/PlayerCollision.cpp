#include "player/PlayerCollision.h"

#include <string_view>

#include "app/IngameHud.h"
#include "audio/AudioManager.h"
#include "level/Level.h"
#include "level/TileLayer.h"
#include "objects/MovableObject.h"
#include "player/Player.h"
#include "traps/StomperTrap.h"

namespace {

using A = PlayerAnimation;

// Moving out and moving in, as the stomper's phase says.
constexpr int kMovingOut = 1;
constexpr int kMovingIn = 3;
enum { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };

void Play(const PlayerState& state, const char* path) {
  if (state.isGhost) return;
  if (CAudioManager* audio = CAudioManager::GetInstance()) audio->PlaySound(path);
}

}  // namespace

void CPlayerCollision::LoadBoxSets() {
  LoadBoxSet("Default", 1, standing);
  // Counted in int: a sheet that failed to load must not wrap the count.
  const CSprite& crouch = player.Animations().Get(A::Crouch);
  const long long keys = static_cast<long long>(crouch.GetColumns()) * (crouch.GetRows() + 1);
  LoadBoxSet(CPlayerAnimations::SheetOf(A::Crouch).name,
             static_cast<int>(std::min<long long>(keys, 1 << 16)), crouching);
}

void CPlayerCollision::UpdateHitBoxes() {
  PlayerState& state = player.State();
  CPlayerAnimations& animations = player.Animations();
  CSprite& current = animations.Current();
  const int w = current.GetFrameWidth();
  const int h = current.GetFrameHeight();
  const bool crouched = animations.IsCurrent(A::Crouch) || animations.IsCurrent(A::StandToCrouch);
  CPHBox& set = crouched ? crouching : standing;
  set.originX = state.position.x - static_cast<float>(w / 2);
  set.originY = state.position.y - static_cast<float>(h);
  const PHBoxRecord& record = set.First();
  const float ox = set.originX;
  const float oy = set.originY;
  topBox = record.top.Offset(ox, oy);
  bottomBox = record.bottom.Offset(ox, oy);
  if (!crouched || state.facing == Facing::Left) {
    leftBox = record.left.Offset(ox, oy);
    rightBox = record.right.Offset(ox, oy);
  } else {
    // The crouching poses are not symmetric: facing right, the box drawn on
    // the left of the frame guards the right side, mirrored with the sprite.
    rightBox = record.left.Offset(ox, oy);
    leftBox = record.right.Offset(ox, oy);
    if (current.GetScaleX() == -1.0f) {
      const float right = static_cast<float>(w);
      for (CHitBox* box : {&leftBox, &rightBox}) {
        const float left = box->left;
        box->left = ox + right - (box->right - ox);
        box->right = ox + right - (left - ox);
      }
    }
  }
  current.SetPosition(state.position.x, state.position.y);
}

bool CPlayerCollision::IsBlocked(const CHitBox& box, float* depth) const {
  const CLevel* level = player.GetLevel();
  if (!level) return false;
  if (const CTileLayer* layer = level->GetCollisionLayer(); layer && layer->Collide(box, depth))
    return true;
  return level->CollideWithType(box, "trap_spear", 1, depth, true) ||
         level->CollideWithType(box, "trap_door", 0, depth, true) ||
         level->CollideWithType(box, "trap_stomper", 0, depth, true);
}

bool CPlayerCollision::TouchObjects(const CHitBox& box) {
  CLevel* level = player.GetLevel();
  if (!level) return false;
  PlayerState& state = player.State();
  CIngameHud* hud = state.isGhost ? nullptr : CIngameHud::GetInstance();

  level->CollideWithType(box, "trigger", 0, nullptr, false);

  if (CMovableObject* checkpoint = level->FindCollidingObject(box, "checkpoint", nullptr)) {
    Play(state, "Audio/sfx/sfx_checkpoint.wav");
    if (state.scrollPicked) state.scrollSecured = true;
    checkpoint->SetActive(true);
    state.spawn = {checkpoint->x + static_cast<float>(checkpoint->width / 2),
                   checkpoint->y + static_cast<float>(checkpoint->height / 2)};
    if (CMovableObject* scroll = level->FindObject("scroll"); scroll && state.scrollSecured)
      scroll->SetActive(false);
  }

  if (CMovableObject* scroll = level->FindCollidingObject(box, "scroll", nullptr)) {
    state.scrollPicked = true;
    if (hud) hud->scrollCollected = true;
    Play(state, "Audio/sfx/sfx_collect.wav");
    player.Effects().RestartCollectFlash(scroll->x, scroll->y);
    scroll->SetActive(true);
  }

  if (level->CollideWithType(box, "end_trigger", 0, nullptr, true)) {
    state.endRequested = true;
    if (hud) hud->timerRunning = false;
  }

  if (state.endSequence && state.endStage == 0 &&
      level->CollideWithType(box, "end", 0, nullptr, true))
    state.endStage = 1;

  for (const char* type : {"trap_spear", "trap_bamboo", "trap_orbital", "dynamic_arrow"}) {
    if (level->CollideWithType(box, type, 0, nullptr, true)) {
      state.deathCause =
          std::string_view(type) == "dynamic_arrow" ? DeathCause::Arrow : DeathCause::Trap;
      return true;
    }
  }
  return false;
}

bool CPlayerCollision::PushByStompers() {
  CLevel* level = player.GetLevel();
  if (!level) return false;
  PlayerState& state = player.State();
  const float dt = state.dt;
  float depth[2] = {0.0f, 0.0f};
  auto stomperAt = [&](const CHitBox& box) {
    return dynamic_cast<CStomperTrap*>(level->FindCollidingObject(box, "trap_stomper", depth));
  };

  if (CStomperTrap* stomper = stomperAt(topBox);
      stomper && stomper->direction == kDown && stomper->phase == kMovingOut) {
    state.touchTop = true;
    state.jumpTimer = 0.0f;
    state.position.y += depth[1];
    state.velocity.y += dt * stomper->speedOut;
    UpdateHitBoxes();
    if (IsBlocked(bottomBox, nullptr)) return true;
  }

  if (CStomperTrap* stomper = stomperAt(bottomBox)) {
    state.touchBottom = true;
    if (stomper->direction == kUp && stomper->phase == kMovingOut) {
      state.position.y -= depth[1] - 0.5f;
      state.jumping = false;
      state.velocity.y = -stomper->speedOut;
      UpdateHitBoxes();
      if (IsBlocked(topBox, nullptr)) return true;
    } else if (stomper->direction == kUp && stomper->phase == kMovingIn) {
      if (!state.jumping) {
        state.velocity.y = 0.0f;
        state.position.y += dt * stomper->speedIn;
        // Stay on the block as it sinks, half a pixel deep.
        if (stomperAt(bottomBox)) state.position.y -= depth[1] - 0.5f;
      }
      UpdateHitBoxes();
    } else if (stomper->direction == kLeft) {
      if (stomper->phase == kMovingOut) state.position.x -= dt * stomper->speedOut;
      if (stomper->phase == kMovingIn) state.position.x += dt * stomper->speedIn;
    } else if (stomper->direction == kRight) {
      if (stomper->phase == kMovingOut) state.position.x += dt * stomper->speedOut;
      if (stomper->phase == kMovingIn) state.position.x -= dt * stomper->speedIn;
    }
  }

  if (CStomperTrap* stomper = stomperAt(leftBox)) {
    state.touchLeft = true;
    if (stomper->direction == kRight && stomper->phase == kMovingOut) {
      state.position.x += depth[0];
      state.velocity.x = stomper->speedOut;
      UpdateHitBoxes();
      if (IsBlocked(rightBox, nullptr)) return true;
    }
  }

  if (CStomperTrap* stomper = stomperAt(rightBox)) {
    state.touchRight = true;
    if (stomper->direction == kLeft && stomper->phase == kMovingOut) {
      const float d = depth[0] - 0.1f;
      if (d > 0.1f) {
        state.position.x -= d;
        state.velocity.x = -stomper->speedOut;
      }
      UpdateHitBoxes();
      if (IsBlocked(leftBox, nullptr)) return true;
    }
  }
  return false;
}

void CPlayerCollision::CollideWorld() {
  PlayerState& state = player.State();
  state.touchLeft = state.touchRight = state.touchTop = state.touchBottom = false;
  UpdateHitBoxes();

  bool hit = false;
  for (const CHitBox* box : {&topBox, &leftBox, &rightBox, &bottomBox}) {
    if (TouchObjects(*box)) {
      hit = true;
      break;
    }
  }
  if (!hit && PushByStompers()) {
    hit = true;
    state.deathCause = DeathCause::Crushed;
  }
  // Nothing kills during the finish run.
  if (hit && state.endStage == 0) {
    state.dead = true;
    if (!state.scrollSecured) {
      state.scrollPicked = false;
      if (CIngameHud* hud = CIngameHud::GetInstance(); hud && !state.isGhost)
        hud->scrollCollected = false;
    }
    return;
  }

  float depth[2] = {0.0f, 0.0f};
  // The feet stay a pixel inside the floor, so it is found again next step.
  if (state.velocity.y > 0.0f && IsBlocked(bottomBox, depth)) {
    state.touchBottom = true;
    state.velocity.y = 0.0f;
    state.position.y -= depth[1] - 1.0f;
    UpdateHitBoxes();
  }
  if (IsBlocked(topBox, depth)) {
    state.touchTop = true;
    state.jumpTimer = 0.0f;
    state.velocity.y = 0.0f;
    state.position.y += depth[1];
    UpdateHitBoxes();
  }
  // A wall is touched from 0.1 pixels in; only deeper contact pushes back.
  if (IsBlocked(leftBox, depth)) {
    state.touchLeft = true;
    const float d = depth[0] - 0.1f;
    if (d > 0.1f) {
      state.position.x += d;
      if (state.velocity.x < 0.0f) state.velocity.x = 0.0f;
    }
    UpdateHitBoxes();
  }
  if (IsBlocked(rightBox, depth)) {
    state.touchRight = true;
    const float d = depth[0] - 0.1f;
    if (d > 0.1f) {
      state.position.x -= d;
      if (state.velocity.x > 0.0f) state.velocity.x = 0.0f;
    }
    UpdateHitBoxes();
  }
  if (!state.touchBottom) {
    state.onGround = false;
  } else if (!state.onGround) {
    state.onGround = true;
    Play(state, "Audio/sfx/sfx_hit_ground.wav");
  }
}
