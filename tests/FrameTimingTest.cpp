#include "app/FixedStepAccumulator.h"

#include <gtest/gtest.h>

#include "app/SteppedClock.h"
#include "app/Timer.h"
#include "platform/Clock.h"

namespace {

class ManualClock final : public IClock {
public:
  std::int64_t Counter() override { return now; }
  std::int64_t Frequency() override { return 1'000'000; }
  void AdvanceSeconds(double seconds) { now += static_cast<std::int64_t>(seconds * 1e6); }
  std::int64_t now = 5'000'000;
};

// One frame of the loop: tick, then run the whole steps.
int Frame(ManualClock& clock, CTimer& timer, CFixedStepAccumulator& accumulator, double seconds) {
  clock.AdvanceSeconds(seconds);
  timer.Tick();
  return accumulator.Advance(timer.DeltaSeconds(),
                             [](float step) { EXPECT_FLOAT_EQ(step, 1.0f / 120.0f); });
}

TEST(FrameTiming, TimerMeasuresBetweenTicks) {
  ManualClock clock;
  CTimer timer(clock);
  EXPECT_EQ(CTimer::GetInstance(), &timer);
  EXPECT_DOUBLE_EQ(timer.DeltaSeconds(), 0.0);
  EXPECT_DOUBLE_EQ(timer.TotalSeconds(), 5.0);
  clock.AdvanceSeconds(0.5);
  timer.Tick();
  EXPECT_DOUBLE_EQ(timer.DeltaSeconds(), 0.5);
  EXPECT_DOUBLE_EQ(timer.TotalSeconds(), 5.5);
  timer.Tick();  // no time passed
  EXPECT_DOUBLE_EQ(timer.DeltaSeconds(), 0.0);
}

TEST(FrameTiming, StallIsCappedAtThirtyUpdates) {
  ManualClock clock;
  CTimer timer(clock);
  CFixedStepAccumulator accumulator;
  EXPECT_EQ(Frame(clock, timer, accumulator, 2.0), 30);
  // The rest of the stall is dropped, not made up later.
  EXPECT_LT(accumulator.Remainder(), CFixedStepAccumulator::kStep);
  EXPECT_EQ(Frame(clock, timer, accumulator, 0.0), 0);
  EXPECT_EQ(Frame(clock, timer, accumulator, 1.0 / 120.0 + 1e-6), 1);
}

TEST(FrameTiming, ShortFramesCarryOver) {
  ManualClock clock;
  CTimer timer(clock);
  CFixedStepAccumulator accumulator;
  EXPECT_EQ(Frame(clock, timer, accumulator, 0.005), 0);
  EXPECT_NEAR(accumulator.Remainder(), 0.005, 1e-9);
  EXPECT_EQ(Frame(clock, timer, accumulator, 0.005), 1);  // 10 ms: one step, 1.67 ms left
  EXPECT_NEAR(accumulator.Remainder(), 0.010 - 1.0 / 120.0, 1e-9);
  // 25 ms plus the carried 1.67 ms make three steps.
  EXPECT_EQ(Frame(clock, timer, accumulator, 0.025), 3);
  EXPECT_NEAR(accumulator.Remainder(), 0.035 - 4.0 / 120.0, 1e-9);
}

TEST(FrameTiming, ClockSteppingBackDoesNotStall) {
  CFixedStepAccumulator accumulator;
  accumulator.Add(0.005);
  accumulator.Add(-10.0);  // the clock jumped back
  EXPECT_NEAR(accumulator.Remainder(), 0.005, 1e-12);
  accumulator.Add(0.004);
  EXPECT_TRUE(accumulator.TakeStep());
  accumulator.Add(std::numeric_limits<double>::quiet_NaN());
  EXPECT_GE(accumulator.Remainder(), 0.0);
  EXPECT_LT(accumulator.Remainder(), CFixedStepAccumulator::kStep);
}

TEST(FrameTiming, SteppedClockGivesExactlyOneStepPerFrame) {
  CSteppedClock clock;
  CTimer timer(clock);
  CFixedStepAccumulator accumulator;
  int total = 0;
  for (int frame = 0; frame < 1000; ++frame) {
    clock.Advance();
    timer.Tick();
    int steps = accumulator.Advance(timer.DeltaSeconds(), [](float) {});
    ASSERT_EQ(steps, 1) << "frame " << frame;
    total += steps;
    timer.Tick();  // a state change in between sees no time pass
    ASSERT_EQ(timer.DeltaSeconds(), 0.0);
  }
  EXPECT_EQ(total, 1000);
  EXPECT_EQ(accumulator.Remainder(), 0.0);
}

}  // namespace
