#pragma once

#include "objects/HitBox.h"
#include "objects/MovableObject.h"
#include "platform/Matrix2D.h"

// A trap that slides out of a wall, floor or ceiling, waits, slides back and
// waits again, for ever once it is active: the spear and the stomper. Its
// picture points left and is turned for the other directions; only the part
// that has come out is drawn, and its boxes follow that part.
class CExtendingTrap : public CMovableObject {
public:
  enum { kWaitingIn = 0, kMovingOut = 1, kWaitingOut = 2, kMovingIn = 3 };
  enum { kUp = 0, kDown = 1, kLeft = 2, kRight = 3 };

  int phase = kWaitingIn;
  // The sound of the current moving phase has been played.
  bool soundPlayed = false;
  // Pixels per second.
  float speedOut = 700.0f;
  float speedIn = 200.0f;
  // Seconds to wait in and out, and spent in the current wait.
  float waitIn = 0.0f;
  float waitOut = 0.0f;
  float waitInTimer = 0.0f;
  float waitOutTimer = 0.0f;
  // Percent of the full travel.
  float maxOut = 100.0f;
  int direction = kLeft;
  // The picture's top left relative to the position: now, fully in, fully out.
  Vector2 offset;
  Vector2 offsetIn;
  Vector2 offsetOut;

  // How far the trap has come out, in whole pixels: the drawn length.
  int Extension() const;

protected:
  // Waits out the activation delay, then one step of the cycle: wait in,
  // move out at speedOut, wait out, move in at speedIn.
  void RunCycle(float seconds);
  // Puts the picture at position + offset showing only the part that has
  // come out, and advances it.
  void PlaceSprite(float seconds);
  // A box of the left-pointing picture (frame pixels) where the turned
  // picture has it now. `stretch`: the box ends where the drawn part ends
  // (a shaft or body coming out of the wall); otherwise it rides with the
  // head. No box (all zero) while nothing of it has come out.
  CHitBox FollowSprite(const CHitBox& local, bool stretch) const;
  // Rotates or mirrors the left-pointing picture for the direction.
  void TurnSprite();
  // How loud a sound at this screen point is: full at the middle of the
  // screen, silent 1280 pixels or more away. `distance` receives the
  // distance.
  static float GainAt(float screenX, float screenY, float* distance);
  // The sound of a moving phase, once per phase; rearmed while waiting.
  void PlayPhaseSound(const char* outSound, const char* inSound, float gain);

  int FrameWidth() const;
  int FrameHeight() const;
};
