#pragma once

#include "objects/HitBox.h"
#include "objects/MovableObject.h"

// The map's "trap_bamboo": a static row of sharpened bamboo, deadly from
// the first step. "type" picks the picture (a large single piece, the l, m
// and r pieces of a longer row, an inner and an outer corner), "dir" turns a
// straight piece and "cdir" mirrors a corner into its corner.
class CBambooTrap : public CMovableObject {
public:
  enum { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };

  CBambooTrap();

  void Init() override;
  bool Update(float seconds, bool silent) override;

  // 0 the picture as drawn (points up), 1 flipped, 2 and 3 turned to point
  // left and right.
  int direction = kLeft;
  // As read from the box files, in frame pixels of the upright picture.
  CHitBox smallBox;
  CHitBox largeBox;
  // The one of the piece's type.
  CHitBox box;

private:
  // The hit box where the turned and mirrored picture has `box`.
  void PlaceBox();

  float scaleX = 1.0f;
  float scaleY = 1.0f;
  float rotation = 0.0f;
};
