#pragma once

#include <memory>

#include "objects/MovableObject.h"

// The map's "pfx_fireworks": an invisible launcher that, once active and
// while the run is still faster than the level's best time, fires rockets
// at a fixed interval with random speeds and flight times. A trigger near a
// level's end usually switches it on, to greet a record run.
class CFireworks : public CMovableObject {
public:
  // More rockets of one launcher alive wait until one has gone.
  static constexpr int kMaxLiveRockets = 64;
  // Speeds and stored flight times are drawn by integer arithmetic, so their
  // bounds are held within this.
  static constexpr float kRandomLimit = 1e6f;

  // Puts the rockets' pictures in the texture cache, so rockets only look
  // them up.
  CFireworks();

  void Init() override;
  // Settings, and the best time to beat, from the properties and the save
  // profile.
  void Reset() override;
  // `silent`: launches make no sound (the replay ghost's level).
  bool Update(float seconds, bool silent) override;
  // Plays the launch sound of the launches since the last frame, once.
  void Draw(int screenX, int screenY) override;

  // a + rand() mod (truncate(b) - truncate(a)), never below a; b when both
  // truncate to the same whole number. Bounds within ±kRandomLimit.
  // In [a, b) on whole steps, from the level's random sequence.
  float Random(float a, float b);

  // Rockets of this launcher alive.
  int LiveRockets() const { return *liveRockets; }

  float xSpeedMin = 0.0f;
  float xSpeedMax = 0.0f;
  float ySpeedMin = 0.0f;
  float ySpeedMax = 0.0f;
  // Flight time bounds times 100; a launch flies Random(min, max) / min
  // seconds.
  float ttlMin100 = 0.0f;
  float ttlMax100 = 0.0f;
  float interval = 0.0f;
  float counter = 0.0f;
  // Launching stops for the run once the run's time reaches this.
  float timeLimit = 0.0f;
  bool unlimited = false;
  int shotsLeft = 0;
  bool shotSoundPending = false;

private:
  std::shared_ptr<int> liveRockets = std::make_shared<int>(0);
  bool settingsChecked = false;
};
