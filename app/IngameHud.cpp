#include "app/IngameHud.h"

#include "graphics/BitmapFont.h"
#include "graphics/Direct3D.h"
#include "graphics/FormatRunTime.h"
#include "graphics/TextureManager.h"

CIngameHud::CIngameHud() = default;
CIngameHud::~CIngameHud() = default;

void CIngameHud::Reset() {
  CTextureManager* textures = CTextureManager::GetInstance();
  const std::pair<CSprite*, const char*> sprites[] = {
      {&scrollSprite, "Graphics/Misc/ui_ingame_scroll.png"},
      {&panelSprite, "Graphics/Misc/ui_ingame_bg.png"},
  };
  for (auto [sprite, path] : sprites) {
    sprite->Init(CDirect3D::GetInstance());
    if (!sprite->GetTexture() && textures)
      sprite->SetTexture(1, 0, 0, 0, 0.0f, textures->GetTexture(path));
  }
  if (!font) font = std::make_unique<CBitmapFont>();
}

void CIngameHud::Update(float seconds) {
  panelSprite.SetPosition(x, y);
  panelSprite.Advance(seconds);
  if (time < kMaxTime && timerRunning) time += seconds;
  scrollSprite.SetPosition(x, y);
  scrollSprite.Advance(seconds);
}

void CIngameHud::Draw() const {
  panelSprite.Draw(1.0f, nullptr);
  if (font)
    font->DrawText(FormatRunTime(time), nullptr, 0.5f, CBitmapFont::kLeft, 0xff000000, 1.0f,
                   x + 113.0f, y + 43.0f);
  if (scrollCollected) scrollSprite.Draw(1.0f, nullptr);
}
