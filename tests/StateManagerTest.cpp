#include "app/StateManager.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/IState.h"
#include "app/Timer.h"
#include "platform/Clock.h"

namespace {

using Journal = std::vector<std::string>;

// Writes every call it receives, with its name, into a shared journal.
class RecordingState final : public IState {
public:
  RecordingState(std::string stateName, Journal& log, bool initResult = true)
      : name(std::move(stateName)), journal(log), initOk(initResult) {}
  ~RecordingState() override { journal.push_back(name + ".~"); }

  bool Init() override {
    journal.push_back(name + ".Init");
    return initOk;
  }
  void Cleanup() override { journal.push_back(name + ".Cleanup"); }
  void Pause() override { journal.push_back(name + ".Pause"); }
  void Resume() override { journal.push_back(name + ".Resume"); }
  void Restart() override { journal.push_back(name + ".Restart"); }
  bool Update(float) override {
    journal.push_back(name + ".Update");
    if (onUpdate) return onUpdate();
    return true;
  }
  void Draw() override { journal.push_back(name + ".Draw"); }

  std::function<bool()> onUpdate;

private:
  std::string name;
  Journal& journal;
  bool initOk;
};

class StateManagerTest : public ::testing::Test {
protected:
  RecordingState* Make(const std::string& name, bool initOk = true) {
    return new RecordingState(name, journal, initOk);
  }
  // The journal since the last call.
  Journal Take() {
    Journal taken;
    taken.swap(journal);
    return taken;
  }

