#include "objects/Scroll.h"

#include <cmath>

#include "graphics/Sprite.h"
#include "objects/HitBoxFile.h"

CScroll::CScroll() {
  LoadHitBox("", -1, "Values/Misc Collisions/Scroll", hitBox);
  localBox = hitBox;
}

void CScroll::SetActive(bool value) {
  if (value) {
    active = true;
    // Gone at once: the hero's other boxes, asked later in the same step,
    // must not take it again.
    hitBox = CHitBox();
  } else {
    kept = true;
  }
}

void CScroll::Init() {
  Reset();
  CreateSprite("Graphics/Misc/misc_scroll.png", 0.0f);
}

void CScroll::Reset() {
  if (kept) return;
  speed = static_cast<float>(GetDoublePropertyIntTested(properties, "speed", 125.0));
  latitude = static_cast<float>(GetDoublePropertyIntTested(properties, "latitude", 8.0));
  active = GetIntProperty("active") != 0;
  phase = 0.0f;
}

bool CScroll::Update(float seconds, bool) {
  if (active) {
    hitBox = CHitBox();
    return true;
  }
  // Kept within one turn, so hours of bobbing stay as smooth as the first.
  phase = std::fmod(phase + seconds * speed, 360.0f);
  offset = latitude * std::sin(phase * 3.1415927f / 180.0f);
  hitBox = localBox.Offset(x, y + offset);
  return true;
}

void CScroll::Draw(int screenX, int screenY) {
  CSprite* sprite = GetSprite();
  if (active || !sprite) return;
  sprite->SetPosition(x + static_cast<float>(screenX), y + static_cast<float>(screenY) + offset);
  sprite->Advance(0.0f);
  sprite->Draw(1.0f, nullptr);
}
