#include "level/tmx/MapReader.h"

#include <tinyxml.h>

#include <algorithm>
#include <cstring>

#include "level/tmx/LayerData.h"

namespace Tmx {

namespace {

// Multi-line property values must keep their line breaks, which TinyXML
// folds by default. The switch is global, so it is put back afterwards.
class KeepWhiteSpace {
public:
  KeepWhiteSpace() : previous(TiXmlBase::IsWhiteSpaceCondensed()) {
    TiXmlBase::SetCondenseWhiteSpace(false);
  }
  ~KeepWhiteSpace() { TiXmlBase::SetCondenseWhiteSpace(previous); }

private:
  bool previous;
};

// Appended rather than concatenated: GCC 12 warns falsely (-Wrestrict) on
// a literal plus a temporary string at -O2.
std::string Quote(const std::string& text) {
  std::string quoted = "'";
  quoted.append(text, 0, 64);
  quoted += '\'';
  return quoted;
}

std::string AttributeOr(const TiXmlElement& element, const char* name, const char* fallback) {
  const char* value = element.Attribute(name);
  return value ? value : fallback;
}

}  // namespace

std::string DirectoryOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ResolvePath(const std::string& directory, const std::string& reference) {
  std::string path = !reference.empty() && reference[0] == '/' ? reference : directory + reference;
  bool absolute = !path.empty() && path[0] == '/';
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t slash = std::min(path.find('/', start), path.size());
    std::string part = path.substr(start, slash - start);
    start = slash + 1;
    if (part.empty() || part == ".") continue;
    if (part == ".." && !parts.empty() && parts.back() != "..") {
      parts.pop_back();
    } else if (part != ".." || !absolute) {
      parts.push_back(part);
    }
  }
  std::string result = absolute ? "/" : "";
  for (std::size_t i = 0; i < parts.size(); ++i) result += (i ? "/" : "") + parts[i];
  return result;
}

bool MapReader::Fail(int code, const std::string& text) {
  if (map.errorCode == TMX_NO_ERROR) {
    map.errorCode = code;
    map.errorText = text;
  }
  return false;
}

bool MapReader::ParseXml(const std::string& text, const std::string& name,
                         TiXmlDocument& document) {
  if (text.size() > kMaxFileBytes)
    return Fail(TMX_INVALID_FILE_SIZE,
                name + ": larger than " + std::to_string(kMaxFileBytes >> 20) + " MiB");
  if (Data::NestsDeeperThan(text, kMaxNesting))
    return Fail(TMX_INVALID_FILE_SIZE,
                name + ": elements nest deeper than " + std::to_string(kMaxNesting) + " levels");
  if (!Data::IsValidUtf8(text)) return Fail(TMX_PARSING_ERROR, name + ": not valid UTF-8 text");
  KeepWhiteSpace keep;
  // A few spare terminators, so no look-ahead of the parser leaves the buffer.
  std::string padded = text;
  padded.append(8, '\0');
  document.Parse(padded.c_str());
  if (document.Error() || !document.RootElement())
    return Fail(TMX_PARSING_ERROR, name + ": not readable XML (" + document.ErrorDesc() +
                                       ", line " + std::to_string(document.ErrorRow()) + ")");
  return true;
}

bool MapReader::LoadXml(const std::string& path, const std::string& kind, TiXmlDocument& document) {
  const std::string name = kind + " " + Quote(path);
  if (std::find(openFiles.begin(), openFiles.end(), path) != openFiles.end())
    return Fail(TMX_INVALID_VALUE, name + " refers back to itself");
  if (openFiles.size() >= 8) return Fail(TMX_INVALID_VALUE, name + ": references nest too deep");
  std::optional<std::string> text = resolver ? resolver(path) : std::nullopt;
  if (!text) return Fail(TMX_COULDNT_OPEN, name + " cannot be read");
  return ParseXml(*text, name, document);
}

void MapReader::Read(const std::string& text, const std::string& directory) {
  TiXmlDocument document;
  if (!ParseXml(text, "Map", document)) return;
  const TiXmlElement& root = *document.RootElement();
  if (std::strcmp(root.Value(), "map") != 0) {
    Fail(TMX_PARSING_ERROR, "Not a map: the root element is " + Quote(root.Value()));
    return;
  }
  ReadMap(root, directory);
}

