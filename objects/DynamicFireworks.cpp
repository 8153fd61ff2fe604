#include "objects/DynamicFireworks.h"

#include <cmath>
#include <cstdlib>

#include "audio/AudioManager.h"
#include "audio/ScreenGain.h"
#include "graphics/Direct3D.h"
#include "graphics/Sprite.h"
#include "graphics/TextureManager.h"

namespace {

const char* const kExplosions[] = {
    "Graphics/Particles/pfx_firework_blue.png", "Graphics/Particles/pfx_firework_green.png",
    "Graphics/Particles/pfx_firework_pink.png", "Graphics/Particles/pfx_firework_yellow.png"};

// The launcher has loaded them; a picture it could not load stays missing.
TextureHandle Texture(const char* path) {
  CTextureManager* textures = CTextureManager::GetInstance();
  return textures ? textures->GetTexture(path) : nullptr;
}

}  // namespace

CDynamicFireworks::CDynamicFireworks(int rocketColour) : colour(rocketColour & 3) {
  rocketSprite = std::make_unique<CSprite>();
  rocketSprite->Init(CDirect3D::GetInstance());
  rocketSprite->SetTexture(1, 4, 57, 149, 0.03f, Texture("Graphics/Particles/pfx_rocket.png"));
  explosionSprite = std::make_unique<CSprite>();
  explosionSprite->Init(CDirect3D::GetInstance());
  explosionSprite->SetTexture(3, 4, 605, 619, 0.03f, Texture(kExplosions[colour]));
}

CDynamicFireworks::~CDynamicFireworks() {
  if (liveCount) --*liveCount;
}

void CDynamicFireworks::Init() {
  rocketSprite->SetAlpha(1.0f);
  explosionSprite->SetAlpha(0.0f);
}

void CDynamicFireworks::Launch(float speedX, float speedY, float timeToLive) {
  vx = speedX;
  vy = speedY;
  ttl = timeToLive;
  shrinkBase = vy - 100.0f;
  gravity = 300.0f;
  burstSpeed = -100.0f;
}

void CDynamicFireworks::Reset() { finished = true; }

void CDynamicFireworks::Burst(bool silent) {
  ttl = 0.0f;
  explosionSprite->SetFrame(0, 0);
  explosionSprite->SetFinished(false);
  explosionSprite->ResetElapsed();
  explosionSprite->SetAlpha(1.0f);
  const float scale = 2.0f * rocketSprite->GetScaleY();
  explosionSprite->SetScale(scale, scale);
  if (!silent) explosionSoundPending = true;
}

bool CDynamicFireworks::Update(float seconds, bool silent) {
  if (finished) return false;
  age += seconds;
  if (age >= kMaxLifetime) return false;
  if (ttl > 0.0f) {
    vy += seconds * gravity;
    x += vx * seconds;
    y += vy * seconds;
    ttl -= seconds;
    if (ttl <= 0.0f || vy >= burstSpeed) {
      Burst(silent);
    } else if (vy >= shrinkBase) {
      const float scale = vy / shrinkBase;
      rocketSprite->SetScale(scale, scale);
    }
  }
  if (ttl <= 0.0f) {
    rocketSprite->SetAlpha(std::fmax(rocketSprite->GetAlpha() - 5.0f * seconds, 0.0f));
    // An explosion without picture has nothing to play.
    if (!explosionSprite->GetTexture() || explosionSprite->IsAtLastFrame()) return false;
  }
  rocketSprite->Advance(seconds);
  explosionSprite->Advance(seconds);
  return true;
}

void CDynamicFireworks::Draw(int screenX, int screenY) {
  const float heading = std::atan2(vy, vx);
  rocketSprite->SetRotation(heading * 57.295776f + 90.0f);
  const float px = x + static_cast<float>(screenX);
  const float py = y + static_cast<float>(screenY);
  rocketSprite->SetPosition(px, py);
  // The burst sits at the rocket's nose.
  const float nose =
      static_cast<float>(rocketSprite->GetFrameHeight() / 2) * rocketSprite->GetScaleY();
  explosionSprite->SetPosition(px + nose * std::cos(heading), py + nose * std::sin(heading));
  rocketSprite->Advance(0.0f);
  explosionSprite->Advance(0.0f);
  rocketSprite->Draw(1.0f, nullptr);
  explosionSprite->Draw(1.0f, nullptr);
  if (!explosionSoundPending) return;
  explosionSoundPending = false;
  float distance = 0.0f;
  const float gain = ScreenGain(px, py, &distance);
  CAudioManager* audio = CAudioManager::GetInstance();
  if (audio && distance < 1280.0f)
    audio->PlaySound("Audio/sfx/sfx_rocket_explosion.wav", false, gain);
}
