#include "frontend/MenuState.h"

#include <algorithm>
#include <memory>

#include "audio/AudioManager.h"
#include "audio/Sound.h"
#include "frontend/AchievementScreen.h"
#include "frontend/CreditsScreen.h"
#include "frontend/LevelSelection.h"
#include "frontend/MenuLink.h"
#include "frontend/MenuScreen.h"
#include "frontend/OptionsScreen.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"
#include "progress/ProgressStore.h"

namespace {

void SetUp(CSprite& sprite, const char* file, int anchor, float x, float y) {
  CTextureManager* textures = CTextureManager::GetInstance();
  sprite.Init(CDirect3D::GetInstance());
  if (textures) sprite.SetTexture(1, anchor, 0, 0, 0.0f, textures->GetTexture(file));
  sprite.SetPosition(x, y);
  sprite.Advance(0.0f);
}

}  // namespace

CMenuState::CMenuState() = default;

CMenuState::~CMenuState() { StopTitleMusic(); }

bool CMenuState::Init() {
  if (initialised) return true;
  SetUp(backLayer, "Graphics/Misc/ui_mainmenu_bg1.png", 0, 0.0f, 0.0f);
  SetUp(sun, "Graphics/Misc/ui_mainmenu_bg_sun.png", 4, 384.0f, 570.0f);
  sun.SetRotation(0.0f);
  SetUp(frontLayer, "Graphics/Misc/ui_mainmenu_bg2.png", 0, 0.0f, 0.0f);
  SetUp(overlay, "Graphics/Misc/misc_overlay.png", 0, 640.0f, 512.0f);
  // A one-pixel image scaled about its centre over the whole screen.
  overlay.SetScale(1280.0f, 1024.0f);
  overlay.Advance(0.0f);
  fading = true;
  titleMusic = nullptr;

  // Owned here until every screen is built: one that fails takes the
  // others with it.
  auto start = std::make_unique<CMenuScreen>("start", &navigator);
  start->SetBackground("Graphics/Misc/ui_menu_bg.png");
  const struct {
    const char* text;
    const char* action;
  } links[] = {{"START", "level_selection"},
               {"OPTIONS", "options"},
               {"ACHIEVEMENTS", "achievements"},
               {"CREDITS", "credits"},
               {"EXIT", "exit"}};
  float linkY = 130.0f;
  for (const auto& link : links) {
    start->AddItem(new CMenuLink(link.text, link.action, 130.0f, linkY));
    linkY += 70.0f;
  }
  auto levels = std::make_unique<CLevelSelection>(&navigator);
  auto options = std::make_unique<COptionsScreen>(&navigator);
  auto achievements = std::make_unique<CAchievementScreen>(&navigator);
  auto credits = std::make_unique<CCreditsScreen>(&navigator);
  CMenuScreen* screens[] = {start.get(), levels.get(), options.get(), achievements.get(),
                            credits.get()};
  // Right of the picture, from the panel's size; signed, so a panel wider
  // than the screen lands left of it instead of far off to the right.
  for (CMenuScreen* screen : screens) {
    const int w = screen->background.GetFrameWidth();
    const int h = screen->background.GetFrameHeight();
    screen->PlaceAt(static_cast<float>((1280 - w) - 30), static_cast<float>((512 - h / 2) + 60));
  }
  credits->BuildCredits();
  navigator.AddScreen(start.release());
  navigator.AddScreen(levels.release());
  navigator.AddScreen(options.release());
  navigator.AddScreen(achievements.release());
  navigator.AddScreen(credits.release());
  initialised = true;
  return true;
}

void CMenuState::Cleanup() {}

void CMenuState::Restart() {}

void CMenuState::StopTitleMusic() {
  if (!titleMusic) return;
  // Kept alive while it played: handed back, or it would never be freed.
  if (CAudioManager* audio = CAudioManager::GetInstance()) audio->ReleaseSound(titleMusic);
  titleMusic = nullptr;
}

void CMenuState::Pause() {
  StopTitleMusic();
  SetSystemCursorVisible(false);
}

void CMenuState::Resume() {
  SetSystemCursorVisible(true);
  fading = true;
  overlay.SetAlpha(1.0f);
  if (auto* levels = dynamic_cast<CLevelSelection*>(navigator.FindScreen("level_selection"))) {
    if (CProgressStore* progress = CProgressStore::GetInstance()) {
      progress->LoadProfile("save");
      // Earned before this version counted, or by hand-made progress.
      progress->CheckAchievements(levels->Chapters());
      progress->SaveStatistics();
    }
    levels->RebuildLevelList();
  }
  if (!titleMusic) {
    if (CAudioManager* audio = CAudioManager::GetInstance()) {
      titleMusic = audio->PlayMusic("Audio/bgm/bgm_title.mp3", 1.0f);
      titleMusic->keepAlive = true;
    }
  }
}

bool CMenuState::Update(float seconds) {
  if (fading) {
    const float alpha = std::max(0.0f, overlay.GetAlpha() - seconds);
    overlay.SetAlpha(alpha);
    if (alpha <= 0.0f) fading = false;
  }
  float angle = sun.GetRotation() + seconds * 4.0f;
  if (angle > 360.0f) angle -= 360.0f;
  if (angle < -360.0f) angle += 360.0f;
  sun.SetRotation(angle);
  if (navigator.current) navigator.current->Update(seconds);
  return true;
}

void CMenuState::Draw() {
  CDirect3D* d3d = CDirect3D::GetInstance();
  if (!d3d || !d3d->GetSprite()) return;
  CSpriteBatch& batch = *d3d->GetSprite();
  batch.Begin(SpriteBlend::Alpha);
  backLayer.Draw(1.0f, nullptr);
  batch.End();
  batch.Begin(SpriteBlend::Multiply);
  sun.Draw(1.0f, nullptr);
  batch.End();
  batch.Begin(SpriteBlend::Alpha);
  frontLayer.Draw(1.0f, nullptr);
  if (navigator.current) navigator.current->Draw();
  d3d->DrawVersionLabel();
  if (fading) overlay.Draw(1.0f, nullptr);
  batch.End();
}