bool MapReader::ReadMap(const TiXmlElement& root, const std::string& directory) {
  const std::string where = "Map";
  int infinite = 0;
  if (!IntAttribute(root, "infinite", false, where, infinite)) return false;
  if (infinite != 0) return Fail(TMX_UNSUPPORTED, "Infinite maps are not supported");
  if (!IntAttribute(root, "width", true, where, map.width) ||
      !IntAttribute(root, "height", true, where, map.height) ||
      !IntAttribute(root, "tilewidth", true, where, map.tileWidth) ||
      !IntAttribute(root, "tileheight", true, where, map.tileHeight))
    return false;
  if (map.width < 1 || map.height < 1)
    return Fail(TMX_INVALID_VALUE, "Map: size " + std::to_string(map.width) + " x " +
                                       std::to_string(map.height) + " is not positive");
  if (map.tileWidth < 1 || map.tileHeight < 1)
    return Fail(TMX_INVALID_VALUE, "Map: tile size " + std::to_string(map.tileWidth) + " x " +
                                       std::to_string(map.tileHeight) + " is not positive");
  if (!ReadProperties(root, where, map.properties)) return false;

  for (const TiXmlElement* child = root.FirstChildElement(); child;
       child = child->NextSiblingElement()) {
    const char* kind = child->Value();
    bool ok = true;
    if (std::strcmp(kind, "tileset") == 0) {
      ok = ReadTileset(*child, directory);
    } else if (std::strcmp(kind, "layer") == 0) {
      ok = ReadLayer(*child);
    } else if (std::strcmp(kind, "objectgroup") == 0) {
      ok = ReadObjectGroup(*child, directory);
    }
    if (!ok) return false;
  }
  return true;
}

bool MapReader::ReadTileset(const TiXmlElement& element, const std::string& directory) {
  Tileset tileset;
  std::string where = "Tileset " + Quote(AttributeOr(element, "name", ""));
  if (!IntAttribute(element, "firstgid", true, where, tileset.firstGid)) return false;
  if (tileset.firstGid < 1)
    return Fail(TMX_INVALID_VALUE,
                where + ": first gid " + std::to_string(tileset.firstGid) + " is below 1");
  const char* source = element.Attribute("source");
  if (!source) {
    tilesetSources.emplace_back();
    if (!ReadTilesetBody(element, directory, where, tileset)) return false;
    map.tilesets.push_back(std::move(tileset));
    return true;
  }

  // An external tileset; its image is relative to the .tsx, not the map.
  std::string path = ResolvePath(directory, source);
  TiXmlDocument document;
  if (!LoadXml(path, "Tileset", document)) return false;
  const TiXmlElement& root = *document.RootElement();
  where = "Tileset " + Quote(path);
  if (std::strcmp(root.Value(), "tileset") != 0)
    return Fail(TMX_PARSING_ERROR, where + ": the root element is " + Quote(root.Value()));
  if (const char* further = root.Attribute("source")) {
    // A .tsx may only point on to another; follow it like the map would.
    openFiles.push_back(path);
    TiXmlElement forward("tileset");
    forward.SetAttribute("firstgid", tileset.firstGid);
    forward.SetAttribute("source", further);
    bool ok = ReadTileset(forward, DirectoryOf(path));
    openFiles.pop_back();
    return ok;
  }
  tilesetSources.push_back(path);
  if (!ReadTilesetBody(root, DirectoryOf(path), where, tileset)) return false;
  map.tilesets.push_back(std::move(tileset));
  return true;
}

bool MapReader::ReadTilesetBody(const TiXmlElement& element, const std::string& directory,
                                const std::string& where, Tileset& tileset) {
  tileset.name = AttributeOr(element, "name", "");
  if (!IntAttribute(element, "tilewidth", true, where, tileset.tileWidth) ||
      !IntAttribute(element, "tileheight", true, where, tileset.tileHeight) ||
      !IntAttribute(element, "margin", false, where, tileset.margin) ||
      !IntAttribute(element, "spacing", false, where, tileset.spacing))
    return false;
  if (tileset.tileWidth < 1 || tileset.tileHeight < 1)
    return Fail(TMX_INVALID_VALUE, where + ": tile size " + std::to_string(tileset.tileWidth) +
                                       " x " + std::to_string(tileset.tileHeight) +
                                       " is not positive");
  if (tileset.margin < 0 || tileset.spacing < 0)
    return Fail(TMX_INVALID_VALUE, where + ": negative margin or spacing");
  if (const TiXmlElement* image = element.FirstChildElement("image")) {
    const std::string imageWhere = where + ", image";
    if (!IntAttribute(*image, "width", false, imageWhere, tileset.image.width) ||
        !IntAttribute(*image, "height", false, imageWhere, tileset.image.height))
      return false;
    if (tileset.image.width < 0 || tileset.image.height < 0)
      return Fail(TMX_INVALID_VALUE, imageWhere + ": negative size");
    if (const char* source = image->Attribute("source"))
      tileset.image.source = ResolvePath(directory, source);
  }
  for (const TiXmlElement* child = element.FirstChildElement("tile"); child;
       child = child->NextSiblingElement("tile")) {
    Tile tile;
    if (!IntAttribute(*child, "id", true, where + ", tile", tile.id)) return false;
    const std::string tileWhere = where + ", tile " + std::to_string(tile.id);
    if (tile.id < 0) return Fail(TMX_INVALID_VALUE, tileWhere + ": negative id");
    if (!ReadProperties(*child, tileWhere, tile.properties)) return false;
    tileset.tiles.push_back(std::move(tile));
  }
  return true;
}

