#pragma once

#include <cstddef>
#include <vector>

#include "level/LevelDirectory.h"
#include "progress/Achievement.h"
#include "progress/Statistics.h"

class CProgressStore;

// How far the profile has got in one chapter.
struct ChapterProgress {
  std::string folder;  // the chapter folder's own name ("1 Tutorial")
  std::size_t levels = 0;
  std::size_t completed = 0;  // levels with a stored result
  std::size_t scrolls = 0;    // levels whose scroll was collected
};

// Per chapter of `chapters`, in their order, from the profile's records.
std::vector<ChapterProgress> MeasureChapters(const std::vector<LevelChapter>& chapters,
                                             const CProgressStore& profile);

// Sets `achieved` on every achievement of the list (in its fixed order) that
// the counters and the chapters now satisfy, and returns the indices of the
// newly earned ones in list order; an earned achievement stays earned.
// "Tutorial", "Basic" and "Hard" are the chapters whose folder names end in
// those words (any letter case); "Chapter N" is the N-th chapter. A
// condition over chapters that do not exist, or hold no level, is not met.
std::vector<std::size_t> AwardAchievements(std::vector<Achievement>& achievements,
                                           const Statistics& statistics,
                                           const std::vector<ChapterProgress>& chapters);
