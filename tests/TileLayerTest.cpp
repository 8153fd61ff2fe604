// Tiles: collision shapes, the layer's search and clamping, source
// rectangles and culling.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <memory>

#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "level/Tile.h"
#include "level/TileLayer.h"
#include "level/Tileset.h"
#include "objects/HitBox.h"
#include "platform/DecodedImage.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"
#include "support/ChildProcess.h"

namespace {

CHitBox Box(float left, float top, float right, float bottom) {
  return CHitBox(top, bottom, left, right);
}

// A tileset without picture (its load failure is expected here) whose tiles
// are made by hand.
struct Tiles {
  CTextureManager textures;
  std::unique_ptr<CTileset> tileset;
  Tiles(int count = 8) {
    tileset = std::make_unique<CTileset>("test", "");
    tileset->tileWidth = tileset->tileHeight = 64;
    tileset->CreateTiles(64 * count, 64);
  }
  CTile* Tile(int index, int type, double m = 0, double n = 0) {
    CTile* tile = tileset->GetTile(index);
    tile->collisionType = type;
    tile->slopeM = m;
    tile->slopeN = n;
    return tile;
  }
};

const CHitBox kTile = Box(0, 0, 64, 64);

}  // namespace

TEST(TileShape, Slopes) {
  Tiles tiles;
  const CTile& up = *tiles.Tile(0, 3, 1, 0);     // bottom-left to top-right
  const CTile& down = *tiles.Tile(1, 3, -1, 1);  // top-left to bottom-right
  const CTile& step = *tiles.Tile(2, 3, 0, 0.5);
  float depth[2] = {-1, -1};

  // Centre at u = 0.75: the ramp stands 48 px high there (surface y = 16).
  EXPECT_FALSE(up.Collide(kTile, Box(40, 0, 56, 15), depth)) << "bottom above the surface";
  EXPECT_FALSE(up.Collide(kTile, Box(40, 0, 56, 16), depth)) << "on the surface exactly";
  ASSERT_TRUE(up.Collide(kTile, Box(40, 0, 56, 20), depth));
  EXPECT_FLOAT_EQ(depth[0], 0);
  EXPECT_FLOAT_EQ(depth[1], 4) << "how far the bottom lies below the surface";

  // The falling ramp at u = 0.25 also stands 48 px high.
  ASSERT_TRUE(down.Collide(kTile, Box(8, 0, 24, 20), depth));
  EXPECT_FLOAT_EQ(depth[1], 4);
  EXPECT_FALSE(down.Collide(kTile, Box(40, 0, 56, 20), nullptr)) << "low end: surface at 48";

  EXPECT_TRUE(step.Collide(kTile, Box(0, 0, 64, 33), depth));
  EXPECT_FLOAT_EQ(depth[1], 1);
  EXPECT_FALSE(step.Collide(kTile, Box(0, 0, 64, 32), nullptr));

  // The box's centre outside the tile never hits, however deep it reaches.
  EXPECT_FALSE(up.Collide(kTile, Box(50, 0, 90, 64), nullptr)) << "centre at 70";
  EXPECT_FALSE(up.Collide(kTile, Box(-30, 0, -2, 64), nullptr));
  EXPECT_TRUE(up.Collide(kTile, Box(48, 0, 80, 64), nullptr)) << "centre on the right edge";
}

