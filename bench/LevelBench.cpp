// Cost of a large level in the game's own level code: loading 400 x 64
// tiles of zlib data in two layers and 300 objects (the map read, tilesets,
// tile collision shapes, layers and objects built, then torn down), and
// the tile collision test the player and the traps run every step.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "graphics/TextureManager.h"
#include "level/Level.h"
#include "level/Tile.h"
#include "level/TileLayer.h"
#include "level/Tileset.h"
#include "objects/HitBox.h"
#include "platform/DecodedImage.h"
#include "tests/support/Base64Encode.h"

namespace {

constexpr int kWidth = 400, kHeight = 64, kTile = 64;
constexpr int kGround = 56;  // first row of solid ground
// Tileset "bench_ink", 512 x 320 pixels of 64-pixel tiles (40 of them). The
// global id is the local one + 1; tiles the map does not list are solid.
constexpr std::uint32_t kSolid = 1, kPlatform = 5, kLedge = 6, kSlopeUp = 9, kSlopeDown = 10,
                        kRampLow = 11, kRampHigh = 12;

std::string Pack(const std::vector<std::uint32_t>& gids) {
  std::vector<unsigned char> raw;
  for (std::uint32_t gid : gids)
    for (int shift = 0; shift < 32; shift += 8) raw.push_back(gid >> shift & 0xff);
  std::vector<unsigned char> packed(compressBound(raw.size()));
  uLongf size = packed.size();
  compress(packed.data(), &size, raw.data(), raw.size());
  packed.resize(size);
  return Base64Encode(packed);
}

// What a run through a level meets: ground with pits, walls, floating
// platforms, small hills and ramps, a ceiling.
std::vector<std::uint32_t> RunPlane() {
  std::vector<std::uint32_t> gids(kWidth * kHeight, 0);
  auto at = [&gids](int x, int y) -> std::uint32_t& { return gids[y * kWidth + x]; };
  for (int x = 0; x < kWidth; ++x) {
    at(x, 0) = at(x, 1) = kSolid;
    const int column = x % 50;
    if (x % 40 < 20 || x % 40 > 22)
      for (int y = kGround; y < kHeight; ++y) at(x, y) = kSolid;
    if (column == 10 || column == 11)
      for (int y = kGround - 6; y < kGround; ++y) at(x, y) = kSolid;
    if (x % 30 >= 14 && x % 30 < 18) at(x, kGround - 8) = x % 30 == 14 ? kLedge : kPlatform;
    if (column == 30) at(x, kGround - 1) = kSlopeUp;
    if (column == 31) at(x, kGround - 1) = kSolid;
    if (column == 32) at(x, kGround - 1) = kSlopeDown;
    if (column == 40) at(x, kGround - 1) = kRampLow;
    if (column == 41) at(x, kGround - 1) = kRampHigh;
    if (column == 42) at(x, kGround - 1) = kSolid;
  }
  return gids;
}

std::vector<std::uint32_t> BackPlane() {
  std::vector<std::uint32_t> gids;
  for (int i = 0; i < kWidth * kHeight; ++i)
    gids.push_back((i * 7919u) % 41u);  // varied, so compression has work to undo
  return gids;
}

std::string TileEntry(int id, int type, const std::string& extra = "") {
  return "  <tile id=\"" + std::to_string(id) + "\">\n   <properties>\n" +
         "    <property name=\"collision_type\" type=\"int\" value=\"" + std::to_string(type) +
         "\"/>\n" + extra + "   </properties>\n  </tile>\n";
}

std::string Slope(double m, double n) {
  return "    <property name=\"slope_m\" type=\"float\" value=\"" + std::to_string(m) + "\"/>\n" +
         "    <property name=\"slope_n\" type=\"float\" value=\"" + std::to_string(n) + "\"/>\n";
}

std::string Layer(int id, const std::string& name, const std::vector<std::uint32_t>& gids) {
  return " <layer id=\"" + std::to_string(id) + "\" name=\"" + name +
         "\" width=\"400\" height=\"64\">\n  <data encoding=\"base64\" compression=\"zlib\">\n   " +
         Pack(gids) + "\n  </data>\n </layer>\n";
}

std::string LargeLevel() {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<map version=\"1.10\" orientation=\"orthogonal\" width=\"400\" height=\"64\" "
      "tilewidth=\"64\" tileheight=\"64\" infinite=\"0\">\n"
      " <properties>\n  <property name=\"collision\" value=\"RunPlane\"/>\n </properties>\n"
      " <tileset firstgid=\"1\" name=\"bench_ink\" tilewidth=\"64\" tileheight=\"64\" "
      "tilecount=\"40\" columns=\"8\">\n"
      "  <image source=\"bench_ink.png\" width=\"512\" height=\"320\"/>\n" +
      TileEntry(kPlatform - 1, 2) + TileEntry(kLedge - 1, 2) +
      TileEntry(kSlopeUp - 1, 3, Slope(1.0, 0.0)) + TileEntry(kSlopeDown - 1, 3, Slope(-1.0, 1.0)) +
      TileEntry(kRampLow - 1, 3, Slope(0.5, 0.0)) + TileEntry(kRampHigh - 1, 3, Slope(0.5, 0.5)) +
      " </tileset>\n" + Layer(1, "BackPlane", BackPlane()) + Layer(2, "RunPlane", RunPlane()) +
      " <objectgroup id=\"3\" name=\"Traps\">\n";
  for (int i = 0; i < 300; ++i) {
    const std::string id = std::to_string(i + 4);
    const std::string x = std::to_string(i * 80) + ".5";
    if (i % 25 == 0) {
      text += "  <object id=\"" + id + "\" name=\"switch" + std::to_string(i) +
              "\" type=\"trigger\" x=\"" + x + "\" y=\"3200\" width=\"64\" height=\"128\">\n" +
              "   <properties>\n    <property name=\"target\" value=\"trap" +
              std::to_string(i + 1) + "\"/>\n   </properties>\n  </object>\n";
    } else if (i % 10 == 0) {
      text += "  <object id=\"" + id + "\" name=\"crate" + std::to_string(i) + "\" gid=\"" +
              std::to_string(kSolid + 2) + "\" x=\"" + x + "\" y=\"3584\" width=\"64\" " +
              "height=\"64\"/>\n";
    } else {
      text += "  <object id=\"" + id + "\" name=\"trap" + std::to_string(i) +
              "\" type=\"trap_arrow\" x=\"" + x + "\" y=\"3456\" " +
              "width=\"64\" height=\"16\">\n   <properties>\n" +
              "    <property name=\"speed\" type=\"float\" value=\"1.25\"/>\n" +
              "    <property name=\"delay\" type=\"int\" value=\"3\"/>\n   </properties>\n" +
              "   <polyline points=\"0,0 64,-16 128,0\"/>\n  </object>\n";
    }
  }
  return text + " </objectgroup>\n</map>\n";
}

void WriteText(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// The map, its tileset image and the collision boxes of its box tiles, in
// the scratch directory the benchmarks run in (paths in the game are
// relative to the working directory).
struct Files {
  std::string map = "LevelBench/large.tmx";
  std::size_t mapBytes = 0;
  bool ready = false;
  Files() {
    const std::string text = LargeLevel();
    mapBytes = text.size();
    WriteText(map, text);
    const std::string boxes = "Values/Tile Collisions/bench_ink/";
    WriteText(boxes + std::to_string(kPlatform - 1) + ".hitbox.xml",
              "<hitboxes><hitbox x=\"0\" y=\"0\" width=\"64\" height=\"14\"/></hitboxes>\n");
    WriteText(boxes + std::to_string(kLedge - 1) + ".hitbox.xml",
              "<hitboxes><hitbox x=\"4\" y=\"0\" width=\"60\" height=\"14\"/>"
              "<hitbox x=\"4\" y=\"14\" width=\"12\" height=\"40\"/></hitboxes>\n");
    ready = CDecodedImage::Filled(512, 320, 0xff303040)->SavePng("LevelBench/bench_ink.png");
  }
};

const Files& BenchFiles() {
  static const Files files;
  return files;
}

// Whatever the build made must be the level described above, or the
// figures measure something else.
const char* Mismatch(const CLevel& level) {
  if (level.GetTileLayers().size() != 2) return "the map did not load";
  if (level.GetTilesets().size() != 1 || level.GetTilesets()[0]->TileCount() != 40)
    return "the tileset image did not load";
  if (level.GetObjectLayers().size() != 1 || level.GetObjectLayers()[0]->Objects().size() != 300)
    return "the objects are missing";
  const CTileLayer* layer = level.GetCollisionLayer();
  if (!layer || layer->name != "RunPlane") return "RunPlane is not the collision layer";
  const CTile* ledge = layer->GetCell(14, kGround - 8);
  if (!ledge || ledge->collisionType != 2 || ledge->boxes.size() != 2)
    return "the box tiles have no boxes";
  const CTile* slope = layer->GetCell(30, kGround - 1);
  if (!slope || slope->collisionType != 3 || slope->slopeM != 1.0) return "the slopes are flat";
  return nullptr;
}

void BM_LevelLoadLarge(benchmark::State& state) {
  const Files& files = BenchFiles();
  if (!files.ready) {
    state.SkipWithError("cannot write the tileset image");
    return;
  }
  CTextureManager textures;  // decoded once, as across level restarts in the game
  {
    CLevel first(files.map, nullptr);
    if (const char* wrong = Mismatch(first)) {
      state.SkipWithError(wrong);
      return;
    }
  }
  for (auto _ : state) {
    CLevel level(files.map, nullptr);
    benchmark::DoNotOptimize(level.GetCollisionLayer());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * files.mapBytes));
}
BENCHMARK(BM_LevelLoadLarge)->Unit(benchmark::kMillisecond);

// A player-sized box (60 x 120) at spread positions, most of them about
// the ground's surface where a run spends its time, the rest anywhere.
std::vector<CHitBox> PlayerBoxes() {
  std::vector<CHitBox> boxes;
  std::uint32_t seed = 12345;
  auto next = [&seed](std::uint32_t range) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<float>((seed >> 8) % range);
  };
  const float world = static_cast<float>(kWidth * kTile);
  const float ground = static_cast<float>(kGround * kTile);
  for (int i = 0; i < 4096; ++i) {
    const float left = next(static_cast<std::uint32_t>(world - 60)) + next(100) / 100.0f;
    const float top = i % 10 < 7 ? ground - 120.0f - 100.0f + next(160) + next(100) / 100.0f
                                 : next(kHeight * kTile - 120) + next(100) / 100.0f;
    boxes.emplace_back(top, top + 120.0f, left, left + 60.0f);
  }
  return boxes;
}

void BM_TileLayerCollidePlayer(benchmark::State& state) {
  const Files& files = BenchFiles();
  if (!files.ready) {
    state.SkipWithError("cannot write the tileset image");
    return;
  }
  CTextureManager textures;
  CLevel level(files.map, nullptr);
  if (const char* wrong = Mismatch(level)) {
    state.SkipWithError(wrong);
    return;
  }
  const CTileLayer& layer = *level.GetCollisionLayer();
  const std::vector<CHitBox> boxes = PlayerBoxes();
  std::size_t i = 0;
  std::int64_t hits = 0;
  float depth[2] = {0.0f, 0.0f};
  for (auto _ : state) {
    hits += layer.Collide(boxes[i], depth);
    benchmark::DoNotOptimize(depth);
    i = (i + 1) % boxes.size();
  }
  state.counters["hit_ratio"] = static_cast<double>(hits) /
                                static_cast<double>(std::max<std::int64_t>(state.iterations(), 1));
}
BENCHMARK(BM_TileLayerCollidePlayer)->Unit(benchmark::kNanosecond);

}  // namespace
