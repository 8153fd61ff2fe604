#pragma once

#include "frontend/MenuNavigator.h"
#include "graphics/BitmapFont.h"
#include "graphics/Sprite.h"

// The panel over the level once it is completed: the run's time (red for a
// new best), the scroll of this run, and retry / continue / back to menu.
// Owned by the gameplay state; drawn into the gameplay state's sprite batch.
class CLevelFinishScreen {
public:
  CLevelFinishScreen();

  // Set by the gameplay state when the result was a new best time.
  bool newRecord = false;

  void Update(float seconds);
  // Into the sprite batch the caller has begun.
  void Draw();

  float x = 0.0f;
  float y = 0.0f;
  CMenuNavigator navigator;
  CSprite scrollIcon;
  CSprite greyScrollIcon;
  CBitmapFont font;
};
