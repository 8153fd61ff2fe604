#pragma once

#include <cstdint>

#include "app/Singleton.h"

class IClock;

// The frame loop's timer. Tick() takes a new time stamp; deltaSeconds is the
// time between the last two stamps. Program-wide: state changes tick it so
// the time spent loading a state never reaches the next update.
class CTimer : public Singleton<CTimer> {
public:
  explicit CTimer(IClock& clock);

  void Tick();

  double TotalSeconds() const { return totalSeconds; }
  double DeltaSeconds() const { return deltaSeconds; }

private:
  IClock& clock;
  std::int64_t frequency = 0;
  std::int64_t start = 0;
  std::int64_t previous = 0;
  std::int64_t current = 0;
  double secondsPerTick = 0.001;
  double totalSeconds = 0.0;
  double deltaSeconds = 0.0;
};
