#include "app/MainLoop.h"

#include <gtest/gtest.h>

#include "app/IState.h"
#include "app/LoadingFlag.h"
#include "app/StateManager.h"
#include "app/SteppedClock.h"
#include "app/Timer.h"
#include "graphics/Direct3D.h"
#include "platform/Events.h"
#include "platform/Video.h"

namespace {

class CountingState final : public IState {
public:
  explicit CountingState(int& updateCount, int& drawCount)
      : updates(updateCount), draws(drawCount) {}
  bool Init() override { return true; }
  void Cleanup() override {}
  void Pause() override {}
  void Resume() override {}
  void Restart() override {}
  bool Update(float seconds) override {
    EXPECT_EQ(seconds, static_cast<float>(1.0 / 120.0));
    ++updates;
    return true;
  }
  void Draw() override { ++draws; }

private:
  int& updates;
  int& draws;
};

class MainLoopTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(InitVideo(true));
    device = std::make_unique<CDirect3D>();
    window = device->CreateMainWindow(1024, 768);
    ASSERT_TRUE(device->Init(window, 1024, 768));
  }
  void TearDown() override {
    loadingStates = 0;
    device.reset();  // before the video system goes
    ShutdownVideo();
  }
  bool Run(std::uint64_t frames, std::string screenshot = "") {
    CMainLoop loop(*device, states, timer, &clock, {frames, std::move(screenshot)});
    bool ok = loop.Run();
    rendered = loop.FramesRendered();
    return ok;
  }

  CSteppedClock clock;
  CTimer timer{clock};
  std::unique_ptr<CDirect3D> device;
  CPlatformWindow* window = nullptr;
  CStateManager states;
  std::uint64_t rendered = 0;
};

TEST_F(MainLoopTest, FixedStepRunsOneUpdateAndOneDrawPerFrame) {
  int updates = 0;
  int draws = 0;
  states.PushState(new CountingState(updates, draws));
  ASSERT_TRUE(Run(50));
  EXPECT_EQ(rendered, 50u);
  EXPECT_EQ(updates, 50);
  EXPECT_EQ(draws, 50);
  // A screenshot draws the last picture once more without updating.
  ASSERT_TRUE(Run(1, "shot.png"));
  EXPECT_EQ(updates, 51);
  EXPECT_EQ(draws, 52);
}

TEST_F(MainLoopTest, AnEmptyStackOrAQuitEndsTheLoop) {
  // Nothing left to show: one frame, and the program is done.
  ASSERT_TRUE(Run(3));
  EXPECT_EQ(rendered, 1u);
  int updates = 0;
  int draws = 0;
  states.PushState(new CountingState(updates, draws));
  PostQuit();
  ASSERT_TRUE(Run(0));  // would run on for ever without the quit
  EXPECT_EQ(rendered, 0u);
}

TEST_F(MainLoopTest, DeviceResetWaitsWhileALevelLoads) {
  int updates = 0;
  int draws = 0;
  states.PushState(new CountingState(updates, draws));
  device->SetFullScreen(false);
  ASSERT_TRUE(device->NeedsReset());
  loadingStates = 1;
  ASSERT_TRUE(Run(5));
  EXPECT_EQ(rendered, 5u);  // frames go on drawing the loading screen
  EXPECT_TRUE(device->NeedsReset());
  loadingStates = 0;
  ASSERT_TRUE(Run(1));
  EXPECT_FALSE(device->NeedsReset());
  EXPECT_TRUE(device->WasReset());
  EXPECT_FALSE(device->IsFullScreen());
}

}  // namespace
