// Replays what the TMX fuzzer found (tests/tmx/regressions) and its seeds
// (fuzz/corpus) through the reader, in the sanitizer build the tests run in.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "fuzz/TmxFuzzInput.h"
#include "level/tmx/TmxMap.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ForkedReplay.h"

namespace {

namespace fs = std::filesystem;

const std::string kSource = KUROSHIN_SOURCE_DIR;

// What the loader relies on after a successful parse.
void ExpectConsistent(const Tmx::Map& map) {
  if (map.HasError()) return;
  for (const Tmx::TileLayer& layer : map.GetTileLayers()) {
    EXPECT_GE(layer.width, 0);
    EXPECT_GE(layer.height, 0);
    EXPECT_EQ(layer.gids.size(), static_cast<std::size_t>(std::max(layer.width, 0)) *
                                     static_cast<std::size_t>(std::max(layer.height, 0)))
        << layer.name;
    for (std::uint32_t gid : layer.gids) EXPECT_EQ(gid & Tmx::kFlagMask, 0u);
  }
  for (const Tmx::ObjectGroup& group : map.GetObjectGroups()) {
    for (const Tmx::Object& object : group.objects) EXPECT_EQ(object.gid & Tmx::kFlagMask, 0u);
  }
}

Tmx::Map Replay(const std::string& path) {
  Tmx::Map map;
  TmxFuzz::Parse(TmxFuzz::Split(ReadWholeFile(path)), map);
  return map;
}

bool Consistent(const Tmx::Map& map) {
  if (map.HasError()) return true;
  for (const Tmx::TileLayer& layer : map.GetTileLayers()) {
    if (layer.width < 0 || layer.height < 0 ||
        layer.gids.size() !=
            static_cast<std::size_t>(layer.width) * static_cast<std::size_t>(layer.height))
      return false;
    for (std::uint32_t gid : layer.gids) {
      if (gid & Tmx::kFlagMask) return false;
    }
  }
  for (const Tmx::ObjectGroup& group : map.GetObjectGroups()) {
    for (const Tmx::Object& object : group.objects) {
      if (object.gid & Tmx::kFlagMask) return false;
    }
  }
  return true;
}

int InChild(const std::function<bool()>& run) { return RunForked(run, 30); }

bool ReplaysSanely(const std::string& path) { return Consistent(Replay(path)); }

TEST(TmxRegressionTest, FuzzFindingsAreHandled) {
  // Anything here crashed, leaked or hung once.
  for (const std::string& path : FilesIn(kSource + "/tests/tmx/regressions")) {
    EXPECT_EQ(InChild([&path] { return ReplaysSanely(path); }), 0)
        << path << " (3: inconsistent map, 4: leak, 142: hang, else a crash)";
  }
}

// A replay that reported nothing whatever happened would pass above.
TEST(TmxRegressionTest, ReplayReportsWhatGoesWrong) {
  EXPECT_EQ(InChild([] { return ReplaysSanely(kSource + "/fuzz/corpus/objects.seed"); }), 0);
  EXPECT_EQ(InChild([] { return false; }), 3);
  EXPECT_EQ(InChild([]() -> bool { abort(); }), 128 + SIGABRT);
#ifdef __SANITIZE_ADDRESS__
  EXPECT_EQ(InChild([] {
              volatile int* cell = new int[4];
              delete[] cell;
              return cell[1] == 0;  // read after free
            }),
            1);
#endif
}

TEST(TmxRegressionTest, SeedsAreValidMaps) {
  const std::vector<std::string> seeds = FilesIn(kSource + "/fuzz/corpus");
  // One a layer encoding, the object map and the "class" map.
  ASSERT_GE(seeds.size(), 8u);
  for (const std::string& path : seeds) {
    SCOPED_TRACE(path);
    Tmx::Map map = Replay(path);
    EXPECT_FALSE(map.HasError()) << map.GetErrorText();
    EXPECT_FALSE(map.GetTileLayers().empty());
    ExpectConsistent(map);
  }
}

// The seeds reach external files through the fuzz resolver; they must read
// exactly as the test maps do from disk, or the fuzzer misses those paths.
TEST(TmxRegressionTest, SeedsReadLikeTheMapsTheyCopy) {
  for (const char* name : {"objects", "layers-zstd", "layers-xml"}) {
    SCOPED_TRACE(name);
    Tmx::Map fromFile;
    fromFile.ParseFile(kSource + "/tests/tmx/" + name + ".tmx");
    ASSERT_FALSE(fromFile.HasError()) << fromFile.GetErrorText();
    Tmx::Map fromSeed = Replay(kSource + "/fuzz/corpus/" + name + ".seed");
    ASSERT_FALSE(fromSeed.HasError()) << fromSeed.GetErrorText();

    ASSERT_EQ(fromSeed.GetTilesets().size(), fromFile.GetTilesets().size());
    for (std::size_t i = 0; i < fromFile.GetTilesets().size(); ++i) {
      EXPECT_EQ(fromSeed.GetTilesets()[i].name, fromFile.GetTilesets()[i].name);
      EXPECT_EQ(fromSeed.GetTilesets()[i].tiles.size(), fromFile.GetTilesets()[i].tiles.size());
    }
    ASSERT_EQ(fromSeed.GetTileLayers().size(), fromFile.GetTileLayers().size());
    for (std::size_t i = 0; i < fromFile.GetTileLayers().size(); ++i)
      EXPECT_EQ(fromSeed.GetTileLayers()[i].gids, fromFile.GetTileLayers()[i].gids);
    ASSERT_EQ(fromSeed.GetObjectGroups().size(), fromFile.GetObjectGroups().size());
    for (std::size_t i = 0; i < fromFile.GetObjectGroups().size(); ++i) {
      const auto& seedObjects = fromSeed.GetObjectGroups()[i].objects;
      const auto& fileObjects = fromFile.GetObjectGroups()[i].objects;
      ASSERT_EQ(seedObjects.size(), fileObjects.size());
      for (std::size_t j = 0; j < fileObjects.size(); ++j) {
        EXPECT_EQ(seedObjects[j].name, fileObjects[j].name);
        EXPECT_EQ(seedObjects[j].gid, fileObjects[j].gid);
        EXPECT_EQ(seedObjects[j].properties.GetList(), fileObjects[j].properties.GetList());
      }
    }
  }
}

}  // namespace