bool MapReader::ReadLayer(const TiXmlElement& element) {
  TileLayer layer;
  layer.name = AttributeOr(element, "name", "");
  const std::string where = "Layer " + Quote(layer.name);
  if (!IntAttribute(element, "width", true, where, layer.width) ||
      !IntAttribute(element, "height", true, where, layer.height))
    return false;
  if (layer.width < 1 || layer.height < 1)
    return Fail(TMX_INVALID_VALUE, where + ": size " + std::to_string(layer.width) + " x " +
                                       std::to_string(layer.height) + " is not positive");
  if (static_cast<long long>(layer.width) * layer.height > kMaxLayerCells)
    return Fail(TMX_INVALID_VALUE, where + ": " + std::to_string(layer.width) + " x " +
                                       std::to_string(layer.height) + " cells are more than " +
                                       std::to_string(kMaxLayerCells));
  if (!ReadProperties(element, where, layer.properties)) return false;
  const TiXmlElement* data = element.FirstChildElement("data");
  if (!data) return Fail(TMX_INVALID_DATA, where + ": no data");
  if (!ReadLayerData(*data, layer, where)) return false;
  map.tileLayers.push_back(std::move(layer));
  return true;
}

bool MapReader::ReadLayerData(const TiXmlElement& data, TileLayer& layer,
                              const std::string& where) {
  if (data.FirstChildElement("chunk"))
    return Fail(TMX_UNSUPPORTED, where + ": chunks of infinite maps are not supported");
  const std::size_t cells =
      static_cast<std::size_t>(layer.width) * static_cast<std::size_t>(layer.height);
  const std::string encoding = AttributeOr(data, "encoding", "");
  const std::string compression = AttributeOr(data, "compression", "");
  const char* text = data.GetText();
  std::string error;
  auto& gids = layer.gids;

  if (!compression.empty() && encoding != "base64")
    return Fail(TMX_UNSUPPORTED, where + ": compression " + Quote(compression) +
                                     " needs base64, not " + Quote(encoding));
  if (encoding.empty()) {
    gids.reserve(cells);
    for (const TiXmlElement* tile = data.FirstChildElement("tile"); tile;
         tile = tile->NextSiblingElement("tile")) {
      if (gids.size() == cells)
        return Fail(TMX_INVALID_DATA,
                    where + ": data holds more than " + std::to_string(cells) + " cells");
      std::uint32_t gid = 0;
      if (!GidAttribute(*tile, where, gid)) return false;
      gids.push_back(gid);
    }
  } else if (encoding == "csv") {
    if (!Data::ParseCsv(text ? text : "", cells, gids, error))
      return Fail(TMX_INVALID_DATA, where + ": " + error);
    for (auto& gid : gids) gid &= ~kFlagMask;
  } else if (encoding == "base64") {
    Data::Compression method;
    if (compression.empty()) {
      method = Data::Compression::kNone;
    } else if (compression == "zlib") {
      method = Data::Compression::kZlib;
    } else if (compression == "gzip") {
      method = Data::Compression::kGzip;
    } else if (compression == "zstd") {
      method = Data::Compression::kZstd;
    } else {
      return Fail(TMX_UNSUPPORTED, where + ": unknown compression " + Quote(compression));
    }
    std::vector<unsigned char> packed;
    if (!Data::DecodeBase64(text ? text : "", packed))
      return Fail(TMX_INVALID_DATA, where + ": data is not valid base64");
    std::vector<unsigned char> bytes;
    if (method == Data::Compression::kNone) {
      bytes.swap(packed);
    } else if (!Data::Decompress(method, packed, cells * 4, bytes, error)) {
      return Fail(TMX_INVALID_DATA, where + ": " + error);
    }
    if (bytes.size() % 4 != 0)
      return Fail(TMX_INVALID_DATA, where + ": data holds " + std::to_string(bytes.size()) +
                                        " bytes, not a whole number of cells");
    gids.resize(bytes.size() / 4);
    for (std::size_t i = 0; i < gids.size(); ++i) {
      const unsigned char* b = &bytes[i * 4];
      gids[i] = (static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
                 static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24) &
                ~kFlagMask;
    }
  } else {
    return Fail(TMX_UNSUPPORTED, where + ": unknown encoding " + Quote(encoding));
  }
  if (gids.size() != cells)
    return Fail(TMX_INVALID_DATA, where + ": data holds " + std::to_string(gids.size()) +
                                      " cells, expected " + std::to_string(cells));
  return true;
}

