#include "level/tmx/TmxMap.h"

#include <algorithm>
#include <fstream>

#include "level/tmx/MapReader.h"

namespace Tmx {

namespace {

// Reads at most one byte past the limit, so oversized files are told
// apart without reading them whole.
std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return std::nullopt;
  std::streamoff size = file.tellg();
  if (size < 0) return std::nullopt;
  file.seekg(0);
  std::string text(
      std::min<std::size_t>(static_cast<std::size_t>(size), MapReader::kMaxFileBytes + 1), '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (file.bad()) return std::nullopt;
  text.resize(static_cast<std::size_t>(file.gcount()));
  return text;
}

}  // namespace

std::string PropertySet::GetStringProperty(const std::string& name) const {
  auto found = list.find(name);
  return found == list.end() ? std::string() : found->second;
}

const Tile* Tileset::GetTile(int id) const {
  for (const Tile& tile : tiles)
    if (tile.id == id) return &tile;
  return nullptr;
}

void Map::ParseFile(const std::string& path) {
  std::optional<std::string> text = ReadFile(path);
  if (!text) {
    *this = Map();
    errorCode = TMX_COULDNT_OPEN;
    errorText = "Map '" + path + "' cannot be read";
    return;
  }
  ParseText(*text, DirectoryOf(path), ReadFile);
}

void Map::ParseText(const std::string& text, const std::string& directory,
                    const FileResolver& resolver) {
  *this = Map();
  MapReader(*this, resolver).Read(text, directory);
  if (HasError()) {
    // Half a map is no use to anyone; keep only the fault.
    Map failed;
    failed.errorCode = errorCode;
    failed.errorText = std::move(errorText);
    *this = std::move(failed);
  }
}

}  // namespace Tmx
