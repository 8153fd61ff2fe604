// The game as a player meets it, on a virtual X display with keys typed in:
// the way from the logos through the menus into a level, the pause menu
// and back, with a screenshot at each step; and the options, kept across
// starts of the program and overridden by the command line for one run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "platform/DecodedImage.h"
#include "tests/support/ChildProcess.h"

namespace fs = std::filesystem;

namespace {

// A game directory with the data linked in and one chapter of our own.
std::string MakeMenuGame(const std::string& prefix) {
  const std::string dir = MakeTestDirectory(prefix);
  const fs::path data = fs::path(KUROSHIN_SOURCE_DIR) / "data";
  for (const char* folder : {"Graphics", "Values", "Audio"})
    fs::create_directory_symlink(data / folder, fs::path(dir) / folder);
  fs::create_directories(fs::path(dir) / "Levels/1 Tutorial");
  fs::copy_file(fs::path(KUROSHIN_SOURCE_DIR) / "tests/levels/Player Test.tmx",
                fs::path(dir) / "Levels/1 Tutorial/01 First.tmx");
  return fs::absolute(dir).string();
}

// A shell script that starts the game with `arguments` on the display,
// waits until it shows its window, then plays `steps`: "key NAME" (held a
// moment, as a finger would), "wait SECONDS", "shot" (F12, and waits for the
// picture to be written). It then waits for the game to end by itself; the
// script's exit status is the game's.
std::string Script(const std::string& arguments, const std::vector<std::string>& steps) {
  std::string script = "\"" + std::string(KUROSHIN_EXE) + "\" " + arguments +
                       " > out.txt 2>&1 & game=$!\n"
                       "for i in $(seq 600); do grep -q 'Kuroshin: video' out.txt && break; "
                       "sleep 0.1; done\nsleep 1\nshots=0\n";
  for (const std::string& step : steps) {
    if (step.rfind("key ", 0) == 0) {
      const std::string key = step.substr(4);
      script += "xdotool keydown " + key + "; sleep 0.25; xdotool keyup " + key + "; sleep 0.4\n";
    } else if (step.rfind("wait ", 0) == 0) {
      script += "sleep " + step.substr(5) + "\n";
    } else if (step == "shot") {
      script +=
          "shots=$((shots+1)); xdotool keydown F12; sleep 0.2; xdotool keyup F12\n"
          "for i in $(seq 300); do [ $(grep -c 'Kuroshin: screenshot' out.txt) -ge $shots ] && "
          "break; sleep 0.1; done\n";
    }
  }
  script +=
      "for i in $(seq 300); do kill -0 $game 2>/dev/null || break; sleep 0.1; done\n"
      // Still running: it did not do what the steps asked (status 98).
      "status=98\nif kill -0 $game 2>/dev/null; then kill -TERM $game; wait $game; "
      "else wait $game; status=$?; fi\ncat out.txt\nexit $status\n";
  return script;
}

ChildResult RunOnDisplay(const std::string& dir, const std::string& script) {
  ChildOptions options;
  options.directory = dir;
  options.timeoutSeconds = 240;
  // The GL driver's own allocations at exit are no leaks of ours.
  options.environment = {"ASAN_OPTIONS=detect_leaks=0"};
  return RunChild(
      {"/usr/bin/xvfb-run", "-a", "-s", "-screen 0 1920x1080x24", "/bin/sh", "-c", script},
      options);
}

std::string Describe(const ChildResult& run) {
  return "exit " + std::to_string(run.exitCode) + " signal " + std::to_string(run.signal) +
         (run.timedOut ? " (timed out)" : "") + "\nstdout:\n" + run.out + "\nstderr:\n" + run.err;
}

// Mean brightness (0..255) of a rectangle of a picture.
double Brightness(const CDecodedImage& image, int left, int top, int right, int bottom) {
  double sum = 0;
  int count = 0;
  for (int y = top; y < bottom; y += 4) {
    for (int x = left; x < right; x += 4) {
      const unsigned p = image.Pixel(x, y);
      sum += ((p >> 16) & 0xff) + ((p >> 8) & 0xff) + (p & 0xff);
      count += 3;
    }
  }
  return count ? sum / count : 0;
}

TEST(MenuRun, FromTheLogosIntoALevelAndBackToTheMenu) {
  ASSERT_TRUE(FileExists("/usr/bin/xdotool")) << "xdotool is missing: run scripts/install-deps";
  const std::string dir = MakeMenuGame("x11-menus");
  const ChildResult run = RunOnDisplay(
      dir, Script("windowed=1", {"wait 1", "shot",                  // the first logo
                                 "key Return", "wait 1.5", "shot",  // the main menu
                                 "key Return", "shot",              // the level selection
                                 // Keys typed while the level loads are lost: a
                                 // sanitizer build on a busy machine needs the time.
                                 "key Return", "wait 8", "shot",    // the first level
                                 "key Escape", "wait 0.5", "shot",  // paused
                                 "key Down", "key Down", "key Down", "key Return", "wait 4",
                                 "shot",  // the main menu again
                                 "key Down", "key Down", "key Down", "key Down", "key Return"}));
  ASSERT_TRUE(run.exited && run.exitCode == 0) << Describe(run);
  std::vector<std::unique_ptr<CDecodedImage>> shots;
  for (int n = 1; n <= 6; ++n) {
    char name[64];
    std::snprintf(name, sizeof name, "/Screenshots/shot-%04d.png", n);
    shots.push_back(CDecodedImage::Load(dir + name));
    ASSERT_NE(shots.back(), nullptr) << name << "\n" << Describe(run);
    ASSERT_EQ(shots.back()->Width(), 1280);
  }
  // The logo on black; the title picture around the menu's panel.
  EXPECT_LT(Brightness(*shots[0], 0, 0, 200, 200), 2.0);
  EXPECT_GT(Brightness(*shots[0], 540, 362, 740, 562), 60.0);
  const double title = Brightness(*shots[1], 0, 0, 600, 300);
  EXPECT_GT(title, 100.0);
  // The panel changes from the links to the level list.
  EXPECT_GT(std::abs(Brightness(*shots[1], 700, 350, 1200, 800) -
                     Brightness(*shots[2], 700, 350, 1200, 800)),
            0.5);
  // The level is no menu, and pausing darkens it to six tenths.
  EXPECT_GT(std::abs(Brightness(*shots[3], 0, 0, 600, 300) - title), 20.0);
  const double level = Brightness(*shots[3], 0, 0, 300, 200);
  EXPECT_NEAR(Brightness(*shots[4], 0, 0, 300, 200), 0.6 * level, 2.0);
  // Back to the title picture.
  EXPECT_NEAR(Brightness(*shots[5], 0, 0, 600, 300), title, 2.0);
  const std::string log = ReadWholeFile(dir + "/log.txt");
  EXPECT_EQ(log.find("Error: Could not load"), std::string::npos) << log;
}

TEST(MenuRun, OptionsLastAcrossStartsAndTheCommandLineOverridesThemOnce) {
  const std::string dir = MakeMenuGame("x11-options");
  // Full screen at first (the default); the player picks a resolution and
  // turns full screen, vertical sync and music off, then leaves.
  ChildResult first = RunOnDisplay(
      dir,
      Script("", {"key Return", "wait 1.5", "key Down", "key Return",  // OPTIONS
                  "key Left", "key Return",                            // a resolution
                  "key Down", "key Return", "wait 1", "key Down", "key Return", "key Down",
                  "key Return", "key Escape", "key Down", "key Down", "key Down", "key Return"}));
  ASSERT_TRUE(first.exited && first.exitCode == 0) << Describe(first);
  EXPECT_NE(first.out.find("output 1920x1080, full screen"), std::string::npos) << first.out;
  const std::string saved = ReadWholeFile(dir + "/Saves/options.cfg");
  std::smatch size;
  ASSERT_TRUE(std::regex_search(saved, size, std::regex("width=\"([0-9]+)\" height=\"([0-9]+)\"")))
      << saved;
  for (const char* kept : {"fullscreen=\"0\"", "vsync=\"0\"", "music=\"0\"", "sfx=\"1\""})
    EXPECT_NE(saved.find(kept), std::string::npos) << kept << " in " << saved;

  // The next start opens as chosen.
  ChildResult second = RunOnDisplay(dir, Script("frames=30", {}));
  ASSERT_TRUE(second.exited && second.exitCode == 0) << Describe(second);
  EXPECT_NE(second.out.find("output " + size[1].str() + "x" + size[2].str() + ", windowed"),
            std::string::npos)
      << second.out;

  // The command line wins for one run and is not written back.
  ChildResult third = RunOnDisplay(dir, Script("windowed=0 vsync=1 frames=30", {}));
  ASSERT_TRUE(third.exited && third.exitCode == 0) << Describe(third);
  EXPECT_NE(third.out.find("full screen"), std::string::npos) << third.out;
  EXPECT_EQ(ReadWholeFile(dir + "/Saves/options.cfg"), saved);

  // A damaged file is kept aside even in a headless run, which takes none
  // of the display options.
  std::ofstream(dir + "/Saves/options.cfg") << "<Options width=\"1024\" height=";
  ChildOptions headless;
  headless.directory = dir;
  ChildResult fourth = RunChild({KUROSHIN_EXE, "headless=1", "fixedstep=1", "frames=5"}, headless);
  ASSERT_TRUE(fourth.exited && fourth.exitCode == 0) << Describe(fourth);
  EXPECT_NE(fourth.out.find("output 1280x1024, windowed"), std::string::npos) << fourth.out;
  EXPECT_FALSE(FileExists(dir + "/Saves/options.cfg"));
  bool kept = false;
  for (const auto& entry : fs::directory_iterator(dir + "/Saves"))
    kept = kept || entry.path().filename().string().rfind("options.cfg.damaged-", 0) == 0;
  EXPECT_TRUE(kept);
  EXPECT_NE(
      ReadWholeFile(dir + "/log.txt").find("Error: The options file Saves/options.cfg is damaged"),
      std::string::npos);
}

}  // namespace
