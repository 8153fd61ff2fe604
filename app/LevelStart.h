#pragma once

#include <string>

// How a level is to be played: which map, and where the hero's commands
// come from (the devices unless one of the files is given).
struct LevelStart {
  std::string level;   // Levels/CHAPTER/NAME.tmx
  std::string replay;  // a recorded run drives the hero; such a run is not saved
  std::string input;   // step bytes fed in as if pressed: saved as the player's own
};
