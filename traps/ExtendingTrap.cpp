#include "traps/ExtendingTrap.h"

#include <algorithm>
#include <cmath>

#include "audio/AudioManager.h"
#include "audio/ScreenGain.h"
#include "graphics/Sprite.h"

int CExtendingTrap::FrameWidth() const { return GetSprite() ? GetSprite()->GetFrameWidth() : 0; }

int CExtendingTrap::FrameHeight() const { return GetSprite() ? GetSprite()->GetFrameHeight() : 0; }

void CExtendingTrap::RunCycle(float seconds) {
  if (!active) return;
  if (elapsed < delay) {
    elapsed += seconds;
    return;
  }
  // Moves `value` towards `target` along the axis of the direction; true
  // on reaching or passing it.
  auto move = [this, seconds](float speed, bool outward, const Vector2& target) {
    const bool vertical = direction == kUp || direction == kDown;
    float& value = vertical ? offset.y : offset.x;
    const float goal = vertical ? target.y : target.x;
    // Out is towards smaller coordinates for up and left.
    const bool decreasing = (direction == kUp || direction == kLeft) == outward;
    value += decreasing ? -speed * seconds : speed * seconds;
    if (decreasing ? value > goal : value < goal) return false;
    offset = target;
    return true;
  };
  switch (phase) {
    case kWaitingIn:
      waitInTimer += seconds;
      if (waitInTimer >= waitIn) {
        waitInTimer = 0.0f;
        phase = kMovingOut;
      }
      break;
    case kMovingOut:
      if (move(speedOut, true, offsetOut)) phase = kWaitingOut;
      break;
    case kWaitingOut:
      waitOutTimer += seconds;
      if (waitOutTimer >= waitOut) {
        waitOutTimer = 0.0f;
        phase = kMovingIn;
      }
      break;
    case kMovingIn:
      if (move(speedIn, false, offsetIn)) phase = kWaitingIn;
      break;
    default:
      phase = kWaitingIn;
      break;
  }
}

int CExtendingTrap::Extension() const {
  const float length = std::fabs((offset.x + offset.y) - (offsetIn.x + offsetIn.y));
  return static_cast<int>(std::min(length, static_cast<float>(FrameWidth())));
}

void CExtendingTrap::PlaceSprite(float seconds) {
  CSprite* sprite = GetSprite();
  if (!sprite) return;
  sprite->SetSource({0, 0, Extension(), FrameHeight()});
  sprite->SetPosition(x + offset.x, y + offset.y);
  sprite->Advance(seconds);
}

CHitBox CExtendingTrap::FollowSprite(const CHitBox& b, bool stretch) const {
  const float sx = x + offset.x;
  const float sy = y + offset.y;
  const int frameWidth = FrameWidth();
  const float w = static_cast<float>(frameWidth);
  const float ax = sx + static_cast<float>(frameWidth / 2 - FrameHeight() / 2);
  const float ay = sy + static_cast<float>(FrameHeight() / 2 - frameWidth / 2);
  // The part of the picture still inside the wall.
  const float hidden = stretch ? w - static_cast<float>(Extension()) : 0.0f;
  CHitBox box;
  switch (direction) {
    case kUp:
      box = {ay + b.left, ay + b.right - hidden, ax + b.top, ax + b.bottom};
      break;
    case kDown:
      box = {w - b.right + ay + hidden, w - b.left + ay, ax + b.top, ax + b.bottom};
      break;
    case kRight:
      box = {sy + b.top, sy + b.bottom, w + sx - b.right + hidden, w + sx - b.left};
      break;
    default:
      box = {sy + b.top, sy + b.bottom, sx + b.left, sx + b.right - hidden};
      break;
  }
  // A shaft or body that has not come out yet has no box: turned inside
  // out, the overlap test would find it touching anything wide enough.
  if (box.left >= box.right || box.top >= box.bottom) return CHitBox();
  return box;
}

void CExtendingTrap::TurnSprite() {
  CSprite* sprite = GetSprite();
  if (!sprite) return;
  sprite->SetScale(direction == kRight ? -1.0f : 1.0f, 1.0f);
  sprite->SetRotation(direction == kUp ? 90.0f : direction == kDown ? 270.0f : 0.0f);
}

float CExtendingTrap::GainAt(float screenX, float screenY, float* distance) {
  return ScreenGain(screenX, screenY, distance);
}

void CExtendingTrap::PlayPhaseSound(const char* outSound, const char* inSound, float gain) {
  if (phase == kWaitingIn || phase == kWaitingOut) {
    soundPlayed = false;
    return;
  }
  if (soundPlayed) return;
  soundPlayed = true;
  if (CAudioManager* audio = CAudioManager::GetInstance())
    audio->PlaySound(phase == kMovingOut ? outSound : inSound, false, gain);
}
