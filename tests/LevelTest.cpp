// Loading maps into levels: layers, objects, triggers, queries, drawing
// order and what a broken map leaves.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/Camera.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "level/Background.h"
#include "level/Level.h"
#include "level/ObjectLayer.h"
#include "level/Tile.h"
#include "level/TileLayer.h"
#include "level/Tileset.h"
#include "objects/MovableObject.h"
#include "objects/Trigger.h"
#include "platform/DecodedImage.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"
#include "support/ChildProcess.h"
#include "support/PngBytes.h"

namespace {

// Eight 64 x 64 tiles of distinct colours, so a drawn pixel tells its tile.
const unsigned kColours[8] = {0xffff0000, 0xff00ff00, 0xff0000ff, 0xffffff00,
                              0xffff00ff, 0xff00ffff, 0xff804000, 0xff008040};

void WriteColours(const std::string& path) {
  auto image = CDecodedImage::Filled(512, 64, 0);
  for (int i = 0; i < 8; ++i) image->Fill({i * 64, 0, i * 64 + 64, 64}, kColours[i]);
  ASSERT_TRUE(image->SavePng(path));
}

std::string Csv(int width, int height, const std::vector<std::pair<int, int>>& cells, int gid) {
  std::vector<int> data(static_cast<std::size_t>(width * height), 0);
  for (auto [x, y] : cells) data[static_cast<std::size_t>(y * width + x)] = gid;
  std::string text;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (i) text += ',';
    text += std::to_string(data[i]);
  }
  return text;
}

std::string TileLayer(const std::string& name, int width, int height,
                      const std::vector<std::pair<int, int>>& cells = {}, int gid = 0) {
  return "<layer name=\"" + name + "\" width=\"" + std::to_string(width) + "\" height=\"" +
         std::to_string(height) + "\"><data encoding=\"csv\">" + Csv(width, height, cells, gid) +
         "</data></layer>\n";
}

// A map of the colour tiles; `body` holds its layers and groups.
std::string Map(const std::string& body, const std::string& properties = "") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<map version=\"1.8\" orientation=\"orthogonal\" renderorder=\"right-down\" width=\"8\" "
         "height=\"8\" tilewidth=\"64\" tileheight=\"64\">\n" +
         (properties.empty() ? "" : "<properties>" + properties + "</properties>\n") +
         "<tileset firstgid=\"1\" name=\"colours\" tilewidth=\"64\" tileheight=\"64\" "
         "tilecount=\"8\" columns=\"8\"><image source=\"colours.png\" width=\"512\" "
         "height=\"64\"/></tileset>\n" +
         body + "</map>\n";
}

std::string Property(const std::string& name, const std::string& value) {
  return "<property name=\"" + name + "\" value=\"" + value + "\"/>";
}

class LevelTest : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_EQ(system("mkdir -p Levels/Chapter"), 0);
    WriteColours("Levels/Chapter/colours.png");
  }
  // Writes Levels/Chapter/<name>.tmx and loads it.
  std::unique_ptr<CLevel> Load(const std::string& text, const std::string& name = "Test") {
    const std::string path = "Levels/Chapter/" + name + ".tmx";
    std::ofstream(path, std::ios::binary) << text;
    auto level = std::make_unique<CLevel>(&camera);
    loaded = level->Load(path);
    return level;
  }
  CTextureManager textures;
  CCamera camera;
  bool loaded = false;
};

// Counts its steps; answers false on the step it was told to.
class Counter : public CMovableObject {
public:
  Counter(int& counter, int lastStep) : steps(counter), last(lastStep) {}
  bool Update(float, bool) override { return ++steps != last; }
  int& steps;
  int last;
};

}  // namespace

