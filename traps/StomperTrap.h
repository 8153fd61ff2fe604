#pragma once

#include "traps/ExtendingTrap.h"

// The map's "trap_stomper": a heavy block that slams out of a wall, floor
// or ceiling and pulls back. It is solid (its body is the base hit box); it
// stops early against the level or another stomper and shakes the camera.
// The map object sits on the wall tile next to the face the block comes out
// of; the block is hidden in the wall behind it, 256 pixels deep.
class CStomperTrap : public CExtendingTrap {
public:
  CStomperTrap();

  void Init() override;
  // Head in, waiting to go out; timers, "max_out" and activation from the
  // properties.
  void Reset() override;
  bool Update(float seconds, bool silent) override;
  void Draw(int screenX, int screenY) override;

  // It stopped against the level or another stomper; the next draw near
  // the screen shakes the camera.
  bool slammed = false;
  // The two probes at the ends of the head's face, in level space.
  CHitBox frontBox;
  CHitBox backBox;
  // As read from the box file, in frame pixels of the left-pointing block.
  CHitBox bodyBoxLocal;
  CHitBox frontBoxLocal;
  CHitBox backBoxLocal;

private:
  // Whether the head, moving out, has run into the level or another
  // stomper.
  bool Blocked() const;

  bool settingsChecked = false;
};
