#include "progress/LevelRequirements.h"

#include <tinyxml.h>

#include <charconv>
#include <string_view>

#include "app/Log.h"
#include "app/XmlFile.h"

namespace {

// "scrolls" as a count: negative, non-numeric or absurd values would lock a
// level for ever, so they count as 0 (with a warning).
std::uint32_t ReadCount(const char* text, const std::string& name, const std::string& path) {
  std::string_view view = text ? text : "";
  while (!view.empty() && (view.front() == ' ' || view.front() == '\t')) view.remove_prefix(1);
  if (!view.empty() && view.front() == '+') view.remove_prefix(1);
  long long value = -1;
  auto result = std::from_chars(view.data(), view.data() + view.size(), value);
  if (!text || result.ec != std::errc() || value < 0 || value > 0xffffffffll) {
    std::string shown = "missing";
    if (text) {
      shown = "'";
      shown += text;
      shown += '\'';
    }
    LogWarning(path + ": level " + name + " has no usable \"scrolls\" count (" + shown +
               "); it is open from the start");
    return 0;
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace

bool CLevelRequirements::Load(const std::string& path) {
  requirements.clear();
  TiXmlDocument document;
  if (!LoadXmlFile(path, document)) return false;
  for (const TiXmlElement* element = document.RootElement()->FirstChildElement(); element;
       element = element->NextSiblingElement()) {
    const char* name = element->Attribute("name");
    if (!name) {
      LogWarning(path + ": an entry without \"name\" is skipped");
      continue;
    }
    requirements[name] = ReadCount(element->Attribute("scrolls"), name, path);
  }
  return true;
}

bool CLevelRequirements::IsUnlocked(const std::string& key, std::uint32_t scrollCount) const {
  auto found = requirements.find(key);
  return found == requirements.end() || found->second <= scrollCount;
}
