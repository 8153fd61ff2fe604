// Drawing cost of a busy frame: N alpha-blended 128 x 128 sprites into the
// 1280 x 1024 virtual screen with the software renderer (headless).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "graphics/Direct3D.h"
#include "graphics/Sprite.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"

namespace {

void BM_DrawSprites(benchmark::State& state) {
  if (!InitVideo(true, StopSignals::EndAtOnce)) {
    state.SkipWithError("no video");
    return;
  }
  {
    auto d3d = std::make_unique<CDirect3D>();
    // Another size than 1280 x 1024, so drawing goes to the virtual screen.
    d3d->Init(d3d->CreateMainWindow(1024, 768), 1024, 768);
    auto cell = std::make_shared<TextureCell>();
    cell->pending = CDecodedImage::Filled(128, 128, 0x80ffffff);
    std::vector<CSprite> sprites(static_cast<std::size_t>(state.range(0)));
    for (std::size_t i = 0; i < sprites.size(); ++i) {
      sprites[i].SetTexture(1, 4, 0, 0, 0, cell);
      sprites[i].SetPosition(static_cast<float>((i * 37) % 1280),
                             static_cast<float>((i * 53) % 1024));
      if (state.range(1)) sprites[i].SetRotation(static_cast<float>(i % 360));
      sprites[i].Advance(0.0f);
    }
    for (auto _ : state) {
      d3d->BeginFrame();
      d3d->GetSprite()->Begin(SpriteBlend::Alpha);
      for (const CSprite& sprite : sprites) sprite.Draw(1.0f, nullptr);
      d3d->GetSprite()->End();
      d3d->EndFrame();
    }
    state.counters["sprites/s"] = benchmark::Counter(
        static_cast<double>(state.iterations() * state.range(0)), benchmark::Counter::kIsRate);
  }
  ShutdownVideo();
}
// Second argument: 1 turns every sprite by a different angle.
BENCHMARK(BM_DrawSprites)
    ->ArgsProduct({{100, 1000, 5000}, {0, 1}})
    ->ArgNames({"sprites", "rotated"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
