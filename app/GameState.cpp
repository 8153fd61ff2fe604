#include "app/GameState.h"

#include <exception>

#include "app/IngameHud.h"
#include "app/Log.h"
#include "app/SaveFolder.h"
#include "app/StateManager.h"
#include "app/XmlFile.h"
#include "audio/AudioManager.h"
#include "audio/Sound.h"
#include "frontend/AchievementBanner.h"
#include "frontend/LevelFinishScreen.h"
#include "frontend/PauseMenuState.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "input/InputManager.h"
#include "level/Level.h"
#include "level/LevelDirectory.h"
#include "level/ParallaxBackground.h"
#include "level/TileLayer.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"
#include "player/Player.h"
#include "progress/ProgressStore.h"

namespace {

constexpr int kKeyR = 0x52;
constexpr int kF6 = VK_F1 + 5;
constexpr int kF7 = VK_F1 + 6;
constexpr int kPadBack = 6;
constexpr int kPadStart = 7;
// A fed run is at most as long as a replay may be.
constexpr std::size_t kMaxInputBytes = 1200000;

bool KeyDown(int vk) {
  const CInputManager* input = CInputManager::GetInstance();
  return input && input->IsKeyDown(vk);
}

bool KeyPressed(int vk) {
  const CInputManager* input = CInputManager::GetInstance();
  return input && input->WasKeyPressed(vk);
}

void SetHeroBounds(CPlayer& hero, const CLevel& level) {
  hero.SetBounds({64.0f, 128.0f}, {level.GetWidthPixels() - 64.0f, level.GetHeightPixels()});
}

}  // namespace

CGameState::CGameState(LevelStart levelStart) : start(std::move(levelStart)) {}

CGameState::~CGameState() {
  // Whatever Init or Restart left behind, also after a failure half-way; the
  // heroes go before the levels they stand in.
  ghostPlayer.reset();
  player.reset();
  ghostLevel.reset();
  level.reset();
  StopMusic();
}

