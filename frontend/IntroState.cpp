#include "frontend/IntroState.h"

#include <algorithm>

#include "app/StateManager.h"
#include "frontend/MenuState.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "input/InputManager.h"
#include "platform/SpriteBatch.h"

CIntroState::CIntroState() = default;

CIntroState::~CIntroState() = default;

bool CIntroState::Init() {
  logo = 0;
  phase = 0;
  timer = 0.0f;
  holdTime = 2.0f;
  CTextureManager* textures = CTextureManager::GetInstance();
  const char* files[] = {"Graphics/Misc/ui_orvel_logo.png", "Graphics/Misc/ui_pellam_logo.png"};
  for (int i = 0; i < 2; ++i) {
    logos[i].Init(CDirect3D::GetInstance());
    if (textures) logos[i].SetTexture(1, 4, 0, 0, 0.0f, textures->GetTexture(files[i]));
    logos[i].SetPosition(640.0f, 462.0f);
    logos[i].SetAlpha(0.0f);
    logos[i].Advance(0.0f);
  }
  if (!menu) {
    menu = std::make_unique<CMenuState>();
    menu->Init();
  }
  return true;
}

void CIntroState::Cleanup() {}
void CIntroState::Pause() {}
void CIntroState::Resume() {}
void CIntroState::Restart() {}

bool CIntroState::Update(float seconds) {
  if (logo < 2) {
    CSprite& shown = logos[logo];
    if (phase == 0) {
      if (shown.GetAlpha() < 1.0f) {
        shown.SetAlpha(std::min(1.0f, shown.GetAlpha() + seconds));
      } else {
        phase = 1;
        timer = 0.0f;
      }
    } else if (phase == 1) {
      if (holdTime <= timer) {
        phase = 2;
        timer = 0.0f;
      }
    } else if (shown.GetAlpha() > 0.0f) {
      shown.SetAlpha(std::max(0.0f, shown.GetAlpha() - seconds));
    } else {
      ++logo;
      phase = 0;
    }
  }
  const CInputManager* input = CInputManager::GetInstance();
  const bool skipped =
      input && (input->WasKeyPressed(VK_ESCAPE) || input->WasKeyPressed(VK_RETURN));
  if (menu && (logo > 1 || skipped)) {
    // Already built: its Init returns at once, and the stack owns it now.
    if (CStateManager* states = CStateManager::GetInstance()) states->ChangeState(menu.release());
  }
  timer += seconds;
  return true;
}

void CIntroState::Draw() {
  CDirect3D* d3d = CDirect3D::GetInstance();
  if (logo >= 2 || !d3d || !d3d->GetSprite()) return;
  CSpriteBatch& batch = *d3d->GetSprite();
  batch.Begin(SpriteBlend::Alpha);
  logos[logo].Draw(1.0f, nullptr);
  batch.End();
}
