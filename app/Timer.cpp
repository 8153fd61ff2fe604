#include "app/Timer.h"

#include "platform/Clock.h"

CTimer::CTimer(IClock& source) : clock(source) {
  frequency = clock.Frequency();
  secondsPerTick = frequency > 0 ? 1.0 / static_cast<double>(frequency) : 0.001;
  start = clock.Counter();
  previous = current = start;
  deltaSeconds = 0.0;
  totalSeconds = static_cast<double>(current) * secondsPerTick;
}

void CTimer::Tick() {
  previous = current;
  current = clock.Counter();
  totalSeconds = static_cast<double>(current) * secondsPerTick;
  deltaSeconds = static_cast<double>(current - previous) * secondsPerTick;
}
