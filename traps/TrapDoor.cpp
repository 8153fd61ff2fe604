#include "traps/TrapDoor.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "audio/AudioManager.h"
#include "graphics/Sprite.h"
#include "objects/HitBoxFile.h"
#include "traps/TrapSettings.h"

namespace {

int Side(const std::string& word) {
  if (word == "left") return CTrapDoor::kLeft;
  if (word == "up") return CTrapDoor::kUp;
  if (word == "right") return CTrapDoor::kRight;
  return CTrapDoor::kDown;
}

}  // namespace

CTrapDoor::CTrapDoor() {
  LoadHitBox("", -1, "Values/Trap Collisions/Door", boxLocal);
  hitBox = boxLocal;
}

void CTrapDoor::SetActive(bool value) { released = value; }

void CTrapDoor::Init() {
  auto word = [this](const char* key, const char* fallback) {
    const auto found = properties.find(key);
    return found == properties.end() ? std::string(fallback) : found->second;
  };
  direction = Side(word("dir", "left"));
  attach = Side(word("attach", "left"));
  const std::string look = word("type", "grass");
  CreateSprite(look == "grass"   ? "Graphics/Traps/trp_trapdoor_grass.png"
               : look == "stone" ? "Graphics/Traps/trp_trapdoor_stone.png"
               : look == "wood"  ? "Graphics/Traps/trp_trapdoor_wood.png"
                                 : "Graphics/Traps/trp_trapdoor_woodstone.png",
               0.0f);
  Reset();
}

void CTrapDoor::Reset() {
  CMovableObject::Reset();
  const bool warn = !settingsChecked;
  settingsChecked = true;
  atRest = released = false;
  drawOffset = {0.0f, 0.0f};
  angle = 0.0f;
  angularSpeed = 0.0f;
  speed = ReadTrapSpeed(*this, "speed", 10.0f, true, warn);
  active = GetIntProperty("active") != 0;
  solidWhenOpen = GetIntProperty("car") != 0;
  solidWhenClosed = GetIntProperty("cbr") == 0;

  CSprite* sprite = GetSprite();
  if (!sprite) return;
  const float w = static_cast<float>(sprite->GetFrameWidth());
  const float h = static_cast<float>(sprite->GetFrameHeight());
  const bool downOrLeft = attach == kDown || attach == kLeft;
  const bool downOrRight = attach == kDown || attach == kRight;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  float rotation = 0.0f;
  Vector2 pivot{0.0f, 0.0f};
  switch (direction) {
    case kUp:
      pivot = {downOrLeft ? 0.0f : w, 0.0f};
      break;
    case kDown:
      scaleY = -1.0f;
      drawOffset = {0.0f, h};
      pivot = {downOrLeft ? 0.0f : w, 0.0f};
      break;
    case kLeft:
      rotation = 270.0f;
      drawOffset = {0.0f, downOrLeft ? h : 0.0f};
      if (!downOrLeft) scaleX = -1.0f;
      break;
    default:
      rotation = 90.0f;
      drawOffset = {w, downOrRight ? h : 0.0f};
      if (downOrRight) scaleX = -1.0f;
      break;
  }
  sprite->SetScale(scaleX, scaleY);
  sprite->SetCentre(pivot.x, pivot.y);
  sprite->SetRotation(rotation);
  angle = rotation;
}

float CTrapDoor::ClosedAngle() const {
  return direction == kLeft ? 270.0f : direction == kRight ? 90.0f : 0.0f;
}

float CTrapDoor::StopAngle() const {
  const bool downOrLeft = attach == kDown || attach == kLeft;
  switch (direction) {
    case kUp:
      return downOrLeft ? 90.0f : -90.0f;
    case kDown:
      return downOrLeft ? -90.0f : 90.0f;
    case kLeft:
      return downOrLeft ? 360.0f : 180.0f;
    default:
      return attach == kDown || attach == kRight ? 0.0f : 180.0f;
  }
}

CHitBox CTrapDoor::TurnedBox(float degrees) const {
  // The picture's own transform (scale about the hinge, turn about it,
  // move to the draw position) applied to the plank's box, so the door is
  // solid exactly where it is drawn.
  const CSprite* sprite = GetSprite();
  if (!sprite) return {};
  const Vector2 pivot{sprite->GetCentreX(), sprite->GetCentreY()};
  const Matrix2D transform = Matrix2D::Transformation2D(
      pivot, {sprite->GetScaleX(), sprite->GetScaleY()}, pivot,
      static_cast<float>(degrees * std::numbers::pi / 180.0), {x + drawOffset.x, y + drawOffset.y});
  return BoundsThrough(boxLocal, transform);
}

CHitBox CTrapDoor::ClosedBox() const { return TurnedBox(ClosedAngle()); }

CHitBox CTrapDoor::OpenBox() const { return TurnedBox(StopAngle()); }

bool CTrapDoor::Update(float seconds, bool silent) {
  CSprite* sprite = GetSprite();
  if (sprite) {
    sprite->SetPosition(x + drawOffset.x, y + drawOffset.y);
    sprite->Advance(seconds);
  }
  // A door marked "active" in the map is released without this sound.
  if (!active && elapsed >= delay && released) {
    CAudioManager* audio = CAudioManager::GetInstance();
    if (!silent && audio) audio->PlaySound("Audio/sfx/sfx_trap_door.wav", false, 1.0f);
    active = true;
  }
  if (atRest) return true;
  if (released && elapsed < delay) elapsed += seconds;
  if (!released || elapsed < delay) {
    hitBox = solidWhenClosed ? ClosedBox() : CHitBox();
    return true;
  }
  hitBox = solidWhenOpen ? OpenBox() : CHitBox();
  angularSpeed += speed;
  const float stop = StopAngle();
  const bool increasing = stop > ClosedAngle();
  angle += (increasing ? angularSpeed : -angularSpeed) * seconds;
  if (increasing ? angle >= stop : angle <= stop) {
    angle = stop;
    // Each bounce keeps two thirds of the speed; one slower than a single
    // step's gain ends the swing.
    if (angularSpeed >= speed)
      angularSpeed = -angularSpeed * 2.0f / 3.0f;
    else
      atRest = true;
  }
  if (sprite) sprite->SetRotation(angle);
  return true;
}

void CTrapDoor::Draw(int screenX, int screenY) {
  CSprite* sprite = GetSprite();
  if (!sprite) return;
  sprite->SetPosition(x + drawOffset.x + static_cast<float>(screenX),
                      y + drawOffset.y + static_cast<float>(screenY));
  sprite->Advance(0.0f);
  sprite->Draw(1.0f, nullptr);
}
