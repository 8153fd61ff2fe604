#include "frontend/AchievementScreen.h"

#include <string>

#include "frontend/BackLink.h"
#include "frontend/MenuInput.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "input/InputManager.h"
#include "progress/ProgressStore.h"

namespace {

constexpr std::uint32_t kBlack = 0xff000000;
constexpr std::uint32_t kFaded = 0x5f000000;
constexpr float kRowTop = 150.0f;
constexpr float kRowStep = 48.0f;

const std::vector<Achievement>* List() {
  const CProgressStore* progress = CProgressStore::GetInstance();
  return progress ? &progress->achievements : nullptr;
}

}  // namespace

CAchievementScreen::CAchievementScreen(CMenuNavigator* owner) : CMenuScreen("achievements", owner) {
  SetBackground("Graphics/Misc/ui_menu_bg.png");
  CTextureManager* textures = CTextureManager::GetInstance();
  const std::pair<CSprite*, const char*> icons[] = {
      {&earnedIcon, "Graphics/Misc/ui_scroll.png"},
      {&openIcon, "Graphics/Misc/ui_scroll_grey.png"},
  };
  for (auto [icon, image] : icons) {
    icon->Init(CDirect3D::GetInstance());
    if (textures) icon->SetTexture(1, 4, 0, 0, 0.0f, textures->GetTexture(image));
    icon->SetScale(0.75f, 0.75f);
  }
  AddItem(new CBackLink("BACK", "back", 300.0f, 450.0f, CBitmapFont::kCentre));
}

std::size_t CAchievementScreen::PageCount() const {
  const std::vector<Achievement>* list = List();
  const std::size_t count = list ? list->size() : 0;
  return count == 0 ? 1 : (count + kRowsPerPage - 1) / kRowsPerPage;
}

void CAchievementScreen::Update(float seconds) {
  const CInputManager* input = CInputManager::GetInstance();
  const std::size_t pages = PageCount();
  if (input && pages > 1) {
    if (MenuRightPressed(*input)) {
      page = page + 1 >= pages ? 0 : page + 1;
      PlaySwitch();
    } else if (MenuLeftPressed(*input)) {
      page = page == 0 || page >= pages ? pages - 1 : page - 1;
      PlaySwitch();
    }
  }
  CMenuScreen::Update(seconds);
}

void CAchievementScreen::Draw() {
  CMenuScreen::Draw();
  const std::vector<Achievement>* list = List();
  if (!list) return;
  std::size_t earned = 0;
  for (const Achievement& achievement : *list) earned += achievement.achieved;
  const float centre = x + static_cast<float>(background.GetFrameWidth() / 2);
  font.DrawText("ACHIEVEMENTS", nullptr, 0.6f, CBitmapFont::kCentre, kBlack, 1.0f, centre,
                y + 72.0f);
  font.DrawText(std::to_string(earned) + " of " + std::to_string(list->size()) + " earned", nullptr,
                0.3f, CBitmapFont::kCentre, kBlack, 1.0f, centre, y + 112.0f);
  if (PageCount() > 1) {
    font.DrawText("<<", nullptr, 0.6f, CBitmapFont::kLeft, kBlack, 1.0f, x + 60.0f, y + 72.0f);
    font.DrawText(">>", nullptr, 0.6f, CBitmapFont::kLeft, kBlack, 1.0f, x + 480.0f, y + 72.0f);
  }
  const std::size_t first = page * kRowsPerPage;
  for (std::size_t i = first; i < list->size() && i < first + kRowsPerPage; ++i) {
    const Achievement& achievement = (*list)[i];
    const float rowY = y + kRowTop + kRowStep * static_cast<float>(i - first);
    CSprite& icon = achievement.achieved ? earnedIcon : openIcon;
    icon.SetPosition(x + 100.0f, rowY + 20.0f);
    icon.Advance(0.0f);
    icon.Draw(1.0f, nullptr);
    const std::uint32_t colour = achievement.achieved ? kBlack : kFaded;
    font.DrawText(font.FitWidth(achievement.title, 0.4f, 400.0f), nullptr, 0.4f, CBitmapFont::kLeft,
                  colour, 1.0f, x + 135.0f, rowY);
    font.DrawText(font.FitWidth(achievement.description, 0.3f, 400.0f), nullptr, 0.3f,
                  CBitmapFont::kLeft, colour, 1.0f, x + 135.0f, rowY + 24.0f);
  }
}
