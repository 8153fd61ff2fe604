#pragma once

#include "objects/MovableObject.h"

// A picture of the map's "Background" layer. It stays where the map put it
// (or at its "x" and "y" properties when they are not 0) and never
// collides.
class CBackground : public CMovableObject {
public:
  void Init() override;
  bool Update(float seconds, bool silent) override;

  float baseX = 0.0f;
  float baseY = 0.0f;
};
