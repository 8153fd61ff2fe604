#pragma once

#include "platform/Clock.h"

// A clock that moves only when told to, one update step (1/120 s) at a time:
// fixed-step runs advance it once per frame, so every frame sees exactly one
// step whatever the machine's speed, and ticks taken after a state change see
// no time pass.
class CSteppedClock final : public IClock {
public:
  std::int64_t Counter() override { return ticks; }
  std::int64_t Frequency() override { return 120; }
  void Advance() { ++ticks; }

private:
  std::int64_t ticks = 0;
};
