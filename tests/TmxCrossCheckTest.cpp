// Our TMX reader against Tiled itself: every test map (and every level) is
// exported to JSON by the installed Tiled and compared, field by field, with
// what kuroshin_tmxdump prints.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "level/tmx/TmxMap.h"
#include "tests/support/ChildProcess.h"

namespace {

namespace fs = std::filesystem;

const std::string kSource = KUROSHIN_SOURCE_DIR;
const std::string kMaps = kSource + "/tests/tmx";

// The maps in `root` and below; fuzz regressions are not maps Tiled can read.
std::vector<std::string> MapsUnder(const std::string& root) {
  std::vector<std::string> maps;
  if (!fs::is_directory(root)) return maps;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    if (it->is_directory() && it->path().filename() == "regressions") {
      it.disable_recursion_pending();
    } else if (it->is_regular_file() && it->path().extension() == ".tmx") {
      maps.push_back(it->path().string());
    }
  }
  std::sort(maps.begin(), maps.end());
  return maps;
}

std::string Absolute(const std::string& path) { return fs::absolute(path).string(); }

struct Exported {
  std::string tiledJson;
  std::string dumpJson;
};

// Tiled writes its settings below HOME and its runtime files below
// XDG_RUNTIME_DIR, so both point into the test's own directory. `env` sets
// them because extra entries only add to the inherited environment, where
// the first HOME wins.
ChildResult ExportWithTiled(const std::string& map, const std::string& out) {
  const std::string home = Absolute(MakeTestDirectory("tiled-home"));
  ChildOptions options;
  options.environment = {"QT_QPA_PLATFORM=offscreen"};
  return RunChild({"/usr/bin/env", "HOME=" + home, "XDG_RUNTIME_DIR=" + home, "/usr/bin/tiled",
                   "--export-map", "--embed-tilesets", "--detach-templates", "json", map, out},
                  options);
}

ChildResult Dump(const std::string& map, const std::string& out) {
  ChildResult result = RunChild({KUROSHIN_TMXDUMP, map}, {});
  FILE* file = fopen(out.c_str(), "w");
  if (file) {
    fputs(result.out.c_str(), file);
    fclose(file);
  }
  return result;
}

ChildResult Compare(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv = {"/usr/bin/python3", kMaps + "/compare.py"};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return RunChild(argv, {});
}

bool Export(const std::string& map, Exported& exported) {
  const std::string dir = Absolute(MakeTestDirectory("export"));
  exported.tiledJson = dir + "/tiled.json";
  exported.dumpJson = dir + "/ours.json";
  ChildResult tiled = ExportWithTiled(map, exported.tiledJson);
  const bool tiledRead = tiled.exited && tiled.exitCode == 0;
  EXPECT_TRUE(tiledRead) << "Tiled could not export " << map << ":\n" << tiled.err;
  ChildResult ours = Dump(map, exported.dumpJson);
  const bool oursRead = ours.exited && ours.exitCode == 0;
  EXPECT_TRUE(oursRead) << map << ":\n" << ours.out << ours.err;
  return tiledRead && oursRead;
}

void CrossCheck(const std::string& map) {
  SCOPED_TRACE(map);
  Exported exported;
  if (!Export(map, exported)) return;
  std::vector<std::string> arguments = {exported.tiledJson, exported.dumpJson};
  if (fs::path(map).parent_path().filename() == "class") arguments.push_back("--skip-types");
  ChildResult compared = Compare(arguments);
  EXPECT_TRUE(compared.exited && compared.exitCode == 0) << compared.out << compared.err;
}

TEST(TmxCrossCheckTest, TestMapsReadAsTiledReadsThem) {
  const std::vector<std::string> maps = MapsUnder(kMaps);
  // Every encoding, the object map and the "class" map.
  ASSERT_GE(maps.size(), 8u);
  for (const std::string& map : maps) CrossCheck(map);
}

TEST(TmxCrossCheckTest, LevelsReadAsTiledReadsThem) {
  for (const std::string& map : MapsUnder(kSource + "/data/Levels")) CrossCheck(map);
}

// A comparison that let differences through would pass everything above.
TEST(TmxCrossCheckTest, ComparisonNoticesEveryKindOfDifference) {
  Exported exported;
  ASSERT_TRUE(Export(kMaps + "/objects.tmx", exported));
  ChildResult compared = Compare({exported.tiledJson, exported.dumpJson, "--self-test"});
  EXPECT_TRUE(compared.exited && compared.exitCode == 0) << compared.out << compared.err;
}

// Tiled 1.9 writes an object's type as "class"; the installed Tiled predates
// that, so these values are written down by hand.
TEST(TmxCrossCheckTest, ClassIsReadAsTheObjectType) {
  Tmx::Map map;
  map.ParseFile(kMaps + "/class/class.tmx");
  ASSERT_FALSE(map.HasError()) << map.GetErrorText();
  ASSERT_EQ(map.GetObjectGroups().size(), 1u);
  const std::vector<Tmx::Object>& objects = map.GetObjectGroups()[0].objects;
  ASSERT_EQ(objects.size(), 3u);
  EXPECT_EQ(objects[0].name, "old");
  EXPECT_EQ(objects[0].type, "Crate");
  EXPECT_EQ(objects[1].name, "new");
  EXPECT_EQ(objects[1].type, "Spikes");
  EXPECT_EQ(objects[1].x, 16.0f);
  EXPECT_EQ(objects[2].name, "plain");
  EXPECT_EQ(objects[2].type, "");
}

}  // namespace
