#include "traps/SpearTrap.h"

#include "graphics/Sprite.h"
#include "objects/HitBoxFile.h"
#include "traps/TrapSettings.h"

namespace {

const char* const kBoxes = "Values/Trap Collisions/Spear";
constexpr float kTravel = 220.0f;  // pixels at "max_out" 100
// The spear's picture is 256 pixels long; these place its base 24 pixels
// inside the wall face.
constexpr float kInset = 120.0f;
constexpr float kShift = 96.0f;

}  // namespace

CSpearTrap::CSpearTrap() {
  LoadHitBox("Collision", -1, kBoxes, solidBoxLocal);
  LoadHitBox("Damage", -1, kBoxes, damageBoxLocal);
  solidBox = solidBoxLocal;
  hitBox = damageBoxLocal;
}

bool CSpearTrap::Collide(const CHitBox& box, int mode, float* depth) {
  return Intersects(mode != 0 ? solidBox : hitBox, box, depth);
}

void CSpearTrap::Init() {
  CreateSprite("Graphics/Traps/trp_spear_head.png", 0.0f);
  Reset();
}

void CSpearTrap::Reset() {
  CMovableObject::Reset();
  const bool warn = !settingsChecked;
  settingsChecked = true;
  speedOut = ReadTrapSpeed(*this, "speed_out", 700.0f, false, warn);
  speedIn = ReadTrapSpeed(*this, "speed_in", 200.0f, false, warn);
  waitIn = ReadTrapSetting(*this, "wait_in", 0.0f, false, warn);
  waitOut = ReadTrapSetting(*this, "wait_out", 0.0f, false, warn);
  waitInTimer = ReadTrapSetting(*this, "counter", 0.0f, false, warn);
  maxOut = ReadMaxOut(*this, warn);
  active = GetIntProperty("active") != 0;
  const auto dir = properties.find("dir");
  const std::string word = dir == properties.end() ? "left" : dir->second;
  // Another word keeps the direction the spear had.
  if (word == "left") direction = kLeft;
  if (word == "up") direction = kUp;
  if (word == "right") direction = kRight;
  if (word == "down") direction = kDown;
  phase = kWaitingIn;
  waitOutTimer = 0.0f;
  soundPlayed = false;

  const float reach = kTravel * maxOut / 100.0f;
  switch (direction) {
    case kUp:
      offsetIn = {0.0f, kInset};
      offsetOut = {0.0f, kInset - reach};
      break;
    case kDown:
      offsetIn = {0.0f, -kInset};
      offsetOut = {0.0f, reach - kInset};
      break;
    case kRight:
      offsetIn = {-kInset, 0.0f};
      offsetOut = {reach - kInset, 0.0f};
      break;
    default:
      offsetIn = {kInset, 0.0f};
      offsetOut = {kInset - reach, 0.0f};
      break;
  }
  offsetIn.x -= kShift;
  offsetOut.x -= kShift;
  offset = offsetIn;
  TurnSprite();
}

bool CSpearTrap::Update(float seconds, bool) {
  RunCycle(seconds);
  PlaceSprite(seconds);
  solidBox = FollowSprite(solidBoxLocal, true);
  hitBox = FollowSprite(damageBoxLocal, false);
  return true;
}

void CSpearTrap::Draw(int screenX, int screenY) {
  const float px = x + static_cast<float>(screenX);
  const float py = y + static_cast<float>(screenY);
  if (CSprite* sprite = GetSprite()) {
    sprite->SetPosition(px + offset.x, py + offset.y);
    sprite->Advance(0.0f);
    sprite->Draw(1.0f, nullptr);
  }
  PlayPhaseSound("Audio/sfx/sfx_spear_out.wav", "Audio/sfx/sfx_spear_in.wav",
                 GainAt(px, py, nullptr));
}
