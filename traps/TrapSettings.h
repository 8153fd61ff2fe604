#pragma once

#include <string>

class CMovableObject;

// The numbers level designers give traps, read so that no value can break a
// trap's cycle. Each correction is a warning naming the object, written only
// when `warn` is set: traps read their settings again on every respawn and
// say so once.

// How warnings name an object: its type and map name, or its type and map
// position when it has none.
std::string DescribeObject(const CMovableObject& object);

// A setting with a default: missing or 0 gives the default (with
// `intTested` also anything below 1, such as 0.5); "inf", "nan" and numbers
// beyond a float's range give the default too, with a warning.
float ReadTrapSetting(const CMovableObject& object, const std::string& key, float fallback,
                      bool intTested, bool warn);

// A speed as ReadTrapSetting reads it, raised to at least 1 (pixels or
// degrees per second): a speed of 0 or below never reaches its target.
float ReadTrapSpeed(const CMovableObject& object, const std::string& key, float fallback,
                    bool intTested, bool warn);

// "max_out", the share of the full travel in percent: (0, 100], default 100.
// Values of 0 or below and above 100 become 100: a negative share would run
// the trap backwards for ever, one above 100 past the end of its picture.
float ReadMaxOut(const CMovableObject& object, bool warn);

// Seconds between two objects a trap spawns, default when missing or 0; at
// least kMinSpawnInterval: anything shorter floods the level.
constexpr float kMinSpawnInterval = 0.1f;
float ReadSpawnInterval(const CMovableObject& object, const std::string& key, float fallback,
                        bool warn);

// A speed whose sign is a direction (pixels per second): its size raised to
// at least 1, so what flies at it leaves the level in bounded time.
float ReadSignedSpeed(const CMovableObject& object, const std::string& key, float fallback,
                      bool warn);

// A bound of a random draw, held within ±limit so that the draw's integer
// arithmetic stays defined.
float ReadRandomBound(const CMovableObject& object, const std::string& key, float fallback,
                      float limit, bool warn);
