#include "graphics/BitmapFont.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "graphics/Direct3D.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"

namespace {

// Cells of 32 x 40 pixels.
constexpr float kCellWidth = 32.0f;
constexpr float kCellHeight = 40.0f;

TextureHandle FontImage(int width = 16 * 32, int height = 8 * 40) {
  auto cell = std::make_shared<TextureCell>();
  cell->pending = CDecodedImage::Filled(width, height, 0xffffffff);
  return cell;
}

float Width(const CBitmapFont& font, const std::string& text, float scale = 1.0f) {
  return font.TextWidth(text, 0, CBitmapFont::kLeft, scale);
}

TEST(BitmapFont, GlyphSizeIsTheCellSize) {
  CBitmapFont font(FontImage());
  EXPECT_TRUE(font.HasTexture());
  EXPECT_EQ(font.GlyphWidth(), 32u);
  EXPECT_EQ(font.GlyphHeight(), 40u);
  // Sizes that do not divide evenly round down.
  CBitmapFont odd(FontImage(100, 50));
  EXPECT_EQ(odd.GlyphWidth(), 6u);
  EXPECT_EQ(odd.GlyphHeight(), 6u);
}

TEST(BitmapFont, EachCharacterAdvancesByItsOwnWidth) {
  const std::vector<std::pair<std::string, float>> table = {
      {"I", 0.3f},        {"1", 0.4f},
      {".AELNPRY", 0.5f}, {"3", 0.55f},
      {"DFQU", 0.7f},     {"24567", 0.75f},
      {"89M", 0.8f},      {"0Z", 0.9f},
      {"W", 1.0f},        {" BCGHJKOSTVX!?,:-'\"/\n\t", 0.6f}};
  CBitmapFont font(FontImage());
  for (const auto& [characters, factor] : table) {
    for (char c : characters) {
      std::string one(1, c);
      EXPECT_FLOAT_EQ(Width(font, one), factor * kCellWidth) << "'" << one << "'";
      EXPECT_FLOAT_EQ(Width(font, one, 2.5f), 2.5f * factor * kCellWidth) << "'" << one << "'";
    }
  }
  EXPECT_FLOAT_EQ(Width(font, std::string(1, '\0')), 0.6f * kCellWidth);
  EXPECT_FLOAT_EQ(Width(font, "WIN"), (1.0f + 0.3f + 0.5f) * kCellWidth);
}

TEST(BitmapFont, LowerCaseIsDrawnAsUpperCase) {
  CBitmapFont font(FontImage());
  std::string lower = "abcdefghijklmnopqrstuvwxyz";
  std::string upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  EXPECT_FLOAT_EQ(Width(font, lower), Width(font, upper));
  std::vector<GlyphQuad> a = font.Layout(lower, nullptr, 1.5f, CBitmapFont::kLeft, 1.0f, 3, 4);
  std::vector<GlyphQuad> b = font.Layout(upper, nullptr, 1.5f, CBitmapFont::kLeft, 1.0f, 3, 4);
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i].source, b[i].source) << i;
    EXPECT_EQ(a[i].pen.x, b[i].pen.x) << i;
  }
  // Neighbours of the letter range are not folded.
  EXPECT_NE(font.Layout("`", nullptr, 1, 0, 1, 0, 0)[0].source,
            font.Layout("@", nullptr, 1, 0, 1, 0, 0)[0].source);
  EXPECT_NE(font.Layout("{", nullptr, 1, 0, 1, 0, 0)[0].source,
            font.Layout("[", nullptr, 1, 0, 1, 0, 0)[0].source);
}

