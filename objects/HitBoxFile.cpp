#include "objects/HitBoxFile.h"

#include <tinyxml.h>

#include <algorithm>
#include <climits>
#include <cmath>

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/XmlFile.h"

namespace {

bool NumberAttribute(const TiXmlElement& element, const char* name, double& value) {
  const char* text = element.Attribute(name);
  return text && ParseLeadingDouble(text, value);
}

}  // namespace

bool CHitBoxFile::Load(const std::string& path) {
  entries.clear();
  TiXmlDocument document;
  if (!LoadXmlFile(path, document)) return false;
  return Read(document, path);
}

bool CHitBoxFile::Parse(const std::string& text) {
  entries.clear();
  TiXmlDocument document;
  if (!ParseXmlText(text, document)) return false;
  return Read(document, "hit box text");
}

bool CHitBoxFile::Read(TiXmlDocument& document, const std::string& where) {
  const TiXmlElement* root = document.RootElement();
  if (!root || !root->FirstChildElement("hitbox")) return false;
  bool seenHitbox = false;
  int line = 0;
  for (const TiXmlElement* child = root->FirstChildElement(); child;
       child = child->NextSiblingElement()) {
    ++line;
    seenHitbox = seenHitbox || child->ValueStr() == "hitbox";
    double x = 0, y = 0, width = 0, height = 0;
    if (!NumberAttribute(*child, "x", x) || !NumberAttribute(*child, "y", y) ||
        !NumberAttribute(*child, "width", width) || !NumberAttribute(*child, "height", height)) {
      LogWarning(where + ": box " + std::to_string(line) +
                 " skipped, its x, y, width and height are not all numbers");
      continue;
    }
    // A box drawn leftwards or upwards in an editor still means the same area.
    if (width < 0) x += width, width = -width;
    if (height < 0) y += height, height = -height;
    // Finite as doubles but not as floats, the edges would be infinite and
    // the box would never touch anything.
    if (!std::isfinite(static_cast<float>(x)) || !std::isfinite(static_cast<float>(y)) ||
        !std::isfinite(static_cast<float>(x + width)) ||
        !std::isfinite(static_cast<float>(y + height))) {
      LogWarning(where + ": box " + std::to_string(line) + " skipped, it reaches beyond any level");
      continue;
    }
    Entry entry;
    entry.box = CHitBox(static_cast<float>(y), static_cast<float>(y + height),
                        static_cast<float>(x), static_cast<float>(x + width));
    if (const char* userdata = child->Attribute("userdata")) {
      entry.hasUserdata = true;
      entry.userdata = userdata;
    }
    if (const char* frame = child->Attribute("frame")) {
      entry.hasFrame = true;
      double value = 0;
      // A frame that is no number matches no frame number.
      if (ParseLeadingDouble(frame, value)) {
        entry.frameIsNumber = true;
        entry.frame =
            static_cast<int>(std::clamp(std::trunc(value), double(INT_MIN), double(INT_MAX)));
      }
    }
    entry.fromFirstHitbox = seenHitbox;
    entries.push_back(std::move(entry));
  }
  return !entries.empty();
}

bool CHitBoxFile::Find(const std::string& userdata, int frame, CHitBox& box) const {
  const Entry* remembered = nullptr;
  const Entry* last = nullptr;
  bool userMatches = userdata.empty();
  bool frameMatches = frame == -1;
  for (const Entry& entry : entries) {
    if (!entry.fromFirstHitbox) continue;
    last = &entry;
    if (entry.hasUserdata) {
      if (entry.userdata == userdata) {
        userMatches = true;
        remembered = &entry;
      } else if (!userdata.empty()) {
        userMatches = false;
      }
    }
    if (entry.hasFrame) frameMatches = frame == -1 || (entry.frameIsNumber && entry.frame == frame);
    if (userMatches && frameMatches) {
      box = entry.box;
      return true;
    }
  }
  const Entry* chosen = remembered ? remembered : last;
  if (!chosen) return false;
  box = chosen->box;
  return true;
}

void CHitBoxFile::AppendAll(std::vector<CHitBox>& boxes) const {
  for (const Entry& entry : entries) boxes.push_back(entry.box);
}

bool LoadHitBox(const std::string& userdata, int frame, const std::string& basePath, CHitBox& box) {
  CHitBoxFile file;
  return file.Load(basePath + ".hitbox.xml") && file.Find(userdata, frame, box);
}

void LoadHitBoxList(const std::string& basePath, std::vector<CHitBox>& boxes) {
  CHitBoxFile file;
  if (file.Load(basePath + ".hitbox.xml")) file.AppendAll(boxes);
}
