// The parallax background: slide factors from the level's width, following
// the camera, and what a missing picture or level does.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <fstream>

#include "app/Camera.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "level/Level.h"
#include "level/ParallaxBackground.h"
#include "platform/DecodedImage.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"

namespace {

// A level `tiles` tiles of 64 pixels wide.
std::unique_ptr<CLevel> LevelOfWidth(int tiles) {
  std::string data;
  for (int i = 0; i < tiles; ++i) data += i ? ",0" : "0";
  std::ofstream("wide.tmx")
      << "<map version=\"1.8\" orientation=\"orthogonal\" width=\"" << tiles
      << "\" height=\"1\" tilewidth=\"64\" tileheight=\"64\"><layer name=\"RunPlane\" width=\""
      << tiles << "\" height=\"1\"><data encoding=\"csv\">" << data << "</data></layer></map>";
  auto level = std::make_unique<CLevel>();
  EXPECT_TRUE(level->Load("wide.tmx"));
  return level;
}

void WriteLayers(const int widths[4]) {
  ASSERT_EQ(system("mkdir -p Graphics/Background"), 0);
  for (int i = 0; i < 4; ++i) {
    const std::string path = "Graphics/Background/bg_layer0" + std::to_string(i) + ".png";
    if (widths[i] == 0) {
      std::remove(path.c_str());
      continue;
    }
    ASSERT_TRUE(CDecodedImage::Filled(widths[i], 8, 0xff000000)->SavePng(path));
  }
}

}  // namespace

TEST(Parallax, FactorsFollowTheLevelWidth) {
  // 1280 px more than the screen on a level of ten times that: 0.1.
  const int widths[4] = {1280, 1280, 2560, 1280 + 640};
  WriteLayers(widths);
  CTextureManager textures;
  auto level = LevelOfWidth(200);  // 12 800 px
  CParallaxBackground background;
  background.Load(level.get());
  EXPECT_EQ(background.GetLayer(0).factorX, 0.0f) << "the back layer stands still";
  EXPECT_EQ(background.GetLayer(1).factorX, 0.0f) << "a screen-wide picture does not move";
  EXPECT_FLOAT_EQ(background.GetLayer(2).factorX, 0.1f);
  EXPECT_FLOAT_EQ(background.GetLayer(3).factorX, 0.05f);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(background.GetLayer(i).factorY, 0.0f);

  CCamera camera;
  camera.x = 6400;
  camera.y = 900;
  camera.offsetX = 10;
  background.Update(&camera);
  EXPECT_FLOAT_EQ(background.GetLayer(2).x, -641.0f) << "with the shake";
  EXPECT_EQ(background.GetLayer(2).y, 0.0f);
  EXPECT_EQ(background.GetLayer(0).x, 0.0f);

  // With the camera at the level's width the picture's right edge meets
  // the screen's.
  camera.offsetX = 0;
  camera.x = 12800;
  background.Update(&camera);
  EXPECT_FLOAT_EQ(background.GetLayer(2).x, -1280.0f);

  // The replay ghost has no camera: the layers stay.
  background.Update(nullptr);
  EXPECT_FLOAT_EQ(background.GetLayer(2).x, -1280.0f);
}

TEST(Parallax, MissingPicturesAndEmptyLevelsStandStill) {
  const int widths[4] = {1280, 0, 2560, 2560};
  WriteLayers(widths);
  CTextureManager textures;
  CParallaxBackground background;
  auto level = LevelOfWidth(20);
  background.Load(level.get());
  EXPECT_EQ(background.GetLayer(1).factorX, 0.0f) << "no picture";
  EXPECT_FALSE(background.GetLayer(1).texture);
  EXPECT_GT(background.GetLayer(2).factorX, 0.0f);

  CLevel empty;  // width 0
  background.Load(&empty);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(background.GetLayer(i).factorX, 0.0f) << i;
  background.Load(nullptr);
  EXPECT_EQ(background.GetLayer(3).factorX, 0.0f);
}

// Drawn block by block, leaving out what cannot show, the shipped layers
// make exactly the picture that drawing each of them whole makes.
TEST(Parallax, DrawingOnlyWhatShowsChangesNoPixel) {
  // A folder of its own: other tests here write pictures of their own.
  ASSERT_EQ(
      system("mkdir -p shipped && ln -sfn " KUROSHIN_SOURCE_DIR "/data/Graphics shipped/Graphics"),
      0);
  ASSERT_EQ(chdir("shipped"), 0);
  ASSERT_TRUE(InitVideo(true, StopSignals::EndAtOnce));
  {
    CTextureManager textures;
    CDirect3D d3d;
    ASSERT_TRUE(d3d.Init(d3d.CreateMainWindow(1280, 1024), 1280, 1024, false));
    auto level = LevelOfWidth(300);
    CParallaxBackground background;
    background.Load(level.get());
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(background.GetLayer(i).texture->coverage) << i;
    CCamera camera;
    for (const float x : {640.0f, 5000.33f, 19199.0f}) {
      camera.x = x;
      camera.y = 512.0f;
      background.Update(&camera);
      CSpriteBatch& batch = *d3d.GetSprite();
      d3d.BeginFrame();
      batch.Begin(SpriteBlend::Alpha);
      background.Draw();
      batch.End();
      const std::uint64_t blockQuads = batch.QuadCount();
      auto blocks = d3d.ReadFrame();
      d3d.BeginFrame();
      batch.Begin(SpriteBlend::Alpha);
      for (int i = 0; i < 4; ++i) {
        const CBGLayer& layer = background.GetLayer(i);
        batch.SetTransform(Matrix2D::Transformation2D({0, 0}, {1, 1}, {0, 0}, 0.0f,
                                                      {std::round(layer.x), std::round(layer.y)}));
        batch.Draw(layer.texture->Resolve(*d3d.GetRenderer()), nullptr, 0xffffffff);
      }
      batch.End();
      auto whole = d3d.ReadFrame();
      ASSERT_TRUE(blocks && whole);
      int different = 0;
      for (int py = 0; py < 1024; ++py)
        for (int px = 0; px < 1280; ++px)
          different += blocks->Pixel(px, py) != whole->Pixel(px, py);
      EXPECT_EQ(different, 0) << "camera at " << x;
      EXPECT_GT(blockQuads, 4u);
    }
  }
  ShutdownVideo();
  ASSERT_EQ(chdir(".."), 0);
}
