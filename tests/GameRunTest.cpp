// The game binary run as a player or a script would run it.
#include <gtest/gtest.h>

#include <signal.h>
#include <string.h>
#include <unistd.h>

#include <fstream>
#include <regex>

#include "tests/support/ChildProcess.h"
#include "tests/support/GameDirectory.h"

namespace {

std::vector<std::string> Game(std::initializer_list<std::string> args) {
  std::vector<std::string> argv{KUROSHIN_EXE};
  argv.insert(argv.end(), args);
  return argv;
}

// Error lines, leaving out the game's images that are still to be made, the
// game controller this machine does not have, and the levels an empty
// directory (named as the data folder with "data=.") has none of.
std::vector<std::string> ErrorLines(const std::string& log) {
  std::vector<std::string> errors;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);)
    if (line.rfind("Error: ", 0) == 0 &&
        line.rfind("Error: Could not load texture Graphics/", 0) != 0 &&
        line != "Error: Could not create DirectInput device." &&
        line != "Error: Could not search directory: Levels")
      errors.push_back(line);
  return errors;
}

ChildOptions InDirectory(const std::string& dir) {
  ChildOptions options;
  options.directory = dir;
  return options;
}

std::string Describe(const ChildResult& run) {
  return "exit " + std::to_string(run.exitCode) + " signal " + std::to_string(run.signal) +
         (run.timedOut ? " (timed out)" : "") + "\nstdout:\n" + run.out + "\nstderr:\n" + run.err;
}

TEST(GameRun, HeadlessFixedStepRunWritesAScreenshot) {
  std::string dir = MakeTestDirectory("headless");
  {
    std::ofstream old(dir + "/log.txt");
    old << "Error: left over from the previous run\n";
  }
  ChildResult run =
      RunChild(Game({"data=.", "headless=1", "fixedstep=1", "frames=120", "screenshot=out.png"}),
               InDirectory(dir));
  ASSERT_TRUE(run.exited && run.exitCode == 0) << Describe(run);
  EXPECT_NE(run.out.find("video dummy"), std::string::npos) << run.out;
  ASSERT_TRUE(FileExists(dir + "/log.txt"));
  EXPECT_EQ(ErrorLines(ReadWholeFile(dir + "/log.txt")), std::vector<std::string>{});
  std::string png = ReadWholeFile(dir + "/out.png");
  ASSERT_GE(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x05\x00\0\0\x04\x00", 8));  // 1280 x 1024
}

TEST(GameRun, ScreenshotThatCannotBeWrittenIsAFailure) {
  std::string dir = MakeTestDirectory("badshot");
  ChildResult run = RunChild(
      Game({"data=.", "headless=1", "fixedstep=1", "frames=2", "screenshot=missing/out.png"}),
      InDirectory(dir));
  EXPECT_TRUE(run.exited) << Describe(run);
  EXPECT_NE(run.exitCode, 0);
  EXPECT_NE(ReadWholeFile(dir + "/log.txt").find("Error: Could not write the screenshot"),
            std::string::npos);
}

// Ctrl+C and SIGTERM (a closing terminal, a service manager, `timeout`)
// ask the game to quit: it leaves its loop, writes what it was asked to
// write, and exits as after any quit.
TEST(GameRun, StopSignalsEndAHeadlessRunAsAQuit) {
  // Once while the level is still loading on its worker thread, once in play.
  const struct {
    int signal;
    int afterMs;
  } cases[] = {{SIGTERM, 0}, {SIGINT, 1500}};
  for (const auto& c : cases) {
    SCOPED_TRACE(strsignal(c.signal));
    std::string dir = MakeGameDirectory("stopped");
    ChildOptions options = InDirectory(dir);
    options.timeoutSeconds = 60;
    options.readyText = "Kuroshin:";
    options.onReady = [c](pid_t pid) {
      usleep(c.afterMs * 1000);
      kill(pid, c.signal);
    };
    ChildResult run = RunChild(
        Game({"headless=1", "screenshot=out.png", std::string("level=") + kSampleLevel}), options);
    // Under the sanitizers a leak at exit would turn the exit code.
    ASSERT_TRUE(run.exited && run.exitCode == 0) << Describe(run);
    EXPECT_EQ(ErrorLines(ReadWholeFile(dir + "/log.txt")), std::vector<std::string>{});
    const std::string png = ReadWholeFile(dir + "/out.png");
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x05\x00\0\0\x04\x00", 8));
  }
}

TEST(GameRun, SegmentationFaultLeavesACrashReport) {
  std::string dir = MakeGameDirectory("segv");
  ChildOptions options = InDirectory(dir);
  options.timeoutSeconds = 60;
  options.readyText = "Kuroshin:";
  options.onReady = [](pid_t pid) {
    usleep(100 * 1000);  // let it run a few frames
    kill(pid, SIGSEGV);
  };
  ChildResult run = RunChild(Game({"headless=1", std::string("level=") + kSampleLevel}), options);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.signal, SIGSEGV) << Describe(run);
  std::string log = ReadWholeFile(dir + "/log.txt");
  EXPECT_NE(log.find("************Crash Report***********\n"), std::string::npos) << log;
  EXPECT_TRUE(std::regex_search(log, std::regex("Unhandled EXCEPTION_[A-Z_]+ at 0x[0-9a-fA-F]+\n")))
      << log;
  EXPECT_GT(ReadWholeFile(dir + "/MiniDump.dmp").size(), 0u);
}

