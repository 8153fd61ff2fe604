#include "level/Tileset.h"

#include "app/Log.h"
#include "graphics/TextureManager.h"
#include "level/Tile.h"

CTileset::CTileset(const std::string& tilesetName, const std::string& path)
    : name(tilesetName), imagePath(path) {
  CTextureManager* textures = CTextureManager::GetInstance();
  // Tiles are always drawn at their own size.
  if (textures) texture = textures->GetTexture(imagePath, CTextureManager::kExact);
  if (texture && texture->HasTexture()) {
    imageWidth = texture->Width();
    imageHeight = texture->Height();
  } else {
    texture = nullptr;
    LogError("Could not load tileset: " + name);
  }
}

CTileset::~CTileset() = default;

void CTileset::CreateTiles(int mapImageWidth, int mapImageHeight) {
  tiles.clear();
  if (mapImageWidth <= 0 || mapImageHeight <= 0) {
    mapImageWidth = imageWidth;
    mapImageHeight = imageHeight;
  }
  if (tileWidth <= 0 || tileHeight <= 0) return;
  const long long count =
      static_cast<long long>(mapImageWidth / tileWidth) * (mapImageHeight / tileHeight);
  if (count <= 0) return;
  // Far more than any tileset image holds; a bogus size must not eat the
  // memory.
  if (count > (1 << 18)) {
    LogError("Tileset " + name + " claims " + std::to_string(count) + " tiles; none made");
    return;
  }
  tiles.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    auto tile = std::make_unique<CTile>();
    tile->index = i;
    tile->tileset = this;
    tiles.push_back(std::move(tile));
  }
}

CTile* CTileset::GetTile(int index) const {
  if (index < 0 || index >= TileCount()) return nullptr;
  return tiles[static_cast<std::size_t>(index)].get();
}

Rect CTileset::GetSourceRect(int index) const {
  if (index >= TileCount()) LogError("Tile index out of bounds");
  const int columns = tileWidth > 0 ? imageWidth / tileWidth : 0;
  int row = 0;
  int column = 0;
  if (columns != 0) {
    row = index / columns;
    column = index % columns;
  }
  Rect rect;
  rect.left = column * tileWidth;
  rect.right = rect.left + tileWidth;
  rect.top = row * tileHeight;
  rect.bottom = rect.top + tileHeight;
  return rect;
}
