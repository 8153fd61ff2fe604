// kuroshin-verify's simulation of the sample level's solution run, loading
// left out: how many seconds of play are checked per second of wall time.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "tools/verify/RunCheck.h"

namespace {

void BM_VerifySampleRun(benchmark::State& bench) {
  namespace fs = std::filesystem;
  const fs::path source = KUROSHIN_SOURCE_DIR;
  const fs::path home = fs::current_path();
  fs::create_directories("VerifyBench");
  fs::current_path("VerifyBench");
  for (const char* folder : {"Graphics", "Values", "Audio"})
    if (!fs::exists(folder)) fs::create_directory_symlink(source / "data" / folder, folder);
  // The sample map two folders down, where its tileset names find Graphics.
  fs::create_directories("tests/levels");
  fs::copy_file(source / "tests/levels/Dusk Road.tmx", "tests/levels/Dusk Road.tmx",
                fs::copy_options::overwrite_existing);
  const std::string run = (source / "tests/levels/Dusk Road.rpl").string();
  std::int64_t steps = 0;
  for (auto _ : bench) {
    bench.PauseTiming();
    auto check = std::make_unique<CRunCheck>();
    std::string error;
    if (!check->Load("tests/levels/Dusk Road.tmx", run, error)) {
      bench.SkipWithError(error.c_str());
      break;
    }
    bench.ResumeTiming();
    const CRunCheck::Result result = check->Run();
    steps += result.steps;
    bench.PauseTiming();
    check.reset();
    bench.ResumeTiming();
  }
  fs::current_path(home);
  // Simulated seconds per second.
  bench.counters["realtime_x"] =
      benchmark::Counter(static_cast<double>(steps) / 120.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_VerifySampleRun)->Unit(benchmark::kMillisecond);

}  // namespace