TEST(BitmapFont, GlyphIsCutFromTheMiddleOfItsCell) {
  CBitmapFont font(FontImage());
  auto source = [&](const std::string& text) {
    std::vector<GlyphQuad> quads = font.Layout(text, nullptr, 1, 0, 1, 0, 0);
    EXPECT_EQ(quads.size(), 1u);
    return quads.empty() ? Rect{} : quads[0].source;
  };
  // 'I' (73): column 9, row 4; advance 9.6 leaves 11.2 on either side.
  EXPECT_EQ(source("I"), (Rect{11 + 9 * 32, 4 * 40, 11 + 9 * 32 + 9, 5 * 40}));
  // 'W' (87) fills its cell.
  EXPECT_EQ(source("W"), (Rect{7 * 32, 5 * 40, 8 * 32, 6 * 40}));
  // Space (32): column 0, row 2; advance 19.2.
  EXPECT_EQ(source(" "), (Rect{6, 80, 6 + 19, 120}));
  // Code 0 and 127, the grid's corners.
  EXPECT_EQ(source(std::string(1, '\0')), (Rect{6, 0, 25, 40}));
  EXPECT_EQ(source("\x7f"), (Rect{6 + 15 * 32, 7 * 40, 25 + 15 * 32, 8 * 40}));
}

TEST(BitmapFont, SourcesStayInsideTheImage) {
  for (auto [w, h] : {std::pair{512, 320}, std::pair{100, 50}, std::pair{17, 9}}) {
    CBitmapFont font(FontImage(w, h));
    std::string every;
    for (int c = 1; c < 256; ++c) every += static_cast<char>(c);
    for (const GlyphQuad& quad : font.Layout(every, nullptr, 1, 0, 1, 0, 0)) {
      EXPECT_GE(quad.source.left, 0);
      EXPECT_GE(quad.source.top, 0);
      EXPECT_LE(quad.source.left, quad.source.right);
      EXPECT_LE(quad.source.right, w);
      EXPECT_LE(quad.source.bottom, h);
    }
  }
}

TEST(BitmapFont, CodesPastTheGridAdvanceLikeASpaceWithoutDrawing) {
  CBitmapFont font(FontImage());
  // "AéB" in UTF-8: two bytes past the grid.
  const std::string text =
      "A\xc3\xa9"
      "B";
  std::vector<GlyphQuad> quads = font.Layout(text, nullptr, 2.0f, CBitmapFont::kLeft, 1, 10, 0);
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_EQ(quads[1].source, font.Layout("B", nullptr, 1, 0, 1, 0, 0)[0].source);
  EXPECT_FLOAT_EQ(quads[1].pen.x, 10 + 2.0f * (0.5f + 0.6f + 0.6f) * kCellWidth);
  EXPECT_FLOAT_EQ(Width(font, "\xff"), Width(font, " "));
  EXPECT_TRUE(font.Layout("\x80\xff", nullptr, 1, 0, 1, 0, 0).empty());
}

TEST(BitmapFont, GlyphsArePlacedAtThePenAndScaled) {
  CBitmapFont font(FontImage());
  TextBounds bounds{};
  std::vector<GlyphQuad> quads =
      font.Layout("A B", &bounds, 2.0f, CBitmapFont::kLeft, 1.5f, 100.0f, 50.0f);
  ASSERT_EQ(quads.size(), 3u);
  const float pens[] = {100.0f, 100.0f + 32.0f, 100.0f + 32.0f + 38.4f};
  for (int i = 0; i < 3; ++i) {
    EXPECT_FLOAT_EQ(quads[i].pen.x, pens[i]);
    EXPECT_FLOAT_EQ(quads[i].pen.y, 50.0f);
    Vector2 origin = quads[i].transform.Apply({0, 0});
    Vector2 corner = quads[i].transform.Apply({10, 20});
    EXPECT_FLOAT_EQ(origin.x, pens[i]);
    EXPECT_FLOAT_EQ(origin.y, 50.0f);
    EXPECT_FLOAT_EQ(corner.x, pens[i] + 20.0f);
    EXPECT_FLOAT_EQ(corner.y, 50.0f + 40.0f);
  }
  EXPECT_EQ(quads[1].source, (Rect{6, 80, 25, 120}));  // the space is drawn too
  EXPECT_FLOAT_EQ(bounds.left, 100.0f);
  EXPECT_FLOAT_EQ(bounds.right, 100.0f + 2.0f * (0.5f + 0.6f + 0.6f) * kCellWidth);
  EXPECT_FLOAT_EQ(bounds.top, 50.0f);
  EXPECT_FLOAT_EQ(bounds.bottom - bounds.top, kCellHeight * 2.0f * 1.5f);
}

