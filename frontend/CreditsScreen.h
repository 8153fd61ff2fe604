#pragma once

#include <memory>
#include <string>
#include <vector>

#include "frontend/MenuScreen.h"
#include "graphics/Sprite.h"

// "credits": nine pages (the six of the team with their portraits, the
// freelancers, special thanks, legal notes), paged with Left and Right,
// and "BACK". The page shown survives leaving the screen.
class CCreditsScreen : public CMenuScreen {
public:
  struct Page {
    std::string title;
    std::string body;  // lines separated by "\n"
    CSprite picture;   // without texture on pages without a picture
  };
  static constexpr int kPageCount = 9;

  explicit CCreditsScreen(CMenuNavigator* navigator);

  // Once the screen is placed: pictures take their places from its offset.
  void BuildCredits();

  void Update(float seconds) override;
  void Draw() override;

  const Page& GetPage(int index) const { return *pages[static_cast<std::size_t>(index)]; }
  std::size_t PageCount() const { return pages.size(); }

  int page = 0;

private:
  std::vector<std::unique_ptr<Page>> pages;
};
