#pragma once

#include <cstdint>
#include <string>
#include <vector>

class IClock;

// Times between presented frames and the number of update steps, for
// measuring the game against others on the same machine.
class CFrameStats {
public:
  explicit CFrameStats(IClock& clock);

  // A frame was presented now.
  void Presented();
  void Stepped() { ++steps; }

  // "stats: frames=N steps=M median_ms=A p95_ms=B p99_ms=C": percentiles by
  // nearest rank over the N - 1 intervals between presents.
  std::string Line() const;

private:
  IClock& clock;
  std::vector<std::int64_t> presents;
  std::uint64_t steps = 0;
};