TEST(BitmapFont, RightAlignmentEndsAtX) {
  CBitmapFont font(FontImage());
  TextBounds bounds{};
  std::vector<GlyphQuad> quads =
      font.Layout("AB", &bounds, 1.0f, CBitmapFont::kRight, 1.0f, 500.0f, 0.0f);
  ASSERT_EQ(quads.size(), 2u);
  EXPECT_FLOAT_EQ(quads[0].pen.x, 500.0f - (16.0f + 19.2f));
  EXPECT_FLOAT_EQ(bounds.left, quads[0].pen.x);
  EXPECT_FLOAT_EQ(bounds.right, 500.0f);
  EXPECT_FLOAT_EQ(bounds.bottom, kCellHeight);

  // Later lines end at x too.
  quads = font.Layout("A\nWI", &bounds, 1.0f, CBitmapFont::kRight, 1.0f, 500.0f, 0.0f);
  ASSERT_EQ(quads.size(), 4u);
  EXPECT_FLOAT_EQ(quads[2].pen.x, 500.0f - (32.0f + 9.6f));
  EXPECT_FLOAT_EQ(quads[2].pen.y, kCellHeight);
  EXPECT_FLOAT_EQ(bounds.right, 500.0f);
}

TEST(BitmapFont, CentredLinesAreEachCentredOnTheirOwnWidth) {
  CBitmapFont font(FontImage());
  TextBounds bounds{};
  std::vector<GlyphQuad> quads =
      font.Layout("AB\nW", &bounds, 2.0f, CBitmapFont::kCentre, 1.5f, 600.0f, 100.0f);
  ASSERT_EQ(quads.size(), 4u);
  const float firstLine = 2.0f * (0.5f + 0.6f) * kCellWidth;
  EXPECT_FLOAT_EQ(quads[0].pen.x, 600.0f - 0.5f * firstLine);
  EXPECT_FLOAT_EQ(quads[1].pen.x, 600.0f - 0.5f * firstLine + 2.0f * 16.0f);
  // The break is drawn (cell 10) at the end of its line.
  EXPECT_EQ(quads[2].source, (Rect{6 + 10 * 32, 0, 25 + 10 * 32, 40}));
  EXPECT_FLOAT_EQ(quads[2].pen.x, 600.0f + 0.5f * firstLine);
  EXPECT_FLOAT_EQ(quads[2].pen.y, 100.0f);
  EXPECT_FLOAT_EQ(quads[3].pen.x, 600.0f - kCellWidth);
  EXPECT_FLOAT_EQ(quads[3].pen.y, 100.0f + kCellHeight * 2.0f * 1.5f);

  EXPECT_FLOAT_EQ(bounds.left, 600.0f - 0.5f * firstLine);
  EXPECT_FLOAT_EQ(bounds.top, 100.0f);
  EXPECT_FLOAT_EQ(bounds.right, 600.0f + kCellWidth);
  EXPECT_FLOAT_EQ(bounds.bottom, 100.0f + 2.0f * kCellHeight * 2.0f * 1.5f);
}

TEST(BitmapFont, TrailingBreakMovesOnlyTheLine) {
  CBitmapFont font(FontImage());
  TextBounds bounds{};
  font.Layout("W\n", &bounds, 1.0f, CBitmapFont::kCentre, 1.0f, 200.0f, 0.0f);
  EXPECT_FLOAT_EQ(bounds.left, 200.0f - 16.0f);
  EXPECT_FLOAT_EQ(bounds.right, 200.0f + 16.0f + 19.2f);
  EXPECT_FLOAT_EQ(bounds.bottom, 2.0f * kCellHeight);
}

