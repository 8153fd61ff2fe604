// Every level the game ships (data/Levels/CHAPTER/NAME.tmx, whatever chapters
// there are): built as the game expects it (what the hero touches in
// "Traps", one spawn and one scroll, a checkpoint, the finish run's markers,
// parallax backgrounds, decoration behind and in front of the hero), loaded
// without a report, and completed by its two solution runs
// (tests/solutions/CHAPTER/NAME.rpl and NAME.scroll.rpl) in kuroshin-verify
// without a death, the second one with the scroll.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <ostream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/Camera.h"
#include "graphics/TextureManager.h"
#include "level/Level.h"
#include "level/ObjectLayer.h"
#include "objects/MovableObject.h"
#include "objects/Trigger.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/GameData.h"

namespace fs = std::filesystem;

namespace {

const fs::path kData = fs::path(KUROSHIN_SOURCE_DIR) / "data";

struct ShippedLevel {
  std::string chapter;  // the folder under Levels
  std::string name;     // the file name without ".tmx"
  std::string Path() const { return "Levels/" + chapter + "/" + name + ".tmx"; }
  fs::path Solution(const std::string& kind) const {
    return fs::path(KUROSHIN_SOURCE_DIR) / "tests/solutions" / chapter / (name + kind + ".rpl");
  }
};

// Names the level in test output rather than dumping its bytes.
void PrintTo(const ShippedLevel& level, std::ostream* out) { *out << level.Path(); }

std::vector<ShippedLevel> FindShippedLevels() {
  std::vector<ShippedLevel> levels;
  std::error_code error;
  for (const auto& chapter : fs::directory_iterator(kData / "Levels", error)) {
    if (!chapter.is_directory()) continue;
    for (const auto& file : fs::directory_iterator(chapter.path(), error))
      if (file.path().extension() == ".tmx")
        levels.push_back({chapter.path().filename().string(), file.path().stem().string()});
  }
  std::sort(levels.begin(), levels.end(), [](const ShippedLevel& a, const ShippedLevel& b) {
    return a.chapter + "/" + a.name < b.chapter + "/" + b.name;
  });
  return levels;
}

std::string TestName(const testing::TestParamInfo<ShippedLevel>& info) {
  std::string name = info.param.chapter + "_" + info.param.name;
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  return name;
}

// The objects the hero touches: they count only in the "Traps" layer.
bool IsTouched(const CMovableObject& object) {
  static const std::set<std::string> kTypes{"checkpoint", "scroll", "trigger", "end_trigger",
                                            "end"};
  return object.name == "spawn" || kTypes.count(object.type) != 0 ||
         object.type.rfind("trap_", 0) == 0;
}

class ShippedLevelTest : public testing::TestWithParam<ShippedLevel> {};

}  // namespace

TEST_P(ShippedLevelTest, IsBuiltAsTheGameExpectsAndLoadsWithoutAReport) {
  const ShippedLevel& shipped = GetParam();
  CGameDataDirectory game;
  CTextureManager textures;
  CCamera camera;
  const std::string log = game.Home() + "/log.txt";
  const std::size_t before = ReadWholeFile(log).size();
  CLevel level((kData / shipped.Path()).string(), &camera);
  EXPECT_EQ(ReadWholeFile(log).substr(before), "") << "no error or warning while loading";
  ASSERT_NE(level.GetTraps(), nullptr);
  ASSERT_NE(level.GetCollisionLayer(), nullptr);

  int spawns = 0, scrolls = 0, checkpoints = 0, ends = 0, endTriggers = 0;
  std::map<std::string, std::size_t> layerSizes;
  for (const auto& layer : level.GetObjectLayers()) {
    const bool traps = layer.get() == level.GetTraps();
    if (!traps) layerSizes[layer->name] += layer->Objects().size();
    for (const auto& owned : layer->Objects()) {
      const CMovableObject& object = *owned;
      SCOPED_TRACE(layer->name + ": " + object.name);
      if (object.type == "background") ++layerSizes["background objects"];
      if (!IsTouched(object)) continue;
      EXPECT_TRUE(traps) << "the hero touches only objects of the Traps layer";
      spawns += object.name == "spawn";
      if (object.type == "scroll") {
        ++scrolls;
        EXPECT_EQ(object.name, "scroll") << "only a scroll of that name is kept";
      }
      checkpoints += object.type == "checkpoint";
      ends += object.type == "end";
      endTriggers += object.type == "end_trigger";
      if (const auto* trigger = dynamic_cast<const CTrigger*>(&object)) {
        EXPECT_NE(trigger->target, nullptr) << "a trigger that names no object";
      }
    }
  }
  EXPECT_EQ(spawns, 1);
  EXPECT_EQ(scrolls, 1);
  EXPECT_GE(checkpoints, 1);
  EXPECT_GE(endTriggers, 1);
  EXPECT_GE(ends, 1);
  for (const char* needed :
       {"background objects", "DetailsBack", "DetailsFront", "DetailsFrontCharacter"})
    EXPECT_GT(layerSizes[needed], 0u) << needed;
}

TEST_P(ShippedLevelTest, ItsSolutionsCompleteItWithoutADeath) {
  const ShippedLevel& shipped = GetParam();
  // A game directory that reads the repository's data (kuroshin-verify
  // writes only its log).
  const std::string dir = MakeTestDirectory("verify");
  ASSERT_FALSE(dir.empty());
  for (const char* folder : {"Graphics", "Values", "Audio", "Levels"})
    fs::create_directory_symlink(kData / folder, fs::path(dir) / folder);
  const std::regex result(
      "completed steps=[0-9]+ time=[0-9]{3}\\.[0-9]{2} deaths=0 scroll=([01])\n");
  for (const char* const kind : {"", ".scroll"}) {
    SCOPED_TRACE(shipped.name + kind);
    const fs::path run = shipped.Solution(kind);
    ASSERT_TRUE(fs::exists(run)) << run;
    ChildOptions options;
    options.directory = dir;
    options.environment = {"SDL_VIDEODRIVER=dummy"};
    options.timeoutSeconds = 100;
    const ChildResult verified = RunChild({KUROSHIN_VERIFY, shipped.Path(), run.string()}, options);
    EXPECT_TRUE(verified.exited && verified.exitCode == 0) << verified.out << verified.err;
    std::smatch line;
    ASSERT_TRUE(std::regex_match(verified.out, line, result)) << verified.out << verified.err;
    if (std::string(kind) == ".scroll") {
      EXPECT_EQ(line[1].str(), "1") << "the scroll run takes the scroll";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, ShippedLevelTest, testing::ValuesIn(FindShippedLevels()),
                         TestName);

// The chapters as the level selection lists them: "N Word" folders, each
// with five levels named to sort in play order ("01 ..." to "05 ...").
TEST(ShippedLevels, ChaptersOfFiveLevelsInPlayOrder) {
  std::map<std::string, std::vector<std::string>> chapters;
  for (const ShippedLevel& level : FindShippedLevels())
    chapters[level.chapter].push_back(level.name);
  ASSERT_FALSE(chapters.empty());
  int number = 0;
  for (const auto& [chapter, names] : chapters) {
    SCOPED_TRACE(chapter);
    EXPECT_TRUE(std::regex_match(chapter, std::regex(std::to_string(++number) + " [A-Z][a-z]+")));
    ASSERT_EQ(names.size(), 5u);
    for (std::size_t i = 0; i < names.size(); ++i)
      EXPECT_EQ(names[i].substr(0, 3), "0" + std::to_string(i + 1) + " ") << names[i];
  }
}
