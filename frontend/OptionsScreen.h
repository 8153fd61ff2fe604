#pragma once

#include "frontend/MenuScreen.h"

class CMenuSelection;

// "options": resolution, full screen, vertical sync, music and sound
// effects. Every change acts at once on the device or the sounds and is
// kept in the player's options file for the next start.
class COptionsScreen : public CMenuScreen {
public:
  explicit COptionsScreen(CMenuNavigator* navigator);

  // Shows the device's size of the moment: it may have changed elsewhere.
  void Enter() override;

  CMenuSelection* resolution = nullptr;  // owned as an item
};
