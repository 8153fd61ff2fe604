#include "frontend/PauseMenuState.h"

#include <memory>

#include "frontend/MenuLink.h"
#include "frontend/MenuScreen.h"
#include "frontend/OptionsScreen.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "input/InputManager.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"

namespace {

constexpr int kPadStart = 7;

}  // namespace

CPauseMenuState::CPauseMenuState(IState* below) : paused(below) {}

CPauseMenuState::~CPauseMenuState() = default;

bool CPauseMenuState::Init() {
  // Owned here until both screens are built.
  auto pause = std::make_unique<CMenuScreen>("pause", &navigator);
  pause->SetBackground("Graphics/Misc/ui_menu_bg.png");
  const struct {
    const char* text;
    const char* action;
  } links[] = {{"RESUME GAME", "pop"},
               {"RETRY", "retry"},
               {"OPTIONS", "options"},
               {"BACK TO MENU", "restart"},
               {"LEAVE GAME", "exit"}};
  float linkY = 140.0f;
  for (const auto& link : links) {
    pause->AddItem(new CMenuLink(link.text, link.action, 120.0f, linkY));
    linkY += 60.0f;
  }
  auto options = std::make_unique<COptionsScreen>(&navigator);
  const float w = static_cast<float>(pause->background.GetFrameWidth());
  const float h = static_cast<float>(pause->background.GetFrameHeight());
  for (CMenuScreen* screen : {pause.get(), static_cast<CMenuScreen*>(options.get())})
    screen->PlaceAt(640.0f - w / 2.0f, 512.0f - h / 2.0f);
  navigator.AddScreen(pause.release());
  navigator.AddScreen(options.release());

  if (CDirect3D* d3d = CDirect3D::GetInstance())
    frozenFrame =
        d3d->CreateRenderTarget("pause_bg", TEXTURE_USAGE_RENDERTARGET, TexturePool::Default);
  CTextureManager* textures = CTextureManager::GetInstance();
  overlay.Init(CDirect3D::GetInstance());
  if (textures)
    overlay.SetTexture(1, 0, 0, 0, 0.0f, textures->GetTexture("Graphics/Misc/misc_overlay.png"));
  overlay.SetPosition(640.0f, 512.0f);
  overlay.SetScale(1280.0f, 1024.0f);
  overlay.SetAlpha(0.4f);
  overlay.Advance(0.0f);
  return true;
}

void CPauseMenuState::Cleanup() {}
void CPauseMenuState::Restart() {}

void CPauseMenuState::Pause() { SetSystemCursorVisible(false); }

void CPauseMenuState::Resume() {
  SetSystemCursorVisible(true);
  Freeze();
}

void CPauseMenuState::Freeze() {
  CDirect3D* d3d = CDirect3D::GetInstance();
  // Drawn afresh rather than read back from a presented frame, whose
  // content is undefined; nothing has changed underneath since.
  if (d3d && paused) d3d->RenderInto(frozenFrame, [this] { paused->Draw(); });
}

bool CPauseMenuState::Update(float seconds) {
  const CInputManager* input = CInputManager::GetInstance();
  if (input && (input->WasKeyPressed(VK_ESCAPE) || input->WasJoyButtonPressed(kPadStart)))
    return false;
  if (navigator.current) navigator.current->Update(seconds);
  return true;
}

void CPauseMenuState::Draw() {
  CDirect3D* d3d = CDirect3D::GetInstance();
  if (!d3d || !d3d->GetSprite()) return;
  // A reset leaves render targets empty: the picture is drawn again.
  if (d3d->WasReset()) {
    d3d->ClearWasReset();
    Freeze();
  }
  CSpriteBatch& batch = *d3d->GetSprite();
  if (frozenFrame && frozenFrame->texture) {
    batch.Begin(SpriteBlend::None);
    batch.SetTransform(Matrix2D());
    batch.Draw(frozenFrame->texture.get(), nullptr, 0xffffffff);
    batch.End();
  }
  batch.Begin(SpriteBlend::Alpha);
  overlay.Draw(1.0f, nullptr);
  if (navigator.current) navigator.current->Draw();
  batch.End();
}
