#pragma once

#include "platform/Clock.h"

// The high-resolution performance counter. It is monotonic across cores, so
// unlike older counters it needs no pinning to one processor while read.
class CSystemClock final : public IClock {
public:
  std::int64_t Counter() override;
  std::int64_t Frequency() override;
};
