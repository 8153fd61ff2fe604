// Which levels are open: the requirements file and the unlock rule.
#include <gtest/gtest.h>

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

TEST(LevelRequirements, TheShippedFileOpensTheFirstLevel) {
  CLevelRequirements requirements;
  ASSERT_TRUE(requirements.Load(std::string(KUROSHIN_SOURCE_DIR) + "/data/" +
                                CLevelRequirements::kDefaultPath));
  ASSERT_EQ(requirements.Table().count("Levels/Chapter 1/01 Dusk Road"), 1u);
  EXPECT_TRUE(requirements.IsUnlocked("Levels/Chapter 1/01 Dusk Road", 0));
  // Every listed level exists.
  for (const auto& [key, count] : requirements.Table())
    EXPECT_TRUE(std::filesystem::exists(std::string(KUROSHIN_SOURCE_DIR) + "/data/" + key + ".tmx"))
        << key;
}