TEST(BitmapFont, TextWidthFromAnIndex) {
  CBitmapFont font(FontImage());
  const std::string text = "WI\nWW";
  EXPECT_FLOAT_EQ(font.TextWidth(text, 1, CBitmapFont::kLeft, 1), 9.6f + 19.2f + 64.0f);
  EXPECT_FLOAT_EQ(font.TextWidth(text, 1, CBitmapFont::kRight, 1), 9.6f + 19.2f + 64.0f);
  // Centring measures only the line.
  EXPECT_FLOAT_EQ(font.TextWidth(text, 0, CBitmapFont::kCentre, 1), 32.0f + 9.6f);
  EXPECT_FLOAT_EQ(font.TextWidth(text, 3, CBitmapFont::kCentre, 1), 64.0f);
  EXPECT_EQ(font.TextWidth(text, 2, CBitmapFont::kCentre, 1), 0.0f);
  EXPECT_EQ(font.TextWidth(text, text.size(), CBitmapFont::kLeft, 1), 0.0f);
  EXPECT_EQ(font.TextWidth(text, text.size() + 10, CBitmapFont::kLeft, 1), 0.0f);
  EXPECT_EQ(font.TextWidth("", 0, CBitmapFont::kCentre, 1), 0.0f);
}

TEST(BitmapFont, WithoutAnImageNothingIsDrawnAndNothingIsWide) {
  std::vector<std::unique_ptr<CBitmapFont>> fonts;
  fonts.push_back(std::make_unique<CBitmapFont>(TextureHandle()));
  fonts.push_back(std::make_unique<CBitmapFont>(std::make_shared<TextureCell>()));
  fonts.push_back(std::make_unique<CBitmapFont>());  // no font image in the test's directory
  for (const auto& font : fonts) {
    EXPECT_FALSE(font->HasTexture());
    EXPECT_EQ(font->GlyphWidth(), 0u);
    EXPECT_EQ(font->GlyphHeight(), 0u);
    EXPECT_EQ(Width(*font, "HELLO"), 0.0f);
    TextBounds bounds{};
    EXPECT_TRUE(font->Layout("HE\nLLO", &bounds, 2, CBitmapFont::kCentre, 1, 40, 30).empty());
    EXPECT_EQ(bounds.left, 40.0f);
    EXPECT_EQ(bounds.right, 40.0f);
    EXPECT_EQ(bounds.top, 30.0f);
    EXPECT_EQ(bounds.bottom, 30.0f);
  }
}

class BitmapFontDrawTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(InitVideo(true));
    d3d = std::make_unique<CDirect3D>();
    CPlatformWindow* window = d3d->CreateMainWindow(1280, 1024);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(d3d->Init(window, 1280, 1024, false));
    ASSERT_NE(d3d->GetSprite(), nullptr);
  }
  void TearDown() override {
    d3d.reset();
    ShutdownVideo();
  }
  std::uint64_t QuadsDrawn(const CBitmapFont& font, const std::string& text, TextBounds* bounds) {
    CSpriteBatch* sprite = d3d->GetSprite();
    std::uint64_t before = sprite->QuadCount();
    sprite->Begin();
    font.DrawText(text, bounds, 1.5f, CBitmapFont::kCentre, 0xffffffff, 1.0f, 640, 500);
    sprite->End();
    return sprite->QuadCount() - before;
  }
  std::unique_ptr<CDirect3D> d3d;
};

TEST_F(BitmapFontDrawTest, DrawsTheLaidOutGlyphs) {
  CBitmapFont font(FontImage());
  const std::string text = "Time 042.50\n\xe2\x9c\x93 done";
  TextBounds drawn{}, laidOut{};
  std::size_t expected =
      font.Layout(text, &laidOut, 1.5f, CBitmapFont::kCentre, 1.0f, 640, 500).size();
  EXPECT_EQ(expected, text.size() - 3);
  EXPECT_EQ(QuadsDrawn(font, text, &drawn), expected);
  EXPECT_EQ(drawn.left, laidOut.left);
  EXPECT_EQ(drawn.right, laidOut.right);
  EXPECT_EQ(drawn.bottom, laidOut.bottom);

  // Without an image the bounds still come back.
  CBitmapFont none{TextureHandle()};
  TextBounds empty{1, 2, 3, 4};
  EXPECT_EQ(QuadsDrawn(none, text, &empty), 0u);
  EXPECT_EQ(empty.left, 640.0f);
  EXPECT_EQ(empty.top, 500.0f);
}

}  // namespace
