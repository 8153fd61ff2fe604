#include "graphics/Direct3D.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "graphics/DisplayModes.h"
#include "graphics/Letterbox.h"
#include "platform/Video.h"
#include "tests/support/ChildProcess.h"

namespace {

TEST(Letterbox, FitsTheVirtualScreenInBothDimensions) {
  EXPECT_EQ(ComputeLetterbox(1024, 768), (Rect{32, 0, 992, 768}));
  Rect wide = ComputeLetterbox(1920, 1080);
  EXPECT_EQ(wide.left, 285);
  EXPECT_EQ(wide.Width(), 1350);
  EXPECT_EQ(wide.Height(), 1080);
  EXPECT_EQ(ComputeLetterbox(1280, 1024), (Rect{0, 0, 1280, 1024}));
  // Narrower than 5:4: bars above and below instead of a cropped picture.
  EXPECT_EQ(ComputeLetterbox(800, 1024), (Rect{0, 192, 800, 832}));
  EXPECT_EQ(ComputeLetterbox(1080, 1920), (Rect{0, 528, 1080, 1392}));
  // Odd sizes stay inside the output.
  for (auto [w, h] :
       {std::pair{1279, 1023}, std::pair{1, 1}, std::pair{1366, 768}, std::pair{641, 2000}}) {
    Rect r = ComputeLetterbox(w, h);
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 0);
    EXPECT_LE(r.right, w);
    EXPECT_LE(r.bottom, h);
  }
}

TEST(DisplayModes, SizesListedTogetherAppearOnce) {
  std::vector<DisplayMode> modes = {{1920, 1080, 60, 1}, {1920, 1080, 50, 1}, {1280, 1024, 75, 1},
                                    {1280, 1024, 60, 1}, {1280, 1024, 60, 2}, {800, 600, 60, 1},
                                    {1280, 1024, 85, 1}};
  std::vector<DisplayMode> kept = DeduplicateDisplayModes(modes);
  // Only neighbours are merged: the later 1280 x 1024 stays.
  std::vector<DisplayMode> expected = {
      {1920, 1080, 60, 1}, {1280, 1024, 75, 1}, {800, 600, 60, 1}, {1280, 1024, 85, 1}};
  EXPECT_EQ(kept, expected);
  EXPECT_TRUE(DeduplicateDisplayModes({}).empty());
}

// Width and height of a PNG file from its header, (0, 0) when it is none.
std::pair<std::uint32_t, std::uint32_t> PngSize(const std::string& path) {
  std::string data = ReadWholeFile(path);
  if (data.size() < 24 || data.compare(1, 3, "PNG") != 0) return {0, 0};
  auto word = [&](std::size_t at) {
    return (std::uint32_t(std::uint8_t(data[at])) << 24) |
           (std::uint32_t(std::uint8_t(data[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(data[at + 2])) << 8) |
           std::uint32_t(std::uint8_t(data[at + 3]));
  };
  return {word(16), word(20)};
}

class DeviceTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(InitVideo(true)); }
  void TearDown() override {
    device.reset();
    ShutdownVideo();
  }
  CDirect3D& Open(unsigned width, unsigned height) {
    device = std::make_unique<CDirect3D>();
    CPlatformWindow* window = device->CreateMainWindow(width, height);
    EXPECT_NE(window, nullptr);
    EXPECT_TRUE(device->Init(window, width, height));
    return *device;
  }
  std::unique_ptr<CDirect3D> device;
};

TEST_F(DeviceTest, VirtualScreenOnlyWhenTheBackBufferIsNotItsSize) {
  CDirect3D& exact = Open(1280, 1024);
  EXPECT_EQ(CDirect3D::GetInstance(), &exact);
  EXPECT_FALSE(exact.UsesVirtualScreen());
  ASSERT_NE(exact.GetVirtualScreen(), nullptr);  // exists all the same
  EXPECT_EQ(exact.GetVirtualScreen()->Width(), 1280);
  EXPECT_EQ(exact.GetVirtualScreen()->Height(), 1024);
  EXPECT_TRUE(exact.IsFullScreen());
  EXPECT_TRUE(exact.IsVSync());
  EXPECT_FALSE(exact.NeedsReset());

  CDirect3D& small = Open(1024, 768);
  EXPECT_TRUE(small.UsesVirtualScreen());
  EXPECT_EQ(small.GetLetterbox(), (Rect{32, 0, 992, 768}));
  EXPECT_EQ(small.GetLetterboxLeft(), 32);
}

