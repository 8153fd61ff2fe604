// Checks a recorded run without a window or sound:
//   kuroshin-verify LEVEL.tmx RUN.rpl      (in the game's data directory)
// prints "completed steps=N time=T deaths=D scroll=0|1" and exits 0 when the
// run completes the level, "not completed steps=N deaths=D" and 1 when its
// commands run out first, and a message naming the file and 2 when the
// level or the replay cannot be read.
#include <cstdio>
#include <string>

#include "app/ProgramLog.h"
#include "graphics/FormatRunTime.h"
#include "tools/verify/RunCheck.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s LEVEL.tmx RUN.rpl\n", argv[0]);
    return 2;
  }
  // The level loader reports into "log.txt" in the working directory.
  CProgramLog log(".");
  CRunCheck check;
  std::string error;
  if (!check.Load(argv[1], argv[2], error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  const CRunCheck::Result result = check.Run();
  if (result.completed) {
    std::printf("completed steps=%d time=%s deaths=%d scroll=%d\n", result.steps,
                FormatRunTime(result.time).c_str(), result.deaths, result.scroll ? 1 : 0);
    return 0;
  }
  std::printf("not completed steps=%d deaths=%d\n", result.steps, result.deaths);
  return 1;
}
