#pragma once

#include <memory>

#include "objects/MovableObject.h"

class CSprite;

// A firework rocket, launched by a fireworks launcher into the level's
// spawned objects (type "dynamic_firework"): it flies a ballistic arc,
// shrinking toward its top and facing its flight, then bursts into a
// coloured explosion and is removed once that has played.
class CDynamicFireworks : public CMovableObject {
public:
  // No rocket lives longer, whatever it was launched with.
  static constexpr float kMaxLifetime = 10.0f;

  // `colour` 0 to 3: blue, green, pink, yellow.
  explicit CDynamicFireworks(int colour);
  ~CDynamicFireworks() override;

  void Init() override;
  // A respawn ends every rocket (at its next update).
  void Reset() override;
  // `silent`: the burst makes no sound (the replay ghost's level).
  bool Update(float seconds, bool silent) override;
  void Draw(int screenX, int screenY) override;

  void Launch(float speedX, float speedY, float timeToLive);
  bool Bursting() const { return ttl <= 0.0f; }

  bool finished = false;
  bool explosionSoundPending = false;
  // Pixels per second.
  float vx = 0.0f;
  float vy = 0.0f;
  // Seconds of flight left.
  float ttl = 0.0f;
  float gravity = 0.0f;
  // The launch's vertical speed less 100: the scale's reference.
  float shrinkBase = 0.0f;
  // It bursts once its vertical speed has come up to this.
  float burstSpeed = 0.0f;
  // Seconds since the launch.
  float age = 0.0f;
  // 0 blue, 1 green, 2 pink, 3 yellow.
  int colour = 0;
  std::unique_ptr<CSprite> rocketSprite;
  std::unique_ptr<CSprite> explosionSprite;
  // Shared with the launcher: how many of its rockets are alive.
  std::shared_ptr<int> liveCount;

private:
  void Burst(bool silent);
};
