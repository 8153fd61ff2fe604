#include "traps/StomperTrap.h"

#include <algorithm>
#include <cmath>

#include "app/Camera.h"
#include "graphics/Sprite.h"
#include "level/Level.h"
#include "level/TileLayer.h"
#include "objects/HitBoxFile.h"
#include "traps/TrapSettings.h"

namespace {

const char* const kBoxes = "Values/Trap Collisions/Stomper";

}  // namespace

CStomperTrap::CStomperTrap() {
  LoadHitBox("Body", -1, kBoxes, hitBox);
  LoadHitBox("HeadFront", -1, kBoxes, frontBox);
  LoadHitBox("HeadBack", -1, kBoxes, backBox);
  bodyBoxLocal = hitBox;
  frontBoxLocal = frontBox;
  backBoxLocal = backBox;
}

void CStomperTrap::Init() {
  Reset();
  const bool warn = true;
  speedOut = ReadTrapSpeed(*this, "speed_out", 700.0f, false, warn);
  speedIn = ReadTrapSpeed(*this, "speed_in", 200.0f, false, warn);
  waitIn = ReadTrapSetting(*this, "wait_in", 0.0f, false, warn);
  waitOut = ReadTrapSetting(*this, "wait_out", 0.0f, false, warn);
  const auto kind = properties.find("type");
  const std::string look = kind == properties.end() ? "m" : kind->second;
  CreateSprite(look == "m"   ? "Graphics/Traps/trp_stomper_m.png"
               : look == "l" ? "Graphics/Traps/trp_stomper_l.png"
                             : "Graphics/Traps/trp_stomper_r.png",
               0.0f);
  const auto dir = properties.find("dir");
  const std::string word = dir == properties.end() ? "left" : dir->second;
  direction = word == "left" ? kLeft : word == "up" ? kUp : word == "right" ? kRight : kDown;

  const float w = static_cast<float>(FrameWidth());
  const float h = static_cast<float>(FrameHeight());
  const float reach = maxOut / 100.0f * w;
  switch (direction) {
    case kUp:
      offsetIn = {(h - w) / 2.0f, (w + h) / 2.0f - 64.0f};
      offsetOut = {offsetIn.x, offsetIn.y - reach};
      break;
    case kDown:
      offsetIn = {(h - w) / 2.0f, (h - w) / 2.0f};
      offsetOut = {offsetIn.x, offsetIn.y + reach};
      break;
    case kRight:
      offsetIn = {64.0f - w, 0.0f};
      offsetOut = {offsetIn.x + reach, 0.0f};
      break;
    default:
      offsetIn = {0.0f, 0.0f};
      offsetOut = {-reach, 0.0f};
      break;
  }
  offset = offsetIn;
  TurnSprite();
}

void CStomperTrap::Reset() {
  CMovableObject::Reset();
  const bool warn = !settingsChecked;
  settingsChecked = true;
  phase = kWaitingIn;
  waitInTimer = ReadTrapSetting(*this, "counter", 0.0f, false, warn);
  waitOutTimer = 0.0f;
  maxOut = ReadMaxOut(*this, warn);
  active = GetIntProperty("active") != 0;
  offset = offsetIn;
  soundPlayed = false;
  slammed = false;
}

bool CStomperTrap::Blocked() const {
  // At rest the probes lie in the wall the block comes out of; until they
  // have cleared it (their own depth) that wall is no obstacle.
  const float depth =
      std::max(frontBoxLocal.right - frontBoxLocal.left, backBoxLocal.right - backBoxLocal.left);
  const float travelled = std::abs((offset.x + offset.y) - (offsetIn.x + offsetIn.y));
  if (!level || travelled < depth) return false;
  if (const CTileLayer* tiles = level->GetCollisionLayer())
    if (tiles->Collide(frontBox, nullptr) && tiles->Collide(backBox, nullptr)) return true;
  return level->CollideWithType(frontBox, "trap_stomper", 0, nullptr, true, this);
}

bool CStomperTrap::Update(float seconds, bool) {
  RunCycle(seconds);
  PlaceSprite(seconds);
  hitBox = FollowSprite(bodyBoxLocal, true);
  frontBox = FollowSprite(frontBoxLocal, false);
  backBox = FollowSprite(backBoxLocal, false);
  if (phase == kMovingOut && Blocked()) {
    phase = kWaitingOut;
    slammed = true;
  }
  return true;
}

void CStomperTrap::Draw(int screenX, int screenY) {
  const float px = x + offset.x + static_cast<float>(screenX);
  const float py = y + offset.y + static_cast<float>(screenY);
  if (CSprite* sprite = GetSprite()) {
    sprite->SetPosition(px, py);
    sprite->Advance(0.0f);
    sprite->Draw(1.0f, nullptr);
  }
  const float w = static_cast<float>(FrameWidth());
  const float h = static_cast<float>(FrameHeight());
  const float soundX = direction == kLeft ? px - w : direction == kRight ? px + w : px;
  const float soundY = direction == kUp ? py - h : direction == kDown ? py + h : py;
  float distance = 0.0f;
  const float gain = GainAt(soundX, soundY, &distance);
  CCamera* camera = level ? level->GetCamera() : nullptr;
  if (distance < 1280.0f && camera && slammed) {
    slammed = false;
    camera->shakeTime = 0.5f;
    camera->shakeX = camera->shakeY = (1.0f - distance / 1280.0f) * 10.0f;
  }
  PlayPhaseSound("Audio/sfx/sfx_Stomper_out.wav", "Audio/sfx/sfx_Stomper_in.wav", gain);
}
