// Which levels are open: the requirements file and the unlock rule.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "progress/LevelRequirements.h"
#include "support/ChildProcess.h"

TEST(LevelRequirements, ReadsTheFileAndUnlocksAtTheCount) {
  std::filesystem::create_directories("Values/Level Requirements");
  std::ofstream(CLevelRequirements::kDefaultPath)
      << "<Requirements>\n"
         "  <Level name=\"Levels/A/zero\" scrolls=\"0\"/>\n"
         "  <Level name=\"Levels/A/three\" scrolls=\"3\"/>\n"
         "  <!-- designers comment here -->\n"
         "  <Other name=\"Levels/A/twice\" scrolls=\"5\"/>\n"
         "  <Level name=\"Levels/A/twice\" scrolls=\" 2\"/>\n"
         "  <Level name=\"Levels/A/negative\" scrolls=\"-1\"/>\n"
         "  <Level name=\"Levels/A/word\" scrolls=\"abc\"/>\n"
         "  <Level name=\"Levels/A/missing\"/>\n"
         "  <Level name=\"Levels/A/huge\" scrolls=\"99999999999\"/>\n"
         "  <Level scrolls=\"7\"/>\n"
         "</Requirements>\n";
  const std::size_t logStart = ReadWholeFile("log.txt").size();
  CLevelRequirements requirements;
  ASSERT_TRUE(requirements.Load());
  EXPECT_EQ(requirements.Table().size(), 7u) << "the nameless entry is skipped";
  EXPECT_EQ(requirements["Levels/A/three"], 3u);
  EXPECT_EQ(requirements["Levels/A/twice"], 2u) << "the later entry wins";
  for (const char* level :
       {"Levels/A/negative", "Levels/A/word", "Levels/A/missing", "Levels/A/huge"})
    EXPECT_EQ(requirements[level], 0u) << level << " would be locked for ever";
  const std::string log = ReadWholeFile("log.txt").substr(logStart);
  EXPECT_NE(log.find("Levels/A/negative has no usable \"scrolls\" count ('-1')"), std::string::npos)
      << log;
  EXPECT_NE(log.find("without \"name\""), std::string::npos);

  EXPECT_TRUE(requirements.IsUnlocked("Levels/A/zero", 0));
  EXPECT_TRUE(requirements.IsUnlocked("Levels/A/unlisted", 0));
  EXPECT_FALSE(requirements.IsUnlocked("Levels/A/three", 2));
  EXPECT_TRUE(requirements.IsUnlocked("Levels/A/three", 3)) << "at most";
  EXPECT_EQ(requirements["Levels/A/unlisted"], 0u);
  EXPECT_EQ(requirements.Table().size(), 8u) << "a lookup enters the level";

  // Missing or broken: every level open.
  std::ofstream(CLevelRequirements::kDefaultPath) << "<Requirements><Level name=";
  EXPECT_FALSE(requirements.Load());
  EXPECT_TRUE(requirements.Table().empty());
  EXPECT_FALSE(requirements.Load("Values/none.req"));
  EXPECT_TRUE(requirements.IsUnlocked("Levels/A/three", 0));
}

TEST(LevelRequirements, TheShippedFileOpensTheTutorialAndLocksTheRest) {
  namespace fs = std::filesystem;
  const fs::path data = fs::path(KUROSHIN_SOURCE_DIR) / "data";
  CLevelRequirements requirements;
  ASSERT_TRUE(requirements.Load((data / CLevelRequirements::kDefaultPath).string()));
  // By the word that ends the chapter's folder name: the tutorial is open,
  // the later chapters need most of the scrolls before them.
  const std::pair<std::string, std::uint32_t> kChapters[] = {
      {"Tutorial", 0}, {"Basic", 3}, {"Hard", 7}};
  int levels = 0;
  for (const auto& chapter : fs::directory_iterator(data / "Levels")) {
    if (!chapter.is_directory()) continue;
    const std::string folder = chapter.path().filename().string();
    const auto* rule = std::find_if(std::begin(kChapters), std::end(kChapters), [&](const auto& c) {
      return folder.size() >= c.first.size() &&
             folder.compare(folder.size() - c.first.size(), c.first.size(), c.first) == 0;
    });
    ASSERT_NE(rule, std::end(kChapters)) << "a chapter of no known kind: " << folder;
    for (const auto& level : fs::directory_iterator(chapter.path())) {
      if (level.path().extension() != ".tmx") continue;
      const std::string key = "Levels/" + folder + "/" + level.path().stem().string();
      ++levels;
      ASSERT_EQ(requirements.Table().count(key), 1u) << key << " is not listed";
      EXPECT_EQ(requirements.Table().at(key), rule->second) << key;
    }
  }
  EXPECT_GE(levels, 5);
  // Every listed level exists.
  for (const auto& [key, count] : requirements.Table())
    EXPECT_TRUE(fs::exists(data / (key + ".tmx"))) << key;
}
