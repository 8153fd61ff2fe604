#pragma once

#include <deque>
#include <string>

#include "graphics/BitmapFont.h"
#include "graphics/Sprite.h"

// A short notice at the top of the screen in play for each achievement
// earned, one after the other: it fades in, stays, and fades out.
class CAchievementBanner {
public:
  static constexpr float kFade = 0.25f;
  static constexpr float kShown = 3.0f;  // in all, fades included

  CAchievementBanner();

  void Add(const std::string& title);
  void Update(float seconds);
  // Into the sprite batch the caller has begun.
  void Draw() const;

  bool IsShowing() const { return !titles.empty(); }
  const std::string& Shown() const { return titles.front(); }
  std::size_t Waiting() const { return titles.size(); }

private:
  std::deque<std::string> titles;
  float time = 0.0f;  // of the one shown
  CBitmapFont font;
  CSprite band;
};
