#pragma once

#include <string>

#include "frontend/MenuItem.h"
#include "graphics/BitmapFont.h"

// A label that runs an action through its screen's navigator when chosen.
class CMenuLink : public CMenuItem {
public:
  CMenuLink(std::string text, std::string action, float x, float y, int alignment = 0);

  void Activate() override;
  void Update(float seconds) override;
  void Draw(float x, float y, bool selected) override;

  int alignment = CBitmapFont::kLeft;
  std::string text;
  std::string action;
  CBitmapFont font;
};

// Places the program-wide cursor sprite and draws it, beside a selected
// item's label.
void DrawMenuCursor(float x, float y);
