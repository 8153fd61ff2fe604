#pragma once

#include <memory>

#include "objects/MovableObject.h"

// The map's "trap_arrow": an invisible shooter (its look comes from the
// tiles) that, once active, fires an arrow in one of four directions every
// "interval" seconds, for ever or "max_shots" times. It never leaves the
// level and touches nothing itself.
class CArrowTrap : public CMovableObject {
public:
  // More arrows of one trap in flight wait until one has ended: however
  // short the interval and slow the arrow, the level stays bounded.
  static constexpr int kMaxLiveArrows = 64;

  void Init() override;
  // Settings from the properties; waiting for a trigger unless "active".
  void Reset() override;
  // `silent`: shots make no sound (the replay ghost's level).
  bool Update(float seconds, bool silent) override;
  // Plays the shot sound of the shots since the last frame, once.
  void Draw(int screenX, int screenY) override;

  // Arrows of this trap in flight.
  int LiveArrows() const { return *liveArrows; }

  float speed = 0.0f;
  float interval = 0.0f;
  float counter = 0.0f;
  int shotsLeft = 0;
  bool unlimited = false;
  int direction = 2;
  bool shotSoundPending = false;

private:
  std::shared_ptr<int> liveArrows = std::make_shared<int>(0);
  bool settingsChecked = false;
};
