// Prints what the game's TMX reader makes of a map, as JSON, so it can be
// compared with what Tiled itself reads:
//   kuroshin_tmxdump MAP.tmx
// On failure prints {"error": CODE, "text": "..."} and exits with 1.
#include <stdio.h>
#include <stdlib.h>

#include <cstdint>
#include <string>

#include "level/tmx/TmxMap.h"
#include "tools/common/ScratchDirectory.h"

namespace {

std::string Quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// Enough digits that the float reads back exactly.
std::string Number(float value) {
  char text[32];
  snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
  return text;
}

std::string Properties(const Tmx::PropertySet& properties) {
  std::string out = "{";
  const char* separator = "";
  for (const auto& [name, value] : properties.GetList()) {
    out += separator + Quoted(name) + ": " + Quoted(value);
    separator = ", ";
  }
  return out + "}";
}

std::string Tileset(const Tmx::Tileset& tileset) {
  std::string out = "{\"firstgid\": " + std::to_string(tileset.firstGid) +
                    ", \"name\": " + Quoted(tileset.name) +
                    ", \"tilewidth\": " + std::to_string(tileset.tileWidth) +
                    ", \"tileheight\": " + std::to_string(tileset.tileHeight) +
                    ", \"margin\": " + std::to_string(tileset.margin) +
                    ", \"spacing\": " + std::to_string(tileset.spacing) +
                    ", \"image\": {\"source\": " + Quoted(tileset.image.source) +
                    ", \"width\": " + std::to_string(tileset.image.width) +
                    ", \"height\": " + std::to_string(tileset.image.height) + "}, \"tiles\": [";
  const char* separator = "";
  for (const Tmx::Tile& tile : tileset.tiles) {
    out += separator;
    out += "{\"id\": " + std::to_string(tile.id) +
           ", \"properties\": " + Properties(tile.properties) + "}";
    separator = ", ";
  }
  return out + "]}";
}

std::string TileLayer(const Tmx::TileLayer& layer) {
  std::string out = "{\"name\": " + Quoted(layer.name) +
                    ", \"width\": " + std::to_string(layer.width) +
                    ", \"height\": " + std::to_string(layer.height) +
                    ", \"properties\": " + Properties(layer.properties) + ", \"gids\": [";
  const char* separator = "";
  for (std::uint32_t gid : layer.gids) {
    out += separator + std::to_string(gid);
    separator = ", ";
  }
  return out + "]}";
}

std::string Object(const Tmx::Object& object) {
  std::string out = "{\"name\": " + Quoted(object.name) + ", \"type\": " + Quoted(object.type) +
                    ", \"x\": " + Number(object.x) + ", \"y\": " + Number(object.y) +
                    ", \"width\": " + Number(object.width) +
                    ", \"height\": " + Number(object.height) +
                    ", \"gid\": " + std::to_string(object.gid) + ", \"polyline\": ";
  if (object.hasPolyline) {
    out += "[";
    const char* separator = "";
    for (const auto& [x, y] : object.polyline) {
      out += separator;
      out += '[';
      out += Number(x);
      out += ", ";
      out += Number(y);
      out += ']';
      separator = ", ";
    }
    out += "]";
  } else {
    out += "null";
  }
  return out + ", \"properties\": " + Properties(object.properties) + "}";
}

std::string ObjectGroup(const Tmx::ObjectGroup& group) {
  std::string out = "{\"name\": " + Quoted(group.name) +
                    ", \"properties\": " + Properties(group.properties) + ", \"objects\": [";
  const char* separator = "\n    ";
  for (const Tmx::Object& object : group.objects) {
    out += separator + Object(object);
    separator = ",\n    ";
  }
  return out + "]}";
}

template <typename Item, typename Write>
std::string List(const std::vector<Item>& items, Write write) {
  std::string out = "[";
  const char* separator = "\n  ";
  for (const Item& item : items) {
    out += separator + write(item);
    separator = ",\n  ";
  }
  return out + "]";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: %s MAP.tmx\n", argv[0]);
    return 2;
  }
  Tmx::Map map;
  map.ParseFile(FromStartingDirectory(argv[1]));
  if (map.HasError()) {
    printf("{\"error\": %d, \"text\": %s}\n", map.GetErrorCode(),
           Quoted(map.GetErrorText()).c_str());
    return 1;
  }
  const std::string out = "{\"width\": " + std::to_string(map.GetWidth()) +
                          ", \"height\": " + std::to_string(map.GetHeight()) +
                          ", \"tilewidth\": " + std::to_string(map.GetTileWidth()) +
                          ", \"tileheight\": " + std::to_string(map.GetTileHeight()) +
                          ",\n \"properties\": " + Properties(map.GetProperties()) +
                          ",\n \"tilesets\": " + List(map.GetTilesets(), Tileset) +
                          ",\n \"tilelayers\": " + List(map.GetTileLayers(), TileLayer) +
                          ",\n \"objectgroups\": " + List(map.GetObjectGroups(), ObjectGroup) +
                          "}\n";
  fputs(out.c_str(), stdout);
  return 0;
}
