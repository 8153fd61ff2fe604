#pragma once

#include "objects/HitBox.h"
#include "objects/MovableObject.h"
#include "platform/Matrix2D.h"

// The map's "trap_door": a plank of grass, stone or wood that a trigger
// releases; it then swings open on its hinge, faster and faster, bounces
// against its stop with two thirds of its speed each time and comes to
// rest. Solid before the release unless "cbr" is set, solid while and
// after it swings only with "car".
class CTrapDoor : public CMovableObject {
public:
  enum { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };

  CTrapDoor();

  // Releases the door (what a trigger calls).
  void SetActive(bool value) override;
  void Init() override;
  // Closed again, with the settings from the properties.
  void Reset() override;
  // `silent`: the release makes no sound (the replay ghost's level).
  bool Update(float seconds, bool silent) override;
  void Draw(int screenX, int screenY) override;

  // The box of the door closed, or resting against its stop, in level
  // space; edges in order whatever the placement.
  CHitBox ClosedBox() const;
  CHitBox OpenBox() const;

  bool atRest = false;
  bool released = false;
  bool solidWhenOpen = false;
  bool solidWhenClosed = true;
  // Degrees per second, and what each step of the swing adds to it.
  float angularSpeed = 0.0f;
  float speed = 10.0f;
  float angle = 0.0f;
  // Added to the position where the picture is placed.
  Vector2 drawOffset;
  // The way the plank points from its hinge, and the side the hinge is on.
  int direction = kLeft;
  int attach = kLeft;
  // As read from the box file, in frame pixels of the flat plank.
  CHitBox boxLocal;

private:
  // The angle of the closed door, and the one it swings to.
  float ClosedAngle() const;
  float StopAngle() const;
  // boxLocal turned with the picture at `degrees`.
  CHitBox TurnedBox(float degrees) const;

  bool settingsChecked = false;
};
