#include "player/PlayerEffects.h"

#include <cmath>

#include "audio/AudioManager.h"
#include "audio/Sound.h"
#include "player/Player.h"

namespace {

using A = PlayerAnimation;

struct FrameSound {
  A animation;
  int column;
  int row;  // -1: any row
  const char* path;
};

constexpr FrameSound kFrameSounds[] = {
    {A::Walk, 2, 0, "Audio/sfx/sfx_walk01.wav"},
    {A::Walk, 2, 2, "Audio/sfx/sfx_walk02.wav"},
    {A::Run, 2, -1, "Audio/sfx/sfx_run01.wav"},
    {A::Run, 9, -1, "Audio/sfx/sfx_run01.wav"},
    {A::Jump, 2, -1, "Audio/sfx/sfx_jump.wav"},
    {A::WallJump, 1, -1, "Audio/sfx/sfx_wall_jump.wav"},
    {A::RunToStand, 0, -1, "Audio/sfx/sfx_slide.wav"},
    {A::Crouch, 0, -1, "Audio/sfx/sfx_slide.wav"},
    {A::StandToCrouch, 0, -1, "Audio/sfx/sfx_crouch.wav"},
    {A::Death, 0, -1, "Audio/sfx/sfx_die.wav"},
    {A::Respawn, 0, -1, "Audio/sfx/sfx_respawn.wav"},
};

void Restart(CParticle& particle, bool& armed) {
  armed = false;
  particle.SetAlpha(1.0f);
  particle.SetFrame(0, 0);
  particle.SetFinished(false);
}

}  // namespace

CPlayerEffects::~CPlayerEffects() { ReleaseWallSlideSound(); }

void CPlayerEffects::Init() {
  CParticle* particles[] = {&slideStartDust, &slideLoopDust, &wallJumpPuff, &collectFlash};
  for (int kind = 0; kind < 4; ++kind) {
    particles[kind]->SetType(kind);
    particles[kind]->SetAlpha(0.0f);
  }
  slideStartArmed = slideLoopArmed = wallJumpPuffArmed = false;
  cameraLead = {};
  ReleaseWallSlideSound();
  CAudioManager* audio = CAudioManager::GetInstance();
  if (player.State().isGhost || !audio) return;
  wallSlideSound = audio->PlaySound("Audio/sfx/sfx_wall_slide.wav", true, 1.0f);
  // The manager would delete a sound that never got a source.
  wallSlideSound->keepAlive = true;
  wallSlideSound->Pause();
}

void CPlayerEffects::ReleaseWallSlideSound() {
  if (!wallSlideSound) return;
  if (CAudioManager* audio = CAudioManager::GetInstance()) audio->ReleaseSound(wallSlideSound);
  wallSlideSound = nullptr;
}

void CPlayerEffects::UpdateSounds() {
  const CPlayerAnimations& animations = player.Animations();
  CAudioManager* audio = CAudioManager::GetInstance();
  if (audio) {
    for (const FrameSound& sound : kFrameSounds)
      if (animations.AtFrameStart(sound.animation, sound.column, sound.row))
        audio->PlaySound(sound.path);
  }
  if (!wallSlideSound) return;
  if (player.State().wallContact) {
    // The loop joins once the start of the dust has played out.
    if (wallSlideSound->paused && slideStartDust.GetElapsed() == 0.0f &&
        slideStartDust.IsAtLastFrame() && slideStartDust.GetAlpha() == 1.0f)
      wallSlideSound->Play();
  } else if (!wallSlideSound->paused) {
    wallSlideSound->Pause();
  }
}

