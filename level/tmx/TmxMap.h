#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// The map model of Tiled's TMX format that the level loader reads: map,
// tile layers, tilesets (embedded or external .tsx), object groups, objects
// (with templates) and properties. Everything is copied out of the XML.
namespace Tmx {

// Tiled's flip flags live in a global tile id's top four bits.
inline constexpr std::uint32_t kFlagMask = 0xF0000000u;

enum MapError {
  TMX_NO_ERROR = 0,
  TMX_COULDNT_OPEN = 1,       // the file (map, .tsx, .tx) cannot be read
  TMX_PARSING_ERROR = 2,      // not XML, or not a map
  TMX_INVALID_FILE_SIZE = 3,  // a file too large or nested too deeply to read
  TMX_INVALID_VALUE = 4,      // a missing, non-numeric or out-of-range attribute
  TMX_INVALID_DATA = 5,       // layer data that does not decode to width x height cells
  TMX_UNSUPPORTED = 6,        // something valid that we do not read (infinite maps, ...)
};

class PropertySet {
public:
  bool HasProperty(const std::string& name) const { return list.count(name) != 0; }
  // "" when absent.
  std::string GetStringProperty(const std::string& name) const;
  const std::map<std::string, std::string>& GetList() const { return list; }
  void Set(const std::string& name, const std::string& value) { list[name] = value; }

private:
  std::map<std::string, std::string> list;
};

struct Image {
  std::string source;  // resolved relative to the file that names it
  int width = 0;
  int height = 0;
};

struct Tile {
  int id = 0;
  PropertySet properties;
};

struct Tileset {
  int firstGid = 1;
  std::string name;
  int tileWidth = 0;
  int tileHeight = 0;
  int margin = 0;
  int spacing = 0;
  Image image;
  std::vector<Tile> tiles;  // only the tiles the file lists, in file order
  // The tile entry with this local id, or null.
  const Tile* GetTile(int id) const;
};

struct TileLayer {
  std::string name;
  int width = 0;
  int height = 0;
  PropertySet properties;
  std::vector<std::uint32_t> gids;  // width x height, row by row, flags cleared
  std::uint32_t GetTileGid(int x, int y) const {
    return gids[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x)];
  }
};

struct Object {
  std::string name;
  std::string type;  // "type", or "class" where Tiled 1.9 wrote that
  float x = 0.0f;
  float y = 0.0f;
  float width = 0.0f;
  float height = 0.0f;
  std::uint32_t gid = 0;  // flags cleared; 0 = not a tile object
  bool hasPolyline = false;
  std::vector<std::pair<float, float>> polyline;  // relative to (x, y)
  PropertySet properties;
};

struct ObjectGroup {
  std::string name;
  PropertySet properties;
  std::vector<Object> objects;
};

// Reads the files a map refers to (.tsx, .tx) by path; for parsing from
// memory. Returns nothing when the file cannot be read.
using FileResolver = std::function<std::optional<std::string>(const std::string& path)>;

class Map {
public:
  // Parses a .tmx file; afterwards HasError() tells whether it worked.
  void ParseFile(const std::string& path);
  // Parses map text; referenced files are looked up through `resolver` by
  // paths joined to `directory` (which ends in '/' or is empty).
  void ParseText(const std::string& text, const std::string& directory,
                 const FileResolver& resolver);

  bool HasError() const { return errorCode != TMX_NO_ERROR; }
  int GetErrorCode() const { return errorCode; }
  const std::string& GetErrorText() const { return errorText; }

  int GetWidth() const { return width; }
  int GetHeight() const { return height; }
  int GetTileWidth() const { return tileWidth; }
  int GetTileHeight() const { return tileHeight; }
  const PropertySet& GetProperties() const { return properties; }
  const std::vector<Tileset>& GetTilesets() const { return tilesets; }
  const std::vector<TileLayer>& GetTileLayers() const { return tileLayers; }
  const std::vector<ObjectGroup>& GetObjectGroups() const { return objectGroups; }

private:
  friend class MapReader;

  int errorCode = TMX_NO_ERROR;
  std::string errorText;
  int width = 0;
  int height = 0;
  int tileWidth = 0;
  int tileHeight = 0;
  PropertySet properties;
  std::vector<Tileset> tilesets;
  std::vector<TileLayer> tileLayers;
  std::vector<ObjectGroup> objectGroups;
};

}  // namespace Tmx
