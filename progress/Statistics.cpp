#include "progress/Statistics.h"

#include <tinyxml.h>

#include <charconv>
#include <cstring>
#include <string_view>

#include "app/Log.h"
#include "app/UserFile.h"

namespace {

constexpr const char* kWhat = "statistics file";

const struct {
  const char* name;
  std::uint32_t Statistics::*field;
} kCounters[] = {
    {"deaths", &Statistics::deaths},
    {"arrowDeaths", &Statistics::arrowDeaths},
    {"completedChapters", &Statistics::completedChapters},
    {"collectedScrolls", &Statistics::collectedScrolls},
};

bool ReadCounter(const char* text, std::uint32_t& value) {
  const std::string_view view = text;
  const auto result = std::from_chars(view.data(), view.data() + view.size(), value);
  return result.ec == std::errc() && result.ptr == view.data() + view.size();
}

// False, with the reason, when the document is not a statistics file.
bool ReadDocument(const TiXmlDocument& document, Statistics& statistics,
                  std::vector<Achievement>& achievements, std::string& problem) {
  const TiXmlElement* root = document.RootElement();
  if (std::strcmp(root->Value(), "Statistics") != 0) {
    problem = "the root element is not Statistics";
    return false;
  }
  Statistics read;
  for (const auto& counter : kCounters) {
    const char* text = root->Attribute(counter.name);
    if (text && !ReadCounter(text, read.*counter.field)) {
      problem = std::string("\"") + counter.name + "\" is not a count";
      return false;
    }
  }
  std::vector<bool> earned(achievements.size(), false);
  for (const TiXmlElement* element = root->FirstChildElement("Achievement"); element;
       element = element->NextSiblingElement("Achievement")) {
    const char* title = element->Attribute("title");
    const char* achieved = element->Attribute("achieved");
    if (!title || !achieved) continue;
    for (std::size_t i = 0; i < achievements.size(); ++i)
      if (achievements[i].title == title) earned[i] = std::strcmp(achieved, "1") == 0;
  }
  statistics = read;
  for (std::size_t i = 0; i < achievements.size(); ++i) achievements[i].achieved = earned[i];
  return true;
}

}  // namespace

bool LoadStatisticsFile(const std::string& path, Statistics& statistics,
                        std::vector<Achievement>& achievements) {
  statistics = Statistics();
  for (Achievement& achievement : achievements) achievement.achieved = false;
  const UserFileResult result =
      ReadUserFile(path, kWhat, [&](const TiXmlDocument& document, std::string& problem) {
        return ReadDocument(document, statistics, achievements, problem);
      });
  return result == UserFileResult::Read || result == UserFileResult::Missing;
}

bool SaveStatisticsFile(const std::string& path, const Statistics& statistics,
                        const std::vector<Achievement>& achievements) {
  // Damaged since it was read (or never moved): moved aside first, or kept.
  Statistics onDisk;
  std::vector<Achievement> earnedOnDisk = achievements;
  const UserFileResult found =
      ReadUserFile(path, kWhat, [&](const TiXmlDocument& document, std::string& problem) {
        return ReadDocument(document, onDisk, earnedOnDisk, problem);
      });
  if (found == UserFileResult::DamagedInPlace) {
    LogError("Could not save the statistics " + path + ": a damaged file is in the way");
    return false;
  }
  TiXmlDocument document;
  document.InsertEndChild(TiXmlDeclaration("1.0", "UTF-8", ""));
  TiXmlElement root("Statistics");
  for (const auto& counter : kCounters)
    root.SetAttribute(counter.name, std::to_string(statistics.*counter.field));
  for (const Achievement& achievement : achievements) {
    TiXmlElement element("Achievement");
    element.SetAttribute("title", achievement.title);
    element.SetAttribute("achieved", achievement.achieved ? "1" : "0");
    root.InsertEndChild(element);
  }
  document.InsertEndChild(root);
  std::string error;
  if (WriteUserFile(path, PrintXmlDocument(document, false), error)) return true;
  LogError("Could not save the statistics " + path + ": " + error);
  return false;
}
