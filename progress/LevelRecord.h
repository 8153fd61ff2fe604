#pragma once

#include <string>

// One level of the save profile.
struct LevelRecord {
  // The level key: the map's path below the game directory without ".tmx".
  std::string name;
  // Seconds; 0 when the profile holds no usable time.
  float bestTime = 0.0f;
  // The level's scroll was collected at least once.
  bool scroll = false;
};
