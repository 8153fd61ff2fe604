#pragma once

#include <cstdint>
#include <string>

#include "frontend/MenuItem.h"
#include "graphics/BitmapFont.h"
#include "graphics/Sprite.h"

// One level of the level selection: its name, best time and scroll, greyed
// with the scrolls still missing while it is locked. Choosing it loads the
// level over the menu.
class CLevelLink : public CMenuItem {
public:
  // Where the times end, right-aligned, relative to the screen; a name is
  // cut short before it comes within kGap of its row's time.
  static constexpr float kTimeRight = 425.0f;
  static constexpr float kGap = 12.0f;

  // Locked (not enabled) unless `requirement` is at most the progress
  // store's collected scrolls.
  CLevelLink(std::string text, std::string path, float bestTime, bool scroll,
             std::uint32_t requirement, float x, float y);

  void Activate() override;
  void Update(float seconds) override;
  void Draw(float x, float y, bool selected) override;

  std::string text;
  std::string path;  // Levels/CHAPTER/NAME.tmx
  CBitmapFont font;
  CSprite scrollIcon;
  CSprite greyScrollIcon;
  bool scroll = false;
  float bestTime = 0.0f;  // 0: no record
  std::uint32_t requirement = 0;
  // Where the name and the time were drawn last.
  TextBounds nameBounds;
  TextBounds timeBounds;
};
