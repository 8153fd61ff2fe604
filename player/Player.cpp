#include "player/Player.h"

#include <algorithm>

#include "app/IngameHud.h"
#include "graphics/TextureManager.h"
#include "input/IController.h"
#include "input/InputManager.h"
#include "level/Level.h"
#include "objects/MovableObject.h"

namespace {

using A = PlayerAnimation;

constexpr const char* kTunablesPath = "Values/Player.xml";
constexpr const char* kAnimationTimesPath = "Values/Player Animation.xml";

}  // namespace

CPlayer::CPlayer() : collision(*this), movement(*this), effects(*this) {}

CPlayer::~CPlayer() = default;

bool CPlayer::Init(IController* newController, CLevel* newLevel, bool isGhost) {
  controller = newController;
  level = newLevel;
  state = PlayerState();
  state.isGhost = isGhost;

  // Everything is decoded now, so that nothing loads during play.
  if (CTextureManager* textures = CTextureManager::GetInstance()) {
    for (int i = 0; i < kPlayerAnimationCount; ++i)
      textures->GetTexture(CPlayerAnimations::SheetOf(static_cast<A>(i)).image);
    textures->GetTexture("Graphics/Pixel.png");
  }
  const bool animationsComplete = animations.Setup();
  effects.Init();
  LoadTunables(kTunablesPath);
  collision.LoadBoxSets();
  LoadAnimationTimes(kAnimationTimesPath);

  if (level) {
    if (const CMovableObject* spawn = level->FindObject("spawn"))
      state.spawn = {spawn->x, spawn->y};
  }
  state.position = state.spawn;
  state.respawning = true;
  if (!isGhost) {
    if (CIngameHud* hud = CIngameHud::GetInstance()) {
      hud->time = 0.0f;
      hud->timerRunning = true;
    }
  }
  animations.SetCurrent(A::Stand);
  collision.UpdateHitBoxes();
  return animationsComplete;
}

bool CPlayer::LoadTunables(const std::string& path) { return LoadPlayerTunables(path, tunables); }

bool CPlayer::LoadAnimationTimes(const std::string& path) { return animations.LoadTimes(path); }

void CPlayer::ReloadData() {
  LoadTunables(kTunablesPath);
  collision.LoadBoxSets();
  LoadAnimationTimes(kAnimationTimesPath);
}

void CPlayer::SetBounds(Vector2 min, Vector2 max) {
  state.boundsMin = min;
  state.boundsMax = max;
}

Vector2 CPlayer::CameraTarget() const {
  return {state.position.x + effects.cameraLead.x, state.position.y + effects.cameraLead.y};
}

bool CPlayer::Update(float seconds) {
  state.dt = seconds;
  if (controller) {
    controller->ReadInput();
    state.direction = controller->direction;
    state.jump = controller->jump;
    state.sprint = controller->sprint;
    state.crouch = controller->crouch;
  }

  movement.Run();

  if (state.freeMove) {
    if (const CInputManager* input = CInputManager::GetInstance()) {
      state.position.x += static_cast<float>(input->mouseDX);
      state.position.y += static_cast<float>(input->mouseDY);
    }
    // A hero moved by hand is no run to replay.
    if (controller) controller->Invalidate();
  } else if (!state.dead && !state.respawning) {
    state.velocity.y += tunables.gravity * state.dt;
    if (state.velocity.y > 0.0f)
      state.velocity.y = std::min(
          state.velocity.y, state.wallContact ? tunables.wallSlideSpeed : tunables.maxFallSpeed);
    state.position.x += state.velocity.x * state.dt;
    state.position.y += state.velocity.y * state.dt;
    DeathTimingAndWallTest();
    collision.UpdateHitBoxes();
    collision.CollideWorld();
    if (!state.wallJumping) effects.UpdateCameraLead();
  } else {
    DeathTimingAndWallTest();
    collision.UpdateHitBoxes();
  }

  if (!state.isGhost) effects.UpdateSounds();

  state.position.x = std::clamp(state.position.x, state.boundsMin.x, state.boundsMax.x);
  state.position.y = std::clamp(state.position.y, state.boundsMin.y, state.boundsMax.y);

  effects.UpdateEffects();
  collision.UpdateHitBoxes();
  animations.Current().Advance(state.dt);
  return state.endFinished;
}

void CPlayer::DeathTimingAndWallTest() {
  if (state.dead) {
    state.deathTimer += state.dt;
    CSprite& current = animations.Current();
    if (current.IsAtLastFrame()) current.SetAlpha(0.0f);
    if (state.deathTimer >= tunables.respawnTime) Respawn();
    return;
  }
  if (state.onGround) return;
  // Only the wall the hero faces holds a slide.
  if (state.touchLeft && state.facing == Facing::Left && state.velocity.y > 0.0f) {
    state.wallOnLeft = state.wallContact = true;
  } else if (state.touchRight && state.facing == Facing::Right && state.velocity.y > 0.0f) {
    state.wallOnRight = state.wallContact = true;
  } else {
    state.wallOnLeft = state.wallOnRight = state.wallContact = false;
  }
}

void CPlayer::Respawn() {
  state.dead = false;
  state.respawning = true;
  if (level) level->Reset("checkpoint");
  animations.Current().SetAlpha(1.0f);
  if (!state.isGhost)
    if (CIngameHud* hud = CIngameHud::GetInstance()) hud->timerRunning = true;
  state.deathTimer = 0.0f;
  state.position = state.spawn;
  state.velocity = {};
}

void CPlayer::Draw(const CCamera* camera) const { effects.Draw(camera); }
