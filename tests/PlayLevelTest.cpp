// The game and kuroshin-verify run as programs on the sample level: a run
// fed in as input is saved as the player's own, the verifier agrees with
// the game, and damaged replays are refused without harm.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <string>

#include "graphics/FormatRunTime.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/GameDirectory.h"

namespace {

const std::string kSavedRun = "tests/levels/Dusk Road.rpl";

ChildResult RunIn(const std::string& dir, std::vector<std::string> argv) {
  ChildOptions options;
  options.directory = dir;
  options.timeoutSeconds = 240;
  return RunChild(argv, options);
}

std::string Describe(const ChildResult& run) {
  return "exit " + std::to_string(run.exitCode) + " signal " + std::to_string(run.signal) +
         "\nstdout:\n" + run.out + "\nstderr:\n" + run.err;
}

ChildResult Verify(const std::string& dir, const std::string& replay) {
  return RunIn(dir, {KUROSHIN_VERIFY, kSampleLevel, replay});
}

TEST(PlayLevel, AFedRunIsThePlayersOwnAndTheVerifierAgrees) {
  const std::string dir = MakeGameDirectory("fed");
  ASSERT_FALSE(dir.empty());
  const std::string run = ReadWholeFile(kSampleRun);
  ChildResult game =
      RunIn(dir, {KUROSHIN_EXE, "headless=1", "fixedstep=1", "stats=1",
                  std::string("level=") + kSampleLevel, "input=" + kSampleRun,
                  "frames=" + std::to_string(run.size() + 60), "screenshot=finish.png"});
  ASSERT_TRUE(game.exited && game.exitCode == 0) << Describe(game);
  EXPECT_TRUE(std::regex_search(
      game.out, std::regex("\nstats: frames=" + std::to_string(run.size() + 60) +
                           " steps=[0-9]+ median_ms=[0-9]+\\.[0-9]{2} p95_ms=[0-9]+\\.[0-9]{2} "
                           "p99_ms=[0-9]+\\.[0-9]{2}\n")))
      << game.out;
  EXPECT_EQ(ReadWholeFile(dir + "/" + kSavedRun), run) << "the best run, saved beside the map";
  const std::string profile = ReadWholeFile(dir + "/Saves/save.sav");
  std::smatch saved;
  ASSERT_TRUE(std::regex_search(profile, saved, std::regex("time=\"([0-9.]+)\""))) << profile;

  ChildResult verified = Verify(dir, kSavedRun);
  ASSERT_TRUE(verified.exited && verified.exitCode == 0) << Describe(verified);
  std::smatch line;
  ASSERT_TRUE(std::regex_match(verified.out, line,
                               std::regex("completed steps=([0-9]+) time=([0-9]{3}\\.[0-9]{2}) "
                                          "deaths=0 scroll=0\n")))
      << verified.out;
  EXPECT_EQ(std::stoul(line[1]), run.size()) << "the completing step is the run's last";
  // The game stores six digits, the verifier shows the time as the HUD does.
  EXPECT_EQ(line[2].str(), FormatRunTime(std::stof(saved[1].str())));
}

TEST(PlayLevel, DamagedRunsAreRefusedCleanly) {
  const std::string dir = MakeGameDirectory("damaged");
  ASSERT_FALSE(dir.empty());
  const std::string run = ReadWholeFile(kSampleRun);
  auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(dir + "/" + name, std::ios::binary) << bytes;
    return name;
  };
  std::mt19937 random(7);
  std::string noise(5000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  std::filesystem::create_directory(dir + "/folder.rpl");
  const struct {
    std::string replay;
    int exitCode;  // -1: 0 or 1, as the bytes happen to play
    std::string out;
  } cases[] = {
      {write("short.rpl", run.substr(0, 2000)), 1, "not completed steps=2000 deaths=0\n"},
      {write("empty.rpl", ""), 1, "not completed steps=0 deaths=0\n"},
      {write("noise.rpl", noise), -1, ""},
      {write("huge.rpl", std::string(1200001, '\x01')), 2, ""},
      {"folder.rpl", 2, ""},
      {"missing.rpl", 2, ""},
  };
  for (const auto& c : cases) {
    ChildResult checked = Verify(dir, c.replay);
    ASSERT_TRUE(checked.exited) << c.replay << ": " << Describe(checked);
    if (c.exitCode >= 0) {
      EXPECT_EQ(checked.exitCode, c.exitCode) << c.replay;
    } else {
      EXPECT_TRUE(checked.exitCode == 0 || checked.exitCode == 1) << c.replay;
    }
    if (!c.out.empty()) {
      EXPECT_EQ(checked.out, c.out) << c.replay;
    }
    if (c.exitCode == 2) {
      EXPECT_NE(checked.err.find(c.replay), std::string::npos) << checked.err;
    }
  }
  ChildResult noLevel = RunIn(dir, {KUROSHIN_VERIFY, "Levels/none.tmx", kSampleRun});
  EXPECT_EQ(noLevel.exitCode, 2);
  EXPECT_NE(noLevel.err.find("Levels/none.tmx"), std::string::npos) << noLevel.err;
}

TEST(PlayLevel, AReplayDrivesTheHeroToTheFinishWithoutSaving) {
  const std::string dir = MakeGameDirectory("replayed");
  ASSERT_FALSE(dir.empty());
  const std::string run = ReadWholeFile(kSampleRun);
  ChildResult game =
      RunIn(dir, {KUROSHIN_EXE, "headless=1", "fixedstep=1", std::string("level=") + kSampleLevel,
                  "replay=" + kSampleRun, "frames=" + std::to_string(run.size() + 30)});
  ASSERT_TRUE(game.exited && game.exitCode == 0) << Describe(game);
  EXPECT_FALSE(FileExists(dir + "/Saves/save.sav"));
  EXPECT_FALSE(FileExists(dir + "/" + kSavedRun));
  // A level that cannot be loaded, with nothing to go back to, ends the game.
  ChildResult missing = RunIn(
      dir, {KUROSHIN_EXE, "headless=1", "fixedstep=1", "frames=100", "level=Levels/none.tmx"});
  ASSERT_TRUE(missing.exited) << Describe(missing);
  EXPECT_EQ(missing.exitCode, 1);
}

}  // namespace