TEST(TileShape, WholeTilesAndBoxLists) {
  Tiles tiles;
  float depth[2];
  // Type 0 (the property given but neither 2 nor 3) and 1 are solid all over.
  for (int type : {0, 1, 7}) {
    const CTile& solid = *tiles.Tile(type == 7 ? 2 : type, type);
    EXPECT_TRUE(solid.Collide(kTile, Box(60, 60, 70, 70), depth)) << type;
    EXPECT_FLOAT_EQ(depth[0], 4);
    EXPECT_FALSE(solid.Collide(kTile, Box(64, 0, 70, 10), nullptr)) << type;
  }

  CTile& plank = *tiles.Tile(3, 2);
  EXPECT_TRUE(plank.Collide(kTile, Box(0, 50, 10, 60), nullptr)) << "no boxes: the whole tile";
  plank.boxes.push_back(CHitBox(0, 14, 4, 60));  // top, bottom, left, right
  plank.boxes.push_back(CHitBox(30, 40, 0, 64));
  EXPECT_FALSE(plank.Collide(kTile, Box(0, 50, 10, 60), nullptr)) << "between the boxes";
  ASSERT_TRUE(plank.Collide(kTile, Box(10, 10, 20, 20), depth));
  EXPECT_FLOAT_EQ(depth[1], 4) << "the first box's depth";
  ASSERT_TRUE(plank.Collide(Box(640, 128, 704, 192), Box(650, 165, 660, 175), depth))
      << "boxes move with the tile";
  EXPECT_FLOAT_EQ(depth[1], 3);
  EXPECT_FALSE(plank.Collide(kTile, Box(-20, 0, -10, 10), nullptr)) << "outside the tile";
}

TEST(TileShape, BoxFilesComeFromTheTilesetsFolder) {
  Tiles tiles;
  tiles.tileset->name = "wood";
  ASSERT_EQ(system("mkdir -p 'Values/Tile Collisions/wood'"), 0);
  std::ofstream("Values/Tile Collisions/wood/5.hitbox.xml")
      << "<hitboxes><hitbox x=\"0\" y=\"0\" width=\"64\" height=\"10\"/></hitboxes>";
  CTile& tile = *tiles.tileset->GetTile(5);
  tile.properties = {{"collision_type", "2"}};
  tile.SetUpCollision();
  ASSERT_EQ(tile.boxes.size(), 1u);
  EXPECT_FLOAT_EQ(tile.boxes[0].bottom, 10);

  CTile& missing = *tiles.tileset->GetTile(6);
  missing.properties = {{"collision_type", "2"}};
  missing.SetUpCollision();
  EXPECT_TRUE(missing.boxes.empty());
  EXPECT_TRUE(missing.Collide(kTile, Box(0, 60, 10, 70), nullptr)) << "a full tile";

  CTile& slope = *tiles.tileset->GetTile(7);
  slope.properties = {{"collision_type", "3"}, {"slope_m", "-0.5"}, {"slope_n", "nan"}};
  slope.SetUpCollision();
  EXPECT_EQ(slope.collisionType, 3);
  EXPECT_EQ(slope.slopeM, -0.5);
  EXPECT_EQ(slope.slopeN, 0.0);

  CTile& plain = *tiles.tileset->GetTile(4);
  plain.properties = {{"name", "grass"}};
  plain.SetUpCollision();
  EXPECT_EQ(plain.collisionType, 0) << "listed without a type: solid";
}

TEST(TileLayerCollision, ClampingAndSearchOrder) {
  Tiles tiles;
  CTileLayer layer("RunPlane", 10, 5, 64, 64);
  const CTile* a = tiles.Tile(0, 1);
  layer.SetCell(0, 2, a);
  layer.SetCell(9, 2, a);
  float depth[2];

  // Boxes reaching past the layer's edges look only at cells inside it.
  EXPECT_TRUE(layer.Collide(Box(-500, 130, 10, 140), depth)) << "left of 0: column 0";
  EXPECT_TRUE(layer.Collide(Box(600, 130, 6000, 140), depth)) << "past the right: last column";
  EXPECT_FALSE(layer.Collide(Box(600, -900, 6000, 100), nullptr)) << "above: row 0, empty";
  layer.SetCell(9, 4, a);
  EXPECT_TRUE(layer.Collide(Box(600, 300, 700, 9000), nullptr)) << "below: the last row";
  EXPECT_FALSE(layer.Collide(Box(100, 130, 200, 140), nullptr)) << "empty cells";
  EXPECT_FALSE(layer.Collide(Box(NAN, NAN, NAN, NAN), nullptr)) << "a box gone wrong";

  // Left wins over right, and within a column the upper tile.
  CTileLayer grid("g", 4, 4, 64, 64);
  grid.SetCell(1, 1, tiles.Tile(1, 1));
  grid.SetCell(2, 0, tiles.Tile(2, 1));
  grid.SetCell(1, 2, tiles.Tile(3, 1));
  // A box over columns 1-2 and rows 0-2, placed so each tile gives a
  // different depth.
  const CHitBox box = Box(100, 50, 140, 140);
  ASSERT_TRUE(grid.Collide(box, depth));
  // Tile (1, 1) spans y 64..128: fully inside the box's 50..140 span.
  EXPECT_FLOAT_EQ(depth[1], 76) << "the upper tile of the left column";
  EXPECT_FLOAT_EQ(depth[0], 28);
  grid.SetCell(1, 1, nullptr);
  ASSERT_TRUE(grid.Collide(box, depth));
  EXPECT_FLOAT_EQ(depth[1], 12) << "then the lower one, before the right column";
}

