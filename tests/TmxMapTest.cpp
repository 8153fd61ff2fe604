// The TMX reader against maps as Tiled writes them and against broken ones:
// every fault must come back as a code and a text, never as a crash.
#include "level/tmx/TmxMap.h"
#include "tests/support/Base64Encode.h"

#include <gtest/gtest.h>
#include <zlib.h>
#include <zstd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

using Files = std::map<std::string, std::string>;

Tmx::FileResolver Resolver(const Files& files) {
  return [&files](const std::string& path) -> std::optional<std::string> {
    auto found = files.find(path);
    if (found == files.end()) return std::nullopt;
    return found->second;
  };
}

Tmx::Map Parse(const std::string& text, const Files& files = {}) {
  Tmx::Map map;
  map.ParseText(text, "", Resolver(files));
  return map;
}

std::vector<unsigned char> Bytes(const std::vector<std::uint32_t>& gids) {
  std::vector<unsigned char> bytes;
  for (std::uint32_t gid : gids)
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(gid >> shift & 0xff);
  return bytes;
}

std::vector<unsigned char> Deflate(const std::vector<unsigned char>& in, bool gzip) {
  z_stream stream{};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, gzip ? 15 + 16 : 15, 8, Z_DEFAULT_STRATEGY);
  std::vector<unsigned char> out(deflateBound(&stream, in.size()));
  stream.next_in = const_cast<unsigned char*>(in.data());
  stream.avail_in = in.size();
  stream.next_out = out.data();
  stream.avail_out = out.size();
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

std::vector<unsigned char> Zstd(const std::vector<unsigned char>& in) {
  std::vector<unsigned char> out(ZSTD_compressBound(in.size()));
  out.resize(ZSTD_compress(out.data(), out.size(), in.data(), in.size(), 3));
  return out;
}

std::string MapWith(const std::string& body, const std::string& mapAttributes = "") {
  return R"(<?xml version="1.0" encoding="UTF-8"?>
<map version="1.10" orientation="orthogonal" width="4" height="4" tilewidth="32" tileheight="32" )" +
         mapAttributes + ">\n" + body + "\n</map>\n";
}

std::string LayerWith(const std::string& data, int width = 4, int height = 4,
                      const std::string& name = "RunPlane") {
  return "<layer id=\"1\" name=\"" + name + "\" width=\"" + std::to_string(width) + "\" height=\"" +
         std::to_string(height) + "\">\n" + data + "\n</layer>";
}

std::string CsvZeros(int count) {
  std::string text = "<data encoding=\"csv\">0";
  for (int i = 1; i < count; ++i) text += ",0";
  return text + "</data>";
}

std::string Base64Data(const std::vector<unsigned char>& bytes, const std::string& compression) {
  return "<data encoding=\"base64\"" +
         (compression.empty() ? "" : " compression=\"" + compression + "\"") + ">\n   " +
         Base64Encode(bytes) + "\n  </data>";
}

// 4 x 4 cells with every flip flag in use somewhere.
const std::vector<std::uint32_t> kRaw = {1, 0x80000002, 0, 4,  0x40000005, 6,  7,  0x20000008,
                                         9, 0x1000000A, 0, 12, 0xF000000D, 14, 15, 16};
const std::vector<std::uint32_t> kGids = {1, 2, 0, 4, 5, 6, 7, 8, 9, 10, 0, 12, 13, 14, 15, 16};

