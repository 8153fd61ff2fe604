#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "progress/Achievement.h"

// The counters behind the achievements. Deaths are the player's own (not
// the ghost's, not a replayed run's, not the debug key's); chapters and
// scrolls are as the last check of the profile found them.
struct Statistics {
  std::uint32_t deaths = 0;
  std::uint32_t arrowDeaths = 0;
  std::uint32_t completedChapters = 0;
  std::uint32_t collectedScrolls = 0;
};

// Reads the statistics file into the counters and the achievements' flags
// (matched by title; titles the list does not have are ignored). A missing
// file leaves zeros and nothing earned. A damaged one (not well-formed, not
// a "Statistics" root, a counter that is no number) is reported, moved
// aside as "<path>.damaged-<UTC time>" (left in place when it cannot be
// moved), and also leaves zeros and nothing earned; false then.
bool LoadStatisticsFile(const std::string& path, Statistics& statistics,
                        std::vector<Achievement>& achievements);

// Writes the counters and every achievement's flag atomically. A damaged
// file in the way is moved aside first; one that cannot be moved is never
// written over. False, with an error in the log, when nothing was written.
bool SaveStatisticsFile(const std::string& path, const Statistics& statistics,
                        const std::vector<Achievement>& achievements);
