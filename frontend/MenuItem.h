#pragma once

#include "objects/HitBox.h"

class CMenuScreen;

// One entry of a menu screen. The screen owns its items; mouse hits use the
// rectangle the item drew last.
class CMenuItem {
public:
  virtual ~CMenuItem() = default;
  // Only called for an enabled item.
  virtual void Activate() = 0;
  virtual void Update(float seconds) = 0;
  // (x, y) is the screen's offset.
  virtual void Draw(float x, float y, bool selected) = 0;

  CMenuScreen* owner = nullptr;  // set when added to a screen
  CHitBox hitBox;                // what Draw drew last; all zero before
  float x = 0.0f;
  float y = 0.0f;
  // A disabled item can be selected but not activated.
  bool enabled = true;
};
