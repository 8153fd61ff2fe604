#pragma once

#include "objects/MovableObject.h"

// An invisible area that switches another object (its target, named by the
// property "target") on when the player touches it, every step of the
// touch. The target waits the trigger's "delay" seconds before acting.
class CTrigger : public CMovableObject {
public:
  // Touching fires only with a target; the depth is never written.
  bool Collide(const CHitBox& box, int mode, float* depth) override;
  void Init() override;
  bool Update(float seconds, bool silent) override;

  // Not owned; set by the level after loading.
  CMovableObject* target = nullptr;
};
