#include "app/FrameStats.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/Clock.h"

CFrameStats::CFrameStats(IClock& source) : clock(source) { presents.reserve(1 << 16); }

void CFrameStats::Presented() { presents.push_back(clock.Counter()); }

std::string CFrameStats::Line() const {
  const std::int64_t frequency = clock.Frequency() > 0 ? clock.Frequency() : 1000;
  std::vector<double> intervals;
  for (std::size_t i = 1; i < presents.size(); ++i)
    intervals.push_back(static_cast<double>(presents[i] - presents[i - 1]) * 1000.0 /
                        static_cast<double>(frequency));
  std::sort(intervals.begin(), intervals.end());
  // Nearest rank: the smallest value with at least p percent at or below it.
  auto rank = [&](double percent) {
    if (intervals.empty()) return 0.0;
    const auto n = static_cast<double>(intervals.size());
    const auto index = static_cast<std::size_t>(std::ceil(percent / 100.0 * n));
    return intervals[std::clamp<std::size_t>(index, 1, intervals.size()) - 1];
  };
  char line[160];
  std::snprintf(
      line, sizeof line, "stats: frames=%zu steps=%llu median_ms=%.2f p95_ms=%.2f p99_ms=%.2f",
      presents.size(), static_cast<unsigned long long>(steps), rank(50.0), rank(95.0), rank(99.0));
  return line;
}