void CPlayerEffects::UpdateEffects() {
  const PlayerState& s = player.State();
  const CPlayerAnimations& animations = player.Animations();
  const CPlayerCollision& collision = player.Collision();
  const bool left = s.facing == Facing::Left;

  auto startAndHandOver = [&] {
    if (slideStartArmed) Restart(slideStartDust, slideStartArmed);
    if (slideStartDust.IsFinished() && slideLoopArmed) {
      slideLoopArmed = false;
      slideLoopDust.SetAlpha(1.0f);
      slideStartDust.SetAlpha(0.0f);
    }
  };

  if (!s.wallContact) {
    const CSprite& current = animations.Current();
    const bool skid = animations.IsCurrent(A::RunToStand) && current.GetColumn() <= 9;
    const bool landing =
        animations.IsCurrent(A::End04) && (current.GetRow() > 0 || current.GetColumn() >= 4);
    if (!(s.sliding || skid || landing) || !s.onGround) {
      slideStartArmed = slideLoopArmed = true;
      slideLoopDust.SetAlpha(std::max(0.0f, slideLoopDust.GetAlpha() - 5.0f * s.dt));
      slideStartDust.SetAlpha(0.0f);
    } else {
      for (CParticle* dust : {&slideStartDust, &slideLoopDust}) {
        dust->SetScale(1.0f, left ? 1.0f : -1.0f);
        dust->SetRotation(90.0f);
      }
      startAndHandOver();
      const CHitBox& b = collision.BottomBox();
      const float d = b.right - b.left;
      float x = 0.0f;
      if (left)
        x = s.sliding ? b.right + d - 36.0f : b.right - 36.0f;
      else
        x = s.sliding ? b.left - d : b.left;
      const float y = b.bottom - 36.0f;
      slideStartDust.SetPosition(x, y);
      slideLoopDust.SetPosition(x, y);
    }
  } else {
    startAndHandOver();
    for (CParticle* dust : {&slideStartDust, &slideLoopDust}) {
      const float w = static_cast<float>(dust->GetFrameWidth() / 2);
      const float h = static_cast<float>(dust->GetFrameHeight()) / 1.2f;
      dust->SetScale(left ? -1.0f : 1.0f, 1.0f);
      dust->SetRotation(0.0f);
      if (left)
        dust->SetPosition(collision.LeftBox().left - w, collision.LeftBox().top - h);
      else
        dust->SetPosition(collision.RightBox().left + w, collision.RightBox().top - h);
    }
  }

  if (!s.wallJumping) {
    if (wallJumpPuff.IsFinished()) wallJumpPuff.SetAlpha(0.0f);
    wallJumpPuffArmed = true;
  } else if (wallJumpPuffArmed) {
    Restart(wallJumpPuff, wallJumpPuffArmed);
    // The facing is already the one the jump turned to.
    constexpr float kHalf = 214 / 2;
    if (left) {
      wallJumpPuff.SetScale(-1.0f, wallJumpPuff.GetScaleY());
      wallJumpPuff.SetPosition(collision.LeftBox().right - kHalf, collision.RightBox().top - 37.0f);
    } else {
      wallJumpPuff.SetScale(1.0f, wallJumpPuff.GetScaleY());
      wallJumpPuff.SetPosition(collision.RightBox().left - kHalf, collision.LeftBox().top - 37.0f);
    }
  }
  if (wallJumpPuff.IsFinished()) wallJumpPuff.SetAlpha(0.0f);
  if (collectFlash.IsFinished()) collectFlash.SetAlpha(0.0f);

  slideLoopDust.Advance(s.dt);
  wallJumpPuff.Advance(s.dt);
  collectFlash.Advance(s.dt);
  slideStartDust.Advance(s.dt);
}

void CPlayerEffects::RestartCollectFlash(float scrollX, float scrollY) {
  bool armed = false;
  Restart(collectFlash, armed);
  collectFlash.SetPosition(scrollX - static_cast<float>(333 / 2) + 37.0f,
                           scrollY - static_cast<float>(333 / 2) + 44.0f);
}

void CPlayerEffects::UpdateCameraLead() {
  const PlayerState& s = player.State();
  if (s.endRequested || s.endSequence) {
    // Back to the hero during the finish run, at the hero's own speed.
    auto settle = [&](float& lead, float speed) {
      const float step = s.dt * std::fabs(speed);
      if (std::fabs(lead) < step)
        lead = 0.0f;
      else
        lead -= lead > 0.0f ? step : -step;
    };
    settle(cameraLead.x, s.velocity.x);
    settle(cameraLead.y, s.velocity.y);
    return;
  }
  const float step = s.dt * std::fabs(s.velocity.x);
  if (s.facing == Facing::Left) {
    if (cameraLead.x > -kCameraLeadLimit)
      cameraLead.x -= step;
    else
      cameraLead.x = -kCameraLeadLimit;
  } else {
    if (cameraLead.x < kCameraLeadLimit)
      cameraLead.x += step;
    else
      cameraLead.x = kCameraLeadLimit;
  }
}

void CPlayerEffects::Draw(const CCamera* camera) const {
  const float opacity = player.State().isGhost ? 0.2f : 1.0f;
  wallJumpPuff.Draw(opacity, camera);
  collectFlash.Draw(opacity, camera);
  player.Animations().Current().Draw(opacity, camera);
  slideStartDust.Draw(opacity, camera);
  slideLoopDust.Draw(opacity, camera);
}
