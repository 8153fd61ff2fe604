// The game's data files against what the code asks of them. Reads data/ in
// the source tree and writes nothing there.
#include "graphics/AssetManifest.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "objects/HitBoxFile.h"
#include "platform/DecodedImage.h"
#include "tests/support/ChildProcess.h"

namespace fs = std::filesystem;

namespace {

const std::string kData = std::string(KUROSHIN_SOURCE_DIR) + "/data/";

struct Box {
  double x, y, width, height;
  std::string userdata;
};

// The boxes of a .hitbox.xml file as the game reads them: userdata carries
// over to the elements after the one that names it.
bool ReadBoxes(const std::string& path, std::vector<Box>& boxes, std::string& problem) {
  TiXmlDocument document;
  if (!document.LoadFile(path.c_str())) {
    problem = "does not parse: " + std::string(document.ErrorDesc());
    return false;
  }
  TiXmlElement* root = document.RootElement();
  if (!root || !root->FirstChildElement("hitbox")) {
    problem = "has no hitbox element";
    return false;
  }
  std::string userdata;
  for (TiXmlElement* e = root->FirstChildElement(); e; e = e->NextSiblingElement()) {
    if (const char* u = e->Attribute("userdata")) userdata = u;
    Box box{0, 0, 0, 0, userdata};
    if (e->QueryDoubleAttribute("x", &box.x) != TIXML_SUCCESS ||
        e->QueryDoubleAttribute("y", &box.y) != TIXML_SUCCESS ||
        e->QueryDoubleAttribute("width", &box.width) != TIXML_SUCCESS ||
        e->QueryDoubleAttribute("height", &box.height) != TIXML_SUCCESS) {
      problem = "an element lacks x, y, width or height";
      return false;
    }
    boxes.push_back(box);
  }
  return true;
}

std::pair<int, int> FrameSize(std::string_view image, int width, int height) {
  for (const ImageAsset& asset : kImageAssets)
    if (asset.path == image && asset.frameWidth > 0) return {asset.frameWidth, asset.frameHeight};
  return {width, height};
}

TEST(Assets, EveryImageLoadsWithWholeFramesEnoughForItsEvents) {
  ASSERT_GT(std::size(kImageAssets), 0u);
  for (const ImageAsset& asset : kImageAssets) {
    SCOPED_TRACE(std::string(asset.path));
    auto image = CDecodedImage::Load(kData + std::string(asset.path));
    ASSERT_TRUE(image) << "missing or unreadable";
    EXPECT_LE(image->Width(), 4096);
    EXPECT_LE(image->Height(), 4096);
    if (asset.frameWidth == 0) continue;
    EXPECT_EQ(image->Width() % asset.frameWidth, 0) << image->Width();
    EXPECT_EQ(image->Height() % asset.frameHeight, 0) << image->Height();
    int frames = (image->Width() / asset.frameWidth) * (image->Height() / asset.frameHeight);
    EXPECT_GE(frames, asset.minFrames);
  }
}

const ImageAsset* FindImage(std::string_view path) {
  for (const ImageAsset& asset : kImageAssets)
    if (asset.path == path) return &asset;
  return nullptr;
}

// Columns and rows of a listed sheet as the sprite code cuts it.
bool Grid(const ImageAsset& asset, int& columns, int& rows) {
  auto image = CDecodedImage::Load(kData + std::string(asset.path));
  if (!image || asset.frameWidth <= 0 || asset.frameHeight <= 0) return false;
  columns = image->Width() / asset.frameWidth;
  rows = image->Height() / asset.frameHeight;
  return true;
}

// Modes 0, 1 and 2 only ever play the current row: a second row would never
// show, and a play-once sheet would never finish.
TEST(Assets, SheetsPlayedRowByRowAreOneRowHighAndOthersHaveTheirFrames) {
  int checked = 0;
  for (const ImageAsset& asset : kImageAssets) {
    SCOPED_TRACE(std::string(asset.path));
    if (asset.path.starts_with("Graphics/Character/")) {
      EXPECT_GE(asset.playMode, 0) << "a character sheet without its play mode";
    }
    if (asset.playMode < 0) continue;
    EXPECT_LE(asset.playMode, 5);
    EXPECT_GE(asset.anchor, 0);
    EXPECT_LE(asset.anchor, 8);
    int columns = 0, rows = 0;
    ASSERT_TRUE(Grid(asset, columns, rows)) << "a played sheet needs a frame size";
    ++checked;
    if (asset.playMode <= 2)
      EXPECT_EQ(rows, 1) << columns << " x " << rows;
    else
      EXPECT_GE(columns * rows, asset.minFrames);
  }
  EXPECT_GT(checked, 0);
}

TEST(Assets, AnimationEventsFallOnFramesOfTheirSheets) {
  ASSERT_GT(std::size(kAnimationEvents), 0u);
  for (const AnimationEvent& event : kAnimationEvents) {
    SCOPED_TRACE(std::string(event.path) + ": " + std::string(event.what));
    const ImageAsset* asset = FindImage(event.path);
    ASSERT_TRUE(asset) << "not in the image list";
    int columns = 0, rows = 0;
    ASSERT_TRUE(Grid(*asset, columns, rows));
    EXPECT_LT(event.column, columns);
    EXPECT_LT(event.row, rows);
  }
}

struct BoxSet {
  CHitBox top, left, right, bottom;
};

// The four boxes of one frame key, through the game's own box reader.
bool ReadSet(const CHitBoxFile& file, int frame, BoxSet& set) {
  return file.Find("Top", frame, set.top) && file.Find("Left", frame, set.left) &&
         file.Find("Right", frame, set.right) && file.Find("Bottom", frame, set.bottom);
}

void ExpectInside(const CHitBox& box, float width, float height, const char* name) {
  EXPECT_LT(box.left, box.right) << name;
  EXPECT_LT(box.top, box.bottom) << name;
  EXPECT_GE(box.left, 0) << name;
  EXPECT_GE(box.top, 0) << name;
  EXPECT_LE(box.right, width) << name;
  EXPECT_LE(box.bottom, height) << name;
}

// What the collision rules need of one set of player boxes, in a frame of
// width x height with the feet on its bottom edge.
void ExpectWorkingSet(const BoxSet& set, float width, float height) {
  ExpectInside(set.top, width, height, "Top");
  ExpectInside(set.left, width, height, "Left");
  ExpectInside(set.right, width, height, "Right");
  ExpectInside(set.bottom, width, height, "Bottom");
  // The foot box carries the feet: its bottom is the frame's bottom edge.
  EXPECT_FLOAT_EQ(set.bottom.bottom, height);
  // Head and foot boxes are never mirrored, so they sit on the anchor.
  EXPECT_NEAR(set.top.left + set.top.right, width, 0.01);
  EXPECT_NEAR(set.bottom.left + set.bottom.right, width, 0.01);
  // Floors and ceilings are met by the head and foot boxes alone, and walls
  // by the side boxes alone: a wall that stops a side box (0.1 px deep)
  // must not reach the head, the feet or the other side box.
  for (const CHitBox* side : {&set.left, &set.right}) {
    EXPECT_GE(side->top, set.top.bottom);
    EXPECT_LE(side->bottom, set.bottom.top);
  }
  for (const CHitBox* middle : {&set.top, &set.bottom}) {
    EXPECT_GT(middle->left, set.left.left + 0.5f);
    EXPECT_LT(middle->right, set.right.right - 0.5f);
  }
  EXPECT_GT(set.right.left, set.left.left + 0.1f);
  EXPECT_LT(set.left.right, set.right.right - 0.1f);
}

// The feet rest one pixel inside the floor, so a ceiling one tile above the
// floor lies at frame row height - 64 - 1.
constexpr float kOneTileCeiling = 128.0f - 64.0f - 1.0f;

TEST(Assets, PlayerBoxesResolveForEveryFrameKeyTheGameReads) {
  const ImageAsset* stand = FindImage("Graphics/Character/ani_stand.png");
  const ImageAsset* crouch = FindImage("Graphics/Character/ani_crouch.png");
  ASSERT_TRUE(stand && crouch);

  CHitBoxFile standing;
  ASSERT_TRUE(standing.Load(kData + "Values/Player Collisions/Default.hitbox.xml"));
  BoxSet set;
  ASSERT_TRUE(ReadSet(standing, 0, set));
  {
    SCOPED_TRACE("Default");
    ExpectWorkingSet(set, stand->frameWidth, stand->frameHeight);
    EXPECT_LT(set.top.top, kOneTileCeiling) << "the hero would stand up under a single tile";
  }

  CHitBoxFile crouching;
  ASSERT_TRUE(crouching.Load(kData + "Values/Player Collisions/Crouch.hitbox.xml"));
  int columns = 0, rows = 0;
  ASSERT_TRUE(Grid(*crouch, columns, rows));
  // The game reads keys 0 to columns x (rows + 1) - 1 of the crouch sheet.
  for (int key = 0; key < columns * (rows + 1); ++key) {
    SCOPED_TRACE("Crouch key " + std::to_string(key));
    ASSERT_TRUE(ReadSet(crouching, key, set));
    ExpectWorkingSet(set, crouch->frameWidth, crouch->frameHeight);
    EXPECT_GE(set.top.top, kOneTileCeiling) << "a slide would not pass under one tile";
  }
}

double Number(TiXmlElement* element, const char* attribute, bool& ok) {
  double value = 0;
  const char* text = element ? element->Attribute(attribute) : nullptr;
  ok = text && std::sscanf(text, "%lf", &value) == 1;
  return value;
}

TEST(Assets, PlayerValueFilesGiveEveryValueTheCodeReads) {
  TiXmlDocument values;
  ASSERT_TRUE(values.LoadFile((kData + "Values/Player.xml").c_str())) << values.ErrorDesc();
  ASSERT_TRUE(values.RootElement());
  const std::map<std::string, std::vector<const char*>> wanted = {
      {"Speed", {"Crouch", "Walk", "Run", "Acceleration", "Deceleration"}},
      {"Jump", {"Start", "Gravity", "MinJumpTime", "MaxJumpTime", "MaxFallSpeed"}},
      {"WallJump", {"StartX", "StartY", "DecreaseX", "DecreaseY", "SlideSpeed"}},
      {"Slide", {"Start", "Decrease"}},
      {"Death", {"RespawnTime"}}};
  std::map<std::string, double> v;
  for (const auto& [name, attributes] : wanted) {
    TiXmlElement* element = values.RootElement()->FirstChildElement(name.c_str());
    EXPECT_TRUE(element) << name;
    for (const char* attribute : attributes) {
      bool ok = false;
      v[name + "." + attribute] = Number(element, attribute, ok);
      EXPECT_TRUE(ok) << name << " " << attribute;
      EXPECT_GE(v[name + "." + attribute], 0) << name << " " << attribute;
    }
  }
  // Zero would leave a rule without effect: no move, no jump, no fall.
  for (const char* used :
       {"Speed.Walk", "Speed.Run", "Speed.Acceleration", "Speed.Deceleration", "Jump.Start",
        "Jump.Gravity", "Jump.MinJumpTime", "Jump.MaxJumpTime", "Jump.MaxFallSpeed",
        "WallJump.StartX", "WallJump.StartY", "WallJump.DecreaseX", "WallJump.SlideSpeed",
        "Slide.Start", "Slide.Decrease", "Death.RespawnTime"})
    EXPECT_GT(v[used], 0) << used;
  EXPECT_LT(v["Speed.Walk"], v["Speed.Run"]);
  EXPECT_LT(v["Jump.MinJumpTime"], v["Jump.MaxJumpTime"]);
  EXPECT_LT(v["WallJump.SlideSpeed"], v["Jump.MaxFallSpeed"]);

  // One step of the fastest fall must not carry the feet or the head
  // through a floor or ceiling before the boxes catch it.
  CHitBoxFile standing;
  BoxSet set;
  ASSERT_TRUE(standing.Load(kData + "Values/Player Collisions/Default.hitbox.xml"));
  ASSERT_TRUE(ReadSet(standing, 0, set));
  const double step = 1.0 / 120.0;
  EXPECT_LT(v["Jump.MaxFallSpeed"] * step, set.bottom.bottom - set.bottom.top);
  EXPECT_LT(v["Jump.Start"] * step, set.top.bottom - set.top.top);

  TiXmlDocument times;
  ASSERT_TRUE(times.LoadFile((kData + "Values/Player Animation.xml").c_str())) << times.ErrorDesc();
  ASSERT_TRUE(times.RootElement());
  for (const char* name : {"Stand", "StandToWalk", "Walk", "Run", "RunToStand", "Jump", "JumpFall",
                           "FallLoop", "WallJump", "WallSlide", "WallSlideUp", "WallSlideDown",
                           "Death", "Respawn", "Crouch", "StandToCrouch"}) {
    bool ok = false;
    double speed = Number(times.RootElement()->FirstChildElement(name), "Speed", ok);
    EXPECT_TRUE(ok) << name;
    EXPECT_GT(speed, 0) << name;
  }
}

TEST(Assets, HitBoxesHaveTheirSetsAndLieInsideTheirPictures) {
  for (const HitBoxAsset& asset : kHitBoxAssets) {
    SCOPED_TRACE(std::string(asset.path));
    std::vector<Box> boxes;
    std::string problem;
    ASSERT_TRUE(ReadBoxes(kData + std::string(asset.path), boxes, problem)) << problem;
    std::set<std::string> sets;
    for (const Box& box : boxes) sets.insert(box.userdata);
    for (std::string_view wanted : asset.userdata) {
      if (wanted.empty()) continue;
      EXPECT_TRUE(sets.count(std::string(wanted))) << "no box set " << wanted;
    }

    auto image = CDecodedImage::Load(kData + std::string(asset.image));
    ASSERT_TRUE(image) << asset.image;
    auto [frameW, frameH] = FrameSize(asset.image, image->Width(), image->Height());
    for (const Box& box : boxes) {
      EXPECT_GT(box.width, 0);
      EXPECT_GT(box.height, 0);
      EXPECT_GE(box.x, 0);
      EXPECT_GE(box.y, 0);
      EXPECT_LE(box.x + box.width, frameW) << box.userdata;
      EXPECT_LE(box.y + box.height, frameH) << box.userdata;
    }
  }
}

TEST(Assets, EveryHitBoxFileOnDiskParses) {
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kData + "Values")) {
    std::string path = entry.path().string();
    if (!entry.is_regular_file() || !path.ends_with(".hitbox.xml")) continue;
    ++files;
    std::vector<Box> boxes;
    std::string problem;
    EXPECT_TRUE(ReadBoxes(path, boxes, problem)) << path << ": " << problem;
  }
  EXPECT_GT(files, 0);
}