TEST(TmxLayerData, EveryEncodingDecodesToTheSameGids) {
  std::string tiles = "<data>";
  std::string csv = "<data encoding=\"csv\">\n";
  for (std::size_t i = 0; i < kRaw.size(); ++i) {
    tiles += kRaw[i] ? "<tile gid=\"" + std::to_string(kRaw[i]) + "\"/>" : "<tile/>";
    csv += std::to_string(kRaw[i]) + (i + 1 < kRaw.size() ? (i % 4 == 3 ? ",\n" : ",") : "\n");
  }
  tiles += "</data>";
  csv += "</data>";
  const std::vector<unsigned char> raw = Bytes(kRaw);
  const std::map<std::string, std::string> data = {
      {"xml", tiles},
      {"csv", csv},
      {"base64", Base64Data(raw, "")},
      {"zlib", Base64Data(Deflate(raw, false), "zlib")},
      {"gzip", Base64Data(Deflate(raw, true), "gzip")},
      {"zstd", Base64Data(Zstd(raw), "zstd")},
  };
  for (const auto& [encoding, text] : data) {
    SCOPED_TRACE(encoding);
    Tmx::Map map = Parse(MapWith(LayerWith(text)));
    ASSERT_FALSE(map.HasError()) << map.GetErrorText();
    ASSERT_EQ(map.GetTileLayers().size(), 1u);
    const Tmx::TileLayer& layer = map.GetTileLayers()[0];
    EXPECT_EQ(layer.gids, kGids);
    EXPECT_EQ(layer.GetTileGid(3, 2), 0x0Cu);
  }
}

TEST(TmxMapModel, ReadsMapTilesetsLayersAndObjects) {
  Tmx::Map map = Parse(MapWith(R"(
 <properties>
  <property name="collision" value="RunPlane"/>
  <property name="story">first line
second line</property>
 </properties>
 <tileset firstgid="1" name="ink" tilewidth="32" tileheight="16" spacing="2" margin="1" tilecount="4" columns="2">
  <image source="../art/ink.png" width="68" height="36"/>
  <tile id="3"><properties><property name="solid" type="bool" value="true"/></properties></tile>
  <tile id="1"/>
 </tileset>
 <tileset firstgid="5" name="more" tilewidth="32" tileheight="32">
  <image source="more.png" width="32" height="32"/>
 </tileset>
 )" + LayerWith(CsvZeros(16)) +
                                   R"(
 <objectgroup id="2" name="Traps">
  <properties><property name="layer" value="front"/></properties>
  <object id="1" name="arrow" type="trap_arrow" x="12.5" y="-3" width="32" height="16.25">
   <properties>
    <property name="speed" type="float" value="1.5"/>
   </properties>
  </object>
  <object id="2" class="checkpoint" x="1e2" y="0"/>
  <object id="3" gid="2147483654" x="0" y="64" width="32" height="32"/>
  <object id="4" name="path" x="10" y="20">
   <polyline points="0,0 32.5,-8 64,0"/>
  </object>
 </objectgroup>)",
                               "infinite=\"0\""));
  ASSERT_FALSE(map.HasError()) << map.GetErrorText();
  EXPECT_EQ(map.GetWidth(), 4);
  EXPECT_EQ(map.GetTileHeight(), 32);
  EXPECT_EQ(map.GetProperties().GetStringProperty("collision"), "RunPlane");
  EXPECT_EQ(map.GetProperties().GetStringProperty("story"), "first line\nsecond line");
  EXPECT_EQ(map.GetProperties().GetStringProperty("absent"), "");

  ASSERT_EQ(map.GetTilesets().size(), 2u);
  const Tmx::Tileset& ink = map.GetTilesets()[0];
  EXPECT_EQ(ink.name, "ink");
  EXPECT_EQ(ink.tileHeight, 16);
  EXPECT_EQ(ink.margin, 1);
  EXPECT_EQ(ink.spacing, 2);
  EXPECT_EQ(ink.image.source, "../art/ink.png");
  EXPECT_EQ(ink.image.width, 68);
  ASSERT_EQ(ink.tiles.size(), 2u);
  EXPECT_EQ(ink.tiles[0].id, 3);
  ASSERT_NE(ink.GetTile(3), nullptr);
  EXPECT_EQ(ink.GetTile(3)->properties.GetStringProperty("solid"), "true");
  EXPECT_EQ(ink.GetTile(2), nullptr);
  EXPECT_EQ(map.GetTilesets()[1].firstGid, 5);

  ASSERT_EQ(map.GetObjectGroups().size(), 1u);
  const Tmx::ObjectGroup& traps = map.GetObjectGroups()[0];
  EXPECT_EQ(traps.name, "Traps");
  EXPECT_EQ(traps.properties.GetStringProperty("layer"), "front");
  ASSERT_EQ(traps.objects.size(), 4u);
  const Tmx::Object& arrow = traps.objects[0];
  EXPECT_EQ(arrow.type, "trap_arrow");
  EXPECT_FLOAT_EQ(arrow.x, 12.5f);
  EXPECT_FLOAT_EQ(arrow.y, -3.0f);
  EXPECT_FLOAT_EQ(arrow.height, 16.25f);
  EXPECT_EQ(arrow.gid, 0u);
  EXPECT_FALSE(arrow.hasPolyline);
  EXPECT_EQ(arrow.properties.GetStringProperty("speed"), "1.5");
  EXPECT_EQ(traps.objects[1].type, "checkpoint");
  EXPECT_FLOAT_EQ(traps.objects[1].x, 100.0f);
  EXPECT_EQ(traps.objects[2].gid, 6u);
  const Tmx::Object& path = traps.objects[3];
  ASSERT_TRUE(path.hasPolyline);
  ASSERT_EQ(path.polyline.size(), 3u);
  EXPECT_FLOAT_EQ(path.polyline[1].first, 32.5f);
  EXPECT_FLOAT_EQ(path.polyline[1].second, -8.0f);
}

