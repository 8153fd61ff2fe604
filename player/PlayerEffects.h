#pragma once

#include "graphics/Particle.h"
#include "platform/Matrix2D.h"

class CCamera;
class CPlayer;
class CSound;

// The hero's feedback: sounds timed to animation frames, the looping
// wall-slide sound, the slide dust, the wall-jump puff and the collect
// flash, the camera lead, and the drawing of it all (faint for the ghost).
class CPlayerEffects {
public:
  static constexpr float kCameraLeadLimit = 100.0f;

  explicit CPlayerEffects(CPlayer& owner) : player(owner) {}
  ~CPlayerEffects();
  CPlayerEffects(const CPlayerEffects&) = delete;
  CPlayerEffects& operator=(const CPlayerEffects&) = delete;

  // The four effects, transparent; the live hero's wall-slide sound,
  // paused. The ghost gets no sound at all.
  void Init();
  // Live hero only: frame sounds and the wall-slide loop.
  void UpdateSounds();
  void UpdateEffects();
  void UpdateCameraLead();
  void RestartCollectFlash(float scrollX, float scrollY);
  void Draw(const CCamera* camera) const;

  Vector2 cameraLead;
  CParticle slideStartDust;
  CParticle slideLoopDust;
  CParticle wallJumpPuff;
  CParticle collectFlash;
  bool slideStartArmed = false;
  bool slideLoopArmed = false;
  bool wallJumpPuffArmed = false;
  // Held alive for as long as the player owns it.
  CSound* wallSlideSound = nullptr;

private:
  void ReleaseWallSlideSound();

  CPlayer& player;
};