TEST(LevelPaths, NameAndDirectory) {
  struct Case {
    const char* path;
    const char* name;
    const char* directory;
  } cases[] = {
      {"Levels/CHAPTER/NAME.tmx", "NAME", "Levels/CHAPTER/"},
      {"NAME.tmx", "NAME", ""},
      {"Levels/A/NAME", "NAME", "Levels/A/"},
      {"Levels/old.tmx/NAME", "NAME", "Levels/old.tmx/"},
      {"Levels/A/x.tmx.tmx", "x.tmx", "Levels/A/"},
      {"Levels/A/", "", "Levels/A/"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    std::string name, directory;
    CLevel::SplitMapPath(c.path, name, directory);
    EXPECT_EQ(name, c.name) << c.path;
    EXPECT_EQ(directory, c.directory) << c.path;
  }
}

TEST_F(LevelTest, ABrokenMapLeavesAnEmptyLevel) {
  const std::size_t logStart = ReadWholeFile("log.txt").size();
  auto level = Load("<map version=\"1.8\" width=\"8\"", "Broken");
  EXPECT_FALSE(loaded);
  const std::string log = ReadWholeFile("log.txt").substr(logStart);
  EXPECT_NE(log.find("Error: error code: 2\n"), std::string::npos) << log;
  EXPECT_EQ(level->GetName(), "Broken");
  EXPECT_EQ(level->GetDirectory(), "Levels/Chapter/");
  EXPECT_TRUE(level->GetTileLayers().empty());
  EXPECT_TRUE(level->GetObjectLayers().empty());
  EXPECT_TRUE(level->GetTilesets().empty());
  EXPECT_EQ(level->GetWidthPixels(), 0.0f);
  EXPECT_EQ(level->GetCollisionLayer(), nullptr);
  // Everything the game does with a level still works on an empty one.
  const CHitBox box(0, 10, 0, 10);
  EXPECT_FALSE(level->CollideWithType(box, "trigger", 0, nullptr, true));
  EXPECT_EQ(level->FindCollidingObject(box, "checkpoint", nullptr), nullptr);
  EXPECT_EQ(level->FindObject("spawn"), nullptr);
  level->Update(1.0f / 120, false);
  level->Reset("");
  level->Draw(&camera, false);

  auto missing = std::make_unique<CLevel>("Levels/Chapter/Nowhere.tmx", &camera);
  EXPECT_NE(ReadWholeFile("log.txt").find("Error: error code: 1\n"), std::string::npos);
  EXPECT_EQ(missing->GetName(), "Nowhere");
}

TEST_F(LevelTest, TheCollisionLayer) {
  const std::string layers = TileLayer("Ground", 4, 3) + TileLayer("RunPlane", 6, 5);
  auto chosen = Load(Map(layers, Property("collision", "RunPlane")));
  ASSERT_TRUE(loaded);
  EXPECT_EQ(chosen->GetCollisionLayerIndex(), 1);
  EXPECT_EQ(chosen->GetCollisionLayer()->name, "RunPlane");
  // The last layer's size stands.
  EXPECT_EQ(chosen->GetWidthPixels(), 6 * 64.0f);
  EXPECT_EQ(chosen->GetHeightPixels(), 5 * 64.0f);

  EXPECT_EQ(Load(Map(layers))->GetCollisionLayer()->name, "Ground");
  EXPECT_EQ(Load(Map(layers, Property("collision", "Nothing")))->GetCollisionLayerIndex(), 0);

  auto noTiles = Load(Map("<objectgroup name=\"Traps\"/>", Property("collision", "RunPlane")));
  ASSERT_TRUE(loaded);
  EXPECT_EQ(noTiles->GetCollisionLayer(), nullptr) << "nothing to collide with";
}

TEST_F(LevelTest, TilesAndTileObjects) {
  ASSERT_EQ(system("mkdir -p 'Values/Tile Collisions/colours'"), 0);
  std::ofstream("Values/Tile Collisions/colours/2.hitbox.xml")
      << "<r><hitbox x=\"0\" y=\"0\" width=\"64\" height=\"8\"/></r>";
  // Tile 2 has boxes; tile 9 (beyond the 8 tiles) is no tile at all; gid 40
  // lies past the tileset and is an empty cell.
  const std::string map =
      "<?xml version=\"1.0\"?>\n<map version=\"1.8\" orientation=\"orthogonal\" width=\"4\" "
      "height=\"2\" tilewidth=\"64\" tileheight=\"64\">\n"
      "<tileset firstgid=\"1\" name=\"colours\" tilewidth=\"64\" tileheight=\"64\">"
      "<image source=\"colours.png\" width=\"512\" height=\"64\"/>"
      "<tile id=\"2\"><properties>" +
      Property("collision_type", "2") +
      "</properties></tile>"
      "<tile id=\"9\"><properties>" +
      Property("collision_type", "3") +
      "</properties></tile>"
      "</tileset>\n"
      "<layer name=\"RunPlane\" width=\"4\" height=\"2\"><data encoding=\"csv\">"
      "1,3,40,0,0,0,0,8</data></layer>\n"
      "<objectgroup name=\"DetailsBack\">"
      "<object id=\"1\" gid=\"2\" x=\"100\" y=\"640\" width=\"64\" height=\"64\"/>"
      "<object id=\"2\" gid=\"12\" x=\"100\" y=\"640\" width=\"64\" height=\"64\"/>"
      "<object id=\"3\" x=\"5.9\" y=\"7\" width=\"30.7\" height=\"20.2\">"
      "<polyline points=\"0,0 10,-5 20,3.5\"/></object>"
      "</objectgroup>\n</map>\n";
  auto level = Load(map);
  ASSERT_TRUE(loaded);
  const CTileset& tileset = *level->GetTilesets()[0];
  EXPECT_EQ(tileset.imagePath, "Levels/Chapter/colours.png");
  EXPECT_EQ(tileset.TileCount(), 8);
  EXPECT_EQ(tileset.imageWidth, 512);
  const CTileLayer& layer = *level->GetTileLayers()[0];
  ASSERT_NE(layer.GetCell(0, 0), nullptr);
  EXPECT_EQ(layer.GetCell(0, 0)->index, 0);
  EXPECT_EQ(layer.GetCell(0, 0)->collisionType, 1) << "not listed: solid";
  ASSERT_NE(layer.GetCell(1, 0), nullptr);
  EXPECT_EQ(layer.GetCell(1, 0)->boxes.size(), 1u);
  EXPECT_EQ(layer.GetCell(2, 0), nullptr) << "an id no tileset covers";
  EXPECT_EQ(layer.GetCell(3, 1)->index, 7);

  const auto& objects = level->GetObjectLayers()[0]->Objects();
  ASSERT_EQ(objects.size(), 3u);
  EXPECT_EQ(objects[0]->GetTileImage(), tileset.GetTile(1));
  EXPECT_EQ(objects[0]->y, 576.0f) << "lifted by the tile height";
  EXPECT_EQ(objects[1]->GetTileImage(), nullptr) << "index beyond the tiles";
  EXPECT_EQ(objects[1]->y, 640.0f);
  EXPECT_EQ(objects[2]->width, 30);
  EXPECT_EQ(objects[2]->height, 20);
  ASSERT_EQ(objects[2]->path.size(), 3u);
  EXPECT_EQ(objects[2]->path[1], (std::pair<float, float>(10, -5)));
  EXPECT_EQ(objects[2]->level, level.get());

  // Plain objects take their box from position and size when updated.
  level->Update(1.0f / 120, false);
  EXPECT_FLOAT_EQ(objects[2]->hitBox.right, 5.9f + 30);
  EXPECT_FLOAT_EQ(objects[2]->hitBox.bottom, 27);
}

// A damaged picture (here one that used to hang the loader) leaves the
// tileset exactly as a missing one does.
TEST_F(LevelTest, AMissingOrDamagedTilesetPictureStillCollides) {
  const std::string picture = "Levels/Chapter/colours.png";
  const std::pair<std::string, std::string> cases[] = {
      {"missing", "cannot be opened: No such file or directory"}, {"damaged", "end of stream"}};
  for (const auto& [how, reason] : cases) {
    SCOPED_TRACE(how);
    if (how == "missing") std::remove(picture.c_str());
    if (how == "damaged") {
      ASSERT_TRUE(PngBytes::WriteFile(picture, PngBytes::HugeChunkInTruncatedFile("tEXt")));
    }
    const std::size_t logStart = ReadWholeFile("log.txt").size();
    auto level = Load(Map(TileLayer("RunPlane", 8, 8, {{2, 3}}, 1)));
    ASSERT_TRUE(loaded);
    const std::string log = ReadWholeFile("log.txt").substr(logStart);
    EXPECT_NE(log.find("Error: Could not load texture " + picture + ": " + reason + "\n"),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Error: Could not load tileset: colours"), std::string::npos) << log;
    const CTileset& tileset = *level->GetTilesets()[0];
    EXPECT_FALSE(tileset.texture);
    EXPECT_EQ(tileset.imageWidth, 0);
    EXPECT_EQ(tileset.TileCount(), 8) << "counted from the map's image size";
    EXPECT_TRUE(level->GetCollisionLayer()->Collide(CHitBox(200, 210, 130, 140), nullptr));
    level->Draw(&camera, false);  // draws nothing, and does not fall over
  }
}

TEST_F(LevelTest, QueriesSearchTheFirstTrapsLayerAndSpawnedObjects) {
  const std::string object =
      "<object id=\"%\" name=\"%\" type=\"%\" x=\"0\" y=\"0\" "
      "width=\"64\" height=\"64\"/>";
  auto make = [&](const std::string& name, const std::string& type) {
    std::string text = object;
    text.replace(text.find('%'), 1, "1");
    text.replace(text.find('%'), 1, name);
    text.replace(text.find('%'), 1, type);
    return text;
  };
  // "trap_custom" is no type of the table: a plain object whose box is its
  // rectangle, whatever class the game's own traps have.
  auto level = Load(Map(TileLayer("RunPlane", 8, 8) + "<objectgroup name=\"Misc\">" +
                        make("lost", "trap_custom") + "</objectgroup><objectgroup name=\"Traps\">" +
                        make("first", "end_trigger") + make("second", "end_trigger") +
                        "</objectgroup><objectgroup name=\"Traps\">" + make("third", "end") +
                        "</objectgroup>"));
  ASSERT_TRUE(loaded);
  level->Update(1.0f / 120, false);
  const CHitBox touch(10, 20, 10, 20);
  float depth[2] = {0, 0};
  EXPECT_TRUE(level->CollideWithType(touch, "end_trigger", 0, depth, true));
  EXPECT_EQ(level->FindCollidingObject(touch, "end_trigger", nullptr)->name, "first");
  EXPECT_FALSE(level->CollideWithType(touch, "trap_custom", 0, nullptr, false))
      << "not in a Traps layer";
  EXPECT_FALSE(level->CollideWithType(touch, "end", 0, nullptr, false)) << "the second Traps";
  // ... whose objects are updated all the same.
  EXPECT_EQ(level->FindObject("third")->hitBox.right, 64.0f);
  EXPECT_EQ(level->FindObject("lost")->hitBox.right, 64.0f);
  EXPECT_EQ(level->FindObject("second")->name, "second");
  EXPECT_EQ(level->FindObject("fourth"), nullptr);

  // Spawned objects are searched after the Traps layer.
  auto spawned = std::make_unique<CMovableObject>();
  spawned->type = "dynamic_arrow";
  spawned->width = spawned->height = 64;
  level->GetDynamicObjects().Add(std::move(spawned));
  EXPECT_FALSE(level->CollideWithType(touch, "dynamic_arrow", 0, nullptr, true)) << "no box yet";
  level->Update(1.0f / 120, false);
  EXPECT_TRUE(level->CollideWithType(touch, "dynamic_arrow", 0, nullptr, true));
  EXPECT_NE(level->FindCollidingObject(touch, "dynamic_arrow", nullptr), nullptr);

  // Without any Traps layer only the spawned objects answer.
  auto bare = Load(Map(TileLayer("RunPlane", 8, 8)));
  EXPECT_FALSE(bare->CollideWithType(touch, "end_trigger", 0, nullptr, true));
  EXPECT_EQ(bare->FindCollidingObject(touch, "end_trigger", nullptr), nullptr);
}

TEST(ObjectLayer, AnObjectThatEndsLeavesInThatStep) {
  CObjectLayer layer("Traps");
  int first = 0, second = 0, third = 0;
  layer.Add(std::make_unique<Counter>(first, 100));
  layer.Add(std::make_unique<Counter>(second, 2));
  layer.Add(std::make_unique<Counter>(third, 100));
  layer.Update(0.01f, false);
  layer.Update(0.01f, false);
  EXPECT_EQ(layer.Objects().size(), 2u);
  EXPECT_EQ(third, 2) << "the neighbour moving into the gap is still updated";
  layer.Update(0.01f, false);
  EXPECT_EQ(first, 3);
  EXPECT_EQ(second, 2);
  EXPECT_EQ(third, 3);
}

TEST(ObjectLayer, ObjectsSpawnedDuringTheWalkAreUpdatedInIt) {
  // An object that spawns a neighbour into its own layer on its first step.
  struct Spawner : CMovableObject {
    CObjectLayer* layer = nullptr;
    int* childSteps = nullptr;
    bool Update(float, bool) override {
      if (layer) {
        layer->Add(std::make_unique<Counter>(*childSteps, 100));
        layer = nullptr;
      }
      return true;
    }
  };
  CObjectLayer layer("dynamic");
  int child = 0;
  auto spawner = std::make_unique<Spawner>();
  spawner->layer = &layer;
  spawner->childSteps = &child;
  // Enough neighbours that the vector grows while the spawner runs.
  for (int i = 0; i < 3; ++i) layer.Add(std::make_unique<CMovableObject>());
  layer.Add(std::move(spawner));
  layer.Update(0.01f, false);
  EXPECT_EQ(layer.Objects().size(), 5u);
  EXPECT_EQ(child, 1);
}

TEST(ObjectLayer, ResetSkipsOneType) {
  struct Resettable : CMovableObject {
    int resets = 0;
    void Reset() override { ++resets; }
  };
  CObjectLayer layer;
  auto* checkpoint = static_cast<Resettable*>(layer.Add(std::make_unique<Resettable>()));
  checkpoint->type = "checkpoint";
  auto* untyped = static_cast<Resettable*>(layer.Add(std::make_unique<Resettable>()));
  layer.ResetExcept("checkpoint");
  EXPECT_EQ(checkpoint->resets, 0);
  EXPECT_EQ(untyped->resets, 1);
  layer.ResetExcept("");
  EXPECT_EQ(checkpoint->resets, 1) << "an empty type skips nothing";
  EXPECT_EQ(untyped->resets, 2);
}

TEST_F(LevelTest, TriggersSwitchTheirTargetOn) {
  auto trigger = [](const std::string& name, const std::string& properties) {
    return "<object id=\"1\" name=\"" + name +
           "\" type=\"trigger\" x=\"0\" y=\"0\" width=\"64\" "
           "height=\"64\"><properties>" +
           properties + "</properties></object>";
  };
  const std::string target =
      "<object id=\"9\" name=\"gate\" type=\"trap_arrow\" x=\"500\" y=\"0\" width=\"8\" "
      "height=\"8\"/>";
  auto level = Load(Map(TileLayer("RunPlane", 8, 8) + "<objectgroup name=\"Traps\">" +
                        trigger("waits", Property("target", "gate") + Property("delay", "2")) +
                        trigger("nobody", Property("delay", "2")) +
                        trigger("stranger", Property("target", "nowhere")) +
                        trigger("early", Property("target", "gate") + Property("delay", "-3")) +
                        trigger("blank", Property("target", "")) +
                        "</objectgroup><objectgroup name=\"Sockets\">"
                        "<object id=\"8\" x=\"0\" y=\"0\" width=\"1\" height=\"1\"/>" +
                        target + "</objectgroup>"));
  ASSERT_TRUE(loaded);
  const auto& traps = level->GetTraps()->Objects();
  auto* waits = dynamic_cast<CTrigger*>(traps[0].get());
  ASSERT_NE(waits, nullptr);
  CMovableObject* gate = level->FindObject("gate");
  ASSERT_NE(gate, nullptr);
  EXPECT_EQ(waits->target, gate) << "found in another layer";
  EXPECT_EQ(dynamic_cast<CTrigger*>(traps[1].get())->target, nullptr);
  EXPECT_EQ(dynamic_cast<CTrigger*>(traps[2].get())->target, nullptr);
  EXPECT_EQ(dynamic_cast<CTrigger*>(traps[4].get())->target, nullptr)
      << "an empty target is none, not the first unnamed object";

  level->Update(1.0f / 120, false);
  const CHitBox player(10, 40, 10, 40);
  EXPECT_FALSE(traps[1]->Collide(player, 0, nullptr)) << "no target: never fires";
  EXPECT_FALSE(traps[2]->Collide(player, 0, nullptr));
  EXPECT_FALSE(waits->Collide(CHitBox(100, 140, 100, 140), 0, nullptr)) << "not touched";
  EXPECT_FALSE(gate->active);

  float depth[2] = {-1, -1};
  ASSERT_TRUE(waits->Collide(player, 0, depth));
  EXPECT_TRUE(gate->active);
  EXPECT_EQ(gate->delay, 2.0f);
  EXPECT_EQ(depth[0], -1) << "a trigger writes no depth";

  ASSERT_TRUE(traps[3]->Collide(player, 0, nullptr));
  EXPECT_EQ(gate->delay, 0.0f) << "a negative delay waits not at all";

  // The player's query fires every touched trigger.
  gate->active = false;
  gate->delay = 7;
  EXPECT_TRUE(level->CollideWithType(player, "trigger", 0, nullptr, false));
  EXPECT_TRUE(gate->active);
  EXPECT_EQ(gate->delay, 0.0f) << "the later trigger wrote last";
}

TEST_F(LevelTest, BackgroundObjectsStayPut) {
  auto level =
      Load(Map(TileLayer("RunPlane", 8, 8) +
               "<objectgroup name=\"Background\">"
               "<object id=\"1\" type=\"background\" gid=\"1\" x=\"30\" y=\"640\" width=\"64\" "
               "height=\"64\"/>"
               "<object id=\"2\" type=\"background\" gid=\"1\" x=\"30\" y=\"640\" width=\"64\" "
               "height=\"64\"><properties>" +
               Property("x", "0") + Property("y", "100") + "</properties></object></objectgroup>"));
  ASSERT_TRUE(loaded);
  const auto& objects = level->GetObjectLayers()[0]->Objects();
  auto* plain = dynamic_cast<CBackground*>(objects[0].get());
  auto* moved = dynamic_cast<CBackground*>(objects[1].get());
  ASSERT_TRUE(plain && moved);
  plain->x = plain->y = -1;
  level->Update(1.0f / 120, false);
  EXPECT_EQ(plain->x, 30.0f);
  EXPECT_EQ(plain->y, 576.0f) << "where the editor shows it, not a tile lower";
  EXPECT_EQ(moved->x, 30.0f) << "x 0 counts as absent";
  EXPECT_EQ(moved->y, 100.0f);
}

TEST_F(LevelTest, LayersAreDrawnInTheirOrder) {
  // Each row holds an earlier and a later layer on the same square; the
  // later one must show. Colours: gid n is kColours[n - 1].
  auto tileObject = [](int gid, int row) {
    return "<object id=\"1\" gid=\"" + std::to_string(gid) + "\" x=\"0\" y=\"" +
           std::to_string((row + 1) * 64) + "\" width=\"64\" height=\"64\"/>";
  };
  auto group = [&](const std::string& name, const std::vector<std::pair<int, int>>& items) {
    std::string text = "<objectgroup name=\"" + name + "\">";
    for (auto [gid, row] : items) text += tileObject(gid, row);
    return text + "</objectgroup>";
  };
  // Rows: 0 Background < BackPlane, 1 BackPlane < DetailsBack, 2 DetailsBack
  // < Traps, 3 Traps < Sockets, 4 Sockets < spawned, 5 spawned < RunPlane,
  // 6 RunPlane < DetailsFront, 7 undrawn layers only.
  const std::string body =
      TileLayer("Ground", 8, 8, {{0, 7}}, 8) + TileLayer("BackPlane", 8, 8, {{0, 0}, {0, 1}}, 2) +
      TileLayer("RunPlane", 8, 8, {{0, 5}, {0, 6}}, 6) + group("Background", {{1, 0}}) +
      group("DetailsBack", {{3, 1}, {3, 2}}) + group("Traps", {{4, 2}, {4, 3}}) +
      group("Sockets", {{5, 3}, {5, 4}}) + group("DetailsFront", {{7, 6}}) +
      group("Other", {{1, 7}}) + group("DetailsFrontCharacter", {{8, 0}});
  ASSERT_TRUE(InitVideo(true));
  {
    auto d3d = std::make_unique<CDirect3D>();
    ASSERT_TRUE(d3d->Init(d3d->CreateMainWindow(1280, 1024), 1280, 1024));
    auto level = Load(Map(body));
    ASSERT_TRUE(loaded);
    // The spawned layer: rows 4 and 5, drawn with the colour of tile 3.
    for (int row : {4, 5}) {
      auto spawned = std::make_unique<CMovableObject>();
      spawned->SetTileImage(level->GetTilesets()[0]->GetTile(2));
      spawned->y = static_cast<float>(row * 64);
      level->GetDynamicObjects().Add(std::move(spawned));
    }
    auto draw = [&](bool front, float shift) {
      camera.x = 640 - shift;
      camera.y = 512;
      d3d->clearColour = 0xff000000;
      d3d->BeginFrame();
      d3d->GetSprite()->Begin(SpriteBlend::Alpha);
      level->Draw(&camera, front);
      d3d->GetSprite()->End();
      EXPECT_TRUE(d3d->SaveFramePng("frame.png"));
      return CDecodedImage::Load("frame.png");
    };
    auto behind = draw(false, 0);
    ASSERT_TRUE(behind);
    const int expected[8] = {1, 2, 3, 4, 2, 5, 6, -1};
    for (int row = 0; row < 8; ++row) {
      const unsigned want = expected[row] < 0 ? 0xff000000 : kColours[expected[row]];
      EXPECT_EQ(behind->Pixel(32, row * 64 + 32), want) << "row " << row;
    }
    auto front = draw(true, 0);
    EXPECT_EQ(front->Pixel(32, 32), kColours[7]) << "in front of the player";
    EXPECT_EQ(front->Pixel(32, 6 * 64 + 32), 0xff000000u) << "only that layer";

    // The camera moves everything; its shake too.
    camera.offsetX = 10;
    auto shifted = draw(false, 110);
    EXPECT_EQ(shifted->Pixel(100 + 32, 6 * 64 + 32), kColours[6]);
    EXPECT_EQ(shifted->Pixel(100 + 2, 6 * 64 + 32), kColours[6]);
    EXPECT_EQ(shifted->Pixel(100 - 2, 6 * 64 + 32), 0xff000000u);
  }
  ShutdownVideo();
}