TEST(Assets, TilesetsOpenInTiledWithTheirPropertiesAndBoxes) {
  ASSERT_TRUE(FileExists("/usr/bin/tiled")) << "tiled is missing: run scripts/install-deps";
  int tilesets = 0;
  for (const auto& entry : fs::directory_iterator(kData + "Graphics/Tiles")) {
    if (entry.path().extension() != ".tsx") continue;
    ++tilesets;
    std::string tsx = entry.path().string();
    SCOPED_TRACE(tsx);
    TiXmlDocument document;
    ASSERT_TRUE(document.LoadFile(tsx.c_str())) << document.ErrorDesc();
    TiXmlElement* tileset = document.RootElement();
    ASSERT_TRUE(tileset && tileset->Attribute("name"));
    std::string name = tileset->Attribute("name");
    TiXmlElement* imageElement = tileset->FirstChildElement("image");
    ASSERT_TRUE(imageElement && imageElement->Attribute("source"));
    auto image = CDecodedImage::Load(
        (entry.path().parent_path() / imageElement->Attribute("source")).string());
    ASSERT_TRUE(image);
    int width = 0, height = 0;
    imageElement->QueryIntAttribute("width", &width);
    imageElement->QueryIntAttribute("height", &height);
    EXPECT_EQ(width, image->Width());
    EXPECT_EQ(height, image->Height());

    for (TiXmlElement* tile = tileset->FirstChildElement("tile"); tile;
         tile = tile->NextSiblingElement("tile")) {
      int id = -1;
      tile->QueryIntAttribute("id", &id);
      std::map<std::string, std::string> properties;
      if (TiXmlElement* list = tile->FirstChildElement("properties"))
        for (TiXmlElement* p = list->FirstChildElement("property"); p;
             p = p->NextSiblingElement("property"))
          if (p->Attribute("name") && p->Attribute("value"))
            properties[p->Attribute("name")] = p->Attribute("value");
      if (properties["collision_type"] == "2") {
        std::string boxes =
            kData + "Values/Tile Collisions/" + name + "/" + std::to_string(id) + ".hitbox.xml";
        EXPECT_TRUE(FileExists(boxes)) << "tile " << id << " has no " << boxes;
      }
    }

    std::string home = MakeTestDirectory("tiled-home");
    ChildOptions options;
    options.directory = home;
    options.environment = {"HOME=" + fs::absolute(home).string(), "QT_QPA_PLATFORM=offscreen"};
    ChildResult run = RunChild({"/usr/bin/tiled", "--export-tileset", "json", tsx,
                                fs::absolute(home).string() + "/out.json"},
                               options);
    EXPECT_TRUE(run.exited && run.exitCode == 0) << run.out << run.err;
    EXPECT_GT(ReadWholeFile(home + "/out.json").size(), 0u);
  }
  EXPECT_GT(tilesets, 0);
}

}  // namespace
