// One fixed step of the game's simulation without drawing: the hero (its
// rules, collision and effects) and every object of the sample level, the
// hero running and jumping through it. The simulation must run far faster
// than real time for replays to be checked quickly.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "tools/feel/PlayerRig.h"

namespace {

void BM_PlayerStepOnSampleLevel(benchmark::State& bench) {
  namespace fs = std::filesystem;
  const fs::path data = fs::path(KUROSHIN_SOURCE_DIR) / "data";
  PrepareGameDirectory(data.string(),
                       (fs::path(KUROSHIN_SOURCE_DIR) / "tests/levels/Player Test.tmx").string());
  if (!fs::exists("Levels/Chapter 1"))
    fs::create_directory_symlink(data / "Levels/Chapter 1", "Levels/Chapter 1");
  PlayerWorld world(false, "Levels/Chapter 1/01 Dusk Road.tmx");
  if (!world.initialised) {
    bench.SkipWithError("the hero did not load");
    return;
  }
  // Runs right, jumping now and then; a respawn or the finish starts over.
  world.controller.script = [](int step) -> std::uint8_t {
    return STEP_RIGHT | STEP_SPRINT | ((step % 90) < 40 ? STEP_JUMP : 0);
  };
  for (auto _ : bench) {
    if (world.Step()) world.player->Init(&world.controller, world.level.get(), false);
  }
  bench.SetItemsProcessed(bench.iterations());
  bench.counters["x"] = world.State().position.x;
}
BENCHMARK(BM_PlayerStepOnSampleLevel);

}  // namespace