bool MapReader::ReadObjectGroup(const TiXmlElement& element, const std::string& directory) {
  ObjectGroup group;
  group.name = AttributeOr(element, "name", "");
  const std::string where = "Object group " + Quote(group.name);
  if (!ReadProperties(element, where, group.properties)) return false;
  int index = 0;
  for (const TiXmlElement* child = element.FirstChildElement("object"); child;
       child = child->NextSiblingElement("object")) {
    ++index;
    const char* id = child->Attribute("id");
    const std::string objectWhere =
        where + ", object " + (id ? Quote(id) : "#" + std::to_string(index));
    Object object;
    if (const char* templatePath = child->Attribute("template")) {
      if (!ApplyTemplate(ResolvePath(directory, templatePath), objectWhere, object,
                         child->Attribute("gid") != nullptr))
        return false;
    }
    if (!ReadObject(*child, objectWhere, object)) return false;
    group.objects.push_back(std::move(object));
  }
  map.objectGroups.push_back(std::move(group));
  return true;
}

bool MapReader::ReadObject(const TiXmlElement& element, const std::string& where, Object& object) {
  // Only what the element states: the rest stays as a template left it.
  if (const char* name = element.Attribute("name")) object.name = name;
  if (const char* type = element.Attribute("type")) {
    object.type = type;
  } else if (const char* typeClass = element.Attribute("class")) {
    object.type = typeClass;
  }
  if (!FloatAttribute(element, "x", where, object.x) ||
      !FloatAttribute(element, "y", where, object.y) ||
      !FloatAttribute(element, "width", where, object.width) ||
      !FloatAttribute(element, "height", where, object.height))
    return false;
  if (element.Attribute("gid") && !GidAttribute(element, where, object.gid)) return false;
  if (const TiXmlElement* polyline = element.FirstChildElement("polyline")) {
    std::vector<std::pair<float, float>> points;
    std::string text = AttributeOr(*polyline, "points", "");
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find_first_of(" \t\r\n", start);
      if (end == std::string::npos) end = text.size();
      std::string_view point(text.data() + start, end - start);
      start = end + 1;
      if (point.empty()) continue;
      std::size_t comma = point.find(',');
      std::pair<float, float> xy;
      if (comma == std::string_view::npos || !Data::ParseFloat(point.substr(0, comma), xy.first) ||
          !Data::ParseFloat(point.substr(comma + 1), xy.second))
        return Fail(TMX_INVALID_VALUE,
                    where + ": polyline point " + Quote(std::string(point)) + " is not x,y");
      points.push_back(xy);
    }
    object.hasPolyline = true;
    object.polyline = std::move(points);
  }
  return ReadProperties(element, where, object.properties);
}

bool MapReader::ApplyTemplate(const std::string& path, const std::string& where, Object& object,
                              bool ownGid) {
  const Template* found = LoadTemplate(path);
  if (!found) return false;
  object = found->object;
  if (ownGid || object.gid == 0) return true;

  // The template counts gids from its own tileset's first gid; find that
  // tileset in the map to count from the map's.
  const std::string name = "Template " + Quote(path);
  if (found->tilesetSource.empty())
    return Fail(TMX_INVALID_VALUE, where + ": " + name + " has a tile but no tileset");
  auto match = std::find(tilesetSources.begin(), tilesetSources.end(), found->tilesetSource);
  if (match == tilesetSources.end())
    return Fail(TMX_INVALID_VALUE, where + ": " + name + " uses tileset " +
                                       Quote(found->tilesetSource) + ", which the map lacks");
  if (object.gid < static_cast<std::uint32_t>(found->tilesetFirstGid))
    return Fail(TMX_INVALID_VALUE, where + ": " + name + " has a gid below its tileset's");
  std::uint32_t local = object.gid - static_cast<std::uint32_t>(found->tilesetFirstGid);
  std::uint32_t first = static_cast<std::uint32_t>(
      map.tilesets[static_cast<std::size_t>(match - tilesetSources.begin())].firstGid);
  if (local > (~kFlagMask) - first)
    return Fail(TMX_INVALID_VALUE, where + ": " + name + " has a gid out of range");
  object.gid = first + local;
  return true;
}

