#pragma once

#include <memory>

#include "objects/HitBox.h"
#include "objects/MovableObject.h"

class CSprite;

// An arrow in flight, shot by an arrow trap into the level's spawned
// objects (type "dynamic_arrow"). It flies straight at constant speed and
// ends on a solid tile, a stomper, a trap door, a spear's shaft or the
// level's edge; the player dies on touching it.
class CDynamicArrow : public CMovableObject {
public:
  enum { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };

  CDynamicArrow();
  ~CDynamicArrow() override;

  // Turns the left-pointing picture to the direction.
  void Init() override;
  // A respawn ends every arrow in flight (at its next update).
  void Reset() override;
  bool Update(float seconds, bool silent) override;
  void Draw(int screenX, int screenY) override;

  bool finished = false;
  // Pixels per second along the direction.
  float speed = 0.0f;
  int direction = kLeft;
  // The box in the left-pointing picture.
  CHitBox localBox;
  // Not the base image: the trap's position is the arrow's top left as it
  // is, not lifted by the picture's height.
  std::unique_ptr<CSprite> sprite;
  // Shared with the trap that shot it: how many of its arrows are in flight.
  std::shared_ptr<int> liveCount;

private:
  // The hit box where the turned picture has it.
  void PlaceBox();
};
