// Plays a level along a route (see RouteScript.h) with the game's own code
// and writes the commands as a replay, for solution runs of our levels:
//   kuroshin_route LEVEL.tmx ROUTE.txt OUT.rpl       (in the data directory)
// Prints where each command ended and how the run went; exits 0 when the
// run completes the level, 1 when it does not, 2 for unreadable input.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "app/ProgramLog.h"
#include "app/XmlFile.h"
#include "graphics/FormatRunTime.h"
#include "input/PlayerController.h"
#include "tools/feel/PlayerRig.h"
#include "tools/route/RouteScript.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s LEVEL.tmx ROUTE.txt OUT.rpl\n", argv[0]);
    return 2;
  }
  // The level loader reports into "log.txt" in the working directory.
  CProgramLog log(".");
  std::string text;
  std::string error;
  std::vector<RouteCommand> route;
  if (!ReadSmallFile(argv[2], text, &error) || !ParseRoute(text, route, error)) {
    std::fprintf(stderr, "%s: %s\n", argv[2], error.c_str());
    return 2;
  }
  PlayerWorld world(false, argv[1]);
  if (!world.initialised || !world.level->GetCollisionLayer()) {
    std::fprintf(stderr, "%s: the level or the hero does not load (see log.txt)\n", argv[1]);
    return 2;
  }
  PlayerState& s = world.State();
  std::vector<std::uint8_t> record;
  std::uint8_t keys = 0;
  world.controller.script = [&](int) { return keys; };
  int deaths = 0;
  bool wasDead = false;
  bool finished = false;
  auto step = [&] {
    record.push_back(keys);
    finished = world.Step() || finished;
    deaths += s.dead && !wasDead;
    wasDead = s.dead;
  };
  // Up to a minute per command: a route that waits for ever is broken.
  constexpr int kLimit = 7200;
  for (const RouteCommand& command : route) {
    keys = command.keys;
    int taken = 0;
    if (command.steps >= 0) {
      for (; taken < command.steps && !finished; ++taken) step();
    } else {
      while (!finished && !RouteConditionsHold(command, s, *world.level) && taken < kLimit) {
        step();
        ++taken;
      }
      if (taken == kLimit) {
        std::printf("line %d: never held after %d steps, at x %.1f y %.1f\n", command.line, kLimit,
                    s.position.x, s.position.y);
        break;
      }
    }
    std::printf("line %d: %d steps, at x %.1f (tile %.2f) y %.1f%s%s\n", command.line, taken,
                s.position.x, s.position.x / 64.0f, s.position.y, s.onGround ? " ground" : "",
                deaths ? (" deaths " + std::to_string(deaths)).c_str() : "");
    if (finished) break;
  }
  // The finish run needs no commands.
  keys = 0;
  for (int i = 0; i < kLimit && !finished && (s.endRequested || s.endSequence); ++i) step();
  std::ofstream(argv[3], std::ios::binary)
      .write(reinterpret_cast<const char*>(record.data()),
             static_cast<std::streamsize>(record.size()));
  if (finished) {
    std::printf("completed steps=%zu time=%s deaths=%d scroll=%d\n", record.size(),
                FormatRunTime(world.hud.time).c_str(), deaths, s.scrollPicked ? 1 : 0);
    return 0;
  }
  std::printf("not completed steps=%zu deaths=%d\n", record.size(), deaths);
  return 1;
}
