#include "frontend/LoadingState.h"

#include <cmath>
#include <exception>
#include <system_error>

#include "app/GameState.h"
#include "app/LoadingFlag.h"
#include "app/Log.h"
#include "app/StateManager.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "platform/SpriteBatch.h"

CLoadingState::CLoadingState(LevelStart start, bool wait)
    : waitForLoad(wait || waitForEveryLoad), work(std::make_unique<Work>()) {
  work->start = std::move(start);
  ++loadingStates;
}

CLoadingState::~CLoadingState() {
  Join();
  // Only now may the frame loop touch the audio again: the worker is gone.
  --loadingStates;
}

void CLoadingState::Join() {
  if (worker.joinable()) worker.join();
}

bool CLoadingState::Init() {
  CTextureManager* textures = CTextureManager::GetInstance();
  background.Init(CDirect3D::GetInstance());
  background.SetTexture(
      1, 0, 0, 0, 0.0f,
      textures ? textures->GetTexture("Graphics/Misc/misc_loading_screen.png") : nullptr);
  background.SetPosition(0.0f, 0.0f);
  background.Advance(0.0f);
  return true;
}

void CLoadingState::Cleanup() {}
void CLoadingState::Pause() {}
void CLoadingState::Resume() {}
void CLoadingState::Restart() {}

void CLoadingState::Load(Work* work) {
  try {
    auto state = std::make_unique<CGameState>(work->start);
    if (state->Init()) {
      work->result = std::move(state);
      work->status = 1;
      return;
    }
  } catch (const std::exception& e) {
    LogError(std::string("Could not load the level ") + work->start.level + ": " + e.what());
  }
  work->status = 2;
}

bool CLoadingState::Update(float seconds) {
  if (!started) {
    try {
      worker = std::thread(Load, work.get());
      started = true;
    } catch (const std::system_error& e) {
      // Tried again on the next update.
      LogWarning(std::string("Could not start the level loader: ") + e.what());
    }
    if (started && waitForLoad) Join();
  }
  CStateManager* states = CStateManager::GetInstance();
  if (started && work->status == 1) {
    Join();
    // The stack owns it from here; its Init finds it initialised.
    if (states) states->ChangeState(work->result.release());
  } else if (started && work->status == 2) {
    Join();
    ++failedLoads;
    work->status = 3;
    if (states) {
      if (endGameOnFailure)
        states->PopAllStates();
      else
        states->PopState();
    }
  }

  label = "LOADING";
  for (int n = 0; n <= static_cast<int>(std::floor(dotTimer)) && n < 4; ++n) label += '.';
  dotTimer += seconds;
  if (dotTimer > 3.0f) dotTimer = 0.0f;
  return true;
}

void CLoadingState::Draw() {
  CDirect3D* d3d = CDirect3D::GetInstance();
  if (!d3d || !d3d->GetSprite()) return;
  CSpriteBatch& batch = *d3d->GetSprite();
  batch.Begin(SpriteBlend::Alpha);
  background.Draw(1.0f, nullptr);
  font.DrawText(label, nullptr, 0.8f, CBitmapFont::kLeft, 0xff000000, 1.0f, 500.0f, 850.0f);
  batch.End();
}
