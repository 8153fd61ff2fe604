#pragma once

#include "graphics/Sprite.h"

// A sprite preset to one of the player's effect animations:
// 0 slide start, 1 slide loop, 2 wall jump, 3 collect.
class CParticle : public CSprite {
public:
  // Unknown types leave the particle unchanged.
  void SetType(int newType);
  int GetType() const { return type; }

private:
  int type = 0;
};
