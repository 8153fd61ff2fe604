#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "frontend/MenuItem.h"
#include "graphics/BitmapFont.h"

// A setting that is on or off: shows ": ON" or ": OFF" after its label and
// flips when chosen. Without both functions it shows no value and does
// nothing.
class CMenuOption : public CMenuItem {
public:
  using Setter = std::function<void(bool)>;
  // 1 on, 0 off; any other value shows nothing.
  using Getter = std::function<std::uint8_t()>;

  CMenuOption(std::string label, float x, float y, Setter setter, Getter getter);

  void Activate() override;
  void Update(float seconds) override;
  void Draw(float x, float y, bool selected) override;

  std::string label;
  CBitmapFont font;
  Setter setter;
  Getter getter;
};
