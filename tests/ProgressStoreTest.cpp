// The save profile: merging runs, the file's exact form, damaged and
// unwritable files, and saves that survive being killed mid-write.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <tinyxml.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "app/AtomicFile.h"
#include "app/XmlFile.h"
#include "progress/ProgressStore.h"
#include "progress/SaveTime.h"
#include "support/ChildProcess.h"

namespace fs = std::filesystem;

namespace {

const char kPath[] = "Saves/save.sav";

void Write(const std::string& path, const std::string& text) {
  const fs::path parent = fs::path(path).parent_path();
  if (!parent.empty()) fs::create_directories(parent);
  std::ofstream(path, std::ios::binary) << text;
}

std::string Profile(const std::string& levels,
                    const std::string& head = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n") {
  return head + "<Player>\n" + levels + "</Player>\n";
}

std::string Level(const std::string& name, const std::string& time, const std::string& scroll) {
  return "    <Level name=\"" + name + "\" time=\"" + time + "\" scroll=\"" + scroll + "\" />\n";
}

// Each test in a fresh directory of its own, so they also run together in
// one process; the log stays where the process opened it.
class ProgressStoreTest : public ::testing::Test {
protected:
  void SetUp() override {
    home = fs::current_path();
    log = (home / "log.txt").string();
    fs::current_path(MakeTestDirectory("progress"));
  }
  void TearDown() override { fs::current_path(home); }
  std::size_t LogSize() const { return ReadWholeFile(log).size(); }
  std::string LogSince(std::size_t start) const { return ReadWholeFile(log).substr(start); }

  fs::path home;
  std::string log;
};

}  // namespace

TEST_F(ProgressStoreTest, RunsMergeIntoTheProfile) {
  CProgressStore store;
  ASSERT_FALSE(fs::exists("Saves"));
  EXPECT_TRUE(store.SaveLevelResult("save", "Levels/A/one", 83.4567f, false));
  // The exact bytes of a file the game creates.
  EXPECT_EQ(ReadWholeFile(kPath), Profile(Level("Levels/A/one", "83.4567", "0")));
  ASSERT_EQ(store.records.size(), 1u);
  EXPECT_EQ(store.records[0]->bestTime, 83.4567f);

  EXPECT_FALSE(store.SaveLevelResult("save", "Levels/A/one", 90.0f, true)) << "slower";
  EXPECT_EQ(ReadWholeFile(kPath), Profile(Level("Levels/A/one", "83.4567", "1")))
      << "the time stays, the scroll is set";
  EXPECT_TRUE(store.SaveLevelResult("save", "Levels/A/one", 61.25f, false)) << "faster";
  EXPECT_EQ(ReadWholeFile(kPath), Profile(Level("Levels/A/one", "61.25", "1")))
      << "the scroll never goes back";
  EXPECT_FALSE(store.SaveLevelResult("save", "Levels/A/one", 61.25f, false)) << "equal";

  EXPECT_TRUE(store.SaveLevelResult("save", "Levels/B/two", 100.125f, true));
  EXPECT_TRUE(store.SaveLevelResult("save", "Levels/A/three", 1234567.0f, true));
  EXPECT_EQ(ReadWholeFile(kPath),
            Profile(Level("Levels/A/one", "61.25", "1") + Level("Levels/B/two", "100.125", "1") +
                    Level("Levels/A/three", "1.23457e+06", "1")))
      << "appended in the order first finished; six significant digits";
  EXPECT_EQ(store.scrollCount, 3u);
  EXPECT_FALSE(store.SaveLevelResult("save", "Levels/B/two", 200.0f, true));
  EXPECT_EQ(store.scrollCount, 3u) << "levels, not pickups";
  ASSERT_NE(store.FindLevelRecord("Levels/B/two"), nullptr);
  EXPECT_EQ(store.FindLevelRecord("Levels/B/two")->bestTime, 100.125f);
  EXPECT_EQ(store.FindLevelRecord("levels/b/two"), nullptr) << "keys are exact";

  // Another store reads the same.
  CProgressStore reader;
  reader.LoadProfile("save");
  EXPECT_EQ(reader.records.size(), 3u);
  EXPECT_EQ(reader.scrollCount, 3u);
  reader.LoadProfile("other");
  EXPECT_TRUE(reader.records.empty()) << "a missing profile is an empty one";
}

