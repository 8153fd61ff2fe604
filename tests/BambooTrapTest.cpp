// Bamboo: every piece in every direction and corner is deadly exactly where
// it is drawn, also with a picture that is not square and boxes that are
// not symmetric, from the first step; an unknown piece is reported.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>

#include "graphics/Direct3D.h"
#include "graphics/Sprite.h"
#include "graphics/TextureManager.h"
#include "platform/DecodedImage.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/GameData.h"
#include "traps/BambooTrap.h"

namespace fs = std::filesystem;

namespace {

constexpr float kStep = 1.0f / 120;

// A picture that is opaque exactly inside `box` (its hit box file says the
// same), so where it is drawn is where it must kill.
void WritePiece(const std::string& image, const std::string& boxFile, int width, int height,
                const CHitBox& box) {
  auto picture = CDecodedImage::Filled(width, height, 0);
  for (int y = static_cast<int>(box.top); y < static_cast<int>(box.bottom); ++y)
    for (int x = static_cast<int>(box.left); x < static_cast<int>(box.right); ++x)
      picture->SetPixel(x, y, 0xffffffff);
  ASSERT_TRUE(picture->SavePng("Graphics/Traps/" + image));
  WriteTextFile("Values/Trap Collisions/" + boxFile + ".hitbox.xml",
                "<hitboxes><hitbox x=\"" + std::to_string(box.left) + "\" y=\"" +
                    std::to_string(box.top) + "\" width=\"" + std::to_string(box.right - box.left) +
                    "\" height=\"" + std::to_string(box.bottom - box.top) + "\"/></hitboxes>");
}

// The rectangle of everything drawn (right and bottom exclusive).
CHitBox Drawn(CDirect3D& d3d, CBambooTrap& trap) {
  d3d.clearColour = 0xff000000;
  d3d.BeginFrame();
  d3d.GetSprite()->Begin(SpriteBlend::Alpha);
  trap.Draw(0, 0);
  d3d.GetSprite()->End();
  auto image = d3d.ReadFrame();
  CHitBox box(1e9f, -1e9f, 1e9f, -1e9f);
  for (int y = 0; image && y < image->Height(); ++y) {
    for (int x = 0; x < image->Width(); ++x) {
      if ((image->Pixel(x, y) & 0xffffff) < 0x808080) continue;
      box.top = std::min(box.top, float(y));
      box.bottom = std::max(box.bottom, float(y + 1));
      box.left = std::min(box.left, float(x));
      box.right = std::max(box.right, float(x + 1));
    }
  }
  return box;
}

}  // namespace

TEST(BambooTrap, DeadlyWhereDrawnInEveryPieceAndDirection) {
  CGameDataDirectory data;
  // Pictures of our own instead of the game's (which stay untouched).
  fs::remove("Graphics");
  fs::create_directories("Graphics/Traps");
  // Row pieces wider than high; every box off-centre.
  WritePiece("trp_bamboo_l.png", "BambooSmall", 64, 32, {10, 32, 2, 50});
  WritePiece("trp_bamboo_m.png", "BambooSmall", 64, 32, {10, 32, 2, 50});
  WritePiece("trp_bamboo_r.png", "BambooSmall", 64, 32, {10, 32, 2, 50});
  WritePiece("trp_bamboo.png", "BambooLarge", 64, 64, {15, 64, 8, 56});
  WritePiece("trp_bamboo_corner_in.png", "BambooCornerIn", 64, 64, {6, 64, 12, 64});
  WritePiece("trp_bamboo_corner_out.png", "BambooCornerOut", 64, 64, {19, 64, 22, 62});

  ASSERT_TRUE(InitVideo(true));
  {
    CTextureManager textures;
    auto d3d = std::make_unique<CDirect3D>();
    ASSERT_TRUE(d3d->Init(d3d->CreateMainWindow(1280, 1024), 1280, 1024));
    const struct {
      const char* type;  // null: no property
      const char* key;
      const char* way;
      int direction;
    } cases[] = {
        {nullptr, nullptr, nullptr, CBambooTrap::kUp}, {"large", "dir", "left", CBambooTrap::kLeft},
        {"l", "dir", "up", CBambooTrap::kUp},          {"l", "dir", "left", CBambooTrap::kLeft},
        {"m", "dir", "right", CBambooTrap::kRight},    {"m", "dir", "down", CBambooTrap::kDown},
        {"r", "dir", "sideways", CBambooTrap::kDown},  {"cin", "cdir", "tl", CBambooTrap::kUp},
        {"cin", "cdir", "tr", CBambooTrap::kUp},       {"cin", "cdir", "bl", CBambooTrap::kDown},
        {"cin", "cdir", "br", CBambooTrap::kDown},     {"cout", "cdir", "tr", CBambooTrap::kUp},
        {"cout", "cdir", "bl", CBambooTrap::kDown},    {"cout", "cdir", "xx", CBambooTrap::kUp},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.type ? c.type : "(none)") + " " + (c.way ? c.way : ""));
      CBambooTrap trap;
      trap.x = 600;
      trap.y = 500;
      if (c.type) trap.properties = {{"type", c.type}, {c.key, c.way}};
      trap.Init();
      ASSERT_NE(trap.GetSprite(), nullptr);
      EXPECT_EQ(trap.direction, c.direction);
      const CHitBox first = trap.hitBox;
      const CHitBox drawn = Drawn(*d3d, trap);
      for (const auto& [placed, seen] : {std::pair{first.top, drawn.top},
                                         {first.bottom, drawn.bottom},
                                         {first.left, drawn.left},
                                         {first.right, drawn.right}})
        EXPECT_NEAR(placed, seen, 1.0f) << "the box is where the picture is drawn";
      trap.Update(kStep, true);
      EXPECT_EQ(trap.hitBox.top, first.top) << "placed by Init: deadly from the first step";
      EXPECT_EQ(trap.hitBox.left, first.left);
      trap.Reset();
      trap.SetActive(false);
      trap.Update(kStep, true);
      EXPECT_EQ(trap.hitBox.right, first.right) << "nothing switches it off";
    }
  }
  ShutdownVideo();
}

TEST(BambooTrap, AnUnknownPieceIsReportedAndKeepsTheSmallBox) {
  CGameDataDirectory data;
  CTextureManager textures;
  const std::string log = data.Home() + "/log.txt";
  const std::size_t before = ReadWholeFile(log).size();
  CBambooTrap trap;
  trap.name = "spikes";
  trap.type = "trap_bamboo";
  trap.x = 128;
  trap.y = 256;
  trap.properties = {{"type", "huge"}};
  trap.Init();
  EXPECT_EQ(trap.GetSprite(), nullptr) << "nothing to draw";
  const std::string logged = ReadWholeFile(log).substr(before);
  EXPECT_NE(logged.find("trap_bamboo \"spikes\": \"type\" \"huge\" is no bamboo piece"),
            std::string::npos)
      << logged;
  EXPECT_FLOAT_EQ(trap.hitBox.top, 256 + trap.smallBox.top);
  EXPECT_FLOAT_EQ(trap.hitBox.left, 128 + trap.smallBox.left);
  EXPECT_FLOAT_EQ(trap.hitBox.bottom, 256 + trap.smallBox.bottom);
}
