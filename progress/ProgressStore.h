#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/Singleton.h"
#include "progress/Achievement.h"
#include "progress/LevelRecord.h"
#include "progress/Statistics.h"

struct LevelChapter;

class TiXmlDocument;

// The save profile in memory: per level the best time and the scroll, the
// number of levels whose scroll was collected, and the achievement list
// with the counters behind it. Program-wide; the entry creates it. The
// profile is the file profile + ".sav" in the save folder, the achievements
// and counters "save.stats" beside it.
class CProgressStore : public Singleton<CProgressStore> {
public:
  CProgressStore();
  ~CProgressStore();

  // Replaces the records with the file's. A missing file is an empty
  // profile; a damaged one (unreadable, not well-formed, no root) is
  // reported and leaves the store empty, the file untouched.
  void LoadProfile(const std::string& profile);

  // Merges a finished run into the file and reloads the store from it.
  // True when the level had no usable time yet or the run beat it (as the
  // file stores times: an equal time is no improvement). A collected scroll
  // is never lost. A damaged file is kept aside as
  // "<file>.damaged-<UTC time>" before a fresh profile starts. False, with
  // an error in the log, when the file cannot be written: the run then made
  // no record.
  bool SaveLevelResult(const std::string& profile, const std::string& levelKey, float seconds,
                       bool scroll);

  // The first record with exactly this key, or null.
  LevelRecord* FindLevelRecord(const std::string& key) const;

  // The counters and earned achievements from the statistics file (see
  // LoadStatisticsFile: a damaged file is reported and moved aside).
  void LoadStatistics();
  // Writes them when they changed since the last load or save; true when
  // nothing had to be written or the write succeeded.
  bool SaveStatistics();
  // The player's hero died (by an arrow or otherwise); awards the death
  // achievements. The newly earned ones' indices.
  std::vector<std::size_t> RecordDeath(bool byArrow);
  // Awards what the profile in memory and these chapters now satisfy and
  // refreshes the chapter and scroll counters. The newly earned ones.
  std::vector<std::size_t> CheckAchievements(const std::vector<LevelChapter>& chapters);

  std::vector<std::unique_ptr<LevelRecord>> records;
  std::uint32_t scrollCount = 0;
  std::vector<Achievement> achievements;
  Statistics statistics;
  bool statisticsChanged = false;

private:
  void ReadRecords(const TiXmlDocument& document);
};
