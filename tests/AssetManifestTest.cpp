// The game's data files against what the code asks of them. Reads data/ in
// the source tree and writes nothing there.
#include "graphics/AssetManifest.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>

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
