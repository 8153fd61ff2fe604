#include "traps/OrbitalTrap.h"

#include <cmath>
#include <string>

#include "app/Log.h"
#include "audio/AudioManager.h"
#include "audio/ScreenGain.h"
#include "audio/Sound.h"
#include "graphics/Sprite.h"
#include "level/Level.h"
#include "objects/HitBoxFile.h"
#include "traps/TrapSettings.h"

namespace {

constexpr float kDegrees = 0.017453292f;

// Back into -360..360, however far one step took it.
float Wrap(float degrees) {
  if (degrees > 360.0f || degrees < -360.0f) return std::fmod(degrees, 360.0f);
  return degrees;
}

int Sign(float value) { return value > 0.0f ? 1 : value < 0.0f ? -1 : 0; }

// Not strictly between the segment's ends on this axis: past it, or all
// three the same.
bool ArrivedOnAxis(float start, float end, float point) {
  return (start == end && end == point) || (point > start && point > end) ||
         (point < start && point < end);
}

}  // namespace

COrbitalTrap::COrbitalTrap() {
  LoadHitBox("", -1, "Values/Trap Collisions/Orbital", hitBox);
  localBox = hitBox;
}

COrbitalTrap::~COrbitalTrap() {
  if (sound)
    if (CAudioManager* audio = CAudioManager::GetInstance()) audio->ReleaseSound(sound);
}

void COrbitalTrap::Init() {
  // Reset, called below, marks the settings as checked.
  const bool warn = !settingsChecked;
  rotationSpeed = ReadTrapSetting(*this, "rotation_speed", 0.0f, false, warn);
  polySpeed = ReadTrapSetting(*this, "poly_speed", 0.0f, false, warn);
  spinSpeed = ReadTrapSetting(*this, "spin_speed", 0.0f, false, warn);
  radius = ReadTrapSetting(*this, "radius", 0.0f, false, warn);
  loop = GetIntProperty("loop") != 0;

  pathObject = nullptr;
  path.clear();
  originX = originY = 0.0f;
  // An empty name would find the first unnamed object.
  if (const auto named = properties.find("path");
      named != properties.end() && !named->second.empty()) {
    CMovableObject* found = level ? level->FindObject(named->second) : nullptr;
    if (!found) {
      LogWarning(DescribeObject(*this) + ": \"path\" \"" + named->second +
                 "\" names no object; the shuriken keeps to its place");
    } else if (found->path.empty()) {
      LogWarning(DescribeObject(*this) + ": \"path\" \"" + named->second +
                 "\" has no polyline; the shuriken keeps to its place");
    } else {
      pathObject = found;
      path = found->path;
      originX = found->x;
      originY = found->y;
    }
  }

  const auto look = properties.find("type");
  const std::string colour = look == properties.end() ? "black" : look->second;
  CreateSprite(colour == "black"  ? "Graphics/Traps/trp_shuriken_black.png"
               : colour == "grey" ? "Graphics/Traps/trp_shuriken_grey.png"
                                  : "Graphics/Traps/trp_shuriken_white.png",
               0.0f, 4);

  Reset();

  if (sound)
    if (CAudioManager* audio = CAudioManager::GetInstance()) audio->ReleaseSound(sound);
  sound = nullptr;
  audible = false;
  // The replay ghost's level (the one without a camera) hums not at all.
  CAudioManager* audio = CAudioManager::GetInstance();
  if (audio && !(level && !level->GetCamera())) {
    sound = audio->PlaySound("Audio/sfx/sfx_shuriken.wav", true, 0.0f);
    sound->keepAlive = true;
    audible = true;
  }
}

void COrbitalTrap::Reset() {
  CMovableObject::Reset();
  const bool warn = !settingsChecked;
  settingsChecked = true;
  angle = ReadTrapSetting(*this, "rotation", 0.0f, false, warn);
  elapsed = ReadTrapSetting(*this, "counter", 0.0f, false, warn);
  active = GetIntProperty("active") != 0;
  travelDirection = Sign(polySpeed);
  vertex = GetIntProperty("vertex");
  const int count = static_cast<int>(path.size());
  // A vertex outside the path (negative ones too) starts at its first point.
  if (vertex < 0 || vertex >= count) vertex = 0;
  nextVertex = vertex;
  pointX = pointY = 0.0f;
  if (pathObject) {
    pointX = path[static_cast<std::size_t>(vertex)].first;
    pointY = path[static_cast<std::size_t>(vertex)].second;
  }
  if (Travels()) ComputeNextVertex();
  PlaceCentre();
  PlaceBox();
}

