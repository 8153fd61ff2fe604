// The interface art against the code that draws it: the font image as the
// game's font code cuts and places its glyphs, and the panels against the
// places where the menus, the HUD and the loading screen put their texts.
// Reads data/ in the source tree and writes nothing there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "graphics/BitmapFont.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureHandle.h"
#include "platform/DecodedImage.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"

namespace {

const std::string kData = std::string(KUROSHIN_SOURCE_DIR) + "/data/";
const std::string kFontPath = kData + CBitmapFont::kDefaultPath;

std::unique_ptr<CDecodedImage> Load(const std::string& relative) {
  return CDecodedImage::Load(kData + relative);
}

CBitmapFont GameFont() {
  auto cell = std::make_shared<TextureCell>();
  cell->pending = CDecodedImage::Load(kFontPath);
  return CBitmapFont(cell);
}

unsigned Alpha(const CDecodedImage& image, int x, int y) { return image.Pixel(x, y) >> 24; }

// Every character the font can show: letters are folded, so one case will do.
std::string Printable() {
  std::string all;
  for (int c = 33; c < 127; ++c) all += static_cast<char>(c);
  return all;
}

TEST(InterfaceFont, EveryPrintableGlyphLiesInsideTheDrawnPartOfItsCell) {
  auto image = CDecodedImage::Load(kFontPath);
  ASSERT_TRUE(image);
  // Cells that do not divide the image would shift every row and column.
  ASSERT_EQ(image->Width() % 16, 0);
  ASSERT_EQ(image->Height() % 8, 0);
  CBitmapFont font = GameFont();
  ASSERT_TRUE(font.HasTexture());
  const int cellW = static_cast<int>(font.GlyphWidth());
  const int cellH = static_cast<int>(font.GlyphHeight());

  for (int code = 0; code < 128; ++code) {
    SCOPED_TRACE("code " + std::to_string(code));
    std::vector<GlyphQuad> quads =
        font.Layout(std::string(1, static_cast<char>(code)), nullptr, 1.0f, 0, 1.0f, 0, 0);
    ASSERT_EQ(quads.size(), 1u);
    const Rect& cut = quads[0].source;
    const int cellLeft = (code % 16) * cellW;
    const int cellTop = (code / 16) * cellH;
    int inkLeft = cellLeft + cellW, inkRight = -1, inked = 0;
    for (int y = cellTop; y < cellTop + cellH; ++y)
      for (int x = cellLeft; x < cellLeft + cellW; ++x) {
        if (Alpha(*image, x, y) == 0) continue;
        ++inked;
        inkLeft = std::min(inkLeft, x);
        inkRight = std::max(inkRight, x);
        // A clear column and row at the cut, so filtering never fetches
        // ink from past it; the line break and space are drawn too.
        EXPECT_GT(x, cut.left) << "ink left of the drawn part";
        EXPECT_LT(x, cut.right - 1) << "ink right of the drawn part";
        EXPECT_GT(y, cellTop) << "ink on the cell's top row";
        EXPECT_LT(y, cellTop + cellH - 1) << "ink on the cell's bottom row";
      }
    const bool printable = code > 32 && code < 127;
    if (!printable) {
      EXPECT_EQ(inked, 0) << "a character that is not printed has ink";
      continue;
    }
    ASSERT_GT(inked, 0) << "glyph '" << static_cast<char>(code) << "' is empty";
    // Centred: the ink's middle on the middle of what is drawn.
    const float inkMiddle = (inkLeft + inkRight + 1) * 0.5f;
    const float cutMiddle = (cut.left + cut.right) * 0.5f;
    EXPECT_NEAR(inkMiddle, cutMiddle, 1.5f) << "glyph '" << static_cast<char>(code) << "'";
  }
}

// Where a glyph's ink lands on the screen, for one quad of a layout.
struct InkBox {
  float left, right, top, bottom;
};

bool GlyphInk(const CDecodedImage& image, const GlyphQuad& quad, float scale, InkBox& box) {
  int left = quad.source.right, right = -1, top = quad.source.bottom, bottom = -1;
  for (int y = quad.source.top; y < quad.source.bottom; ++y)
    for (int x = quad.source.left; x < quad.source.right; ++x)
      if (Alpha(image, x, y) > 0) {
        left = std::min(left, x);
        right = std::max(right, x + 1);
        top = std::min(top, y);
        bottom = std::max(bottom, y + 1);
      }
  if (right < 0) return false;
  box = {quad.pen.x + scale * (left - quad.source.left),
         quad.pen.x + scale * (right - quad.source.left),
         quad.pen.y + scale * (top - quad.source.top),
         quad.pen.y + scale * (bottom - quad.source.top)};
  return true;
}

// The texts cut into lines that fit across the screen at a scale.
template <typename Texts>
std::vector<std::string> Lines(const CBitmapFont& font, const Texts& texts, float scale) {
  std::vector<std::string> lines;
  for (const std::string& text : texts) {
    std::string line;
    for (char c : text) {
      if (font.TextWidth(line + c, 0, 0, scale) > 1260.0f) {
        lines.push_back(line);
        line.clear();
      }
      line += c;
    }
    lines.push_back(line);
  }
  return lines;
}

unsigned Luma(unsigned argb) {
  return (((argb >> 16) & 0xff) * 3 + ((argb >> 8) & 0xff) * 6 + (argb & 0xff)) / 10;
}

TEST(InterfaceFont, PangramGlyphsKeepApartAtEveryScaleTheMenusUse) {
  auto image = CDecodedImage::Load(kFontPath);
  ASSERT_TRUE(image);
  const std::string texts[] = {"Sphinx of black quartz, judge my vow! 999.99 1280x1024 2/5 ----",
                               Printable()};
  // The HUD and the credits use the smallest, the finish time the largest.
  const float scales[] = {0.3f, 0.35f, 0.4f, 0.5f, 0.6f, 0.75f, 0.8f, 0.9f, 1.0f};

  ASSERT_TRUE(InitVideo(true));
  {
    auto d3d = std::make_unique<CDirect3D>();
    ASSERT_TRUE(d3d->Init(d3d->CreateMainWindow(1280, 1024), 1280, 1024));
    auto cell = std::make_shared<TextureCell>();
    cell->pending = CDecodedImage::Load(kFontPath);
    CBitmapFont font(cell);
    ASSERT_TRUE(font.HasTexture());

    int gapsLookedAt = 0;
    for (float scale : scales) {
      SCOPED_TRACE("scale " + std::to_string(scale));
      // The lines laid out and drawn through the game's font code, black
      // on white as the menus print on paper, one frame per scale.
      std::vector<std::vector<InkBox>> rows;
      d3d->clearColour = 0xffffffff;
      d3d->BeginFrame();
      d3d->GetSprite()->Begin(SpriteBlend::Alpha);
      float y = 4;
      for (const std::string& line : Lines(font, texts, scale)) {
        const float x = 6.37f;  // a fractional pen, as centred texts get
        std::vector<InkBox> boxes;
        for (const GlyphQuad& quad : font.Layout(line, nullptr, scale, 0, 1.0f, x, y)) {
          InkBox box;
          if (GlyphInk(*image, quad, scale, box)) boxes.push_back(box);
        }
        font.DrawText(line, nullptr, scale, 0, 0xff000000, 1.0f, x, y);
        rows.push_back(boxes);
        y += font.GlyphHeight() * scale;
      }
      ASSERT_LT(y, 1024.0f);
      d3d->GetSprite()->End();
      ASSERT_TRUE(d3d->SaveFramePng("interface_font.png"));
      if (const char* keep = std::getenv("KUROSHIN_FONT_PNG"))
        d3d->SaveFramePng(std::string(keep) + "-" + std::to_string(scale).substr(0, 4) + ".png");
      d3d->EndFrame();

      auto frame = CDecodedImage::Load("interface_font.png");
      ASSERT_TRUE(frame);
      for (const std::vector<InkBox>& boxes : rows) {
        ASSERT_FALSE(boxes.empty());
        for (std::size_t i = 0; i < boxes.size(); ++i) {
          const InkBox& box = boxes[i];
          ASSERT_LT(box.right, 1280.0f);
          // The glyph was drawn where the layout put it.
          unsigned darkest = 255;
          for (int py = static_cast<int>(box.top); py <= static_cast<int>(box.bottom); ++py)
            for (int px = static_cast<int>(box.left); px <= static_cast<int>(box.right); ++px)
              darkest = std::min(darkest, Luma(frame->Pixel(px, py)));
          EXPECT_LT(darkest, 128u) << "glyph " << i << " did not show";
          if (i == 0) continue;
          const InkBox& before = boxes[i - 1];
          EXPECT_LT(before.right, box.left) << "glyphs " << i - 1 << " and " << i << " touch";
          // Where the gap is three pixels or more, its middle column stays
          // paper (the renderer may put a glyph a pixel off its pen).
          if (box.left - before.right < 3.0f) continue;
          ++gapsLookedAt;
          const int mid = static_cast<int>((before.right + box.left) * 0.5f);
          const int top = static_cast<int>(std::max(before.top, box.top));
          const int bottom = static_cast<int>(std::min(before.bottom, box.bottom));
          for (int py = top; py < bottom; ++py)
            EXPECT_GT(Luma(frame->Pixel(mid, py)), 160u)
                << "ink between glyphs " << i - 1 << " and " << i << " at " << mid << ", " << py;
        }
      }
    }
    EXPECT_GT(gapsLookedAt, 100);
    d3d.reset();
  }
  ShutdownVideo();
}

// Share of a rectangle that is opaque paper light enough for black text.
double PaperShare(const CDecodedImage& image, float left, float top, float right, float bottom) {
  int paper = 0, all = 0;
  for (int y = static_cast<int>(top); y < static_cast<int>(bottom); ++y)
    for (int x = static_cast<int>(left); x < static_cast<int>(right); ++x) {
      ++all;
      unsigned p = image.Pixel(x, y);
      if ((p >> 24) == 255 && Luma(p) > 150) ++paper;
    }
  return all ? static_cast<double>(paper) / all : 0.0;
}

// A text's rectangle as the font lays it out (x by its alignment).
TextBounds TextBox(const CBitmapFont& font, const std::string& text, float scale, int align,
                   float x, float y) {
  TextBounds bounds;
  font.Layout(text, &bounds, scale, align, 1.0f, x, y);
  return bounds;
}

void ExpectOnPaper(const CDecodedImage& panel, const TextBounds& b, const std::string& what) {
  EXPECT_GE(b.left, 0) << what;
  EXPECT_LE(b.right, panel.Width()) << what;
  EXPECT_LE(b.bottom, panel.Height()) << what;
  EXPECT_GT(PaperShare(panel, b.left, b.top, b.right, b.bottom), 0.9) << what;
}

TEST(InterfaceArt, PanelsHaveRoomAndPaperWhereTheMenusPrint) {
  CBitmapFont font = GameFont();
  ASSERT_TRUE(font.HasTexture());
  auto menu = Load("Graphics/Misc/ui_menu_bg.png");
  ASSERT_TRUE(menu);
  // The title picture places the panel by its size: it must stay on screen.
  EXPECT_GE((1280 - menu->Width()) - 30, 0);
  EXPECT_GE((512 - menu->Height() / 2) + 60, 0);
  EXPECT_LE((512 - menu->Height() / 2) + 60 + menu->Height(), 1024);

  struct Item {
    const char* text;
    float x, y, scale;
    int align;
  };
  // Start screen (with the optional fifth row), pause, options and a level
  // row; the selected ones move right by 20, BACK grows and moves up.
  const Item items[] = {
      {"START", 150, 130, 0.75f, 0},
      {"OPTIONS", 150, 200, 0.75f, 0},
      {"ACHIEVEMENTS", 150, 270, 0.75f, 0},
      {"CREDITS", 150, 340, 0.75f, 0},
      {"EXIT", 150, 410, 0.75f, 0},
      {"RESUME GAME", 140, 140, 0.75f, 0},
      {"BACK TO MENU", 140, 320, 0.75f, 0},
      {"LEAVE GAME", 140, 380, 0.75f, 0},
      {"RESOLUTION", 120, 110, 0.6f, 0},
      {"FULLSCREEN", 120, 170, 0.6f, 0},
      {": OFF", 370, 170, 0.6f, 0},
      {"1280x1024", 425, 122, 0.3f, 2},
      {">>", 486, 122, 0.3f, 0},
      {"<<", 342, 122, 0.3f, 0},
      {"<<", 60, 80, 0.6f, 0},
      {">>", 480, 80, 0.6f, 0},
      {"01 Dusk Road", 110, 150, 0.4f, 0},
      {"035.12", 280, 425, 0.4f, 0},
      {"BACK", 300, 440, 0.9f, 2},
      {"BACK", 280, 440, 0.9f, 2},
  };
  for (const Item& item : items)
    ExpectOnPaper(*menu, TextBox(font, item.text, item.scale, item.align, item.x, item.y),
                  item.text);

  // The HUD: the time at (113, 43), half size, on the panel; the scroll
  // overlay is the same size, as both are placed by the overlay's width.
  auto hud = Load("Graphics/Misc/ui_ingame_bg.png");
  auto hudScroll = Load("Graphics/Misc/ui_ingame_scroll.png");
  ASSERT_TRUE(hud && hudScroll);
  EXPECT_EQ(hud->Width(), hudScroll->Width());
  EXPECT_EQ(hud->Height(), hudScroll->Height());
  EXPECT_GE(1280 - hudScroll->Width() - 5, 0);
  ExpectOnPaper(*hud, TextBox(font, "000.00", 0.5f, 0, 113, 43), "HUD time");

  // The finish panel: the widest time, full size, left of the link column.
  auto finish = Load("Graphics/Misc/ui_menu_bg_finisher.png");
  ASSERT_TRUE(finish);
  TextBounds time = TextBox(font, "000.00", 1.0f, 0, 175, 180);
  ExpectOnPaper(*finish, time, "finish time");
  EXPECT_LT(time.right, 480.0f);
  for (const Item& link : {Item{"RETRY", 500, 85, 0.75f, 0}, Item{"CONTINUE", 500, 145, 0.75f, 0},
                           Item{"BACK TO MENU", 500, 205, 0.75f, 0}})
    ExpectOnPaper(*finish, TextBox(font, link.text, link.scale, 0, link.x, link.y), link.text);
  // The scroll icon, 1.25 times its size, centred at (300, 130).
  auto icon = Load("Graphics/Misc/misc_scroll.png");
  ASSERT_TRUE(icon);
  EXPECT_LT(130 + icon->Height() * 1.25 / 2, time.top + 8);

  // The loading label on the loading picture.
  auto loading = Load("Graphics/Misc/misc_loading_screen.png");
  ASSERT_TRUE(loading);
  EXPECT_EQ(loading->Width(), 1280);
  EXPECT_EQ(loading->Height(), 1024);
  ExpectOnPaper(*loading, TextBox(font, "LOADING....", 0.8f, 0, 500, 850), "loading label");
}

TEST(InterfaceArt, CreditsPicturesFitBetweenTitleAndText) {
  auto menu = Load("Graphics/Misc/ui_menu_bg.png");
  ASSERT_TRUE(menu);
  CBitmapFont font = GameFont();
  const float titleBottom = 80 + font.GlyphHeight() * 0.6f;
  struct Page {
    int person;
    float x, y, bodyTop;
  };
  for (const Page& page :
       {Page{1, 250, 120, 320}, Page{2, 200, 120, 350}, Page{3, 200, 120, 350},
        Page{4, 250, 120, 320}, Page{5, 250, 120, 320}, Page{6, 250, 150, 320}}) {
    SCOPED_TRACE("person " + std::to_string(page.person));
    auto portrait = Load("Graphics/Misc/ui_portrait_" + std::to_string(page.person) + ".png");
    ASSERT_TRUE(portrait);
    EXPECT_GE(page.y, titleBottom);
    EXPECT_LE(page.y + portrait->Height(), page.bodyTop);
    EXPECT_LE(page.x + portrait->Width(), menu->Width());
  }
  // The legal page's logo: a third of its size, centred at (w / 2, 190).
  auto logo = Load("Graphics/Misc/ui_orvel_logo.png");
  ASSERT_TRUE(logo);
  EXPECT_GE(190 - logo->Height() * 0.3 / 2, titleBottom);
  EXPECT_LE(190 + logo->Height() * 0.3 / 2, 280);
  // Both intro logos whole on the screen, centred at (640, 462).
  for (const char* path : {"Graphics/Misc/ui_orvel_logo.png", "Graphics/Misc/ui_pellam_logo.png"}) {
    auto image = Load(path);
    ASSERT_TRUE(image) << path;
    EXPECT_LE(image->Width(), 1280) << path;
    EXPECT_LE(image->Height() / 2, 462) << path;
  }
}

TEST(InterfaceArt, BlendedImagesSuitTheirBlends) {
  // The sun is multiplied: every pixel counts, so it is opaque throughout,
  // white at its edges (where it meets the unchanged picture) and it does
  // darken somewhere.
  auto sun = Load("Graphics/Misc/ui_mainmenu_bg_sun.png");
  ASSERT_TRUE(sun);
  unsigned darkest = 255;
  for (int y = 0; y < sun->Height(); ++y)
    for (int x = 0; x < sun->Width(); ++x) {
      unsigned p = sun->Pixel(x, y);
      ASSERT_EQ(p >> 24, 255u) << x << ", " << y;
      darkest = std::min(darkest, Luma(p));
      const bool edge = x == 0 || y == 0 || x == sun->Width() - 1 || y == sun->Height() - 1;
      if (edge) {
        ASSERT_EQ(p & 0xffffff, 0xffffffu) << x << ", " << y;
      }
    }
  EXPECT_LT(darkest, 128u);

  // The fade overlay: one opaque black pixel, scaled over the screen and
  // made translucent by the code.
  auto overlay = Load("Graphics/Misc/misc_overlay.png");
  ASSERT_TRUE(overlay);
  EXPECT_EQ(overlay->Width(), 1);
  EXPECT_EQ(overlay->Height(), 1);
  EXPECT_EQ(overlay->Pixel(0, 0), 0xff000000u);

  // The title picture's layers fill the screen; the back one is opaque.
  for (const char* path :
       {"Graphics/Misc/ui_mainmenu_bg1.png", "Graphics/Misc/ui_mainmenu_bg2.png"}) {
    auto layer = Load(path);
    ASSERT_TRUE(layer) << path;
    EXPECT_EQ(layer->Width(), 1280) << path;
    EXPECT_EQ(layer->Height(), 1024) << path;
  }
  auto back = Load("Graphics/Misc/ui_mainmenu_bg1.png");
  ASSERT_TRUE(back);
  EXPECT_EQ(PaperShare(*back, 0, 0, 1280, 1024) > 0.5, true) << "the sun needs a light sky to show";
}

TEST(InterfaceArt, TransparentPixelsCarryNoColour) {
  // Colour under zero alpha still filters into edges and costs file size.
  const char* paths[] = {
      "Graphics/Misc/ui_font.png",
      "Graphics/Misc/ui_shuriken.png",
      "Graphics/Misc/ui_ingame_bg.png",
      "Graphics/Misc/ui_ingame_scroll.png",
      "Graphics/Misc/ui_mainmenu_bg2.png",
      "Graphics/Misc/ui_menu_bg.png",
      "Graphics/Misc/ui_menu_bg_finisher.png",
      "Graphics/Misc/ui_scroll.png",
      "Graphics/Misc/ui_scroll_grey.png",
      "Graphics/Misc/misc_scroll_grey.png",
      "Graphics/Misc/ui_orvel_logo.png",
      "Graphics/Misc/ui_pellam_logo.png",
      "Graphics/Misc/icon.png",
      "Graphics/Misc/ui_portrait_1.png",
      "Graphics/Pictures/tut_run.png",
      "Graphics/Pictures/tut_wall_jump.png",
  };
  for (const char* path : paths) {
    auto image = Load(path);
    ASSERT_TRUE(image) << path;
    int clear = 0;
    for (int y = 0; y < image->Height(); ++y)
      for (int x = 0; x < image->Width(); ++x) {
        unsigned p = image->Pixel(x, y);
        if ((p >> 24) != 0) continue;
        ++clear;
        ASSERT_EQ(p, 0u) << path << " at " << x << ", " << y;
      }
    EXPECT_GT(clear, 0) << path << " has no transparency to check";
  }
  auto icon = Load("Graphics/Misc/icon.png");
  ASSERT_TRUE(icon);
  EXPECT_EQ(icon->Width(), 256);
  EXPECT_EQ(icon->Height(), 256);
}

}  // namespace