TEST_F(ProgressStoreTest, TiesAreComparedAsTheFileHoldsThem) {
  CProgressStore store;
  ASSERT_TRUE(store.SaveLevelResult("save", "L", 83.45671f, false));
  ASSERT_EQ(FormatSaveTime(83.45666f), "83.4567");
  ASSERT_LT(83.45666f, StoredSaveTime(83.45671f)) << "faster as a float...";
  EXPECT_FALSE(store.SaveLevelResult("save", "L", 83.45666f, false)) << "...but not as stored";
  EXPECT_TRUE(store.SaveLevelResult("save", "L", 83.4566f, false));
}

TEST_F(ProgressStoreTest, AnUnchangedProfileIsNotWrittenAgain) {
  CProgressStore store;
  ASSERT_TRUE(store.SaveLevelResult("save", "L", 10.0f, true));
  struct stat before, after;
  ASSERT_EQ(stat(kPath, &before), 0);
  EXPECT_FALSE(store.SaveLevelResult("save", "L", 11.0f, true));
  ASSERT_EQ(stat(kPath, &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino) << "a rewrite would have replaced the file";
  EXPECT_EQ(store.records.size(), 1u);
}

TEST_F(ProgressStoreTest, TheFilesOwnFormIsKept) {
  // A byte-order mark and a declaration of the file's own survive.
  const std::string marked =
      "\xEF\xBB\xBF<?xml version=\"1.0\" ?>\n<Player>\n" + Level("L", "12", "0") + "</Player>\n";
  Write(kPath, marked);
  CProgressStore store;
  EXPECT_TRUE(store.SaveLevelResult("save", "L", 11.5f, false));
  EXPECT_EQ(ReadWholeFile(kPath), "\xEF\xBB\xBF<?xml version=\"1.0\" ?>\n<Player>\n" +
                                      Level("L", "11.5", "0") + "</Player>\n");

  // Without a declaration none is added; other roots and children are read.
  Write(kPath, "<Profile><Entry name=\"L\" time=\"5\" scroll=\"1\"/></Profile>");
  store.LoadProfile("save");
  ASSERT_EQ(store.records.size(), 1u);
  EXPECT_EQ(store.scrollCount, 1u);
  EXPECT_TRUE(store.SaveLevelResult("save", "M", 7.0f, false));
  EXPECT_EQ(ReadWholeFile(kPath), "<Profile>\n    <Entry name=\"L\" time=\"5\" scroll=\"1\" />\n" +
                                      Level("M", "7", "0") + "</Profile>\n");
}

TEST_F(ProgressStoreTest, OddProfilesLoseNothing) {
  CProgressStore store;
  // A root without children: the result is appended, not dropped.
  Write(kPath, Profile(""));
  EXPECT_TRUE(store.SaveLevelResult("save", "L", 9.0f, false));
  ASSERT_EQ(store.records.size(), 1u);
  Write(kPath, "<Player/>");
  EXPECT_TRUE(store.SaveLevelResult("save", "L", 9.0f, false));
  ASSERT_EQ(store.records.size(), 1u);

  // A comment after the last element.
  Write(kPath, Profile(Level("A", "5", "0") + "    <!-- best run ever -->\n"));
  EXPECT_TRUE(store.SaveLevelResult("save", "B", 6.0f, false));
  ASSERT_EQ(store.records.size(), 2u);
  EXPECT_EQ(store.records[1]->name, "B");
  EXPECT_NE(ReadWholeFile(kPath).find("<!-- best run ever -->"), std::string::npos);

  // Missing or unusable attributes.
  Write(kPath, Profile("    <Level time=\"1\" scroll=\"1\" />\n"
                       "    <Level name=\"T\" scroll=\"1\" />\n"
                       "    <Level name=\"U\" time=\"nan\" />\n"
                       "    <Level name=\"V\" time=\"fast\" scroll=\"x\" />\n"));
  store.LoadProfile("save");
  ASSERT_EQ(store.records.size(), 4u);
  EXPECT_EQ(store.records[0]->name, "");
  EXPECT_EQ(store.records[1]->bestTime, 0.0f) << "no time: no record";
  EXPECT_FALSE(store.records[2]->scroll) << "no scroll: 0";
  EXPECT_EQ(store.scrollCount, 2u);
  EXPECT_TRUE(store.SaveLevelResult("save", "T", 50.0f, false)) << "no time to beat";
  EXPECT_TRUE(store.SaveLevelResult("save", "U", 50.0f, true));
  EXPECT_TRUE(store.SaveLevelResult("save", "V", 50.0f, false));
  EXPECT_TRUE(store.SaveLevelResult("save", "", 50.0f, false)) << "a nameless entry never matches";
  ASSERT_EQ(store.records.size(), 5u);
  EXPECT_EQ(store.FindLevelRecord("T")->bestTime, 50.0f);
  EXPECT_TRUE(store.FindLevelRecord("T")->scroll) << "kept";
  EXPECT_TRUE(store.FindLevelRecord("U")->scroll);
  EXPECT_EQ(store.records[4]->name, "");
  EXPECT_EQ(store.records[4]->bestTime, 50.0f);
}

TEST_F(ProgressStoreTest, ADamagedProfileIsKeptAside) {
  const std::string damaged = Profile(Level("Old", "42", "1")).substr(0, 70);
  Write(kPath, damaged);
  CProgressStore store;
  std::size_t logStart = LogSize();
  store.LoadProfile("save");
  EXPECT_TRUE(store.records.empty());
  EXPECT_EQ(ReadWholeFile(kPath), damaged) << "loading leaves it alone";
  EXPECT_NE(LogSince(logStart).find("Error: The save profile Saves/save.sav is damaged"),
            std::string::npos);

  logStart = LogSize();
  EXPECT_TRUE(store.SaveLevelResult("save", "New", 5.0f, false));
  EXPECT_EQ(ReadWholeFile(kPath), Profile(Level("New", "5", "0")));
  std::vector<fs::path> kept;
  for (const auto& entry : fs::directory_iterator("Saves"))
    if (entry.path().filename().string().rfind("save.sav.damaged-", 0) == 0)
      kept.push_back(entry.path());
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(ReadWholeFile(kept[0].string()), damaged) << "byte for byte";
  EXPECT_NE(LogSince(logStart).find("kept as " + kept[0].generic_string()), std::string::npos);

  // Damaged again within the same second: the first copy stays.
  Write(kPath, "");
  EXPECT_TRUE(store.SaveLevelResult("save", "Newer", 5.0f, false));
  int copies = 0;
  for (const auto& entry : fs::directory_iterator("Saves"))
    copies += entry.path().filename().string().rfind("save.sav.damaged-", 0) == 0;
  EXPECT_EQ(copies, 2);
  EXPECT_EQ(ReadWholeFile(kept[0].string()), damaged);

  // A directory where the file should be cannot be read: damaged as well.
  fs::remove(kPath);
  fs::create_directories(std::string(kPath) + "/inside");
  EXPECT_TRUE(store.SaveLevelResult("save", "Again", 5.0f, false));
  EXPECT_EQ(ReadWholeFile(kPath), Profile(Level("Again", "5", "0")));
}

TEST_F(ProgressStoreTest, AProfileThatCannotBeWrittenIsNoRecord) {
  CProgressStore store;
  // "Saves" is a file: nothing can go in it.
  Write("Saves", "not a directory");
  std::size_t logStart = LogSize();
  EXPECT_FALSE(store.SaveLevelResult("save", "L", 5.0f, true));
  EXPECT_NE(LogSince(logStart).find("Error: Could not save the profile Saves/save.sav"),
            std::string::npos);
  EXPECT_EQ(ReadWholeFile("Saves"), "not a directory");
  EXPECT_TRUE(store.records.empty());
  fs::remove("Saves");

  // The temporary file's place is taken: the old profile stays as it was,
  // and the store shows what is on disk.
  ASSERT_TRUE(store.SaveLevelResult("save", "L", 5.0f, false));
  const std::string before = ReadWholeFile(kPath);
  fs::create_directories(std::string(kPath) + ".tmp/blocker");
  logStart = LogSize();
  EXPECT_FALSE(store.SaveLevelResult("save", "L", 4.0f, true));
  EXPECT_NE(LogSince(logStart).find("Error: Could not save the profile"), std::string::npos);
  EXPECT_EQ(ReadWholeFile(kPath), before);
  ASSERT_EQ(store.records.size(), 1u);
  EXPECT_EQ(store.records[0]->bestTime, 5.0f);
  EXPECT_FALSE(store.records[0]->scroll);
}

TEST_F(ProgressStoreTest, ADecimalCommaDesktopReadsAndWritesTheSameFile) {
  // A German locale made for this test alone, so it runs on any machine
  // with the locale sources.
  if (system("localedef -i de_DE -f UTF-8 ./de_DE.UTF-8 >/dev/null 2>&1") != 0 &&
      !fs::exists("de_DE.UTF-8/LC_NUMERIC"))
    GTEST_SKIP() << "localedef cannot build de_DE (install the locales package)";
  setenv("LOCPATH", fs::current_path().c_str(), 1);
  ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
  char probe[16];
  std::snprintf(probe, sizeof probe, "%g", 0.5);
  EXPECT_STREQ(probe, "0,5") << "the locale is in force";

  CProgressStore store;
  EXPECT_TRUE(store.SaveLevelResult("save", "L", 83.4567f, false));
  EXPECT_TRUE(store.SaveLevelResult("save", "L", 0.5f, false));
  EXPECT_FALSE(store.SaveLevelResult("save", "L", 0.75f, false));
  store.LoadProfile("save");
  const float read = store.records.empty() ? -1.0f : store.records[0]->bestTime;
  const std::string file = ReadWholeFile(kPath);
  std::setlocale(LC_ALL, "C");
  unsetenv("LOCPATH");
  EXPECT_EQ(file, Profile(Level("L", "0.5", "0")));
  EXPECT_EQ(read, 0.5f);
}

TEST_F(ProgressStoreTest, TheAchievementList) {
  Write(kPath, Profile(Level("L", "1", "1")));
  CProgressStore store;
  store.LoadProfile("save");
  ASSERT_EQ(store.achievements.size(), 11u);
  const char* titles[] = {"First Blood!",
                          "U mad Bro???",
                          "Dead as a Dodo",
                          "Novice",
                          "Apprentice",
                          "Master",
                          "Scroll Collector",
                          "Dead man scrolling...",
                          "Find all the Scrolls...",
                          "They see me scrolling...",
                          "Arrow to the knee"};
  for (std::size_t i = 0; i < 11; ++i) {
    EXPECT_EQ(store.achievements[i].title, titles[i]);
    EXPECT_FALSE(store.achievements[i].achieved);
  }
  EXPECT_EQ(store.achievements[7].description, "Collect all Scrolls in the Chapter 2");
  EXPECT_EQ(store.achievements[10].description, "Get killed 5 times by an arrow");
}

// The child of the kill test below: rewrites the profile until killed, or,
// with KUROSHIN_SAVE_CHILD_STOP_AT=N, kills itself at its Nth write between
// the complete temporary file and the rename.
int g_writesBeforeStop = 0;

void StopAtTheChosenWrite(const std::string&) {
  if (--g_writesBeforeStop == 0) raise(SIGKILL);
}

TEST(ProgressChild, RewritesTheProfileUntilKilled) {
  const char* directory = getenv("KUROSHIN_SAVE_CHILD");
  if (!directory) GTEST_SKIP() << "only as the kill test's child";
  ASSERT_EQ(chdir(directory), 0);
  if (const char* stopAt = getenv("KUROSHIN_SAVE_CHILD_STOP_AT")) {
    g_writesBeforeStop = std::atoi(stopAt);
    afterAtomicTemporaryWritten = StopAtTheChosenWrite;
  }
  CProgressStore store;
  store.LoadProfile("save");
  int next = 0;
  while (store.FindLevelRecord("Levels/New/" + std::to_string(next))) ++next;
  for (bool first = true;; first = false) {
    store.SaveLevelResult("save", "Levels/New/" + std::to_string(next++), 1.0f, false);
    if (first) {
      std::printf("ready\n");
      std::fflush(stdout);
    }
  }
}

// Names of the "Level" elements of a profile, or a failure when it is not
// whole: every old level first, then the new ones without a gap.
::testing::AssertionResult CountNewLevels(const std::string& path, int& count) {
  TiXmlDocument document;
  std::string problem;
  if (!LoadXmlFile(path, document, &problem)) return ::testing::AssertionFailure() << problem;
  int index = 0;
  for (const TiXmlElement* e = document.RootElement()->FirstChildElement(); e;
       e = e->NextSiblingElement(), ++index) {
    const std::string expected = index < 1000 ? "Levels/Old/" + std::to_string(index)
                                              : "Levels/New/" + std::to_string(index - 1000);
    const char* name = e->Attribute("name");
    if (!name || name != expected)
      return ::testing::AssertionFailure() << "element " << index << " is " << (name ? name : "?");
  }
  if (index < 1000) return ::testing::AssertionFailure() << "only " << index << " levels";
  count = index - 1000;
  return ::testing::AssertionSuccess();
}

// Kills land at random moments (most of them between writes, as a write is
// short) and, every other round, exactly between the finished temporary file
// and the rename, the one moment where a careless writer loses the profile.
TEST_F(ProgressStoreTest, KilledMidWriteTheProfileIsOldOrNew) {
  std::string levels;
  for (int i = 0; i < 1000; ++i) levels += Level("Levels/Old/" + std::to_string(i), "99.5", "1");
  Write(kPath, Profile(levels));
  std::mt19937 random(1234);
  std::uniform_int_distribution<int> delay(0, 60);
  int saved = 0;
  for (int round = 0; round < 24; ++round) {
    const bool atTheRename = round % 2 == 1;
    const int stopAt = 1 + round % 3;
    ChildOptions options;
    options.directory = fs::current_path().string();
    options.environment = {"KUROSHIN_SAVE_CHILD=" + fs::current_path().string()};
    if (atTheRename) {
      options.environment.push_back("KUROSHIN_SAVE_CHILD_STOP_AT=" + std::to_string(stopAt));
    } else {
      const int wait = delay(random);
      options.readyText = "ready";
      options.onReady = [wait](pid_t pid) {
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
        kill(pid, SIGKILL);
      };
    }
    options.timeoutSeconds = 60;
    ChildResult run = RunChild({"/proc/self/exe", "--gtest_filter=ProgressChild.*"}, options);
    ASSERT_FALSE(run.exited) << "the child ends only by the kill\n" << run.out << run.err;
    ASSERT_EQ(run.signal, SIGKILL);

    int now = 0;
    ASSERT_TRUE(CountNewLevels(kPath, now)) << "round " << round;
    const std::string temporary = std::string(kPath) + ".tmp";
    if (atTheRename) {
      EXPECT_EQ(now, saved + stopAt - 1)
          << "round " << round << ": the stopped write must not land";
      int pending = 0;
      ASSERT_TRUE(CountNewLevels(temporary, pending)) << "round " << round;
      EXPECT_EQ(pending, saved + stopAt) << "round " << round;
    } else {
      EXPECT_GE(now, saved + 1) << "round " << round << ": each child saved at least once";
    }
    saved = now;
    fs::remove(temporary);
  }
}
