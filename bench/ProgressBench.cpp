// Cost of the save profile at the end of a level, on a profile of 1 000
// levels (the whole file is rewritten each time), and how much of it the
// flush to disk takes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/SaveFolder.h"
#include "progress/ProgressStore.h"

namespace {

void WriteProfile() {
  std::filesystem::create_directories(SaveFolder());
  std::ofstream file(SavePath("bench.sav"), std::ios::binary);
  file << "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<Player>\n";
  for (int i = 0; i < 1000; ++i)
    file << "    <Level name=\"Levels/Chapter " << i / 20 << "/Level " << i << "\" time=\""
         << 60 + i % 97 << ".125\" scroll=\"" << i % 2 << "\" />\n";
  file << "</Player>\n";
}

// A faster run every time, so the file changes and is written.
void SaveLevelResult(benchmark::State& state) {
  WriteProfile();
  CProgressStore store;
  float seconds = 59.0f;
  for (auto _ : state) {
    seconds -= 0.001f;
    benchmark::DoNotOptimize(
        store.SaveLevelResult("bench", "Levels/Chapter 25/Level 500", seconds, true));
  }
}
BENCHMARK(SaveLevelResult)->Unit(benchmark::kMillisecond);

// A slower run: read, compare, nothing to write.
void SaveLevelResultUnchanged(benchmark::State& state) {
  WriteProfile();
  CProgressStore store;
  for (auto _ : state)
    benchmark::DoNotOptimize(
        store.SaveLevelResult("bench", "Levels/Chapter 25/Level 500", 500.0f, false));
}
BENCHMARK(SaveLevelResultUnchanged)->Unit(benchmark::kMillisecond);

void LoadProfile(benchmark::State& state) {
  WriteProfile();
  CProgressStore store;
  for (auto _ : state) {
    store.LoadProfile("bench");
    benchmark::DoNotOptimize(store.records.data());
  }
}
BENCHMARK(LoadProfile)->Unit(benchmark::kMillisecond);

// The flush alone: a file of the profile's size written and fsync'd.
void FlushProfileSizedFile(benchmark::State& state) {
  WriteProfile();
  const std::uintmax_t size = std::filesystem::file_size(SavePath("bench.sav"));
  const std::string bytes(size, 'x');
  for (auto _ : state) {
    int fd = ::open(SavePath("flush.tmp").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
    ::fsync(fd);
    ::close(fd);
  }
}
BENCHMARK(FlushProfileSizedFile)->Unit(benchmark::kMillisecond);

}  // namespace
