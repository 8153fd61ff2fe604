#pragma once

#include "tools/feel/PlayerRig.h"

// The working directory as a game directory for the player's test level.
inline void PrepareTestGame() {
  PrepareGameDirectory(KUROSHIN_SOURCE_DIR "/data",
                       KUROSHIN_SOURCE_DIR "/tests/levels/Player Test.tmx");
}
