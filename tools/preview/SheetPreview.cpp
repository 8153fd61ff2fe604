// Draws every sheet of the asset list through the game's own sprite code,
// animated for a given time, into one 1280 x 1024 picture:
//   kuroshin_preview DATA_DIR OUT.png [SECONDS]
// Headless; for reviewing art as the game shows it.
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "graphics/AssetManifest.h"
#include "graphics/Direct3D.h"
#include "graphics/Sprite.h"
#include "graphics/TextureManager.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"
#include "tools/common/ScratchDirectory.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: %s DATA_DIR OUT.png [SECONDS]\n", argv[0]);
    return 2;
  }
  const std::string data = FromStartingDirectory(argv[1]) + "/";
  const std::string out = FromStartingDirectory(argv[2]);
  const double seconds = argc > 3 ? atof(argv[3]) : 0.5;
  if (!InitVideo(true)) return 1;
  int status = 0;
  {
    CTextureManager textures;
    CDirect3D d3d;
    if (!d3d.Init(d3d.CreateMainWindow(1280, 1024), 1280, 1024, false)) return 1;

    std::vector<std::unique_ptr<CSprite>> sprites;
    const int columns = 6;
    const int count = static_cast<int>(std::size(kImageAssets));
    const int rows = std::max(1, (count + columns - 1) / columns);
    const float cellW = 1280.0f / columns;
    const float cellH = 1024.0f / rows;
    for (int i = 0; i < count; ++i) {
      const ImageAsset& asset = kImageAssets[i];
      auto sprite = std::make_unique<CSprite>();
      sprite->Init(&d3d);
      TextureHandle texture = textures.GetTexture(data + std::string(asset.path));
      // Loop over the whole sheet so every frame shows up in time.
      if (!sprite->SetTexture(4, 4, asset.frameWidth, asset.frameHeight, 0.05f, texture)) continue;
      float scale = std::min(
          {1.0f, (cellW - 8) / sprite->GetFrameWidth(), (cellH - 8) / sprite->GetFrameHeight()});
      sprite->SetScale(scale, scale);
      // Anchor 4 centres the frame; scaling is about the frame's centre too.
      sprite->SetPosition(cellW * (i % columns + 0.5f), cellH * (i / columns + 0.5f));
      sprites.push_back(std::move(sprite));
    }
    for (int step = 0; step < static_cast<int>(std::lround(seconds * 120)); ++step)
      for (auto& sprite : sprites) sprite->Advance(1.0f / 120.0f);
    for (auto& sprite : sprites) sprite->Advance(0.0f);

    d3d.clearColour = 0xff7a4a6a;  // a dusk mauve, so ink and light both read
    d3d.BeginFrame();
    CSpriteBatch& batch = *d3d.GetSprite();
    batch.Begin(SpriteBlend::Alpha);
    TextureHandle sky = textures.GetTexture(data + "Graphics/Background/bg_layer00.png");
    if (sky && sky->HasTexture()) batch.Draw(sky->Resolve(*d3d.GetRenderer()), nullptr, 0xffffffff);
    for (auto& sprite : sprites) sprite->Draw(1.0f, nullptr);
    batch.End();
    if (!d3d.SaveFramePng(out)) status = 1;
  }
  ShutdownVideo();
  return status;
}
