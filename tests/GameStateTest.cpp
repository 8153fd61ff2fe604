// Playing a level in-process: the result and the best run saved only for
// the player's own better runs, the ghost of the best run, restarting, and
// the loading state's hand-over and failure.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/GameState.h"
#include "app/IngameHud.h"
#include "app/StateManager.h"
#include "audio/AudioManager.h"
#include "audio/Sound.h"
#include "frontend/LevelFinishScreen.h"
#include "frontend/LoadingState.h"
#include "graphics/TextureManager.h"
#include "input/InputManager.h"
#include "level/Level.h"
#include "objects/Checkpoint.h"
#include "platform/Video.h"
#include "player/Player.h"
#include "progress/ProgressStore.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/GameDirectory.h"

namespace fs = std::filesystem;

namespace {

constexpr float kStep = 1.0f / 120.0f;
const std::string kReplay = "tests/levels/Dusk Road.rpl";

// A game directory entered for the test, with the services a gameplay state
// uses (no window, no sound).
class GameStateTest : public ::testing::Test {
protected:
  void SetUp() override {
    home = fs::current_path();
    dir = MakeGameDirectory("play");
    ASSERT_FALSE(dir.empty());
    fs::current_path(dir);
  }
  void TearDown() override { fs::current_path(home); }

  std::string Log() const { return ReadWholeFile(home / "log.txt"); }

  // Steps until the level is finished; the steps taken, or -1.
  static int PlayToTheEnd(CGameState& state, int limit = 6000) {
    for (int i = 0; i < limit; ++i) {
      if (state.IsFinished()) return i;
      state.Update(kStep);
    }
    return -1;
  }

