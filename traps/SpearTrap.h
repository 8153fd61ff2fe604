#pragma once

#include "traps/ExtendingTrap.h"

// The map's "trap_spear": a spear that slides out of a wall, floor or
// ceiling and back. Its shaft is solid, its head kills. The map object sits
// on the wall tile next to the face the spear comes out of; the spear
// reaches up to 196 pixels past that face ("max_out" percent of it).
class CSpearTrap : public CExtendingTrap {
public:
  CSpearTrap();

  // mode != 0: the solid shaft; mode 0: the deadly head (the base hit box).
  bool Collide(const CHitBox& box, int mode, float* depth) override;
  void Init() override;
  // Settings from the properties, head in, waiting to go out.
  void Reset() override;
  bool Update(float seconds, bool silent) override;
  void Draw(int screenX, int screenY) override;

  // The shaft in level space; the head is the base hit box.
  CHitBox solidBox;
  // As read from the box file, in frame pixels of the left-pointing spear.
  CHitBox solidBoxLocal;
  CHitBox damageBoxLocal;

private:
  bool settingsChecked = false;
};
