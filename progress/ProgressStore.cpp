#include "progress/ProgressStore.h"

#include <tinyxml.h>

#include <cerrno>
#include <cstring>

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/SaveFolder.h"
#include "app/UserFile.h"
#include "level/LevelDirectory.h"
#include "progress/AchievementRules.h"
#include "progress/SaveTime.h"

namespace {

std::string ProfilePath(const std::string& profile) { return SavePath(profile + ".sav"); }

using ProfileState = UserXmlFile::State;

// A "Level" element's "scroll"; missing or no number is 0.
int ScrollValue(const TiXmlElement& level) {
  int scroll = 0;
  if (const char* text = level.Attribute("scroll")) ParseLeadingInt(text, scroll);
  return scroll;
}

TiXmlElement MakeLevel(const std::string& key, const std::string& time, bool scroll) {
  TiXmlElement level("Level");
  level.SetAttribute("name", key);
  level.SetAttribute("time", time);
  level.SetAttribute("scroll", scroll ? "1" : "0");
  return level;
}

}  // namespace

CProgressStore::CProgressStore() : achievements(MakeAchievementList()) {}

CProgressStore::~CProgressStore() = default;

void CProgressStore::LoadProfile(const std::string& profileName) {
  records.clear();
  scrollCount = 0;
  const std::string path = ProfilePath(profileName);
  UserXmlFile profile;
  ReadUserXmlFile(path, profile);
  if (profile.state == ProfileState::Damaged)
    LogError("The save profile " + path + " is damaged (" + profile.problem + ")");
  if (profile.state == ProfileState::Read) ReadRecords(profile.document);
}

void CProgressStore::ReadRecords(const TiXmlDocument& document) {
  records.clear();
  scrollCount = 0;
  const TiXmlElement* root = document.RootElement();
  for (const TiXmlElement* element = root->FirstChildElement(); element;
       element = element->NextSiblingElement()) {
    auto record = std::make_unique<LevelRecord>();
    if (const char* name = element->Attribute("name")) record->name = name;
    if (const char* time = element->Attribute("time")) ReadSaveTime(time, record->bestTime);
    record->scroll = ScrollValue(*element) != 0;
    if (record->scroll) ++scrollCount;
    records.push_back(std::move(record));
  }
}

bool CProgressStore::SaveLevelResult(const std::string& profileName, const std::string& levelKey,
                                     float seconds, bool scroll) {
  const std::string path = ProfilePath(profileName);
  const std::string time = FormatSaveTime(seconds);
  // Compared as the file will hold it, so a run of the same length as the
  // stored one is no improvement.
  const float stored = StoredSaveTime(seconds);
  bool result = true;

  UserXmlFile profile;
  ReadUserXmlFile(path, profile);
  if (profile.state == ProfileState::Damaged) {
    std::string kept;
    if (!KeepDamagedFile(path, kept)) {
      LogError("The save profile " + path + " is damaged (" + profile.problem +
               ") and cannot be kept aside (" + std::strerror(errno) + "); the run is not saved");
      LoadProfile(profileName);
      return false;
    }
    LogError("The save profile " + path + " is damaged (" + profile.problem + "); kept as " + kept +
             ", starting a new one");
  }

  TiXmlDocument fresh;
  TiXmlDocument* document = &profile.document;
  if (profile.state == ProfileState::Read) {
    TiXmlElement* root = document->RootElement();
    TiXmlElement* match = nullptr;
    for (TiXmlElement* element = root->FirstChildElement(); element;
         element = element->NextSiblingElement()) {
      const char* name = element->Attribute("name");
      if (name && levelKey == name) {
        match = element;
        break;
      }
    }
    if (match) {
      float best = 0.0f;
      const char* oldTime = match->Attribute("time");
      const bool hasTime = oldTime && ReadSaveTime(oldTime, best);
      if (!hasTime || stored < best)
        match->SetAttribute("time", time);
      else
        result = false;
      if ((scroll ? 1 : 0) > ScrollValue(*match)) match->SetAttribute("scroll", "1");
    } else {
      root->InsertEndChild(MakeLevel(levelKey, time, scroll));
    }
  } else {
    fresh.InsertEndChild(TiXmlDeclaration("1.0", "UTF-8", ""));
    TiXmlElement player("Player");
    player.InsertEndChild(MakeLevel(levelKey, time, scroll));
    fresh.InsertEndChild(player);
    document = &fresh;
  }

  const std::string bytes = PrintXmlDocument(*document, profile.byteOrderMark);
  bool written = true;
  if (profile.state != ProfileState::Read || bytes != profile.bytes) {
    std::string error;
    written = WriteUserFile(path, bytes, error);
    if (!written) LogError("Could not save the profile " + path + ": " + error);
  }
  // What is on disk now: the document just written, or, when that failed,
  // whatever the file still holds.
  if (written)
    ReadRecords(*document);
  else
    LoadProfile(profileName);
  return written && result;
}

LevelRecord* CProgressStore::FindLevelRecord(const std::string& key) const {
  for (const auto& record : records)
    if (record->name == key) return record.get();
  return nullptr;
}

void CProgressStore::LoadStatistics() {
  LoadStatisticsFile(SavePath("save.stats"), statistics, achievements);
  statisticsChanged = false;
}

bool CProgressStore::SaveStatistics() {
  if (!statisticsChanged) return true;
  if (!SaveStatisticsFile(SavePath("save.stats"), statistics, achievements)) return false;
  statisticsChanged = false;
  return true;
}

std::vector<std::size_t> CProgressStore::RecordDeath(bool byArrow) {
  ++statistics.deaths;
  if (byArrow) ++statistics.arrowDeaths;
  statisticsChanged = true;
  // No chapter condition can be met without chapters, and none is taken back.
  return AwardAchievements(achievements, statistics, {});
}

std::vector<std::size_t> CProgressStore::CheckAchievements(
    const std::vector<LevelChapter>& chapters) {
  const std::vector<ChapterProgress> progress = MeasureChapters(chapters, *this);
  std::uint32_t completed = 0;
  for (const ChapterProgress& chapter : progress)
    if (chapter.levels > 0 && chapter.completed == chapter.levels) ++completed;
  if (completed != statistics.completedChapters || scrollCount != statistics.collectedScrolls) {
    statistics.completedChapters = completed;
    statistics.collectedScrolls = scrollCount;
    statisticsChanged = true;
  }
  std::vector<std::size_t> earned = AwardAchievements(achievements, statistics, progress);
  if (!earned.empty()) statisticsChanged = true;
  return earned;
}
