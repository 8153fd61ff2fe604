// Cost of the fixed-step machinery itself: the accumulator and the state
// stack's per-step bookkeeping, with a state that does nothing.
#include <benchmark/benchmark.h>

#include "app/FixedStepAccumulator.h"
#include "app/IState.h"
#include "app/StateManager.h"

namespace {

class IdleState final : public IState {
public:
  bool Init() override { return true; }
  void Cleanup() override {}
  void Pause() override {}
  void Resume() override {}
  void Restart() override {}
  bool Update(float) override { return true; }
  void Draw() override {}
};

void BM_StallCatchUp(benchmark::State& state) {
  CStateManager states;
  states.PushState(new IdleState());
  CFixedStepAccumulator accumulator;
  for (auto _ : state) {
    int steps = accumulator.Advance(2.0, [&](float step) { states.Update(step); });
    benchmark::DoNotOptimize(steps);
  }
}
BENCHMARK(BM_StallCatchUp);

}  // namespace
