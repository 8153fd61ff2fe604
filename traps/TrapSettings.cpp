#include "traps/TrapSettings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "app/Log.h"
#include "objects/MovableObject.h"
#include "objects/PropertyMap.h"

namespace {

// Whether the text starts with a number no float can hold: "inf", "nan",
// or a magnitude beyond float's range ("1e999", "1e300").
bool StartsNonFinite(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\n' ||
                           text.front() == '\r' || text.front() == '\v' || text.front() == '\f'))
    text.remove_prefix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto result =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (result.ec == std::errc::result_out_of_range) {
    // Overflow, unless the exponent is negative: "1e-999" is merely tiny.
    const std::string_view number(text.data(), static_cast<std::size_t>(result.ptr - text.data()));
    const std::size_t exponent = number.find_first_of("eE");
    return exponent == std::string_view::npos || exponent + 1 >= number.size() ||
           number[exponent + 1] != '-';
  }
  if (result.ec != std::errc()) return false;
  return !std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max();
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

void Warn(const CMovableObject& object, const std::string& key, const std::string& problem) {
  const auto found = object.properties.find(key);
  const std::string value = found == object.properties.end() ? "" : found->second;
  LogWarning(DescribeObject(object) + ": " + Quoted(key) + " " + Quoted(value) + " " + problem);
}

// Whole numbers only (the corrected values are defaults or limits, and a
// position is found by its whole pixel); kept in range for the conversion.
std::string Number(float value) {
  if (!(value == value)) return "0";
  const double clamped = std::clamp(static_cast<double>(value), -1e15, 1e15);
  return std::to_string(static_cast<long long>(clamped));
}

}  // namespace

std::string DescribeObject(const CMovableObject& object) {
  std::string text = object.type.empty() ? std::string("object") : object.type;
  if (!object.name.empty()) return text + " " + Quoted(object.name);
  return text + " at " + Number(object.x) + ", " + Number(object.y);
}

float ReadTrapSetting(const CMovableObject& object, const std::string& key, float fallback,
                      bool intTested, bool warn) {
  const auto found = object.properties.find(key);
  if (found == object.properties.end()) return fallback;
  if (StartsNonFinite(found->second)) {
    if (warn) Warn(object, key, "is not a usable number; using the default " + Number(fallback));
    return fallback;
  }
  const double value =
      intTested ? GetDoublePropertyIntTested(object.properties, key, fallback)
                : GetDoubleProperty(object.properties, key, static_cast<double>(fallback));
  return static_cast<float>(value);
}

float ReadTrapSpeed(const CMovableObject& object, const std::string& key, float fallback,
                    bool intTested, bool warn) {
  const float value = ReadTrapSetting(object, key, fallback, intTested, warn);
  if (value >= 1.0f) return value;
  if (warn) Warn(object, key, "is too slow to reach its end; using 1");
  return 1.0f;
}

float ReadMaxOut(const CMovableObject& object, bool warn) {
  const float value = ReadTrapSetting(object, "max_out", 100.0f, false, warn);
  if (value > 0.0f && value <= 100.0f) return value;
  if (warn) Warn(object, "max_out", "is outside 0 to 100 percent; using 100");
  return 100.0f;
}

float ReadSpawnInterval(const CMovableObject& object, const std::string& key, float fallback,
                        bool warn) {
  const float value = ReadTrapSetting(object, key, fallback, false, warn);
  if (value >= kMinSpawnInterval) return value;
  if (warn) Warn(object, key, "is too short; using 0.1 seconds");
  return kMinSpawnInterval;
}

float ReadSignedSpeed(const CMovableObject& object, const std::string& key, float fallback,
                      bool warn) {
  const float value = ReadTrapSetting(object, key, fallback, false, warn);
  if (std::fabs(value) >= 1.0f) return value;
  if (warn) Warn(object, key, "is too slow to leave the level; using 1");
  return value < 0.0f ? -1.0f : 1.0f;
}

float ReadRandomBound(const CMovableObject& object, const std::string& key, float fallback,
                      float limit, bool warn) {
  const float value = ReadTrapSetting(object, key, fallback, false, warn);
  if (std::fabs(value) <= limit) return value;
  if (warn) Warn(object, key, "is out of range; using " + Number(value < 0 ? -limit : limit));
  return value < 0.0f ? -limit : limit;
}