  Journal journal;
  CStateManager states;
};

TEST_F(StateManagerTest, FirstStateIsResumedInTheFirstUpdate) {
  EXPECT_EQ(CStateManager::GetInstance(), &states);
  RecordingState* intro = Make("intro");
  states.PushState(intro);
  EXPECT_EQ(Take(), (Journal{"intro.Init"}));
  EXPECT_EQ(states.GetCurrentState(), nullptr);
  states.Update(1.0f / 120);
  EXPECT_EQ(Take(), (Journal{"intro.Resume", "intro.Update"}));
  EXPECT_EQ(states.GetCurrentState(), intro);
  EXPECT_EQ(states.GetTopState(), intro);
  EXPECT_EQ(states.GetBottomState(), intro);
}

TEST_F(StateManagerTest, FailedInitDeletesAtOnceAndLeavesTheTopAlone) {
  RecordingState* menu = Make("menu");
  states.PushState(menu);
  states.Update(0.01f);
  Take();
  states.PushState(Make("broken", false));
  EXPECT_EQ(Take(), (Journal{"broken.Init", "broken.~"}));  // no Cleanup
  states.ChangeState(Make("broken2", false));
  EXPECT_EQ(Take(), (Journal{"broken2.Init", "broken2.~"}));
  states.Update(0.01f);
  EXPECT_EQ(Take(), (Journal{"menu.Update"}));  // neither paused nor resumed
  EXPECT_EQ(states.GetTopState(), menu);
  states.PushState(nullptr);
  states.ChangeState(nullptr);
  EXPECT_EQ(states.GetTopState(), menu);
}

TEST_F(StateManagerTest, StateFinishingItsUpdateDiesAtTheNextUpdate) {
  states.PushState(Make("menu"));
  RecordingState* game = Make("game");
  states.PushState(game);
  states.Update(0.01f);
  Take();
  game->onUpdate = [] { return false; };
  states.Update(0.01f);
  EXPECT_EQ(Take(), (Journal{"game.Update"}));  // still alive
  states.Update(0.01f);
  EXPECT_EQ(Take(),
            (Journal{"game.Pause", "game.Cleanup", "game.~", "menu.Resume", "menu.Update"}));
}

TEST_F(StateManagerTest, PushOverCurrentPausesItAtTheNextUpdate) {
  states.PushState(Make("game"));
  states.Update(0.01f);
  Take();
  states.PushState(Make("pause"));
  states.Update(0.01f);
  EXPECT_EQ(Take(), (Journal{"pause.Init", "game.Pause", "pause.Resume", "pause.Update"}));
  EXPECT_TRUE(states.PopState());
  states.Update(0.01f);
  EXPECT_EQ(Take(),
            (Journal{"pause.Pause", "pause.Cleanup", "pause.~", "game.Resume", "game.Update"}));
}

TEST_F(StateManagerTest, RestartFromPauseMenuOverGameplay) {
  states.PushState(Make("oldmenu"));
  states.PushState(Make("game"));
  RecordingState* pause = Make("pause");
  states.PushState(pause);
  states.Update(0.01f);
  Take();
  pause->onUpdate = [this] {
    states.PopAllStates();
    states.PushState(Make("menu"));
    return true;
  };
  states.Update(0.01f);
  EXPECT_EQ(Take(), (Journal{"pause.Update", "menu.Init"}));
  states.Update(0.01f);
  EXPECT_EQ(Take(), (Journal{"pause.Pause", "pause.Cleanup", "pause.~", "game.Pause",
                             "game.Cleanup", "game.~", "oldmenu.Pause", "oldmenu.Cleanup",
                             "oldmenu.~", "menu.Resume", "menu.Update"}));
}

TEST_F(StateManagerTest, ChangeStateInsideUpdateKeepsTheOldStateUntilNextStep) {
  RecordingState* loading = Make("loading");
  states.PushState(loading);
  states.Update(0.01f);
  Take();
  loading->onUpdate = [this] {
    states.ChangeState(Make("game"));
    return true;
  };
  states.Update(0.01f);
  EXPECT_EQ(Take(), (Journal{"loading.Update", "game.Init"}));
  EXPECT_EQ(states.GetCurrentState(), loading);  // still drawn this frame
  states.Update(0.01f);
  EXPECT_EQ(Take(), (Journal{"loading.Pause", "loading.Cleanup", "loading.~", "game.Resume",
                             "game.Update"}));
}

TEST_F(StateManagerTest, FalseFromUpdateAfterPushingDoesNotPopTheNewTop) {
  RecordingState* menu = Make("menu");
  states.PushState(menu);
  RecordingState* game = Make("game");
  states.PushState(game);
  states.Update(0.01f);
  Take();
  game->onUpdate = [this] {
    states.PushState(Make("pause"));
    return false;
  };
  states.Update(0.01f);
  EXPECT_EQ(Take(), (Journal{"game.Update", "pause.Init"}));
  game->onUpdate = nullptr;
  states.Update(0.01f);
  EXPECT_EQ(Take(), (Journal{"game.Pause", "pause.Resume", "pause.Update"}));
  EXPECT_EQ(states.GetBottomState(), menu);
  EXPECT_TRUE(states.PopState());
  EXPECT_EQ(states.GetTopState(), game);
}

TEST_F(StateManagerTest, EmptyStackIsSafe) {
  states.Update(0.01f);
  EXPECT_FALSE(states.PopState());
  EXPECT_EQ(states.GetTopState(), nullptr);
  EXPECT_EQ(states.GetBottomState(), nullptr);
  states.PushState(Make("only"));
  states.Update(0.01f);
  EXPECT_TRUE(states.PopState());
  EXPECT_TRUE(states.IsEmpty());
  Take();
  states.Update(0.01f);
  EXPECT_EQ(Take(), (Journal{"only.Pause", "only.Cleanup", "only.~"}));
  EXPECT_EQ(states.GetCurrentState(), nullptr);
  states.Update(0.01f);
  EXPECT_TRUE(Take().empty());
}

TEST(StateManagerShutdown, FinishesDyingStatesThenTheStackTopFirst) {
  Journal journal;
  {
    CStateManager states;
    states.PushState(new RecordingState("menu", journal));
    states.PushState(new RecordingState("game", journal));
    states.PushState(new RecordingState("pause", journal));
    states.Update(0.01f);
    states.PopState();  // waits in dying when the program ends
    journal.clear();
  }
  EXPECT_EQ(journal, (Journal{"pause.Pause", "pause.Cleanup", "pause.~", "game.Pause",
                              "game.Cleanup", "game.~", "menu.Pause", "menu.Cleanup", "menu.~"}));
  EXPECT_EQ(CStateManager::GetInstance(), nullptr);
}

class CountingClock final : public IClock {
public:
  std::int64_t Counter() override { return now; }
  std::int64_t Frequency() override { return 1000; }
  std::int64_t now = 0;
};

TEST(StateManagerTiming, PushAndChangeTickTheTimerSoLoadingTimeIsNotReplayed) {
  Journal journal;  // outlives the states that write into it
  CountingClock clock;
  CTimer timer(clock);
  CStateManager states;
  clock.now = 3000;  // the state took 3 s to start
  states.PushState(new RecordingState("slow", journal));
  clock.now = 3010;
  timer.Tick();
  EXPECT_NEAR(timer.DeltaSeconds(), 0.010, 1e-9);
  clock.now = 5000;
  states.ChangeState(new RecordingState("broken", journal, false));
  clock.now = 5005;
  timer.Tick();
  EXPECT_NEAR(timer.DeltaSeconds(), 0.005, 1e-9);
  clock.now = 6000;
  states.PopState();  // popping does not tick
  timer.Tick();
  EXPECT_NEAR(timer.DeltaSeconds(), 0.995, 1e-9);
}

}  // namespace