bool CGameState::Init() {
  if (initialised) return true;
  try {
    if (!start.replay.empty()) {
      if (!replaySource.Load(start.replay)) {
        LogError("Could not read the replay " + start.replay);
        return false;
      }
      replayed = true;
    } else if (!start.input.empty()) {
      std::string bytes;
      std::string error;
      if (!ReadSmallFile(start.input, bytes, &error, kMaxInputBytes)) {
        LogError("Could not read the input " + start.input + ": " + error);
        return false;
      }
      playerController.Feed(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
    finishScreen = std::make_unique<CLevelFinishScreen>();
    banner = std::make_unique<CAchievementBanner>();
    if (!Begin()) return false;
    initialised = true;
    return true;
  } catch (const std::exception& e) {
    LogError(std::string("Could not start the level ") + start.level + ": " + e.what());
    return false;
  }
}

void CGameState::Cleanup() {
  ghostPlayer.reset();
  player.reset();
  ghostLevel.reset();
  level.reset();
  background.reset();
  finishScreen.reset();
  banner.reset();
  StopMusic();
  if (CAudioManager* audio = CAudioManager::GetInstance()) audio->StopAll(false);
  // Deaths since the last write are kept when the level is left.
  if (CProgressStore* progress = CProgressStore::GetInstance()) progress->SaveStatistics();
  initialised = false;
}

void CGameState::Pause() {}

void CGameState::Resume() {}

void CGameState::StopMusic() {
  if (!music) return;
  // Kept alive across restarts; handed back when the level is left.
  if (CAudioManager* audio = CAudioManager::GetInstance()) audio->ReleaseSound(music);
  music = nullptr;
}

IController* CGameState::LiveController() {
  if (replayed) return &replaySource;
  return &playerController;
}

void CGameState::Restart() {
  if (!Begin()) {
    // The map was playable when the state started; if it no longer is, there
    // is nothing to play here.
    if (CStateManager* states = CStateManager::GetInstance()) states->PopState();
  }
}

bool CGameState::Begin() {
  playerController.Clear();
  replaySource.position = 0;
  finished = false;
  ghostPlayer.reset();
  player.reset();
  ghostLevel.reset();
  level.reset();
  background.reset();
  if (CAudioManager* audio = CAudioManager::GetInstance()) audio->StopAll(false);
  SetSystemCursorVisible(false);

  level = std::make_unique<CLevel>(&camera);
  // The map reader has reported why, naming the file.
  if (!level->Load(start.level)) return false;
  if (!level->GetCollisionLayer()) {
    LogError("The level " + start.level + " has no tile layer to stand on");
    return false;
  }
  if (CIngameHud* hud = CIngameHud::GetInstance()) {
    hud->Reset();
    hud->y = 0.0f;
    hud->scrollCollected = false;
    hud->x = 1280.0f - static_cast<float>(hud->scrollSprite.GetFrameWidth()) - 5.0f;
    hud->timerRunning = false;
    hud->time = 0.0f;
  }
  player = std::make_unique<CPlayer>();
  if (!player->Init(LiveController(), level.get(), false)) {
    LogError("Could not set up the hero for the level " + start.level);
    return false;
  }
  camera.maxX = level->GetWidthPixels() - CCamera::kHalfWidth;
  camera.maxY = level->GetHeightPixels() - CCamera::kHalfHeight;
  camera.minX = CCamera::kHalfWidth;
  camera.minY = CCamera::kHalfHeight;
  SetHeroBounds(*player, *level);
  background = std::make_unique<CParallaxBackground>();
  background->Load(level.get());

  ghostActive = replayController.Load(ReplayPath(LevelKey()));
  if (ghostActive) {
    ghostLevel = std::make_unique<CLevel>(nullptr);
    ghostPlayer = std::make_unique<CPlayer>();
    // A ghost that cannot be set up is left out; the run itself goes on.
    ghostActive = ghostLevel->Load(start.level) && ghostLevel->GetCollisionLayer() &&
                  ghostPlayer->Init(&replayController, ghostLevel.get(), true);
    if (ghostActive) {
      SetHeroBounds(*ghostPlayer, *ghostLevel);
    } else {
      ghostPlayer.reset();
      ghostLevel.reset();
    }
  }

  if (!music) {
    if (CAudioManager* audio = CAudioManager::GetInstance()) {
      music = audio->PlayMusic("Audio/bgm/bgm_level.mp3", 1.0f);
      music->keepAlive = true;
    }
  }
  return true;
}

std::string CGameState::LevelKey() const {
  return level ? level->GetDirectory() + level->GetName() : std::string();
}

void CGameState::Finish() {
  finishScreen->newRecord = false;
  SetSystemCursorVisible(true);
  finished = true;
  // Someone else's run, replayed, is no result of the player's.
  if (replayed) return;
  const CIngameHud* hud = CIngameHud::GetInstance();
  CProgressStore* progress = CProgressStore::GetInstance();
  if (!hud || !progress) return;
  if (progress->SaveLevelResult("save", LevelKey(), hud->time, hud->scrollCollected)) {
    finishScreen->newRecord = true;
    const std::string replay = ReplayPath(LevelKey());
    std::string error;
    if (MakeFolderFor(replay, error))
      playerController.Save(replay);
    else
      LogWarning("Could not save replay " + replay + ": " + error);
  }
  Announce(progress->CheckAchievements(ScanLevelChapters("Levels")));
  progress->SaveStatistics();
}

void CGameState::CountDeath() {
  CProgressStore* progress = CProgressStore::GetInstance();
  if (!progress || replayed) return;
  const std::vector<std::size_t> earned =
      progress->RecordDeath(player->State().deathCause == DeathCause::Arrow);
  Announce(earned);
  // Written at once only when something was earned: a death is frequent.
  if (!earned.empty()) progress->SaveStatistics();
}

void CGameState::Announce(const std::vector<std::size_t>& earned) {
  const CProgressStore* progress = CProgressStore::GetInstance();
  if (!progress || !banner) return;
  for (std::size_t index : earned)
    if (index < progress->achievements.size()) banner->Add(progress->achievements[index].title);
}

bool CGameState::Update(float seconds) {
  // First, so that Escape on the very step the level is completed pauses.
  if (!finished) {
    const CInputManager* input = CInputManager::GetInstance();
    CStateManager* states = CStateManager::GetInstance();
    if (input && states &&
        (input->WasKeyPressed(VK_ESCAPE) || input->WasJoyButtonPressed(kPadStart)))
      states->PushState(new CPauseMenuState(this));
  }
  // Starting over at once, as precision platformers do; not on the finish
  // panel, and not in a replayed run, which is no one's to restart.
  if (initialised && !finished && !replayed) {
    const CInputManager* input = CInputManager::GetInstance();
    if (input && (input->WasKeyPressed(kKeyR) || input->WasJoyButtonPressed(kPadBack))) {
      Restart();
      return true;
    }
  }
  if (KeyDown(VK_F1)) {
    camera.shakeX = camera.shakeY = 4.0f;
    camera.shakeTime = 0.1f;
  }
  if (KeyPressed(kF7)) showFps = !showFps;
  if (!initialised || !player) return true;
  if (KeyPressed(kF6)) {
    trimTiles = !trimTiles;
    for (const auto& layer : level->GetTileLayers()) layer->trimSourceRects = trimTiles;
  }
  if (finished) {
    level->Update(seconds, false);
    finishScreen->Update(seconds);
    if (banner) banner->Update(seconds);
    return true;
  }
  const bool wasDead = player->State().dead;
  if (player->Update(seconds)) Finish();
  const PlayerState& hero = player->State();
  if (hero.dead && !wasDead && hero.deathCause != DeathCause::DebugKey) CountDeath();
  if (banner) banner->Update(seconds);
  level->Update(seconds, false);
  const Vector2 target = player->CameraTarget();
  camera.Update(seconds, target.x, target.y);
  background->Update(&camera);
  if (CIngameHud* hud = CIngameHud::GetInstance()) hud->Update(seconds);
  if (CAudioManager* audio = CAudioManager::GetInstance())
    audio->SetListener(camera.x + camera.offsetX, camera.y + camera.offsetY);
  if (ghostActive) {
    ghostPlayer->Update(seconds);
    ghostLevel->Update(seconds, true);
  }
  return true;
}

void CGameState::Draw() {
  // A restart that failed leaves the state to be removed, half built.
  if (!initialised || !level || !player || !background) return;
  CDirect3D* d3d = CDirect3D::GetInstance();
  if (!d3d || !d3d->GetSprite()) return;
  CSpriteBatch& batch = *d3d->GetSprite();
  batch.Begin(SpriteBlend::Alpha);
  background->Draw();
  level->Draw(&camera, false);
  player->Draw(&camera);
  level->Draw(&camera, true);
  if (ghostActive) ghostPlayer->Draw(&camera);
  if (finished) {
    finishScreen->Draw();
  } else if (const CIngameHud* hud = CIngameHud::GetInstance()) {
    hud->Draw();
  }
  if (banner) banner->Draw();
  if (showFps) {
    const CTextureManager* textures = CTextureManager::GetInstance();
    const unsigned fps = textures ? textures->GetFps() : 0;
    font.DrawText(std::to_string(fps == 0 ? 1 : fps) + " FPS", nullptr, 0.5f, CBitmapFont::kLeft,
                  0xff000000, 1.0f, 25.0f, 974.0f);
  }
  batch.End();
}
