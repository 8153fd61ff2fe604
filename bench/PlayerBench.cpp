// One fixed step of the game's simulation without drawing: the hero (its
// rules, collision and effects) and every object of the sample level, the
// hero running and jumping through it. The simulation must run far faster
// than real time for replays to be checked quickly.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>

#include "tools/feel/PlayerRig.h"

namespace {

void BM_PlayerStepOnSampleLevel(benchmark::State& bench) {
  namespace fs = std::filesystem;
  const fs::path data = fs::path(KUROSHIN_SOURCE_DIR) / "data";
  // A game directory of its own: other benchmarks write a Values folder of
  // their own into the shared scratch directory.
  const fs::path home = fs::current_path();
  fs::create_directories("PlayerBench");
  fs::current_path("PlayerBench");
  PrepareGameDirectory(data.string(),
                       (fs::path(KUROSHIN_SOURCE_DIR) / "tests/levels/Player Test.tmx").string());
  // The sample map two folders down, where its tileset names find Graphics.
  fs::create_directories("tests/levels");
  fs::copy_file(fs::path(KUROSHIN_SOURCE_DIR) / "tests/levels/Dusk Road.tmx",
                "tests/levels/Dusk Road.tmx", fs::copy_options::overwrite_existing);
  PlayerWorld world(false, "tests/levels/Dusk Road.tmx");
  if (!world.initialised) {
    fs::current_path(home);
    bench.SkipWithError("the hero did not load");
    return;
  }
  // Runs right, jumping now and then, over the first 4500 pixels of the
  // level; then back to the start.
  world.controller.script = [](int step) -> std::uint8_t {
    return STEP_RIGHT | STEP_SPRINT | ((step % 90) < 40 ? STEP_JUMP : 0);
  };
  PlayerState& s = world.State();
  float furthest = 0.0f;
  for (auto _ : bench) {
    world.Step();
    furthest = std::max(furthest, s.position.x);
    if (world.controller.step % 900 == 0) {
      s.position = s.spawn;
      s.velocity = {};
    }
  }
  bench.SetItemsProcessed(bench.iterations());
  bench.counters["furthest_x"] = furthest;
  fs::current_path(home);
}
BENCHMARK(BM_PlayerStepOnSampleLevel);

}  // namespace
