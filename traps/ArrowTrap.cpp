#include "traps/ArrowTrap.h"

#include "audio/AudioManager.h"
#include "audio/ScreenGain.h"
#include "level/Level.h"
#include "traps/DynamicArrow.h"
#include "traps/TrapSettings.h"

void CArrowTrap::Init() { Reset(); }

void CArrowTrap::Reset() {
  CMovableObject::Reset();
  const bool warn = !settingsChecked;
  settingsChecked = true;
  speed = ReadSignedSpeed(*this, "speed", 500.0f, warn);
  interval = ReadSpawnInterval(*this, "interval", 200.0f, warn);
  counter = static_cast<float>(GetIntProperty("counter"));
  shotsLeft = GetIntProperty("max_shots");
  unlimited = shotsLeft == 0;
  active = GetIntProperty("active") != 0;
  shotSoundPending = false;
  const auto dir = properties.find("dir");
  const std::string word = dir == properties.end() ? "left" : dir->second;
  // Another word keeps the direction the trap had.
  if (word == "left") direction = CDynamicArrow::kLeft;
  if (word == "up") direction = CDynamicArrow::kUp;
  if (word == "right") direction = CDynamicArrow::kRight;
  if (word == "down") direction = CDynamicArrow::kDown;
}

bool CArrowTrap::Update(float seconds, bool silent) {
  // Always kept: a trigger holds a pointer to its target.
  if (!active) return true;
  if (delay > elapsed) {
    elapsed += seconds;
    return true;
  }
  counter += seconds;
  if (interval > counter || (!unlimited && shotsLeft <= 0)) return true;
  if (!level || *liveArrows >= kMaxLiveArrows) return true;
  counter = 0.0f;
  if (!unlimited) --shotsLeft;
  auto arrow = std::make_unique<CDynamicArrow>();
  arrow->speed = speed;
  arrow->direction = direction;
  arrow->Init();
  arrow->type = "dynamic_arrow";
  arrow->level = level;
  arrow->width = width;
  arrow->height = height;
  arrow->SetPosition(x, y);
  arrow->liveCount = liveArrows;
  ++*liveArrows;
  level->GetDynamicObjects().Add(std::move(arrow));
  if (!silent) shotSoundPending = true;
  return true;
}

void CArrowTrap::Draw(int screenX, int screenY) {
  if (!shotSoundPending) return;
  shotSoundPending = false;
  PlayAtScreenPoint("Audio/sfx/sfx_arrow_shot.wav", x + static_cast<float>(screenX),
                    y + static_cast<float>(screenY));
}