  fs::path home;
  std::string dir;
  CTextureManager textures;
  CStateManager states;
  CProgressStore progress;
  CIngameHud hud;
};

std::string Bytes(const std::string& path) { return ReadWholeFile(path); }

TEST_F(GameStateTest, OwnBetterRunsAreSavedAndReplayAsTheGhost) {
  const std::string run = Bytes(kSampleRun);
  {
    CGameState first({kSampleLevel, "", kSampleRun});
    ASSERT_TRUE(first.Init());
    EXPECT_FALSE(first.HasGhost()) << "no best run yet";
    const int steps = PlayToTheEnd(first);
    ASSERT_EQ(steps, static_cast<int>(run.size())) << "finished on the run's last step";
    EXPECT_TRUE(first.GetFinishScreen()->newRecord) << "a first result is a record";
    EXPECT_EQ(Bytes(kReplay), run) << "the run, byte for byte, beside the map";
    progress.LoadProfile("save");
    const LevelRecord* record = progress.FindLevelRecord("tests/levels/Dusk Road");
    ASSERT_NE(record, nullptr);
    EXPECT_NEAR(record->bestTime, hud.time, 1e-3);

    // Again: the ghost runs the stored run on its own level in lockstep
    // with the same commands fed live.
    first.Restart();
    ASSERT_TRUE(first.HasGhost());
    EXPECT_NE(first.GetGhostLevel(), first.GetLevel());
    for (int i = 0; i < steps; ++i) {
      first.Update(kStep);
      const PlayerState& live = first.GetPlayer()->State();
      const PlayerState& ghost = first.GetGhost()->State();
      ASSERT_EQ(live.position.x, ghost.position.x) << "step " << i;
      ASSERT_EQ(live.position.y, ghost.position.y) << "step " << i;
    }
    EXPECT_TRUE(first.IsFinished());
    EXPECT_FALSE(first.GetFinishScreen()->newRecord) << "the same time is no record";
    first.Cleanup();
  }

  // Half a second slower: the best time and the best run stay as they were.
  const std::string slower = "slower.rpl";
  std::ofstream(slower, std::ios::binary) << std::string(60, '\0') + run;
  struct stat before;
  ASSERT_EQ(stat(kReplay.c_str(), &before), 0);
  const std::string profile = Bytes("Saves/save.sav");
  CGameState second({kSampleLevel, "", slower});
  ASSERT_TRUE(second.Init());
  ASSERT_GT(PlayToTheEnd(second), 0);
  EXPECT_FALSE(second.GetFinishScreen()->newRecord);
  EXPECT_EQ(Bytes(kReplay), run);
  struct stat after;
  ASSERT_EQ(stat(kReplay.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino) << "not even rewritten";
  EXPECT_EQ(Bytes("Saves/save.sav"), profile);
  second.Cleanup();
}

TEST_F(GameStateTest, TheGhostRunsSilentlyOnALevelOfItsOwn) {
  std::filesystem::copy_file(kSampleRun, kReplay);
  CAudioManager audio(true);
  // The live hero stands still; only the ghost runs the level.
  std::ofstream("still.rpl", std::ios::binary) << std::string(1, '\0');
  CGameState state({kSampleLevel, "", "still.rpl"});
  ASSERT_TRUE(state.Init());
  ASSERT_TRUE(state.HasGhost());
  auto* liveCheckpoint = dynamic_cast<CCheckpoint*>(state.GetLevel()->FindObject("checkpoint"));
  auto* ghostCheckpoint =
      dynamic_cast<CCheckpoint*>(state.GetGhostLevel()->FindObject("checkpoint"));
  ASSERT_TRUE(liveCheckpoint && ghostCheckpoint);
  ASSERT_NE(liveCheckpoint, ghostCheckpoint);
  int moves = 0;
  for (int i = 0; i < 2600; ++i) {
    state.Update(kStep);
    for (const CSound* sound : audio.GetSounds())
      for (const char* name : {"sfx_run01", "sfx_jump", "sfx_wall_jump", "sfx_checkpoint"})
        moves += sound->fileName.find(name) != std::string::npos;
    audio.Update();
  }
  EXPECT_GT(state.GetGhost()->State().position.x, 7000.0f) << "the ghost went on";
  EXPECT_EQ(ghostCheckpoint->state, CCheckpoint::kActive) << "it took its own checkpoint";
  EXPECT_EQ(liveCheckpoint->state, CCheckpoint::kInactive) << "and not the player's";
  EXPECT_EQ(moves, 0) << "without a sound";
  state.Cleanup();
}

TEST_F(GameStateTest, ThePointerShowsOnTheFinishPanelOnly) {
  CGameState state({kSampleLevel, "", kSampleRun});
  ASSERT_TRUE(state.Init());
  for (int round = 0; round < 2; ++round) {
    EXPECT_FALSE(IsSystemCursorVisible()) << "in play, round " << round;
    ASSERT_GT(PlayToTheEnd(state), 0);
    EXPECT_TRUE(IsSystemCursorVisible()) << "on the panel, round " << round;
    state.Restart();
  }
  EXPECT_FALSE(IsSystemCursorVisible());
  state.Cleanup();
}

TEST_F(GameStateTest, AReplayedRunIsNoResultOfThePlayers) {
  CGameState state({kSampleLevel, kSampleRun, ""});
  ASSERT_TRUE(state.Init());
  ASSERT_GT(PlayToTheEnd(state), 0);
  EXPECT_FALSE(fs::exists("Saves/save.sav"));
  EXPECT_FALSE(fs::exists(kReplay));
  state.Cleanup();
}

TEST_F(GameStateTest, TheRestartKeyStartsOverOnlyInOwnPlay) {
  CInputManager input;
  auto pressR = [&](CGameState& state) {
    input.keys[0x52] = 1;
    state.Update(kStep);
    input.keysPrevious[0x52] = 1;
    input.keys[0x52] = 0;
    state.Update(kStep);
    input.keysPrevious[0x52] = 0;
  };
  CGameState state({kSampleLevel, "", kSampleRun});
  ASSERT_TRUE(state.Init());
  for (int i = 0; i < 600; ++i) state.Update(kStep);
  const Vector2 spawn = state.GetPlayer()->State().spawn;
  ASSERT_GT(state.GetPlayer()->State().position.x, spawn.x + 500);
  pressR(state);
  EXPECT_LT(state.GetPlayer()->State().position.x, spawn.x + 10) << "back at the start";
  EXPECT_LT(hud.time, 0.05f);
  EXPECT_EQ(state.GetPlayerController().record.size(), 1u) << "a new record from the restart";

  ASSERT_GT(PlayToTheEnd(state), 0);
  pressR(state);
  EXPECT_TRUE(state.IsFinished()) << "the finish panel does not restart";
  state.Cleanup();

  CGameState replayed({kSampleLevel, kSampleRun, ""});
  ASSERT_TRUE(replayed.Init());
  for (int i = 0; i < 600; ++i) replayed.Update(kStep);
  const float x = replayed.GetPlayer()->State().position.x;
  pressR(replayed);
  EXPECT_GT(replayed.GetPlayer()->State().position.x, x) << "a replay runs on";
  replayed.Cleanup();
}

TEST_F(GameStateTest, ALevelThatCannotBePlayedGoesBackWithOneReport) {
  // Underneath, what the level was started from.
  class Below : public IState {
  public:
    bool Init() override { return true; }
    void Cleanup() override {}
    void Pause() override {}
    void Resume() override {}
    void Restart() override {}
    bool Update(float) override { return true; }
    void Draw() override {}
  };
  // A map without tile layers has nothing to stand on.
  std::ofstream("Levels/flat.tmx")
      << "<?xml version=\"1.0\"?><map version=\"1.8\" orientation=\"orthogonal\" width=\"4\" "
         "height=\"4\" tilewidth=\"64\" tileheight=\"64\"></map>";
  const struct {
    const char* level;
    const char* report;
  } cases[] = {{"Levels/missing.tmx", "Map 'Levels/missing.tmx' cannot be read"},
               {"Levels/flat.tmx", "The level Levels/flat.tmx has no tile layer to stand on"}};
  for (const auto& c : cases) {
    IState* below = new Below;
    states.PushState(below);
    const std::size_t logBefore = Log().size();
    const int failuresBefore = CLoadingState::FailedLoads();
    states.PushState(new CLoadingState({c.level, "", ""}, true));
    states.Update(kStep);
    states.Update(kStep);
    EXPECT_EQ(states.GetTopState(), below) << c.level;
    EXPECT_EQ(CLoadingState::FailedLoads(), failuresBefore + 1);
    const std::string log = Log().substr(logBefore);
    int errors = 0;
    for (std::size_t at = log.find("Error: "); at != std::string::npos;
         at = log.find("Error: ", at + 1))
      ++errors;
    EXPECT_EQ(errors, 1) << log;
    EXPECT_NE(log.find(c.report), std::string::npos) << log;
    states.PopAllStates();
    states.Update(kStep);
  }
}

TEST_F(GameStateTest, TheLoadingStateHandsOverTheBuiltLevel) {
  // The dots: one in the first second, two in the second, three in the
  // third, then over again.
  {
    CLoadingState label({"Levels/missing.tmx", "", ""});
    std::string seen;
    std::string last;
    for (int i = 0; i < 3 * 120 + 10; ++i) {
      if (label.Label() != last) seen += " " + label.Label();
      last = label.Label();
      label.Update(kStep);
    }
    EXPECT_EQ(seen, " LOADING LOADING. LOADING.. LOADING... LOADING.");
  }
  ASSERT_TRUE(states.IsEmpty());

  auto* loading = new CLoadingState({kSampleLevel, "", ""}, true);
  states.PushState(loading);
  states.Update(kStep);
  auto* playing = dynamic_cast<CGameState*>(states.GetTopState());
  ASSERT_NE(playing, nullptr);
  EXPECT_TRUE(playing->IsInitialised());
  states.Update(kStep);  // the loading state goes
  EXPECT_EQ(states.GetBottomState(), playing);
  states.PopAllStates();
}

TEST(IngameHud, TheTimerStopsAtItsLargestValue) {
  CIngameHud hud;
  hud.timerRunning = true;
  hud.time = 999.98f;
  for (int i = 0; i < 10; ++i) hud.Update(kStep);
  EXPECT_GE(hud.time, 999.99f);
  EXPECT_LT(hud.time, 999.99f + kStep + 1e-3f);
  hud.timerRunning = false;
  hud.time = 5.0f;
  hud.Update(kStep);
  EXPECT_EQ(hud.time, 5.0f);
}

}  // namespace
