// The object base: position from the map, images, boxes and settings.
#include <gtest/gtest.h>

#include "graphics/Sprite.h"
#include "graphics/TextureManager.h"
#include "level/Tile.h"
#include "level/Tileset.h"
#include "objects/MovableObject.h"
#include "platform/DecodedImage.h"

TEST(MovableObject, PositionIsLiftedByTheImageHeight) {
  CTextureManager textures;
  ASSERT_TRUE(CDecodedImage::Filled(40, 30, 0xffffffff)->SavePng("picture.png"));

  CMovableObject plain;
  plain.SetPosition(10, 640);
  EXPECT_EQ(plain.x, 10.0f);
  EXPECT_EQ(plain.y, 640.0f) << "no image, no lift";

  CTileset tileset("t", "");
  tileset.tileWidth = 64;
  tileset.tileHeight = 48;
  tileset.CreateTiles(128, 48);
  CMovableObject tiled;
  tiled.SetTileImage(tileset.GetTile(1));
  tiled.SetPosition(10, 640);
  EXPECT_EQ(tiled.y, 592.0f) << "the tileset's tile height";

  CMovableObject pictured;
  pictured.CreateSprite("picture.png", 0.0f);
  ASSERT_NE(pictured.GetSprite(), nullptr);
  EXPECT_EQ(pictured.GetSprite()->GetFrameHeight(), 30);
  pictured.SetPosition(10, 640);
  EXPECT_EQ(pictured.y, 610.0f) << "the sprite's frame height";

  // A tile replaces the own sprite; no tile (index past the set) leaves none.
  pictured.SetTileImage(tileset.GetTile(0));
  EXPECT_EQ(pictured.GetSprite(), nullptr);
  pictured.SetTileImage(tileset.GetTile(9));
  EXPECT_EQ(pictured.GetTileImage(), nullptr);
  pictured.SetPosition(0, 100);
  EXPECT_EQ(pictured.y, 100.0f);

  // A picture that does not load leaves a sprite without texture.
  CMovableObject broken;
  broken.CreateSprite("missing.png", 0.0f);
  ASSERT_NE(broken.GetSprite(), nullptr);
  EXPECT_FALSE(broken.GetSprite()->GetTexture());
}

TEST(MovableObject, BaseOperations) {
  CMovableObject object;
  object.x = 5;
  object.y = 7;
  object.width = 10;
  object.height = 20;
  float depth[2];
  EXPECT_FALSE(object.Collide(CHitBox(8, 9, 8, 9), 0, depth)) << "no box before the first step";
  EXPECT_TRUE(object.Update(1.0f / 120, false));
  EXPECT_EQ(object.hitBox.top, 7.0f);
  EXPECT_EQ(object.hitBox.bottom, 27.0f);
  EXPECT_EQ(object.hitBox.right, 15.0f);
  EXPECT_TRUE(object.Collide(CHitBox(8, 9, 8, 9), 3, depth)) << "any mode";

  object.SetActive(true);
  EXPECT_TRUE(object.active);
  object.delay = 2;
  object.elapsed = 1;
  object.Reset();
  EXPECT_EQ(object.delay, 0.0f);
  EXPECT_EQ(object.elapsed, 0.0f);
  EXPECT_TRUE(object.active) << "reset leaves the activation to each class";

  object.properties = {{"speed", "0"}, {"latitude", "12.5"}, {"count", "0.5"}};
  EXPECT_EQ(object.GetDoubleProperty("speed", 125.0), 125.0) << "written as 0";
  EXPECT_EQ(object.GetDoubleProperty("missing", 125.0), 125.0);
  EXPECT_EQ(object.GetDoubleProperty("latitude", 8.0), 12.5);
  EXPECT_EQ(object.GetIntProperty("count"), 0);
}
