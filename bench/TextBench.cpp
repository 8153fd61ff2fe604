// Cost of a line of in-game text: the layout alone, and the layout drawn
// through the sprite batch into the 1280 x 1024 screen with the software
// renderer.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "graphics/BitmapFont.h"
#include "graphics/Direct3D.h"
#include "platform/PlatformRenderer.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"

namespace {

const std::string kLine = "Time 042.50  Deaths 017  Level: Kuroshin";  // 40 characters

TextureHandle FontImage() {
  auto cell = std::make_shared<TextureCell>();
  cell->pending = CDecodedImage::Filled(16 * 32, 8 * 40, 0xffffffff);
  return cell;
}

void BM_TextLayout(benchmark::State& state) {
  CBitmapFont font(FontImage());
  TextBounds bounds{};
  for (auto _ : state) {
    auto quads = font.Layout(kLine, &bounds, 1.0f, CBitmapFont::kCentre, 1.0f, 640.0f, 500.0f);
    benchmark::DoNotOptimize(quads.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kLine.size()));
}
BENCHMARK(BM_TextLayout);

void BM_TextDraw(benchmark::State& state) {
  if (!InitVideo(true, StopSignals::EndAtOnce)) {
    state.SkipWithError("no headless video");
    return;
  }
  {
    CDirect3D d3d;
    CPlatformWindow* window = d3d.CreateMainWindow(1280, 1024);
    CPlatformTexture* screen = nullptr;
    if (window && d3d.Init(window, 1280, 1024, false)) screen = d3d.GetVirtualScreen();
    if (!d3d.GetSprite() || !screen) {
      state.SkipWithError("no device");
    } else {
      CBitmapFont font(FontImage());
      CSpriteBatch* sprite = d3d.GetSprite();
      CPlatformRenderer* renderer = d3d.GetRenderer();
      renderer->SetTarget(screen);
      for (auto _ : state) {
        sprite->Begin();
        font.DrawText(kLine, nullptr, 1.0f, CBitmapFont::kCentre, 0xffffffff, 1.0f, 640.0f, 500.0f);
        sprite->End();
        // The renderer queues the geometry; leaving the target makes it draw.
        renderer->SetTarget(nullptr);
        renderer->SetTarget(screen);
      }
      state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kLine.size()));
    }
  }
  ShutdownVideo();
}
BENCHMARK(BM_TextDraw);

}  // namespace