// A real X11 window on a virtual 1920 x 1080 screen.
ChildResult RunUnderXvfb(const std::string& dir, std::initializer_list<std::string> args) {
  std::vector<std::string> argv{"/usr/bin/xvfb-run", "-a", "-s", "-screen 0 1920x1080x24"};
  std::vector<std::string> game = Game(args);
  argv.insert(argv.end(), game.begin(), game.end());
  // The GL driver is loaded and unloaded at run time, so what it keeps at exit
  // cannot be told apart from our own leaks; the headless runs check ours.
  ChildOptions options = InDirectory(dir);
  options.environment = {"ASAN_OPTIONS=detect_leaks=0"};
  return RunChild(argv, options);
}

TEST(GameRun, RealWindowAndFullScreenUnderX) {
  ASSERT_TRUE(FileExists("/usr/bin/xvfb-run")) << "xvfb-run is missing: run scripts/install-deps";
  std::string windowedDir = MakeTestDirectory("x11-windowed");
  ChildResult windowed =
      RunUnderXvfb(windowedDir, {"data=.", "windowed=1", "width=1024", "height=768", "frames=60"});
  ASSERT_TRUE(windowed.exited && windowed.exitCode == 0) << Describe(windowed);
  EXPECT_NE(windowed.out.find("video x11"), std::string::npos) << windowed.out;
  EXPECT_NE(windowed.out.find("output 1024x768, windowed"), std::string::npos) << windowed.out;
  EXPECT_EQ(ErrorLines(ReadWholeFile(windowedDir + "/log.txt")), std::vector<std::string>{});

  std::string fullDir = MakeTestDirectory("x11-full");
  ChildResult full = RunUnderXvfb(fullDir, {"data=.", "frames=60"});
  ASSERT_TRUE(full.exited && full.exitCode == 0) << Describe(full);
  EXPECT_NE(full.out.find("video x11"), std::string::npos) << full.out;
  // The virtual screen has only its own mode, so full screen fills it.
  EXPECT_NE(full.out.find("output 1920x1080, full screen"), std::string::npos) << full.out;
  EXPECT_EQ(ErrorLines(ReadWholeFile(fullDir + "/log.txt")), std::vector<std::string>{});
}

TEST(GameRun, AltEnterTogglesFullScreenUnderX) {
  ASSERT_TRUE(FileExists("/usr/bin/xdotool")) << "xdotool is missing: run scripts/install-deps";
  std::string dir = MakeGameDirectory("x11-alt-enter");
  // Keys typed into the X server, as a player would; SIGTERM then ends the
  // game the way closing the window does. Keys typed while the level loads
  // are lost: the small sample level is up well before the first key, even
  // in a sanitizer build on a busy machine.
  std::string script = std::string("\"") + KUROSHIN_EXE +
                       "\" windowed=1 width=1024 height=768 'level=tests/levels/Dusk Road.tmx' "
                       "& game=$!; "
                       "sleep 6; xdotool key alt+Return; sleep 2; xdotool key alt+Return; "
                       "sleep 2; kill -TERM $game; wait $game";
  ChildOptions options = InDirectory(dir);
  options.environment = {"ASAN_OPTIONS=detect_leaks=0"};
  ChildResult run =
      RunChild({"/usr/bin/xvfb-run", "-a", "-s", "-screen 0 1920x1080x24", "/bin/sh", "-c", script},
               options);
  ASSERT_TRUE(run.exited && run.exitCode == 0) << Describe(run);
  std::size_t full = run.out.find("display reset, output 1920x1080, full screen");
  ASSERT_NE(full, std::string::npos) << run.out;
  EXPECT_NE(run.out.find("display reset, output 1024x768, windowed", full), std::string::npos)
      << run.out;
}

}  // namespace
