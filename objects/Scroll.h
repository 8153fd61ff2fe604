#pragma once

#include "objects/HitBox.h"
#include "objects/MovableObject.h"

// The map's "scroll", the level's collectible: it bobs up and down until
// the player takes it. Taken (active), it is hidden and cannot be touched;
// a death before the next checkpoint brings it back, unless the player
// reached a checkpoint with it, which keeps it for good.
class CScroll : public CMovableObject {
public:
  CScroll();

  // true: taken; false: kept for good (the player reached a checkpoint with
  // it), so later resets leave it taken.
  void SetActive(bool value) override;
  void Init() override;
  // Unless kept: settings from the properties, bobbing from the start, and
  // taken only with the property "active".
  void Reset() override;
  bool Update(float seconds, bool silent) override;
  void Draw(int screenX, int screenY) override;

  bool kept = false;
  // Bobbing amplitude in pixels, angle in degrees, current height offset in
  // pixels, speed in degrees per second.
  float latitude = 8.0f;
  float phase = 0.0f;
  float offset = 0.0f;
  float speed = 125.0f;
  // The hit box relative to the position, from the box file.
  CHitBox localBox;
};