TEST_F(DeviceTest, SettersAskForAResetOnlyOnChange) {
  CDirect3D& d3d = Open(1024, 768);
  d3d.SetFullScreen(true);
  d3d.SetVSync(true);
  d3d.SetResolution(1024, 768);
  EXPECT_FALSE(d3d.NeedsReset());
  d3d.SetResolution(1280, 1024);
  EXPECT_TRUE(d3d.NeedsReset());
  EXPECT_FALSE(d3d.UsesVirtualScreen());
}

TEST_F(DeviceTest, ResetKeepsHandlesAndGivesThemNewTargets) {
  CDirect3D& d3d = Open(1024, 768);
  TextureHandle screen =
      d3d.CreateRenderTarget("virtScr", TEXTURE_USAGE_RENDERTARGET, TexturePool::Default);
  TextureHandle snapshot =
      d3d.CreateRenderTarget("snapshot", TEXTURE_USAGE_RENDERTARGET, TexturePool::Default);
  TextureHandle kept =
      d3d.CreateRenderTarget("kept", TEXTURE_USAGE_RENDERTARGET, TexturePool::Managed);
  ASSERT_TRUE(screen && snapshot && kept);
  EXPECT_EQ(screen->texture.get(), d3d.GetVirtualScreen());
  CPlatformTexture* managed = kept->texture.get();

  // Full screen off, then on again: two resets, each in two passes.
  for (bool full : {false, true}) {
    d3d.SetFullScreen(full);
    ASSERT_TRUE(d3d.NeedsReset());
    d3d.Reset();
    EXPECT_EQ(screen->texture, nullptr);  // released, the handle stays
    EXPECT_EQ(snapshot->texture, nullptr);
    EXPECT_TRUE(d3d.NeedsReset());
    d3d.Reset();
    EXPECT_FALSE(d3d.NeedsReset());
    EXPECT_TRUE(d3d.WasReset());
    d3d.ClearWasReset();
    ASSERT_NE(screen->texture, nullptr);
    EXPECT_NE(snapshot->texture, nullptr);
    EXPECT_EQ(screen->texture.get(), d3d.GetVirtualScreen());
    EXPECT_EQ(kept->texture.get(), managed);
    EXPECT_EQ(d3d.IsFullScreen(), full);
  }
  // The same names give the same cells.
  EXPECT_EQ(d3d.CreateRenderTarget("snapshot", 0, TexturePool::Default), snapshot);

  // A lost device resets the same way.
  d3d.MarkDeviceLost();
  d3d.Reset();
  d3d.Reset();
  EXPECT_FALSE(d3d.NeedsReset());
  EXPECT_NE(screen->texture, nullptr);
}

TEST_F(DeviceTest, FramesAreCapturedAtVirtualScreenSize) {
  for (auto [w, h] : {std::pair{1024u, 768u}, std::pair{1280u, 1024u}}) {
    CDirect3D& d3d = Open(w, h);
    d3d.clearColour = 0xff204060;
    d3d.BeginFrame();
    std::string path = "frame" + std::to_string(w) + ".png";
    ASSERT_TRUE(d3d.SaveFramePng(path));
    d3d.EndFrame();
    EXPECT_EQ(PngSize(path), (std::pair<std::uint32_t, std::uint32_t>{1280, 1024}));
  }
  CDirect3D& d3d = Open(1024, 768);
  d3d.BeginFrame();
  EXPECT_FALSE(d3d.SaveFramePng("no-such-dir/frame.png"));
}

}  // namespace
