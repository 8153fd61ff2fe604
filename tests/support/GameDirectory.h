#pragma once

#include <string>

// A new directory below the working directory that the game can run in: the
// repository's Graphics, Values and Audio linked in (read only), its Levels
// copied (the game writes best runs beside the maps). Empty on failure.
std::string MakeGameDirectory(const std::string& prefix);

// The sample level, as the game and its tools name it from such a directory.
inline constexpr const char* kSampleLevel = "Levels/Chapter 1/01 Dusk Road.tmx";
// A run that completes it, recorded by routing the hero through it.
inline const std::string kSampleRun =
    std::string(KUROSHIN_SOURCE_DIR) + "/tests/solutions/Chapter 1/01 Dusk Road.rpl";
