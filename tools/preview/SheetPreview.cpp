// Draws every sheet of the asset list through the game's own sprite code,
// animated for a given time, into one 1280 x 1024 picture:
//   kuroshin_preview DATA_DIR OUT.png [SECONDS] [PATH_PREFIX]
// Headless; for reviewing art as the game shows it. With a path prefix only
// the sheets under it are drawn, each in the play mode and by the anchor the
// list gives it, standing on a strip of ground tiles as in a level.
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
    fprintf(stderr, "usage: %s DATA_DIR OUT.png [SECONDS] [PATH_PREFIX]\n", argv[0]);
    return 2;
  }
  const std::string data = FromStartingDirectory(argv[1]) + "/";
  const std::string out = FromStartingDirectory(argv[2]);
  const double seconds = argc > 3 ? atof(argv[3]) : 0.5;
  const bool staged = argc > 4;
  const std::string prefix = staged ? argv[4] : "";
  if (!InitVideo(true, StopSignals::EndAtOnce)) return 1;
  int status = 0;
  {
    CTextureManager textures;
    CDirect3D d3d;
    if (!d3d.Init(d3d.CreateMainWindow(1280, 1024), 1280, 1024, false)) return 1;

    std::vector<const ImageAsset*> assets;
    for (const ImageAsset& asset : kImageAssets)
      if (asset.path.starts_with(prefix)) assets.push_back(&asset);
    std::vector<std::unique_ptr<CSprite>> sprites;
    const int columns = staged ? 5 : 6;
    const int count = static_cast<int>(assets.size());
    const int rows = std::max(1, (count + columns - 1) / columns);
    const float cellW = 1280.0f / columns;
    const float cellH = 1024.0f / rows;
    const float groundDepth = 32.0f;  // ground tiles showing under each staged cell
    for (int i = 0; i < count; ++i) {
      const ImageAsset& asset = *assets[i];
      auto sprite = std::make_unique<CSprite>();
      sprite->Init(&d3d);
      TextureHandle texture = textures.GetTexture(data + std::string(asset.path));
      // Unstaged, loop over the whole sheet so every frame shows up in time.
      const int mode = staged && asset.playMode >= 0 ? asset.playMode : 4;
      const int anchor = staged && asset.anchor >= 0 ? asset.anchor : 4;
      const float frameTime = staged ? 0.03f : 0.05f;
      if (!sprite->SetTexture(mode, anchor, asset.frameWidth, asset.frameHeight, frameTime,
                              texture))
        continue;
      const float frameW = static_cast<float>(sprite->GetFrameWidth());
      const float frameH = static_cast<float>(sprite->GetFrameHeight());
      const float room = staged ? cellH - groundDepth - 8 : cellH - 8;
      float scale = std::min({1.0f, (cellW - 8) / frameW, room / frameH});
      sprite->SetScale(scale, scale);
      // Scaling is about the frame's centre.
      float x = cellW * (i % columns + 0.5f);
      float y = cellH * (i / columns + 0.5f);
      if (staged) {
        // Feet one pixel into the ground, as the collision leaves them.
        const float ground = cellH * (i / columns + 1) - groundDepth + 1;
        if (anchor == 7) {
          y = ground + frameH / 2 * (1 - scale);
        } else if (anchor == 4 && frameH > 256) {
          y = ground;  // the burst frames centre on the feet
        } else if (anchor == 0) {
          x -= frameW / 2;
          y = ground - 8 - frameH / 2 - frameH / 2 * scale;
        }
      }
      sprite->SetPosition(x, y);
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
    TextureHandle ground = textures.GetTexture(data + "Graphics/Tiles/ink_ground.png");
    if (staged && ground && ground->HasTexture()) {
      // The tileset's top edge tile, in a row along the foot of every cell.
      const Rect top{64, 0, 128, 64};
      for (int row = 0; row < rows; ++row)
        for (int x = 0; x < 1280; x += 64) {
          batch.SetTransform(Matrix2D::Transformation2D(
              {}, {1, 1}, {}, 0, {static_cast<float>(x), cellH * (row + 1) - groundDepth}));
          batch.Draw(ground->Resolve(*d3d.GetRenderer()), &top, 0xffffffff);
        }
      batch.SetTransform(Matrix2D::Identity());
    }
    for (auto& sprite : sprites) sprite->Draw(1.0f, nullptr);
    batch.End();
    std::string error;
    if (!d3d.SaveFramePng(out, &error)) {
      fprintf(stderr, "could not write %s: %s\n", out.c_str(), error.c_str());
      status = 1;
    }
    // The renderer goes with d3d, before the cache: free its textures now.
    textures.ReleaseAll();
  }
  ShutdownVideo();
  return status;
}
