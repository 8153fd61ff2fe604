#pragma once

#include <cstdint>

// A monotonic tick source. The frame loop's timer reads it; tests and
// fixed-step runs substitute their own.
class IClock {
public:
  virtual ~IClock() = default;
  virtual std::int64_t Counter() = 0;
  // Ticks per second; 0 or less means the source counts milliseconds.
  virtual std::int64_t Frequency() = 0;
};
