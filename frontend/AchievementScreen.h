#pragma once

#include <cstddef>

#include "frontend/MenuScreen.h"
#include "graphics/Sprite.h"

// "achievements": every achievement with its condition and whether it is
// earned, a page of rows at a time (Left and Right page), and "BACK".
class CAchievementScreen : public CMenuScreen {
public:
  static constexpr std::size_t kRowsPerPage = 6;

  explicit CAchievementScreen(CMenuNavigator* navigator);

  void Update(float seconds) override;
  void Draw() override;

  std::size_t PageCount() const;

  std::size_t page = 0;

private:
  CSprite earnedIcon;
  CSprite openIcon;
};
