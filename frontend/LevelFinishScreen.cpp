#include "frontend/LevelFinishScreen.h"

#include "app/IngameHud.h"
#include "frontend/MenuLink.h"
#include "frontend/MenuScreen.h"
#include "graphics/Direct3D.h"
#include "graphics/FormatRunTime.h"
#include "graphics/TextureManager.h"
#include "input/InputManager.h"

CLevelFinishScreen::CLevelFinishScreen() {
  CTextureManager* textures = CTextureManager::GetInstance();
  const std::pair<CSprite*, const char*> icons[] = {
      {&scrollIcon, "Graphics/Misc/misc_scroll.png"},
      {&greyScrollIcon, "Graphics/Misc/misc_scroll_grey.png"},
  };
  for (auto [icon, file] : icons) {
    icon->Init(CDirect3D::GetInstance());
    icon->SetTexture(1, 4, 0, 0, 0.0f, textures ? textures->GetTexture(file) : nullptr);
  }

  auto* screen = new CMenuScreen("finish", &navigator);
  screen->SetBackground("Graphics/Misc/ui_menu_bg_finisher.png");
  x = 640.0f - static_cast<float>(screen->background.GetFrameWidth()) / 2.0f;
  y = 100.0f;
  screen->x = x;
  screen->y = y;
  screen->background.SetPosition(x, y);
  screen->background.Advance(0.0f);
  screen->AddItem(new CMenuLink("RETRY", "retry2", 480.0f, 85.0f));
  screen->AddItem(new CMenuLink("CONTINUE", "next_level", 480.0f, 145.0f));
  screen->AddItem(new CMenuLink("BACK TO MENU", "pop", 480.0f, 205.0f));
  for (CSprite* icon : {&scrollIcon, &greyScrollIcon}) {
    icon->SetScale(1.25f, 1.25f);
    icon->SetPosition(x + 300.0f, y + 130.0f);
    icon->Advance(0.0f);
  }
  navigator.AddScreen(screen);
}

void CLevelFinishScreen::Update(float seconds) {
  // Escape neither leaves the panel nor reaches a menu.
  if (const CInputManager* input = CInputManager::GetInstance();
      input && input->WasKeyPressed(VK_ESCAPE))
    return;
  if (navigator.current) navigator.current->Update(seconds);
  scrollIcon.Advance(seconds);
  greyScrollIcon.Advance(seconds);
}

void CLevelFinishScreen::Draw() {
  if (navigator.current) navigator.current->Draw();
  const CIngameHud* hud = CIngameHud::GetInstance();
  const float time = hud ? hud->time : 0.0f;
  font.DrawText(FormatRunTime(time), nullptr, 1.0f, CBitmapFont::kLeft,
                newRecord ? 0xffff0000 : 0xff000000, 1.0f, x + 175.0f, y + 180.0f);
  (hud && hud->scrollCollected ? scrollIcon : greyScrollIcon).Draw(1.0f, nullptr);
}
