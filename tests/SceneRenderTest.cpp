// A known scene drawn headless through the whole path (sprites, batch,
// virtual screen, screenshot), checked by the colours at chosen points.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include "graphics/BitmapFont.h"
#include "graphics/Direct3D.h"
#include "graphics/Sprite.h"
#include "graphics/TextureManager.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"

namespace {

TextureHandle Cell(std::unique_ptr<CDecodedImage> image) {
  auto cell = std::make_shared<TextureCell>();
  cell->pending = std::move(image);
  return cell;
}

// 64 x 64, left half red, right half green: mirroring and turning show.
TextureHandle TwoTone() {
  auto image = CDecodedImage::Filled(64, 64, 0xffff0000);
  image->Fill({32, 0, 64, 64}, 0xff00ff00);
  return Cell(std::move(image));
}

unsigned Rgb(const CDecodedImage& image, int x, int y) { return image.Pixel(x, y) & 0xffffff; }

void ExpectNear(unsigned actual, unsigned expected, const char* what) {
  for (int shift : {16, 8, 0}) {
    int a = (actual >> shift) & 0xff;
    int e = (expected >> shift) & 0xff;
    EXPECT_NEAR(a, e, 3) << what << std::hex << " got " << actual << " expected " << expected;
  }
}

TEST(SceneRender, SpritesAndTextLandWhereAndHowTheyShould) {
  ASSERT_TRUE(InitVideo(true));
  {
    auto d3d = std::make_unique<CDirect3D>();
    // Not the virtual screen's size, so the frame goes through "virtScr".
    ASSERT_TRUE(d3d->Init(d3d->CreateMainWindow(1024, 768), 1024, 768));
    ASSERT_TRUE(d3d->UsesVirtualScreen());
    TextureHandle twoTone = TwoTone();
    TextureHandle white = Cell(CDecodedImage::Filled(64, 64, 0xffffffff));
    CBitmapFont font(Cell(CDecodedImage::Filled(16 * 32, 8 * 40, 0xffffffff)));

    CSprite plain, turned, mirrored, red, tinted, bar;
    for (CSprite* sprite : {&plain, &turned, &mirrored, &red, &tinted, &bar})
      sprite->Init(d3d.get());
    ASSERT_TRUE(plain.SetTexture(1, 0, 0, 0, 0, twoTone));
    ASSERT_TRUE(turned.SetTexture(1, 0, 0, 0, 0, twoTone));
    ASSERT_TRUE(mirrored.SetTexture(1, 0, 0, 0, 0, twoTone));
    ASSERT_TRUE(red.SetTexture(1, 0, 0, 0, 0, twoTone));
    ASSERT_TRUE(tinted.SetTexture(1, 0, 0, 0, 0, white));
    // A 64 x 16 bar, red left and green right, mirrored and turned a quarter
    // (as trap doors are): it stands 16 wide and 64 high, green on top.
    auto barImage = CDecodedImage::Filled(64, 16, 0xffff0000);
    barImage->Fill({32, 0, 64, 16}, 0xff00ff00);
    ASSERT_TRUE(bar.SetTexture(1, 0, 0, 0, 0, Cell(std::move(barImage))));
    bar.SetPosition(300, 300);
    bar.SetScale(-1, 1);
    bar.SetRotation(90);
    plain.SetPosition(100, 100);
    turned.SetPosition(300, 100);
    turned.SetRotation(90);
    mirrored.SetPosition(500, 100);
    mirrored.SetScale(-1, 1);
    red.SetPosition(700, 300);
    tinted.SetPosition(700, 300);
    tinted.SetColour(0, 0, 255);
    tinted.SetAlpha(0.5f);
    for (CSprite* sprite : {&plain, &turned, &mirrored, &red, &tinted, &bar})
      sprite->Advance(1.0f / 120);

    d3d->clearColour = 0xff000000;
    d3d->BeginFrame();
    d3d->GetSprite()->Begin(SpriteBlend::Alpha);
    for (CSprite* sprite : {&plain, &turned, &mirrored, &red, &bar}) sprite->Draw(1.0f, nullptr);
    plain.SetPosition(100, 500);
    plain.Advance(0.0f);
    plain.Draw(1.0f, nullptr);
    plain.SetPosition(300, 500);
    plain.Advance(0.0f);
    plain.Draw(1.0f, nullptr);
    tinted.Draw(1.0f, nullptr);
    font.DrawText("WI", nullptr, 1.0f, CBitmapFont::kLeft, 0xffffff00, 1.0f, 900, 100);
    // Multiplying: half red over the two-tone square at the bottom left.
    CSpriteBatch& batch = *d3d->GetSprite();
    CPlatformTexture* whiteTexture = white->Resolve(*d3d->GetRenderer());
    batch.Begin(SpriteBlend::Multiply);
    batch.SetTransform(Matrix2D::Transformation2D({0, 0}, {1, 1}, {0, 0}, 0, {100, 500}));
    batch.Draw(whiteTexture, nullptr, 0xff80ffff);
    // Without blending the colour replaces what is there, alpha and all.
    batch.Begin(SpriteBlend::None);
    batch.SetTransform(Matrix2D::Transformation2D({0, 0}, {1, 1}, {0, 0}, 0, {300, 500}));
    batch.Draw(whiteTexture, nullptr, 0x400000ff);
    batch.End();
    ASSERT_TRUE(d3d->SaveFramePng("scene.png"));
    d3d->EndFrame();
    if (const char* keep = std::getenv("KUROSHIN_SCENE_PNG")) d3d->SaveFramePng(keep);
    d3d.reset();

    auto frame = CDecodedImage::Load("scene.png");
    ASSERT_TRUE(frame);
    ASSERT_EQ(frame->Width(), 1280);
    ASSERT_EQ(frame->Height(), 1024);
    // Opaque: red left, green right.
    ExpectNear(Rgb(*frame, 116, 132), 0xff0000, "plain left");
    ExpectNear(Rgb(*frame, 148, 132), 0x00ff00, "plain right");
    ExpectNear(Rgb(*frame, 90, 132), 0x000000, "outside");
    // Turned a quarter clockwise: the left half is now on top.
    ExpectNear(Rgb(*frame, 332, 116), 0xff0000, "turned top");
    ExpectNear(Rgb(*frame, 332, 148), 0x00ff00, "turned bottom");
    // Mirrored: green left, red right, in the same place.
    ExpectNear(Rgb(*frame, 516, 132), 0x00ff00, "mirrored left");
    ExpectNear(Rgb(*frame, 548, 132), 0xff0000, "mirrored right");
    // The bar spans x 324..340 and y 276..340.
    ExpectNear(Rgb(*frame, 332, 285), 0x00ff00, "mirrored and turned bar, top");
    ExpectNear(Rgb(*frame, 332, 331), 0xff0000, "mirrored and turned bar, bottom");
    ExpectNear(Rgb(*frame, 319, 300), 0x000000, "left of the bar");
    ExpectNear(Rgb(*frame, 345, 300), 0x000000, "right of the bar");
    ExpectNear(Rgb(*frame, 332, 270), 0x000000, "above the bar");
    // Half-transparent blue over red, and over black.
    ExpectNear(Rgb(*frame, 716, 332), 0x7f007f, "tinted over red");
    ExpectNear(Rgb(*frame, 748, 332), 0x007f7f, "tinted over green");
    // Text in yellow: "W" is a full cell, "I" only the middle 9 pixels of its.
    ExpectNear(Rgb(*frame, 916, 120), 0xffff00, "W");
    ExpectNear(Rgb(*frame, 936, 120), 0xffff00, "I");
    ExpectNear(Rgb(*frame, 945, 120), 0x000000, "after I");
    ExpectNear(Rgb(*frame, 116, 532), 0x800000, "multiplied red");
    ExpectNear(Rgb(*frame, 148, 532), 0x00ff00, "multiplied green");
    ExpectNear(Rgb(*frame, 316, 532), 0x0000ff, "replaced");
  }
  ShutdownVideo();
}

TEST(SceneRender, VersionLabelIsDrawnWhiteAtTheBottomRight) {
  ASSERT_TRUE(mkdir("Graphics", 0755) == 0 && mkdir("Graphics/Misc", 0755) == 0);
  ASSERT_TRUE(
      CDecodedImage::Filled(16 * 32, 8 * 40, 0xffffffff)->SavePng("Graphics/Misc/ui_font.png"));
  ASSERT_TRUE(InitVideo(true));
  {
    CTextureManager textures;
    auto d3d = std::make_unique<CDirect3D>();
    ASSERT_TRUE(d3d->Init(d3d->CreateMainWindow(1280, 1024), 1280, 1024));
    d3d->BeginFrame();
    d3d->DrawVersionLabel();
    ASSERT_TRUE(d3d->SaveFramePng("label.png"));
    d3d->EndFrame();
    d3d.reset();
    auto frame = CDecodedImage::Load("label.png");
    ASSERT_TRUE(frame);
    ExpectNear(Rgb(*frame, 1175, 1000), 0xffffff, "label");
    ExpectNear(Rgb(*frame, 1165, 1000), 0x000000, "left of the label");
    ExpectNear(Rgb(*frame, 1175, 985), 0x000000, "above the label");
  }
  ShutdownVideo();
}

}  // namespace