// Files on disk: the map in a chapter folder, the tileset and its image in
// another, templates in a third, all referenced relatively.
class TmxExternalFiles : public ::testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories("tmx/Levels/Chapter1");
    std::filesystem::create_directories("tmx/Tilesets");
    std::filesystem::create_directories("tmx/Templates");
    Write("tmx/Tilesets/ink.tsx", R"(<?xml version="1.0" encoding="UTF-8"?>
<tileset version="1.10" name="ink" tilewidth="32" tileheight="32" tilecount="8" columns="4">
 <image source="art/ink.png" width="128" height="64"/>
 <tile id="2"><properties><property name="solid" value="1"/></properties></tile>
</tileset>)");
    Write("tmx/Tilesets/other.tsx",
          R"(<tileset name="other" tilewidth="32" tileheight="32" tilecount="10"/>)");
    Write("tmx/Templates/arrow.tx", R"(<?xml version="1.0" encoding="UTF-8"?>
<template>
 <tileset firstgid="1" source="../Tilesets/ink.tsx"/>
 <object name="arrow" type="trap_arrow" gid="3" width="32" height="32">
  <properties>
   <property name="speed" value="1"/>
   <property name="delay" value="2"/>
  </properties>
 </object>
</template>)");
  }
  static void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
};

TEST_F(TmxExternalFiles, ResolvesTilesetsAndTemplatesRelativeToTheirFiles) {
  Write("tmx/Levels/Chapter1/level.tmx", MapWith(R"(
 <tileset firstgid="1" source="../../Tilesets/other.tsx"/>
 <tileset firstgid="11" source="../../Tilesets/ink.tsx"/>
 <objectgroup name="Traps">
  <object id="1" template="../../Templates/arrow.tx" name="first" x="64" y="96">
   <properties><property name="speed" value="5"/></properties>
  </object>
  <object id="2" template="../../Templates/arrow.tx" class="trap_spear" gid="1073741826" x="0" y="0"/>
 </objectgroup>)"));
  Tmx::Map map;
  map.ParseFile("tmx/Levels/Chapter1/level.tmx");
  ASSERT_FALSE(map.HasError()) << map.GetErrorText();
  ASSERT_EQ(map.GetTilesets().size(), 2u);
  const Tmx::Tileset& ink = map.GetTilesets()[1];
  EXPECT_EQ(ink.firstGid, 11);
  EXPECT_EQ(ink.name, "ink");
  EXPECT_EQ(ink.image.source, "tmx/Tilesets/art/ink.png");
  ASSERT_NE(ink.GetTile(2), nullptr);
  EXPECT_EQ(ink.GetTile(2)->properties.GetStringProperty("solid"), "1");

  const auto& objects = map.GetObjectGroups().at(0).objects;
  ASSERT_EQ(objects.size(), 2u);
  const Tmx::Object& first = objects[0];
  EXPECT_EQ(first.name, "first");
  EXPECT_EQ(first.type, "trap_arrow");
  EXPECT_FLOAT_EQ(first.x, 64.0f);
  EXPECT_FLOAT_EQ(first.width, 32.0f);
  EXPECT_EQ(first.gid, 13u);  // local tile 2 of ink.tsx, which the map starts at 11
  EXPECT_EQ(first.properties.GetStringProperty("speed"), "5");
  EXPECT_EQ(first.properties.GetStringProperty("delay"), "2");
  EXPECT_EQ(objects[1].name, "arrow");
  EXPECT_EQ(objects[1].type, "trap_spear");
  EXPECT_EQ(objects[1].gid, 2u);  // its own gid is already the map's
}

TEST_F(TmxExternalFiles, RefusesReferencesThatCannotBeFollowed) {
  Write("tmx/Tilesets/self.tsx", R"(<tileset firstgid="1" source="self.tsx"/>)");
  Write("tmx/Templates/self.tx", R"(<template><object template="self.tx"/></template>)");
  Write("tmx/Tilesets/notxml.tsx", "<tileset name=");
  const std::string arrow =
      R"(<objectgroup><object template="../../Templates/arrow.tx"/></objectgroup>)";
  struct Case {
    std::string body;
    int code;
    std::string text;
  };
  const Case cases[] = {
      {R"(<tileset firstgid="1" source="missing.tsx"/>)", Tmx::TMX_COULDNT_OPEN,
       "Tileset 'tmx/Levels/Chapter1/missing.tsx' cannot be read"},
      {R"(<tileset firstgid="1" source="../../Tilesets/self.tsx"/>)", Tmx::TMX_INVALID_VALUE,
       "Tileset 'tmx/Tilesets/self.tsx' refers back to itself"},
      {R"(<tileset firstgid="1" source="../../Tilesets/notxml.tsx"/>)", Tmx::TMX_PARSING_ERROR,
       "Tileset 'tmx/Tilesets/notxml.tsx': not readable XML"},
      {R"(<objectgroup><object template="../../Templates/self.tx"/></objectgroup>)",
       Tmx::TMX_INVALID_VALUE, "Template 'tmx/Templates/self.tx' refers back to itself"},
      {R"(<objectgroup><object template="none.tx"/></objectgroup>)", Tmx::TMX_COULDNT_OPEN,
       "Template 'tmx/Levels/Chapter1/none.tx' cannot be read"},
      // The template's tile must not be silently dropped or misnumbered.
      {R"(<tileset firstgid="1" source="../../Tilesets/other.tsx"/>)" + arrow,
       Tmx::TMX_INVALID_VALUE,
       "Object group '', object #1: Template 'tmx/Templates/arrow.tx' uses tileset "
       "'tmx/Tilesets/ink.tsx', which the map lacks"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    Write("tmx/Levels/Chapter1/broken.tmx", MapWith(c.body));
    Tmx::Map map;
    map.ParseFile("tmx/Levels/Chapter1/broken.tmx");
    EXPECT_EQ(map.GetErrorCode(), c.code);
    EXPECT_EQ(map.GetErrorText().substr(0, c.text.size()), c.text);
    EXPECT_TRUE(map.GetTilesets().empty());
  }
  Tmx::Map missing;
  missing.ParseFile("tmx/none.tmx");
  EXPECT_EQ(missing.GetErrorCode(), Tmx::TMX_COULDNT_OPEN);
  EXPECT_EQ(missing.GetErrorText(), "Map 'tmx/none.tmx' cannot be read");
}

struct Malformed {
  const char* what;
  std::string text;
  int code;
  std::string message;
};

void ExpectRefused(const std::vector<Malformed>& cases) {
  for (const Malformed& c : cases) {
    SCOPED_TRACE(c.what);
    Tmx::Map map = Parse(c.text);
    EXPECT_EQ(map.GetErrorCode(), c.code);
    EXPECT_NE(map.GetErrorText().find(c.message), std::string::npos) << map.GetErrorText();
    EXPECT_TRUE(map.GetTileLayers().empty());
    EXPECT_EQ(map.GetWidth(), 0);
  }
}

TEST(TmxMalformed, BadAttributesAreRefused) {
  const std::string csv16 = CsvZeros(16);
  ExpectRefused({
      {"not xml", "<map width=", Tmx::TMX_PARSING_ERROR, "Map: not readable XML"},
      {"empty", "", Tmx::TMX_PARSING_ERROR, "Map: not readable XML"},
      {"not a map", "<tileset/>", Tmx::TMX_PARSING_ERROR, "root element is 'tileset'"},
      {"missing width", "<map height=\"4\" tilewidth=\"32\" tileheight=\"32\"/>",
       Tmx::TMX_INVALID_VALUE, "Map: missing attribute 'width'"},
      {"non-numeric", "<map width=\"4\" height=\"4\" tilewidth=\"32px\" tileheight=\"32\"/>",
       Tmx::TMX_INVALID_VALUE, "attribute 'tilewidth' is not a whole number: '32px'"},
      {"zero tile size", "<map width=\"4\" height=\"4\" tilewidth=\"0\" tileheight=\"32\"/>",
       Tmx::TMX_INVALID_VALUE, "Map: tile size 0 x 32 is not positive"},
      {"infinite", MapWith("", "infinite=\"1\""), Tmx::TMX_UNSUPPORTED,
       "Infinite maps are not supported"},
      {"chunks", MapWith(LayerWith("<data encoding=\"csv\"><chunk x=\"0\" y=\"0\"/></data>")),
       Tmx::TMX_UNSUPPORTED, "Layer 'RunPlane': chunks of infinite maps are not supported"},
      {"negative layer", MapWith(LayerWith(csv16, -4, 4)), Tmx::TMX_INVALID_VALUE,
       "Layer 'RunPlane': size -4 x 4 is not positive"},
      {"absurd layer", MapWith(LayerWith(csv16, 5000, 5000)), Tmx::TMX_INVALID_VALUE,
       "Layer 'RunPlane': 5000 x 5000 cells are more than 16777216"},
      {"overflowing layer", MapWith("<layer name=\"L\" width=\"99999999999\" height=\"4\"/>"),
       Tmx::TMX_INVALID_VALUE, "attribute 'width' is not a whole number"},
      {"no data", MapWith(LayerWith("")), Tmx::TMX_INVALID_DATA, "Layer 'RunPlane': no data"},
      {"first gid 0",
       MapWith("<tileset firstgid=\"0\" name=\"a\" tilewidth=\"8\" tileheight=\"8\"/>"),
       Tmx::TMX_INVALID_VALUE, "Tileset 'a': first gid 0 is below 1"},
      {"tileset tile size",
       MapWith("<tileset firstgid=\"1\" name=\"a\" tilewidth=\"8\" tileheight=\"-8\"/>"),
       Tmx::TMX_INVALID_VALUE, "Tileset 'a': tile size 8 x -8 is not positive"},
      {"object position",
       MapWith("<objectgroup name=\"T\"><object id=\"7\" x=\"1,5\"/></objectgroup>"),
       Tmx::TMX_INVALID_VALUE,
       "Object group 'T', object '7': attribute 'x' is not a number: '1,5'"},
      {"object nan", MapWith("<objectgroup name=\"T\"><object id=\"7\" y=\"nan\"/></objectgroup>"),
       Tmx::TMX_INVALID_VALUE, "attribute 'y' is not a number"},
      {"polyline",
       MapWith("<objectgroup name=\"T\"><object id=\"7\"><polyline points=\"0,0 "
               "4\"/></object></objectgroup>"),
       Tmx::TMX_INVALID_VALUE, "polyline point '4' is not x,y"},
      {"nameless property", MapWith("<properties><property value=\"1\"/></properties>"),
       Tmx::TMX_INVALID_VALUE, "Map: a property without a name"},
  });
}

TEST(TmxMalformed, BadLayerDataIsRefused) {
  const std::vector<unsigned char> raw = Bytes(kRaw);
  std::vector<unsigned char> doubled = raw;
  doubled.insert(doubled.end(), raw.begin(), raw.end());
  std::vector<unsigned char> truncated = Deflate(raw, false);
  truncated.resize(truncated.size() / 2);
  // Ten megabytes of zeros: reading must stop at the layer's 64 bytes.
  const std::vector<unsigned char> bomb(10u << 20, 0);
  std::string seventeenTiles;
  for (int i = 0; i < 17; ++i) seventeenTiles += "<tile/>";
  ExpectRefused({
      {"csv short", MapWith(LayerWith(CsvZeros(12))), Tmx::TMX_INVALID_DATA,
       "Layer 'RunPlane': data holds 12 cells, expected 16"},
      {"csv long", MapWith(LayerWith(CsvZeros(17))), Tmx::TMX_INVALID_DATA,
       "Layer 'RunPlane': data holds more than 16 cells"},
      {"csv gap", MapWith(LayerWith("<data encoding=\"csv\">1,,2</data>")), Tmx::TMX_INVALID_DATA,
       "CSV value '' is not a tile id"},
      {"csv word", MapWith(LayerWith("<data encoding=\"csv\">1,2,x3</data>")),
       Tmx::TMX_INVALID_DATA, "CSV value 'x3' is not a tile id"},
      {"csv negative", MapWith(LayerWith("<data encoding=\"csv\">1,-2</data>")),
       Tmx::TMX_INVALID_DATA, "CSV value '-2' is not a tile id"},
      {"tiles long", MapWith(LayerWith("<data>" + seventeenTiles + "</data>")),
       Tmx::TMX_INVALID_DATA, "data holds more than 16 cells"},
      {"tiles short", MapWith(LayerWith("<data><tile gid=\"1\"/></data>")), Tmx::TMX_INVALID_DATA,
       "data holds 1 cells, expected 16"},
      {"tile gid word", MapWith(LayerWith("<data><tile gid=\"one\"/></data>")),
       Tmx::TMX_INVALID_VALUE, "gid 'one' is not a tile id"},
      {"unknown encoding", MapWith(LayerWith("<data encoding=\"hex\">00</data>")),
       Tmx::TMX_UNSUPPORTED, "Layer 'RunPlane': unknown encoding 'hex'"},
      {"unknown compression", MapWith(LayerWith(Base64Data(raw, "lzma"))), Tmx::TMX_UNSUPPORTED,
       "Layer 'RunPlane': unknown compression 'lzma'"},
      {"bad base64", MapWith(LayerWith("<data encoding=\"base64\">AAAA*AAA</data>")),
       Tmx::TMX_INVALID_DATA, "Layer 'RunPlane': data is not valid base64"},
      {"base64 padding", MapWith(LayerWith("<data encoding=\"base64\">AA=A</data>")),
       Tmx::TMX_INVALID_DATA, "data is not valid base64"},
      {"base64 partial cell", MapWith(LayerWith(Base64Data({1, 0, 0, 0, 2, 0}, ""))),
       Tmx::TMX_INVALID_DATA, "data holds 6 bytes, not a whole number of cells"},
      {"base64 long", MapWith(LayerWith(Base64Data(doubled, ""))), Tmx::TMX_INVALID_DATA,
       "data holds 32 cells, expected 16"},
      {"zlib long", MapWith(LayerWith(Base64Data(Deflate(doubled, false), "zlib"))),
       Tmx::TMX_INVALID_DATA, "Layer 'RunPlane': data decompresses to more than 64 bytes"},
      {"zlib bomb", MapWith(LayerWith(Base64Data(Deflate(bomb, false), "zlib"))),
       Tmx::TMX_INVALID_DATA, "data decompresses to more than 64 bytes"},
      {"zlib truncated", MapWith(LayerWith(Base64Data(truncated, "zlib"))), Tmx::TMX_INVALID_DATA,
       "compressed data is corrupt or truncated"},
      {"zlib garbage", MapWith(LayerWith(Base64Data(raw, "zlib"))), Tmx::TMX_INVALID_DATA,
       "compressed data is corrupt or truncated"},
      {"gzip short", MapWith(LayerWith(Base64Data(Deflate({1, 0, 0, 0}, true), "gzip"))),
       Tmx::TMX_INVALID_DATA, "data holds 1 cells, expected 16"},
      {"zstd bomb", MapWith(LayerWith(Base64Data(Zstd(bomb), "zstd"))), Tmx::TMX_INVALID_DATA,
       "data decompresses to more than 64 bytes"},
      {"zstd garbage", MapWith(LayerWith(Base64Data(raw, "zstd"))), Tmx::TMX_INVALID_DATA,
       "compressed data is corrupt or truncated"},
      {"zstd empty", MapWith(LayerWith(Base64Data({}, "zstd"))), Tmx::TMX_INVALID_DATA,
       "compressed data is corrupt or truncated"},
      {"compressed csv", MapWith(LayerWith("<data encoding=\"csv\" compression=\"zlib\">1</data>")),
       Tmx::TMX_UNSUPPORTED, "compression 'zlib' needs base64"},
  });
}

TEST(TmxMalformed, DeepNestingIsRefusedBeforeParsing) {
  auto nested = [](int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<a x='>'>";
    for (int i = 0; i < depth; ++i) text += "</a>";
    return MapWith("<properties>" + text + "</properties>");
  };
  EXPECT_EQ(Parse(nested(61)).GetErrorCode(), Tmx::TMX_NO_ERROR);
  Tmx::Map deep = Parse(nested(100000));
  EXPECT_EQ(deep.GetErrorCode(), Tmx::TMX_INVALID_FILE_SIZE);
  EXPECT_EQ(deep.GetErrorText(), "Map: elements nest deeper than 64 levels");
  // Self-closing elements, comments and CDATA do not nest.
  std::string flat = "<!-- <a><a><a> -->";
  for (int i = 0; i < 200; ++i) flat += "<b/><![CDATA[<c>]]>";
  EXPECT_EQ(Parse(MapWith("<properties>" + flat + "</properties>")).GetErrorCode(),
            Tmx::TMX_NO_ERROR);
}

TEST(TmxMalformed, MarkupThatHidesNestingFromTheScanIsCounted) {
  // Each ends where the XML parser ends it (the first '>'), not where a
  // naive scan would; the nesting after it must still be counted.
  std::string deep;
  for (int i = 0; i < 100; ++i) deep += "<a>";
  for (int i = 0; i < 100; ++i) deep += "</a>";
  for (const std::string& hider :
       {std::string("<?x>"), std::string("<1 \">"), std::string("<!x '>")}) {
    Tmx::Map map = Parse(MapWith("<properties>" + hider + deep + "</properties>"));
    EXPECT_EQ(map.GetErrorCode(), Tmx::TMX_INVALID_FILE_SIZE) << hider;
  }
  // A declaration the scan cannot follow is refused outright; the plain
  // one every editor writes is fine.
  std::string map = MapWith("");
  map.erase(0, map.find('\n') + 1);  // its own declaration
  EXPECT_EQ(Parse("<?xml version=\"1.0\" x>" + map).GetErrorCode(), Tmx::TMX_INVALID_FILE_SIZE);
  EXPECT_EQ(
      Parse("<?XML version='1.0' encoding=\"UTF-8\" standalone=\"yes\" ?>" + map).GetErrorCode(),
      Tmx::TMX_NO_ERROR);
}

TEST(TmxMalformed, BrokenUtf8IsRefusedBeforeParsing) {
  // Names from level designers may be in any script; broken byte sequences
  // would make the XML parser read past the end of the text.
  Tmx::Map good = Parse(
      MapWith("<properties><property name=\"\xE5\x90\x8D\" value=\"\xE2\x82\xAC\"/></properties>"));
  ASSERT_EQ(good.GetErrorCode(), Tmx::TMX_NO_ERROR) << good.GetErrorText();
  EXPECT_EQ(good.GetProperties().GetStringProperty("\xE5\x90\x8D"), "\xE2\x82\xAC");
  for (const std::string& bad :
       {MapWith("<properties><property name=\"a\xFF\xFF\" value=\"1\"/></properties>"),
        MapWith("") + "\xE2\x82", MapWith("") + "\xED", std::string("<map\xC0\xAF/>")}) {
    Tmx::Map map = Parse(bad);
    EXPECT_EQ(map.GetErrorCode(), Tmx::TMX_PARSING_ERROR);
    EXPECT_EQ(map.GetErrorText(), "Map: not valid UTF-8 text");
  }
}

}  // namespace
