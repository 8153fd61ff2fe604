#include "progress/AchievementRules.h"

#include <functional>
#include <string_view>

#include "progress/ProgressStore.h"

namespace {

bool EndsWithWord(std::string_view folder, std::string_view word) {
  if (folder.size() < word.size()) return false;
  folder.remove_prefix(folder.size() - word.size());
  for (std::size_t i = 0; i < word.size(); ++i) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    if (lower(folder[i]) != lower(word[i])) return false;
  }
  return true;
}

bool Complete(const ChapterProgress& chapter) {
  return chapter.levels > 0 && chapter.completed == chapter.levels;
}

bool AllScrolls(const ChapterProgress& chapter) {
  return chapter.levels > 0 && chapter.scrolls == chapter.levels;
}

// Every chapter named by the word is complete, and there is one.
bool CompletedNamed(const std::vector<ChapterProgress>& chapters, std::string_view word) {
  bool found = false;
  for (const ChapterProgress& chapter : chapters) {
    if (!EndsWithWord(chapter.folder, word)) continue;
    if (!Complete(chapter)) return false;
    found = true;
  }
  return found;
}

bool ScrollsOfChapter(const std::vector<ChapterProgress>& chapters, std::size_t index) {
  return index < chapters.size() && AllScrolls(chapters[index]);
}

bool EveryScroll(const std::vector<ChapterProgress>& chapters) {
  std::size_t levels = 0;
  for (const ChapterProgress& chapter : chapters) {
    if (chapter.scrolls != chapter.levels) return false;
    levels += chapter.levels;
  }
  return levels > 0;
}

}  // namespace

std::vector<ChapterProgress> MeasureChapters(const std::vector<LevelChapter>& chapters,
                                             const CProgressStore& profile) {
  std::vector<ChapterProgress> measured;
  for (const LevelChapter& chapter : chapters) {
    ChapterProgress progress;
    const std::size_t slash = chapter.name.find_last_of('/');
    progress.folder = slash == std::string::npos ? chapter.name : chapter.name.substr(slash + 1);
    progress.levels = chapter.levels.size();
    for (const LevelEntry& level : chapter.levels) {
      const LevelRecord* record = profile.FindLevelRecord(chapter.name + "/" + level.name);
      if (!record) continue;
      ++progress.completed;
      if (record->scroll) ++progress.scrolls;
    }
    measured.push_back(std::move(progress));
  }
  return measured;
}

std::vector<std::size_t> AwardAchievements(std::vector<Achievement>& achievements,
                                           const Statistics& statistics,
                                           const std::vector<ChapterProgress>& chapters) {
  // In the order of the list.
  const std::function<bool()> conditions[] = {
      [&] { return statistics.deaths >= 1; },
      [&] { return statistics.deaths >= 100; },
      [&] { return statistics.deaths >= 1000; },
      [&] { return CompletedNamed(chapters, "Tutorial"); },
      [&] { return CompletedNamed(chapters, "Basic"); },
      [&] { return CompletedNamed(chapters, "Hard"); },
      [&] { return ScrollsOfChapter(chapters, 0); },
      [&] { return ScrollsOfChapter(chapters, 1); },
      [&] { return ScrollsOfChapter(chapters, 2); },
      [&] { return EveryScroll(chapters); },
      [&] { return statistics.arrowDeaths >= 5; },
  };
  std::vector<std::size_t> earned;
  for (std::size_t i = 0; i < achievements.size() && i < std::size(conditions); ++i) {
    if (achievements[i].achieved || !conditions[i]()) continue;
    achievements[i].achieved = true;
    earned.push_back(i);
  }
  return earned;
}
