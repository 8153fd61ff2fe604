// The hero's feel measured with the game's own player code, as JSON on
// standard output:
//   kuroshin_feel DATA_DIR TEST_LEVEL.tmx
// DATA_DIR is the game's data folder (its Graphics, Values and Audio are
// used), TEST_LEVEL the player test level (tests/levels/Player Test.tmx).
// The asset tools read these figures instead of modelling the rules again.
#include <cstdio>
#include <filesystem>
#include <string>

#include "tools/common/ScratchDirectory.h"
#include "tools/feel/FeelMeasure.h"
#include "tools/feel/PlayerRig.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DATA_DIR TEST_LEVEL.tmx\n", argv[0]);
    return 2;
  }
  const std::string data = FromStartingDirectory(argv[1]);
  const std::string level = FromStartingDirectory(argv[2]);
  std::error_code error;
  if (!std::filesystem::is_regular_file(data + "/Values/Player.xml", error) ||
      !std::filesystem::is_regular_file(level, error)) {
    std::fprintf(stderr, "%s: no game data there, or no test level at %s\n", argv[1], argv[2]);
    return 2;
  }
  PrepareGameDirectory(data, level);
  const FeelFigures f = MeasureFeel();
  if (!f.ok) {
    std::fprintf(stderr, "%s\n", f.error.c_str());
    return 1;
  }
  std::fputs(FeelJson(f, MeasureFinishRun()).c_str(), stdout);
  return 0;
}
