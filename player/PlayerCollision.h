#pragma once

#include "objects/HitBox.h"
#include "player/PHBox.h"

class CPlayer;

// The hero's four boxes and how they meet the level: the solid world
// (tiles, spear shafts, trap doors, stompers), stompers that push, carry and
// crush, and the objects that react to a touch (triggers, checkpoints, the
// scroll, the end of the level, the traps that kill).
class CPlayerCollision {
public:
  explicit CPlayerCollision(CPlayer& owner) : player(owner) {}

  // Both box sets: standing from "Default", crouching from the crouch
  // animation's file. A set whose file does not read keeps what it had.
  void LoadBoxSets();
  // Places the boxes of the set that fits the current animation so that the
  // frame's bottom centre sits on the position, and moves the animation
  // there.
  void UpdateHitBoxes();
  // Tiles, then spear shafts, trap doors and stompers; the first hit gives
  // `depth` (x and y, when given).
  bool IsBlocked(const CHitBox& box, float* depth) const;
  // Tells triggers, checkpoints, the scroll and the end objects of the
  // touch; true when a trap that kills is touched.
  bool TouchObjects(const CHitBox& box);
  // One step's resolution against the level: touches, stompers, then floor,
  // ceiling and walls; a trap or a crush kills.
  void CollideWorld();

  const CHitBox& LeftBox() const { return leftBox; }
  const CHitBox& RightBox() const { return rightBox; }
  const CHitBox& TopBox() const { return topBox; }
  const CHitBox& BottomBox() const { return bottomBox; }
  const CPHBox& StandingSet() const { return standing; }
  const CPHBox& CrouchingSet() const { return crouching; }

private:
  // True when a stomper crushes the hero.
  bool PushByStompers();

  CPlayer& player;
  CPHBox standing;
  CPHBox crouching;
  CHitBox leftBox;
  CHitBox rightBox;
  CHitBox topBox;
  CHitBox bottomBox;
};
