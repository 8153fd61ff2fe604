#include "objects/PictureObject.h"

#include <algorithm>

#include "app/Log.h"
#include "graphics/Sprite.h"
#include "objects/PropertyMap.h"
#include "traps/TrapSettings.h"

namespace {

// A map names its picture below "Graphics/"; one that climbs out of it or
// names an absolute path could make the game read any file.
bool StaysInGraphics(const std::string& path) {
  if (path.empty()) return true;
  if (path.front() == '/' || path.front() == '\\') return false;
  if (path.size() >= 2 && path[1] == ':') return false;  // a drive
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find_first_of("/\\", start), path.size());
    if (path.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

void CPictureObject::Init() {
  Reset();
  // Without a path the texture cache is asked for the folder itself, which
  // it reports; a refused path has been reported already.
  const bool refused = properties.count("path") && imagePath.empty();
  if (refused) return;
  CreateSprite(imagePath.empty() ? "Graphics/" : imagePath, 0.0f, 4);
  // Invisible also if drawn before its first update.
  GetSprite()->SetAlpha(alpha);
}

void CPictureObject::Reset() {
  CMovableObject::Reset();
  const bool warn = !settingsChecked;
  settingsChecked = true;
  imagePath.clear();
  if (const auto path = properties.find("path"); path != properties.end()) {
    if (StaysInGraphics(path->second))
      imagePath = "Graphics/" + path->second;
    else if (warn)
      LogWarning(DescribeObject(*this) + ": \"path\" \"" + path->second +
                 "\" leaves the graphics folder; the picture is not shown");
  }
  alpha = 0.0f;
  if (const int speed = GetIntProperty("speed"); speed != 0) {
    fadeInSpeed = fadeOutSpeed = static_cast<float>(speed) / 100.0f;
    return;
  }
  // Tested under one key, read from another: a map sets both of a pair.
  // Any speed above a million is instant; held there, it stays a float.
  auto percent = [this](const char* tested, const char* read) {
    if (GetIntProperty(tested) == 0) return 0.5f;
    return static_cast<float>(std::clamp(GetDoubleProperty(read) / 100.0, -1e6, 1e6));
  };
  fadeInSpeed = percent("speed_in", "speedin");
  fadeOutSpeed = percent("speed_out", "speedout");
}

bool CPictureObject::Update(float seconds, bool silent) {
  CSprite* sprite = GetSprite();
  if (!sprite) return true;
  if (silent) {
    sprite->SetAlpha(0.0f);
    return true;
  }
  alpha += active ? seconds * fadeInSpeed : -seconds * fadeOutSpeed;
  alpha = std::clamp(alpha, 0.0f, 1.0f);
  sprite->SetColour(255, 255, 255);
  sprite->SetAlpha(alpha);
  return true;
}

void CPictureObject::Draw(int screenX, int screenY) {
  if (CSprite* sprite = GetSprite()) {
    sprite->SetPosition(x + static_cast<float>(screenX), y + static_cast<float>(screenY));
    sprite->Advance(0.0f);
    sprite->Draw(1.0f, nullptr);
  }
  active = false;
}
