#include "progress/ProgressStore.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <tinyxml.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "app/AtomicFile.h"
#include "app/Log.h"
#include "app/NumberText.h"
#include "app/XmlFile.h"
#include "progress/SaveTime.h"

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";

std::string ProfilePath(const std::string& profile) { return "Saves/" + profile + ".sav"; }

// What reading a profile found.
enum class ProfileState { Missing, Damaged, Read };

struct Profile {
  ProfileState state = ProfileState::Missing;
  TiXmlDocument document;
  bool byteOrderMark = false;
  std::string bytes;  // the file as it is on disk
  std::string problem;
};

void ReadProfile(const std::string& path, Profile& profile) {
  struct stat info;
  // ENOTDIR: "Saves" is no directory, so there is no profile in it.
  if (::lstat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
    profile.state = ProfileState::Missing;
    return;
  }
  profile.state = ProfileState::Damaged;
  if (!ReadSmallFile(path, profile.bytes, &profile.problem) ||
      !ParseXmlText(profile.bytes, profile.document, &profile.problem))
    return;
  profile.byteOrderMark = profile.bytes.compare(0, 3, kByteOrderMark) == 0;
  profile.state = ProfileState::Read;
}

// The bytes TinyXML's printer makes of the document, as the file holds them.
std::string Print(const TiXmlDocument& document, bool byteOrderMark) {
  char* buffer = nullptr;
  std::size_t size = 0;
  FILE* memory = open_memstream(&buffer, &size);
  if (!memory) return {};
  document.Print(memory, 0);
  std::fclose(memory);
  std::string text = byteOrderMark ? kByteOrderMark : "";
  text.append(buffer, size);
  std::free(buffer);
  return text;
}

std::string UtcStamp() {
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
  return text;
}

// Moves a damaged profile aside under a name no earlier copy has.
bool KeepDamaged(const std::string& path, std::string& kept) {
  const std::string base = path + ".damaged-" + UtcStamp();
  for (int n = 0; n < 1000; ++n) {
    kept = n == 0 ? base : base + "-" + std::to_string(n);
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, kept.c_str(), RENAME_NOREPLACE) == 0)
      return true;
    if (errno != EEXIST) return false;
  }
  return false;
}

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
  Profile profile;
  ReadProfile(path, profile);
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

  Profile profile;
  ReadProfile(path, profile);
  if (profile.state == ProfileState::Damaged) {
    std::string kept;
    if (!KeepDamaged(path, kept)) {
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

  const std::string bytes = Print(*document, profile.byteOrderMark);
  bool written = true;
  if (profile.state != ProfileState::Read || bytes != profile.bytes) {
    std::string error;
    if (::mkdir("Saves", 0755) != 0 && errno != EEXIST) {
      error = std::string("cannot create Saves: ") + std::strerror(errno);
      written = false;
    } else {
      written = WriteFileAtomically(path, bytes, error);
    }
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
