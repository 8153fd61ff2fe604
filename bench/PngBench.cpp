// Cost of reading every shipped picture (data/Graphics, all PNG) through the
// game's loader, and of writing one 1280 x 1024 screenshot.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/DecodedImage.h"

namespace {

std::vector<std::string> ShippedPngs() {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  for (const auto& entry :
       fs::recursive_directory_iterator(std::string(KUROSHIN_SOURCE_DIR) + "/data/Graphics"))
    if (entry.is_regular_file() && entry.path().extension() == ".png")
      files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

void BM_DecodeShippedPngs(benchmark::State& state) {
  const std::vector<std::string> files = ShippedPngs();
  double pixels = 0;
  for (auto _ : state) {
    for (const std::string& file : files) {
      auto image = CDecodedImage::Load(file);
      if (!image) {
        state.SkipWithError(("cannot load " + file).c_str());
        return;
      }
      pixels += static_cast<double>(image->Width()) * image->Height();
    }
  }
  state.counters["files"] = static_cast<double>(files.size());
  state.counters["pixels/s"] = benchmark::Counter(pixels, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DecodeShippedPngs)->Unit(benchmark::kMillisecond);

void BM_WriteScreenshot(benchmark::State& state) {
  // A picture with flat areas and detail, as a frame of the game has.
  auto image = CDecodedImage::Filled(1280, 1024, 0xff202830);
  for (int y = 0; y < 1024; y += 3)
    for (int x = (y * 7) % 5; x < 1280; x += 5)
      image->SetPixel(x, y, 0xff000000u | static_cast<unsigned>(x * 2654435761u >> 8));
  for (auto _ : state) {
    if (!image->SavePng("bench-screenshot.png")) {
      state.SkipWithError("cannot write the screenshot");
      return;
    }
  }
}
BENCHMARK(BM_WriteScreenshot)->Unit(benchmark::kMillisecond);

}  // namespace