void COrbitalTrap::ComputeNextVertex() {
  const int last = static_cast<int>(path.size()) - 1;
  if (loop) {
    if (vertex == last && travelDirection > 0)
      nextVertex = 0;
    else if (vertex == 0 && travelDirection < 0)
      nextVertex = last;
    else
      nextVertex = vertex + travelDirection;
    return;
  }
  if (vertex == last && travelDirection > 0)
    travelDirection = -1;
  else if (vertex == 0 && travelDirection < 0)
    travelDirection = 1;
  nextVertex = vertex + travelDirection;
}

void COrbitalTrap::Travel(float seconds) {
  auto at = [this](int index) { return path[static_cast<std::size_t>(index)]; };
  if (ArrivedOnAxis(at(vertex).first, at(nextVertex).first, pointX) &&
      ArrivedOnAxis(at(vertex).second, at(nextVertex).second, pointY)) {
    pointX = at(nextVertex).first;
    pointY = at(nextVertex).second;
    vertex = nextVertex;
    if (loop) {
      ComputeNextVertex();
    } else {
      const int last = static_cast<int>(path.size()) - 1;
      if (vertex == last) travelDirection = -1;
      if (vertex == 0) travelDirection = 1;
      nextVertex = vertex + travelDirection;
    }
  }
  const float dx = at(nextVertex).first - at(vertex).first;
  const float dy = at(nextVertex).second - at(vertex).second;
  float length = std::sqrt(dx * dx + dy * dy);
  if (length == 0.0f) length = 1.0f;
  const float step = std::fabs(polySpeed) * seconds;
  pointX += dx / length * step;
  pointY += dy / length * step;
}

void COrbitalTrap::PlaceCentre() {
  if (!active) {
    centreX = x;
    centreY = y;
    return;
  }
  const float baseX = pathObject ? originX : x;
  const float baseY = pathObject ? originY : y;
  centreX = baseX + pointX + radius * std::cos(angle * kDegrees);
  centreY = baseY + pointY + radius * std::sin(angle * kDegrees);
}

void COrbitalTrap::PlaceBox() {
  const CSprite* sprite = GetSprite();
  const int w = sprite ? sprite->GetFrameWidth() : 0;
  const int h = sprite ? sprite->GetFrameHeight() : 0;
  const float left = centreX - static_cast<float>(w / 2);
  const float top = centreY - static_cast<float>(h / 2);
  hitBox = localBox.Offset(left, top);
}

bool COrbitalTrap::Update(float seconds, bool) {
  if (active && elapsed < delay) {
    // The centre stays where it was.
    elapsed += seconds;
  } else {
    if (active) {
      angle = Wrap(angle + seconds * rotationSpeed);
      if (Travels()) Travel(seconds);
    }
    PlaceCentre();
  }
  CSprite* sprite = GetSprite();
  if (sprite) sprite->SetRotation(Wrap(sprite->GetRotation() + spinSpeed * seconds));
  PlaceBox();
  if (sprite) sprite->Advance(seconds);
  return true;
}

void COrbitalTrap::Draw(int screenX, int screenY) {
  if (CSprite* sprite = GetSprite()) {
    sprite->SetPosition(centreX + static_cast<float>(screenX),
                        centreY + static_cast<float>(screenY));
    sprite->Advance(0.0f);
    sprite->Draw(1.0f, nullptr);
  }
  if (!sound) return;
  float distance = 0.0f;
  const float volume =
      ScreenGain(x + static_cast<float>(screenX), y + static_cast<float>(screenY), &distance);
  if (distance < 1280.0f) {
    if (!audible) {
      audible = true;
      sound->Play();
    }
  } else if (audible) {
    audible = false;
    sound->Pause();
  }
  if (sound->hasSource) sound->SetVolume(volume);
}
