#include "objects/Fireworks.h"

#include <cmath>
#include <cstdlib>

#include "app/IngameHud.h"
#include "app/Log.h"
#include "audio/AudioManager.h"
#include "audio/ScreenGain.h"
#include "graphics/TextureManager.h"
#include "level/Level.h"
#include "objects/DynamicFireworks.h"
#include "progress/ProgressStore.h"
#include "traps/TrapSettings.h"

namespace {

// Seconds to beat on a level without a best time: more than the HUD counts.
constexpr float kNoRecord = 1000.0f;

}  // namespace

CFireworks::CFireworks() {
  if (CTextureManager* textures = CTextureManager::GetInstance()) {
    for (const char* path :
         {"Graphics/Particles/pfx_firework_blue.png", "Graphics/Particles/pfx_firework_green.png",
          "Graphics/Particles/pfx_firework_pink.png", "Graphics/Particles/pfx_firework_yellow.png",
          "Graphics/Particles/pfx_rocket.png"})
      textures->GetTexture(path);
  }
}

void CFireworks::Init() { Reset(); }

void CFireworks::Reset() {
  CMovableObject::Reset();
  const bool warn = !settingsChecked;
  settingsChecked = true;
  xSpeedMin = ReadRandomBound(*this, "x_speed_min", -250.0f, kRandomLimit, warn);
  xSpeedMax = ReadRandomBound(*this, "x_speed_max", 250.0f, kRandomLimit, warn);
  ySpeedMin = ReadRandomBound(*this, "y_speed_min", -700.0f, kRandomLimit, warn);
  ySpeedMax = ReadRandomBound(*this, "y_speed_max", -1000.0f, kRandomLimit, warn);
  ttlMin100 = ReadRandomBound(*this, "ttl_min", 150.0f, kRandomLimit / 100.0f, warn) * 100.0f;
  ttlMax100 = ReadRandomBound(*this, "ttl_max", 300.0f, kRandomLimit / 100.0f, warn) * 100.0f;
  // Flight times are divided by it.
  if (std::fabs(ttlMin100) < 1.0f) {
    if (warn) LogWarning(DescribeObject(*this) + ": \"ttl_min\" is too small; using 0.01");
    ttlMin100 = ttlMin100 < 0.0f ? -1.0f : 1.0f;
  }
  interval = ReadSpawnInterval(*this, "interval", 0.5f, warn);
  counter = static_cast<float>(GetIntProperty("counter"));
  shotsLeft = GetIntProperty("max_shots");
  unlimited = shotsLeft == 0;
  active = GetIntProperty("active") != 0;
  shotSoundPending = false;

  timeLimit = kNoRecord;
  const CProgressStore* store = CProgressStore::GetInstance();
  const LevelRecord* record =
      store && level ? store->FindLevelRecord(level->GetDirectory() + level->GetName()) : nullptr;
  // A record without a usable time (0) is no time to beat.
  if (record && record->bestTime > 0.0f) timeLimit = record->bestTime;
}

float CFireworks::Random(float a, float b) {
  const int low = static_cast<int>(a);
  const int high = static_cast<int>(b);
  if (low == high) return b;
  // The remainder takes the dividend's sign: never negative.
  const int draw = level ? level->GetRandom().Next() : 0;
  return a + static_cast<float>(draw % (high - low));
}

bool CFireworks::Update(float seconds, bool silent) {
  if (!active) return true;
  const CIngameHud* hud = CIngameHud::GetInstance();
  if (timeLimit <= (hud ? hud->time : 0.0f)) {
    active = false;
    return true;
  }
  if (elapsed < delay) {
    elapsed += seconds;
    return true;
  }
  counter += seconds;
  if (interval > counter || (!unlimited && shotsLeft <= 0)) return true;
  if (!level || *liveRockets >= kMaxLiveRockets) return true;
  counter = 0.0f;
  if (!unlimited) --shotsLeft;
  auto rocket = std::make_unique<CDynamicFireworks>(level ? level->GetRandom().Next() % 4 : 0);
  const float vx = Random(xSpeedMin, xSpeedMax);
  const float vy = Random(ySpeedMin, ySpeedMax);
  rocket->Init();
  rocket->Launch(vx, vy, Random(ttlMin100, ttlMax100) / ttlMin100);
  rocket->type = "dynamic_firework";
  rocket->level = level;
  rocket->width = width;
  rocket->height = height;
  rocket->SetPosition(x, y);
  rocket->liveCount = liveRockets;
  ++*liveRockets;
  level->GetDynamicObjects().Add(std::move(rocket));
  if (!silent) shotSoundPending = true;
  return true;
}

void CFireworks::Draw(int screenX, int screenY) {
  if (!shotSoundPending) return;
  shotSoundPending = false;
  PlayAtScreenPoint("Audio/sfx/sfx_rocket_shot.wav", x + static_cast<float>(screenX),
                    y + static_cast<float>(screenY));
}
