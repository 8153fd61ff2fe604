#pragma once

#include <string>

// A new directory below the working directory that the game can run in: the
// repository's Graphics, Values and Audio linked in (read only), its Levels
// copied (the game writes best runs beside the maps), and the sample level
// placed as PlaceTestLevel does. Empty on failure.
std::string MakeGameDirectory(const std::string& prefix);

// Copies the test map tests/levels/FILE of the repository into `dir` at the
// same relative path: two folders below the game directory, where the map's
// tileset names ("../../Graphics/...") find the game's. The map's path
// relative to `dir`, or empty on failure.
std::string PlaceTestLevel(const std::string& dir, const std::string& file);

// The sample level, as the game and its tools name it from such a directory.
inline constexpr const char* kSampleLevel = "tests/levels/Dusk Road.tmx";
// A run that completes it, recorded by routing the hero through it.
inline const std::string kSampleRun =
    std::string(KUROSHIN_SOURCE_DIR) + "/tests/levels/Dusk Road.rpl";
