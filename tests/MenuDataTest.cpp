// What the menus stand on without a window: the levels found on disk, the
// achievement rules, the files that keep statistics and options, the
// command line against those options, and the toolkit's items at their
// edges.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/UserOptions.h"
#include "frontend/MenuItem.h"
#include "frontend/MenuNavigator.h"
#include "frontend/MenuOption.h"
#include "frontend/MenuScreen.h"
#include "frontend/MenuSelection.h"
#include "input/InputManager.h"
#include "level/LevelDirectory.h"
#include "progress/AchievementRules.h"
#include "progress/ProgressStore.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/GameData.h"

namespace fs = std::filesystem;

namespace {

// The working directory is a new, empty one for the test's lifetime.
class InScratch : public ::testing::Test {
protected:
  void SetUp() override {
    home = fs::current_path();
    fs::current_path(MakeTestDirectory("menudata"));
  }
  void TearDown() override { fs::current_path(home); }
  std::string LogSince(std::size_t from) const {
    return ReadWholeFile((home / "log.txt").string()).substr(from);
  }
  std::size_t LogSize() const { return ReadWholeFile((home / "log.txt").string()).size(); }
  static std::vector<std::string> Kept(const std::string& name) {
    std::vector<std::string> kept;
    for (const auto& entry : fs::directory_iterator("Saves"))
      if (entry.path().filename().string().rfind(name + ".damaged-", 0) == 0)
        kept.push_back(entry.path().string());
    return kept;
  }
  fs::path home;
};

using LevelDirectory = InScratch;

TEST_F(LevelDirectory, ChaptersAndLevelsInNameOrderWithoutFollowingLinks) {
  for (const char* file :
       {"Levels/b chapter/B2.tmx", "Levels/b chapter/a1.tmx", "Levels/b chapter/c.TMX",
        "Levels/b chapter/notes.txt", "Levels/A chapter/x.tmx", "Levels/A chapter/Nested/n.tmx",
        "Levels/A chapter/Nested/N.tmx", "Levels/root.tmx", "Levels/10 Later/z.tmx",
        "Levels/9 Earlier/y.tmx"})
    WriteTextFile(file, "");
  fs::create_directory_symlink("..", "Levels/A chapter/loop");
  fs::create_symlink("../b chapter/a1.tmx", "Levels/A chapter/linked.tmx");
  fs::create_directory("Levels/folder.tmx");
  const std::vector<LevelChapter> chapters = ScanLevelChapters();
  std::vector<std::string> seen;
  for (const LevelChapter& chapter : chapters) {
    std::string line = chapter.name + ":";
    for (const LevelEntry& level : chapter.levels) line += " " + level.name + "=" + level.file;
    seen.push_back(line);
  }
  const std::vector<std::string> expected = {
      "Levels/10 Later: z=z.tmx",
      "Levels/9 Earlier: y=y.tmx",
      "Levels/A chapter: x=x.tmx",
      "Levels/A chapter/Nested: N=N.tmx n=n.tmx",
      "Levels/b chapter: a1=a1.tmx B2=B2.tmx",
      "Levels/folder.tmx:",
  };
  EXPECT_EQ(seen, expected);

  const std::size_t before = LogSize();
  fs::remove_all("Levels");
  EXPECT_TRUE(ScanLevelChapters().empty());
  EXPECT_NE(LogSince(before).find("Error: Could not search directory: Levels\n"),
            std::string::npos);
}

TEST(AchievementRules, EachIsEarnedByItsDescriptionOnceAndKept) {
  const auto chapter = [](const char* folder, std::size_t levels, std::size_t completed,
                          std::size_t scrolls) {
    return ChapterProgress{folder, levels, completed, scrolls};
  };
  const std::vector<ChapterProgress> none;
  const struct {
    const char* what;
    Statistics statistics;
    std::vector<ChapterProgress> chapters;
    std::vector<std::size_t> earned;
  } cases[] = {
      {"nothing yet", {}, none, {}},
      {"a death", {1, 0, 0, 0}, none, {0}},
      {"99 deaths", {99, 0, 0, 0}, none, {0}},
      {"100 deaths", {100, 0, 0, 0}, none, {0, 1}},
      {"1000 deaths", {1000, 0, 0, 0}, none, {0, 1, 2}},
      {"4 arrows", {4, 4, 0, 0}, none, {0}},
      {"5 arrows", {5, 5, 0, 0}, none, {0, 10}},
      {"the tutorial done", {}, {chapter("1 Tutorial", 3, 3, 0), chapter("2 Basic", 2, 1, 0)}, {3}},
      {"every chapter done, no scroll",
       {},
       {chapter("1 tutorial", 1, 1, 0), chapter("2 Basic", 2, 2, 0), chapter("3 Hard", 1, 1, 0)},
       {3, 4, 5}},
      {"one of two Hard chapters",
       {},
       {chapter("3 Hard", 1, 1, 0), chapter("4 Hard", 2, 1, 0)},
       {}},
      {"no Hard chapter, an empty Basic one", {}, {chapter("2 Basic", 0, 0, 0)}, {}},
      {"scrolls of the second chapter",
       {},
       {chapter("1 Tutorial", 2, 2, 1), chapter("2 Basic", 2, 2, 2)},
       {3, 4, 7}},
      {"every scroll",
       {},
       {chapter("a", 1, 1, 1), chapter("b", 1, 1, 1), chapter("c", 2, 2, 2)},
       {6, 7, 8, 9}},
      {"all scrolls but one", {}, {chapter("a", 1, 1, 1), chapter("b", 2, 2, 1)}, {6}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<Achievement> list = MakeAchievementList();
    EXPECT_EQ(AwardAchievements(list, c.statistics, c.chapters), c.earned);
    EXPECT_TRUE(AwardAchievements(list, c.statistics, c.chapters).empty()) << "once";
    for (std::size_t index : c.earned) EXPECT_TRUE(list[index].achieved);
    // Earned stays earned when the conditions no longer hold.
    EXPECT_TRUE(AwardAchievements(list, {}, none).empty());
    for (std::size_t index : c.earned) EXPECT_TRUE(list[index].achieved);
  }
}

using UserFiles = InScratch;

TEST_F(UserFiles, StatisticsAndOptionsLastAndDamagedOnesAreKeptAside) {
  // Statistics: written, read back, and nothing written when nothing changed.
  {
    CProgressStore store;
    store.LoadStatistics();
    EXPECT_EQ(store.statistics.deaths, 0u);
    EXPECT_TRUE(store.SaveStatistics());
    EXPECT_FALSE(fs::exists("Saves/save.stats")) << "nothing to keep yet";
    for (int i = 0; i < 5; ++i) store.RecordDeath(i % 2 == 0);
    EXPECT_TRUE(store.SaveStatistics());
  }
  {
    CProgressStore store;
    store.LoadStatistics();
    EXPECT_EQ(store.statistics.deaths, 5u);
    EXPECT_EQ(store.statistics.arrowDeaths, 3u);
    EXPECT_TRUE(store.achievements[0].achieved);
    EXPECT_FALSE(store.achievements[10].achieved);
  }
  // Options: the defaults without a file, the values after a change.
  {
    CUserOptions options;
    options.Load();
    EXPECT_EQ(options.values, OptionValues());
    options.Change([](OptionValues& values) {
      values.width = 1024;
      values.height = 768;
      values.vsync = false;
      values.effects = false;
    });
    CUserOptions again;
    again.Load();
    EXPECT_EQ(again.values, options.values);
  }

  // Damaged files: reported, kept byte for byte, and the defaults in play.
  const std::string tooBig(70000, 'x');
  const struct {
    const char* file;
    std::string bytes;
  } damaged[] = {
      {"save.stats", "<Statistics deaths=\"3\""},
      {"save.stats", "<Profile deaths=\"3\"/>"},
      {"save.stats", "<Statistics deaths=\"-3\"/>"},
      {"save.stats", "<Statistics deaths=\"3 deaths\"/>"},
      {"options.cfg", "<Options fullscreen=\"yes\"/>"},
      {"options.cfg", "<Options width=\"1024\"/>"},
      {"options.cfg", "<Options width=\"99999\" height=\"768\"/>"},
      {"options.cfg", "not XML at all " + tooBig},
      {"options.cfg", "<Settings/>"},
  };
  for (const auto& c : damaged) {
    SCOPED_TRACE(c.bytes.substr(0, 40));
    fs::remove_all("Saves");
    WriteTextFile(std::string("Saves/") + c.file, c.bytes);
    const std::size_t before = LogSize();
    bool defaults = false;
    if (std::string(c.file) == "save.stats") {
      CProgressStore store;
      store.LoadStatistics();
      defaults = store.statistics.deaths == 0 && !store.achievements[0].achieved;
    } else {
      CUserOptions options;
      options.Load();
      defaults = options.values == OptionValues();
    }
    EXPECT_TRUE(defaults);
    EXPECT_FALSE(fs::exists(std::string("Saves/") + c.file)) << "moved aside, not overwritten";
    const std::vector<std::string> kept = Kept(c.file);
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(ReadWholeFile(kept[0]), c.bytes);
    EXPECT_NE(LogSince(before).find(std::string("is damaged")), std::string::npos);
  }

  // A file damaged since the game read it is kept aside before a new one
  // is written.
  fs::remove_all("Saves");
  CUserOptions options;
  options.Load();
  WriteTextFile("Saves/options.cfg", "<Options");
  options.Change([](OptionValues& values) { values.music = false; });
  EXPECT_EQ(Kept("options.cfg").size(), 1u);
  CUserOptions again;
  again.Load();
  EXPECT_FALSE(again.values.music);
}

TEST(StartDisplay, TheCommandLineOverridesStoredOptionsForOneRun) {
  OptionValues stored;
  stored.width = 1600;
  stored.height = 900;
  stored.fullScreen = false;
  stored.vsync = false;
  const struct {
    std::vector<const char*> arguments;
    bool headless;
    StartDisplay expected;
  } cases[] = {
      {{}, false, {1600, 900, false, false}},
      {{"width=1024", "height=768"}, false, {1024, 768, false, false}},
      // Either key decides the size, by the command line's own rule.
      {{"width=1024"}, false, {1024, 0, false, false}},
      {{"windowed=0", "vsync=1"}, false, {1600, 900, true, true}},
      {{"windowed=1"}, false, {1600, 900, false, false}},
      {{}, true, {0, 0, true, true}},
      {{"windowed=1", "vsync=0"}, true, {0, 0, false, false}},
  };
  for (const auto& c : cases) {
    std::vector<const char*> argv = {"kuroshin"};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    CCommandLine commandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_EQ(ChooseStartDisplay(commandLine, stored, c.headless), c.expected)
        << c.arguments.size() << " arguments, headless " << c.headless;
  }
}

// An item that counts what is done to it.
class Counted : public CMenuItem {
public:
  void Activate() override { ++activations; }
  void Update(float) override {}
  void Draw(float, float, bool) override {}
  int activations = 0;
};

TEST(MenuToolkit, OneClickActivatesOneItemAndAScreenNeedsNoNavigator) {
  CInputManager input;
  CMenuScreen screen("alone", nullptr);
  auto* back = new Counted;
  auto* front = new Counted;
  auto* disabled = new Counted;
  disabled->enabled = false;
  screen.AddItem(back);
  screen.AddItem(front);
  screen.AddItem(disabled);
  screen.AddItem(nullptr);
  ASSERT_EQ(screen.ItemCount(), 3u);
  // Two boxes under the pointer, as a level row reaching into BACK.
  back->hitBox = CHitBox(100, 200, 100, 400);
  front->hitBox = CHitBox(150, 250, 100, 400);
  disabled->hitBox = CHitBox(300, 350, 100, 400);
  auto click = [&](int x, int y) {
    input.mouseX = x;
    input.mouseY = y;
    input.buttons[MOUSE_LEFT] = 1;
    input.buttonsPrevious[MOUSE_LEFT] = 0;
    screen.Update(1.0f / 120);
    input.buttons[MOUSE_LEFT] = 0;
  };
  click(200, 175);
  EXPECT_EQ(back->activations + front->activations, 1);
  EXPECT_EQ(screen.selected, 0u);
  click(200, 325);
  EXPECT_EQ(screen.selected, 2u) << "a disabled item is selected";
  EXPECT_EQ(disabled->activations, 0) << "but not activated";
  click(50, 50);
  EXPECT_EQ(screen.selected, 2u) << "outside every box";
  // Escape and Enter on a screen no navigator holds.
  input.keys[VK_ESCAPE] = 1;
  screen.Update(1.0f / 120);
  input.keys[VK_ESCAPE] = 0;
  screen.selected = 1;
  input.keys[VK_RETURN] = 1;
  screen.Update(1.0f / 120);
  EXPECT_EQ(front->activations, 1);
}

TEST(MenuToolkit, OptionsFlipAndSelectionsStayInTheirList) {
  CInputManager input;
  CMenuNavigator navigator;
  auto* screen = new CMenuScreen("options", &navigator);
  navigator.AddScreen(screen);
  bool on = false;
  auto* option = new CMenuOption(
      "MUSIC", 0, 0, [&](bool value) { on = value; }, [&]() -> std::uint8_t { return on; });
  auto* half = new CMenuOption("HALF", 0, 0, nullptr, [] { return std::uint8_t{1}; });
  auto* selection = new CMenuSelection("RESOLUTION", 0, 0);
  auto* empty = new CMenuSelection("EMPTY", 0, 0);
  for (CMenuItem* item : std::initializer_list<CMenuItem*>{option, half, selection, empty})
    screen->AddItem(item);
  option->Activate();
  EXPECT_TRUE(on);
  option->Activate();
  EXPECT_FALSE(on);
  half->Activate();  // no setter: nothing, no crash

  // Without a device no size is current: no choice, as off the list.
  EXPECT_EQ(selection->choice, -1);
  selection->choices = {"800x600", "1024x768", "1280x1024"};
  auto press = [&](int key) {
    input.keys[key] = 1;
    input.keysPrevious[key] = 0;
    screen->Update(1.0f / 120);
    input.keys[key] = 0;
  };
  screen->selected = 2;
  const struct {
    int key;
    int choice;
  } moves[] = {{VK_LEFT, 2},  {VK_LEFT, 1},  {VK_LEFT, 0},  {VK_LEFT, 2},
               {VK_RIGHT, 0}, {VK_RIGHT, 1}, {VK_RIGHT, 2}, {VK_RIGHT, 0}};
  for (const auto& move : moves) {
    press(move.key);
    EXPECT_EQ(selection->choice, move.choice);
  }
  selection->Activate();
  EXPECT_EQ(selection->committedChoice, 0);
  press(VK_RIGHT);
  screen->selected = 3;
  screen->Update(1.0f / 120);
  EXPECT_EQ(selection->choice, 0) << "an unapplied choice is forgotten";
  // An empty list has nothing to choose either way, and nothing to apply.
  for (int key : {VK_LEFT, VK_RIGHT, VK_LEFT}) {
    press(key);
    EXPECT_EQ(empty->choice, -1);
  }
  empty->Activate();
}

}  // namespace
