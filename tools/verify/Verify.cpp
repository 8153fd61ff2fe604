// Checks a recorded run without a window or sound:
//   kuroshin-verify LEVEL.tmx RUN.rpl
// prints "completed steps=N time=T deaths=D scroll=0|1" and exits 0 when the
// run completes the level, "not completed steps=N deaths=D" and 1 when its
// commands run out first, and a message naming the file and 2 when the
// level or the replay cannot be read. It finds the game's data as the game
// does: the working directory when it holds the data, else the install
// beside the program. LEVEL is read in the data folder (Levels/...), RUN
// from where it was started.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "app/DataFolder.h"
#include "app/ProgramLog.h"
#include "app/SaveFolder.h"
#include "graphics/FormatRunTime.h"
#include "tools/verify/RunCheck.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s LEVEL.tmx RUN.rpl\n", argv[0]);
    return 2;
  }
  std::error_code noFolder;
  const std::string started = std::filesystem::current_path(noFolder).string();
  const std::optional<DataFolder> data = FindDataFolder(std::nullopt, started, ExecutablePath());
  if (!data || ::chdir(data->path.c_str()) != 0) {
    std::fputs("Could not find the game's data\n", stderr);
    return 2;
  }
  const std::string replay = AgainstFolder(argv[2], started);
  // The level loader reports into "log.txt" in the data folder, as ever. An
  // installed data folder is not ours to write, and the game's own log in
  // the player's state folder is not to be emptied by a check: there it
  // goes into a folder of its own.
  std::optional<CProgramLog> log;
  if (!data->installed) {
    log.emplace(".");
  } else if (std::optional<UserFolders> folders =
                 InstalledUserFolders([](const char* name) { return std::getenv(name); })) {
    UseUserFolders(*folders);
    const std::string logFolder = folders->state + "/verify";
    std::string noLog;
    if (MakeUserFolder(logFolder, noLog)) log.emplace(logFolder);
  }
  CRunCheck check;
  std::string error;
  if (!check.Load(argv[1], replay, error)) {
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