const MapReader::Template* MapReader::LoadTemplate(const std::string& path) {
  if (auto cached = templates.find(path); cached != templates.end()) return &cached->second;
  TiXmlDocument document;
  if (!LoadXml(path, "Template", document)) return nullptr;
  const std::string where = "Template " + Quote(path);
  const TiXmlElement& root = *document.RootElement();
  const TiXmlElement* element = root.FirstChildElement("object");
  if (std::strcmp(root.Value(), "template") != 0 || !element) {
    Fail(TMX_PARSING_ERROR, where + ": not a template with an object");
    return nullptr;
  }
  if (const char* inner = element->Attribute("template")) {
    std::string innerPath = ResolvePath(DirectoryOf(path), inner);
    if (innerPath == path ||
        std::find(openFiles.begin(), openFiles.end(), innerPath) != openFiles.end()) {
      Fail(TMX_INVALID_VALUE, where + " refers back to itself");
    } else {
      Fail(TMX_UNSUPPORTED, where + ": a template inside a template is not supported");
    }
    return nullptr;
  }
  Template loaded;
  if (const TiXmlElement* tileset = root.FirstChildElement("tileset")) {
    const std::string tilesetWhere = where + ", tileset";
    if (!IntAttribute(*tileset, "firstgid", true, tilesetWhere, loaded.tilesetFirstGid))
      return nullptr;
    if (loaded.tilesetFirstGid < 1) {
      Fail(TMX_INVALID_VALUE, tilesetWhere + ": first gid below 1");
      return nullptr;
    }
    const char* source = tileset->Attribute("source");
    if (!source) {
      Fail(TMX_UNSUPPORTED, tilesetWhere + ": only external tilesets are supported");
      return nullptr;
    }
    loaded.tilesetSource = ResolvePath(DirectoryOf(path), source);
  }
  openFiles.push_back(path);
  bool ok = ReadObject(*element, where, loaded.object);
  openFiles.pop_back();
  if (!ok) return nullptr;
  return &templates.emplace(path, std::move(loaded)).first->second;
}

bool MapReader::ReadProperties(const TiXmlElement& owner, const std::string& where,
                               PropertySet& set) {
  const TiXmlElement* list = owner.FirstChildElement("properties");
  if (!list) return true;
  for (const TiXmlElement* property = list->FirstChildElement("property"); property;
       property = property->NextSiblingElement("property")) {
    const char* name = property->Attribute("name");
    if (!name) return Fail(TMX_INVALID_VALUE, where + ": a property without a name");
    // Multi-line values are the element's text instead of an attribute.
    const char* value = property->Attribute("value");
    if (!value) value = property->GetText();
    set.Set(name, value ? value : "");
  }
  return true;
}

bool MapReader::IntAttribute(const TiXmlElement& element, const char* name, bool required,
                             const std::string& where, int& out) {
  const char* value = element.Attribute(name);
  if (!value) {
    if (!required) return true;
    return Fail(TMX_INVALID_VALUE, where + ": missing attribute '" + name + "'");
  }
  if (!Data::ParseInt(value, out))
    return Fail(TMX_INVALID_VALUE,
                where + ": attribute '" + name + "' is not a whole number: " + Quote(value));
  return true;
}

bool MapReader::FloatAttribute(const TiXmlElement& element, const char* name,
                               const std::string& where, float& out) {
  const char* value = element.Attribute(name);
  if (value && !Data::ParseFloat(value, out))
    return Fail(TMX_INVALID_VALUE,
                where + ": attribute '" + name + "' is not a number: " + Quote(value));
  return true;
}

bool MapReader::GidAttribute(const TiXmlElement& element, const std::string& where,
                             std::uint32_t& out) {
  out = 0;
  const char* value = element.Attribute("gid");
  if (!value) return true;  // an empty <tile/> cell
  if (!Data::ParseUint32(value, out))
    return Fail(TMX_INVALID_VALUE, where + ": gid " + Quote(value) + " is not a tile id");
  out &= ~kFlagMask;
  return true;
}

}  // namespace Tmx
