#pragma once

#include <map>
#include <string>
#include <vector>

#include "level/tmx/TmxMap.h"

class TiXmlDocument;
class TiXmlElement;

namespace Tmx {

// Fills a Map from TMX text and the files it names. Stops at the first
// fault, leaving its code and text in the map.
class MapReader {
public:
  MapReader(Map& map, const FileResolver& resolver) : map(map), resolver(resolver) {}
  void Read(const std::string& text, const std::string& directory);

  // Files larger than this are refused before parsing.
  static constexpr std::size_t kMaxFileBytes = 64u << 20;
  // No map nests elements this deep; TinyXML would recurse on every level.
  static constexpr int kMaxNesting = 64;
  static constexpr long long kMaxLayerCells = 16ll << 20;

private:
  struct Template {
    Object object;
    std::string tilesetSource;  // "" when the template names no tileset
    int tilesetFirstGid = 0;
  };

  bool Fail(int code, const std::string& text);
  bool ParseXml(const std::string& text, const std::string& name, TiXmlDocument& document);
  bool LoadXml(const std::string& path, const std::string& kind, TiXmlDocument& document);

  bool ReadMap(const TiXmlElement& root, const std::string& directory);
  bool ReadTileset(const TiXmlElement& element, const std::string& directory);
  bool ReadTilesetBody(const TiXmlElement& element, const std::string& directory,
                       const std::string& where, Tileset& tileset);
  bool ReadLayer(const TiXmlElement& element);
  bool ReadLayerData(const TiXmlElement& data, TileLayer& layer, const std::string& where);
  bool ReadObjectGroup(const TiXmlElement& element, const std::string& directory);
  bool ReadObject(const TiXmlElement& element, const std::string& where, Object& object);
  bool ApplyTemplate(const std::string& path, const std::string& where, Object& object,
                     bool ownGid);
  const Template* LoadTemplate(const std::string& path);
  bool ReadProperties(const TiXmlElement& owner, const std::string& where, PropertySet& set);

  bool IntAttribute(const TiXmlElement& element, const char* name, bool required,
                    const std::string& where, int& out);
  bool FloatAttribute(const TiXmlElement& element, const char* name, const std::string& where,
                      float& out);
  bool GidAttribute(const TiXmlElement& element, const std::string& where, std::uint32_t& out);

  Map& map;
  const FileResolver& resolver;
  std::vector<std::string> openFiles;       // the chain of files being read, for cycles
  std::vector<std::string> tilesetSources;  // per map tileset; "" when embedded
  std::map<std::string, Template> templates;
};

// Path helpers; only '/' separates directories.
std::string DirectoryOf(const std::string& path);
// `reference` taken relative to `directory`, with "." and "x/.." folded away.
std::string ResolvePath(const std::string& directory, const std::string& reference);

}  // namespace Tmx
