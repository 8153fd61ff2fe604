#pragma once

#include <functional>
#include <string>
#include <vector>

#include "frontend/MenuItem.h"
#include "graphics/BitmapFont.h"

// The display resolution, chosen with Left and Right among the device's
// display modes and applied when chosen. A choice not applied is forgotten
// once the selection moves to another item.
class CMenuSelection : public CMenuItem {
public:
  // At the device's current size (see ShowCurrentSize).
  CMenuSelection(std::string label, float x, float y);

  void Activate() override;
  void Update(float seconds) override;
  void Draw(float x, float y, bool selected) override;

  // Both choices become the index of the device's current size in its mode
  // list; -1 when the size is not in it, or without a device.
  void ShowCurrentSize();
  bool IsValidChoice(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < choices.size();
  }

  // Told of each size applied.
  std::function<void(unsigned width, unsigned height)> applied;

  int choice = -1;
  int committedChoice = -1;
  std::vector<std::string> choices;
  std::string label;
  CBitmapFont font;
};