TEST(TileSourceRect, GridAndOutOfRange) {
  Tiles tiles;
  CTileset& set = *tiles.tileset;
  set.imageWidth = 512;
  set.imageHeight = 320;
  set.CreateTiles(512, 320);
  EXPECT_EQ(set.TileCount(), 40);
  EXPECT_EQ(set.GetSourceRect(9), (Rect{64, 64, 128, 128}));
  EXPECT_EQ(set.GetSourceRect(39), (Rect{448, 256, 512, 320}));
  EXPECT_EQ(set.GetTile(40), nullptr);
  EXPECT_EQ(set.GetTile(-1), nullptr);

  const std::string before = ReadWholeFile("log.txt");
  EXPECT_EQ(set.GetSourceRect(41), (Rect{64, 320, 128, 384})) << "computed all the same";
  const std::string after = ReadWholeFile("log.txt");
  EXPECT_NE(after.find("Error: Tile index out of bounds", before.size()), std::string::npos);

  set.imageWidth = 32;  // narrower than a tile: no columns
  EXPECT_EQ(set.GetSourceRect(3), (Rect{0, 0, 64, 64}));
}

TEST(TileLayerDraw, CullsToTheScreen) {
  ASSERT_TRUE(InitVideo(true));
  {
    auto d3d = std::make_unique<CDirect3D>();
    ASSERT_TRUE(d3d->Init(d3d->CreateMainWindow(1280, 1024), 1280, 1024));
    Tiles tiles;
    auto cell = std::make_shared<TextureCell>();
    cell->pending = CDecodedImage::Filled(512, 64, 0xffffffff);
    tiles.tileset->texture = cell;
    tiles.tileset->imageWidth = 512;
    tiles.tileset->imageHeight = 64;
    CTileLayer layer("RunPlane", 100, 40, 64, 64);
    const CTile* tile = tiles.Tile(0, 1);
    for (int x = 0; x < 100; ++x)
      for (int y = 0; y < 40; ++y) layer.SetCell(x, y, tile);

    CSpriteBatch& batch = *d3d->GetSprite();
    auto quads = [&](int ox, int oy) {
      d3d->BeginFrame();
      batch.Begin(SpriteBlend::Alpha);
      const auto before = batch.QuadCount();
      layer.Draw(ox, oy);
      batch.End();
      return batch.QuadCount() - before;
    };
    // Columns 2..23 (the screen's 20 plus one, and the partial first one),
    // rows 0..17.
    EXPECT_EQ(quads(-130, 0), 22u * 18u);
    EXPECT_EQ(quads(0, 0), 22u * 18u);
    EXPECT_EQ(quads(-100 * 64 + 640, -40 * 64 + 512), 10u * 8u) << "the bottom-right corner";
    EXPECT_EQ(quads(2000, 0), 22u * 18u) << "off to the right: still the first columns";

    // Only cells from column 2 on are drawn at ox = -130.
    CTileLayer sparse("s", 10, 1, 64, 64);
    sparse.SetCell(1, 0, tile);
    EXPECT_EQ(
        [&] {
          d3d->BeginFrame();
          batch.Begin(SpriteBlend::Alpha);
          const auto before = batch.QuadCount();
          sparse.Draw(-130, 0);
          batch.End();
          return batch.QuadCount() - before;
        }(),
        0u);
  }
  ShutdownVideo();
}
