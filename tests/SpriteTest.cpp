#include "graphics/Sprite.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/Camera.h"
#include "graphics/Particle.h"
#include "tests/support/ChildProcess.h"

namespace {

using Frame = std::pair<int, int>;  // column, row

TextureHandle Sheet(int width, int height) {
  auto cell = std::make_shared<TextureCell>();
  cell->pending = CDecodedImage::Filled(width, height, 0xffffffff);
  return cell;
}

// Frames visited, starting with the first, one frame per Advance.
std::vector<Frame> Visit(CSprite& sprite, int count) {
  std::vector<Frame> frames{{sprite.GetColumn(), sprite.GetRow()}};
  for (int i = 1; i < count; ++i) {
    sprite.Advance(0.02f);  // longer than the frame time: one frame each
    frames.push_back({sprite.GetColumn(), sprite.GetRow()});
  }
  return frames;
}

CSprite Animated(int mode, int columns, int rows) {
  CSprite sprite;
  EXPECT_TRUE(sprite.SetTexture(mode, 0, 10, 10, 0.01f, Sheet(10 * columns, 10 * rows)));
  return sprite;
}

std::string LastLogLine() {
  std::string log = ReadWholeFile("log.txt");
  if (log.empty()) return "";
  std::size_t start = log.rfind('\n', log.size() - 2);
  return log.substr(start == std::string::npos ? 0 : start + 1);
}

TEST(SpriteAnimation, RowModes) {
  CSprite once = Animated(0, 4, 2);
  EXPECT_EQ(Visit(once, 7),
            (std::vector<Frame>{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {3, 0}, {3, 0}, {3, 0}}));
  EXPECT_TRUE(once.IsFinished());

  CSprite loop = Animated(1, 3, 2);
  EXPECT_EQ(Visit(loop, 7),
            (std::vector<Frame>{{0, 0}, {1, 0}, {2, 0}, {0, 0}, {1, 0}, {2, 0}, {0, 0}}));
  EXPECT_FALSE(loop.IsFinished());

  // Frame 0 twice at the backward turn, the last frame once at the forward one.
  CSprite pingPong = Animated(2, 4, 1);
  std::vector<Frame> expected;
  for (int c : {0, 1, 2, 3, 2, 1, 0, 0, 1, 2, 3, 2, 1, 0, 0}) expected.push_back({c, 0});
  EXPECT_EQ(Visit(pingPong, 15), expected);
}

TEST(SpriteAnimation, SheetModes) {
  CSprite once = Animated(3, 2, 2);
  EXPECT_EQ(Visit(once, 6), (std::vector<Frame>{{0, 0}, {1, 0}, {0, 1}, {1, 1}, {1, 1}, {1, 1}}));
  EXPECT_TRUE(once.IsFinished());
  EXPECT_TRUE(once.IsAtLastFrame());

  CSprite loop = Animated(4, 2, 2);
  EXPECT_EQ(Visit(loop, 6), (std::vector<Frame>{{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 0}, {1, 0}}));

  CSprite pingPong = Animated(5, 3, 2);
  EXPECT_EQ(Visit(pingPong, 12), (std::vector<Frame>{{0, 0},
                                                     {1, 0},
                                                     {2, 0},
                                                     {0, 1},
                                                     {1, 1},
                                                     {2, 1},
                                                     {1, 1},
                                                     {0, 1},
                                                     {2, 0},
                                                     {1, 0},
                                                     {0, 0},
                                                     {1, 0}}));
}

TEST(SpriteAnimation, StrictFrameTiming) {
  CSprite sprite;
  ASSERT_TRUE(sprite.SetTexture(0, 0, 10, 10, 0.08f, Sheet(50, 10)));
  std::vector<int> changes;
  for (int step = 1; step <= 40; ++step) {
    int before = sprite.GetColumn();
    sprite.Advance(1.0f / 120.0f);
    if (sprite.GetColumn() != before) changes.push_back(step);
  }
  EXPECT_EQ(changes, (std::vector<int>{10, 20, 30, 40}));

  // Reaching the frame time exactly is not enough.
  CSprite exact;
  ASSERT_TRUE(exact.SetTexture(1, 0, 10, 10, 0.05f, Sheet(30, 10)));
  exact.Advance(0.025f);
  exact.Advance(0.025f);
  EXPECT_EQ(exact.GetColumn(), 0);
  exact.Advance(0.025f);
  EXPECT_EQ(exact.GetColumn(), 1);

  // However long the step, one frame at most.
  exact.Advance(10.0f);
  EXPECT_EQ(exact.GetColumn(), 2);
}

TEST(SpriteAnimation, SourceRectangles) {
  CSprite single;
  ASSERT_TRUE(single.SetTexture(1, 0, 0, 0, 0.0f, Sheet(64, 32)));
  for (int i = 0; i < 5; ++i) single.Advance(1.0f);
  EXPECT_EQ(single.GetSource(), (Rect{0, 0, 64, 32}));  // never inset

  CSprite sheet = Animated(4, 3, 2);
  EXPECT_EQ(sheet.GetSource(), (Rect{0, 0, 10, 10}));
  sheet.Advance(0.001f);  // no new frame yet, but the inset starts
  EXPECT_EQ(sheet.GetSource(), (Rect{1, 1, 10, 10}));
  for (int i = 0; i < 4; ++i) sheet.Advance(0.02f);
  EXPECT_EQ(sheet.GetSource(), (Rect{11, 11, 20, 20}));  // column 1, row 1
}

TEST(SpriteAnimation, CursorStaysInsideTheGrid) {
  // A sheet smaller than one frame is one frame.
  CSprite tiny;
  ASSERT_TRUE(tiny.SetTexture(1, 0, 64, 64, 0.01f, Sheet(32, 32)));
  EXPECT_EQ(tiny.GetColumns(), 1);
  EXPECT_EQ(tiny.GetRows(), 1);
  EXPECT_NE(LastLogLine().find("Warning: "), std::string::npos);
  for (int i = 0; i < 5; ++i) tiny.Advance(0.02f);
  EXPECT_EQ(tiny.GetColumn(), 0);

  // One column, two rows, ping-pong along the row.
  CSprite narrow = Animated(2, 1, 2);
  for (int i = 0; i < 10; ++i) {
    narrow.Advance(0.02f);
    ASSERT_EQ(narrow.GetColumn(), 0);
    ASSERT_EQ(narrow.GetRow(), 0);
  }
  CSprite narrowSheet = Animated(5, 1, 3);
  for (int i = 0; i < 20; ++i) {
    narrowSheet.Advance(0.02f);
    ASSERT_EQ(narrowSheet.GetColumn(), 0);
    ASSERT_GE(narrowSheet.GetRow(), 0);
    ASSERT_LT(narrowSheet.GetRow(), 3);
  }

  // A backward step left by ping-pong does not survive a change of mode.
  CSprite switched = Animated(2, 4, 1);
  Visit(switched, 5);  // 0 1 2 3 2: now going back
  switched.SetMode(1);
  switched.Advance(0.02f);
  EXPECT_EQ(switched.GetColumn(), 3);
  switched.Advance(0.02f);
  EXPECT_EQ(switched.GetColumn(), 0);

  // A finished animation starts over when its mode changes.
  CSprite done = Animated(0, 2, 1);
  Visit(done, 4);
  ASSERT_TRUE(done.IsFinished());
  done.SetMode(1);
  EXPECT_FALSE(done.IsFinished());
}

TEST(SpriteTexture, AssigningRules) {
  TextureHandle sheet = Sheet(40, 10);
  CSprite sprite;
  ASSERT_TRUE(sprite.SetTexture(1, 4, 10, 10, 0.01f, sheet));
  Visit(sprite, 3);
  ASSERT_EQ(sprite.GetColumn(), 2);
  // The same texture again changes only the mode.
  EXPECT_TRUE(sprite.SetTexture(0, 0, 20, 5, 0.5f, sheet));
  EXPECT_EQ(sprite.GetMode(), 0);
  EXPECT_EQ(sprite.GetColumn(), 2);
  EXPECT_EQ(sprite.GetFrameWidth(), 10);
  EXPECT_EQ(sprite.GetColumns(), 4);

  // Empty handles and released textures change nothing.
  for (TextureHandle bad : {TextureHandle(), std::make_shared<TextureCell>()}) {
    EXPECT_FALSE(sprite.SetTexture(3, 8, 5, 5, 0.1f, bad));
    EXPECT_EQ(LastLogLine(), "Warning: Could not assign texture to sprite. Texture not found!\n");
    EXPECT_EQ(sprite.GetMode(), 0);
    EXPECT_EQ(sprite.GetTexture(), sheet);
  }

  // A new texture starts at frame 0.
  ASSERT_TRUE(sprite.SetTexture(1, 0, 10, 10, 0.01f, Sheet(20, 20)));
  EXPECT_EQ(sprite.GetColumn(), 0);
  EXPECT_EQ(sprite.GetColumns(), 2);
  EXPECT_EQ(sprite.GetRows(), 2);
}

TEST(SpriteTexture, Anchors) {
  const float expected[9][2] = {{100, 200}, {68, 200},  {36, 200}, {100, 184}, {68, 184},
                                {36, 184},  {100, 168}, {68, 168}, {36, 168}};
  for (int anchor = 0; anchor < 9; ++anchor) {
    CSprite sprite;
    ASSERT_TRUE(sprite.SetTexture(1, anchor, 64, 32, 0.1f, Sheet(128, 32)));
    sprite.SetPosition(100, 200);
    sprite.Advance(0.0f);
    EXPECT_FLOAT_EQ(sprite.GetDrawX(), expected[anchor][0]) << anchor;
    EXPECT_FLOAT_EQ(sprite.GetDrawY(), expected[anchor][1]) << anchor;
  }
}

TEST(SpriteTexture, ParticleTypes) {
  CParticle particle;
  particle.SetType(7);  // unknown: unchanged
  EXPECT_EQ(particle.GetType(), 0);
  EXPECT_EQ(particle.GetTexture(), nullptr);
  // Without its image the particle keeps no texture and says so.
  particle.SetType(2);
  EXPECT_EQ(particle.GetType(), 2);
  EXPECT_EQ(LastLogLine(), "Warning: Could not assign texture to sprite. Texture not found!\n");
}

}  // namespace
