#include "graphics/TextureManager.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <thread>

#include "graphics/Direct3D.h"
#include "platform/Clock.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"
#include "tests/support/ChildProcess.h"

namespace {

int CountLines(const std::string& text, const std::string& line) {
  int count = 0;
  for (std::size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1))
    ++count;
  return count;
}

// A PNG of one colour in the working directory.
std::string WriteImage(const std::string& name, int width, int height, unsigned argb) {
  auto image = CDecodedImage::Filled(width, height, argb);
  EXPECT_TRUE(image && image->SavePng(name));
  return name;
}

TEST(TextureCache, SharesOneCellPerPath) {
  CTextureManager textures;
  std::string path = WriteImage("shared.png", 8, 4, 0xff00ff00);
  TextureHandle a = textures.GetTexture(path);
  TextureHandle b = textures.GetTexture(path);
  ASSERT_TRUE(a);
  EXPECT_EQ(a, b);
  EXPECT_EQ(a->Width(), 8);
  EXPECT_EQ(a->Height(), 4);
  EXPECT_EQ(textures.CachedCount(), 1u);
  EXPECT_EQ(textures.GetTexture(""), nullptr);
}

TEST(TextureCache, FailedLoadsAreReportedEachTimeAndNotKept) {
  CTextureManager textures;
  ASSERT_EQ(mkdir("folder.png", 0755), 0);  // a directory where an image should be
  const std::pair<std::string, std::string> cases[] = {
      {"Graphics/none.png", "cannot be opened: No such file or directory"},
      {"folder.png", "not a regular file"}};
  for (const auto& [path, reason] : cases) {
    std::string before = ReadWholeFile("log.txt");
    EXPECT_EQ(textures.GetTexture(path), nullptr);
    EXPECT_EQ(textures.GetTexture(path), nullptr);
    std::string added = ReadWholeFile("log.txt").substr(before.size());
    const std::string line = "Error: Could not load texture " + path + ": " + reason + "\n";
    EXPECT_EQ(added, line + line);
  }
  EXPECT_EQ(textures.CachedCount(), 0u);
  EXPECT_EQ(CountLines(ReadWholeFile("log.txt"), "Could not load texture folder.png"), 2);
}

TEST(TextureCache, ReleaseAllEmptiesEveryCellAndKeepsThem) {
  auto textures = std::make_unique<CTextureManager>();
  TextureHandle a = textures->GetTexture(WriteImage("a.png", 2, 2, 0xffffffff));
  TextureHandle b = textures->GetTexture(WriteImage("b.png", 2, 2, 0xffffffff));
  textures->ReleaseAll();
  EXPECT_FALSE(a->HasTexture());
  EXPECT_FALSE(b->HasTexture());
  EXPECT_EQ(a->Width(), 0);
  EXPECT_EQ(textures->GetTexture("a.png"), a);  // the entry stays, released
  textures.reset();
  EXPECT_FALSE(a->HasTexture());  // holders outlive the cache safely
}

class FixedClock final : public IClock {
public:
  std::int64_t Counter() override { return now; }
  std::int64_t Frequency() override { return frequency; }
  std::int64_t now = 0;
  std::int64_t frequency = 1000;
};

TEST(FrameCounter, WindowsCloseAfterMoreThanASecond) {
  CTextureManager textures;
  FixedClock clock;
  textures.StartFrameCounter(clock);
  // 120 frames over 1.5 s, every 12.5 ms.
  for (int frame = 1; frame <= 120; ++frame) {
    clock.now = frame * 25 / 2;
    textures.CountFrame();
    if (clock.now <= 1000) {
      ASSERT_EQ(textures.GetFps(), 0u) << frame;
    }
  }
  // The window closed at the first frame past 1 s (frame 81, 1012 ms),
  // which is not counted itself.
  EXPECT_EQ(textures.GetFps(), 80u);

  // A window without frames gives 1, never 0.
  clock.now += 5000;
  textures.CountFrame();
  clock.now += 5000;
  textures.CountFrame();
  EXPECT_EQ(textures.GetFps(), 1u);
  // Exactly one second does not close a window.
  clock.now += 1000;
  textures.CountFrame();
  EXPECT_EQ(textures.GetFps(), 1u);

  FixedClock none;
  none.frequency = 0;
  CTextureManager withoutCounter;
  withoutCounter.StartFrameCounter(none);
  none.now = 1'000'000;
  withoutCounter.CountFrame();
  EXPECT_EQ(withoutCounter.GetFps(), 0u);
}

TEST(TextureCache, DecodedOnAnotherThreadDrawsOnTheMainThread) {
  ASSERT_TRUE(InitVideo(true));
  {
    CTextureManager textures;
    CDirect3D d3d;
    ASSERT_TRUE(d3d.Init(d3d.CreateMainWindow(1280, 1024), 1280, 1024));
    std::string path = WriteImage("loaded.png", 16, 16, 0xff3080c0);

    TextureHandle loaded;
    std::thread loader([&] { loaded = textures.GetTexture(path); });
    loader.join();
    ASSERT_TRUE(loaded);
    EXPECT_FALSE(loaded->texture);  // not on the renderer yet
    EXPECT_TRUE(loaded->pending);

    d3d.BeginFrame();
    CSpriteBatch& batch = *d3d.GetSprite();
    batch.Begin();
    batch.SetTransform(Matrix2D::Transformation2D({0, 0}, {4, 4}, {0, 0}, 0, {100, 100}));
    batch.Draw(loaded->Resolve(*d3d.GetRenderer()), nullptr, 0xffffffff);
    batch.End();
    EXPECT_TRUE(loaded->texture);
    EXPECT_FALSE(loaded->pending);
    ASSERT_TRUE(d3d.SaveFramePng("frame.png"));
    d3d.EndFrame();

    auto frame = CDecodedImage::Load("frame.png");
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->Pixel(132, 132) & 0xffffff, 0x3080c0u);
    EXPECT_EQ(frame->Pixel(90, 132) & 0xffffff, 0u);
    EXPECT_EQ(frame->Pixel(170, 132) & 0xffffff, 0u);
  }
  ShutdownVideo();
}

}  // namespace
