// The worst numbers a map can give arrow traps and fireworks (intervals of
// nothing or below, arrows that barely move, rockets launched to fly for
// ever): each is corrected with a warning naming the object, and the level
// holds a bounded number of spawned objects however long it runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "app/Camera.h"
#include "graphics/TextureManager.h"
#include "level/Level.h"
#include "objects/Fireworks.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/GameData.h"
#include "tests/support/TestMaps.h"
#include "traps/ArrowTrap.h"

TEST(SpawnBound, TheWorstSettingsKeepTheLevelBounded) {
  CGameDataDirectory data;
  CTextureManager textures;
  CCamera camera;
  const std::string log = data.Home() + "/log.txt";
  const std::size_t before = ReadWholeFile(log).size();
  const struct {
    const char* name;
    const char* type;
    std::map<std::string, std::string> properties;
    std::vector<const char*> warnings;
  } traps[] = {
      {"crawl",
       "trap_arrow",
       {{"interval", "-3"}, {"speed", "0.0001"}},
       {"\"interval\" \"-3\" is too short; using 0.1 seconds",
        "\"speed\" \"0.0001\" is too slow to leave the level; using 1"}},
      {"creep",
       "trap_arrow",
       {{"interval", "1e-9"}, {"speed", "-1e-30"}, {"dir", "up"}},
       {"\"interval\" \"1e-9\" is too short", "\"speed\" \"-1e-30\" is too slow"}},
      {"flood",
       "trap_arrow",
       {{"interval", "0.00001"}, {"speed", "0.5"}, {"dir", "down"}},
       {"\"interval\" \"0.00001\" is too short", "\"speed\" \"0.5\" is too slow"}},
      {"rockets",
       "pfx_fireworks",
       {{"interval", "1e-6"},
        {"y_speed_min", "-1e30"},
        {"y_speed_max", "-9e29"},
        {"x_speed_max", "3e9"},
        {"ttl_min", "1e-30"},
        {"ttl_max", "1e30"}},
       {"\"interval\" \"1e-6\" is too short", "\"y_speed_min\" \"-1e30\" is out of range",
        "\"x_speed_max\" \"3e9\" is out of range", "\"ttl_max\" \"1e30\" is out of range",
        "\"ttl_min\" is too small"}},
  };
  std::string objects;
  for (const auto& t : traps) {
    auto properties = t.properties;
    properties["active"] = "1";
    objects += MapObject(t.name, t.type, 640, 640, 64, 16, properties);
  }
  std::ofstream("bound.tmx") << GridMap(std::vector<std::string>(20, std::string(20, '.')),
                                        objects);
  CLevel level("bound.tmx", &camera);
  const std::string logged = ReadWholeFile(log).substr(before);
  for (const auto& t : traps) {
    for (const char* warning : t.warnings) {
      EXPECT_NE(logged.find(std::string(t.type) + " \"" + t.name + "\": " + warning),
                std::string::npos)
          << t.name << ": " << warning << "\n"
          << logged;
    }
  }

  // Twelve seconds of play: every trap reaches its bound after 6.4, the
  // first rockets end at 10 and are replaced.
  std::size_t most = 0;
  for (int step = 0; step < 12 * 120; ++step) {
    level.Update(1.0f / 120, true);
    most = std::max(most, level.GetDynamicObjects().Objects().size());
    for (const auto& t : traps) {
      const CMovableObject* trap = level.FindObject(t.name);
      if (const auto* arrows = dynamic_cast<const CArrowTrap*>(trap)) {
        ASSERT_LE(arrows->LiveArrows(), CArrowTrap::kMaxLiveArrows) << t.name;
      } else {
        ASSERT_LE(dynamic_cast<const CFireworks*>(trap)->LiveRockets(),
                  CFireworks::kMaxLiveRockets);
      }
    }
  }
  EXPECT_EQ(most, 4u * 64) << "each trap at its bound, none beyond";
  RecordProperty("most_spawned_objects", static_cast<int>(most));
  // Once the launcher stops, its rockets are gone within their 10 seconds
  // however they were launched; the arrows fly on at 1 pixel a second.
  level.FindObject("rockets")->active = false;
  for (int step = 0; step < 10 * 120 + 1; ++step) level.Update(1.0f / 120, true);
  EXPECT_EQ(dynamic_cast<const CFireworks*>(level.FindObject("rockets"))->LiveRockets(), 0);
  EXPECT_EQ(level.GetDynamicObjects().Objects().size(), 3u * 64);
}
