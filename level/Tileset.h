#pragma once

#include <memory>
#include <string>
#include <vector>

#include "graphics/TextureHandle.h"
#include "platform/Rect.h"

class CTile;

// One tileset image cut into tiles, with a record per tile.
class CTileset {
public:
  // Loads the image through the texture cache; a missing image is
  // reported ("Could not load tileset: NAME") and leaves the size 0.
  CTileset(const std::string& name, const std::string& imagePath);
  ~CTileset();
  CTileset(const CTileset&) = delete;
  CTileset& operator=(const CTileset&) = delete;

  // Makes the records 0 .. count - 1 for an image of the given size in the
  // map (the loaded texture's size when the map gives none).
  void CreateTiles(int mapImageWidth, int mapImageHeight);
  // Null beyond the tiles.
  CTile* GetTile(int index) const;
  int TileCount() const { return static_cast<int>(tiles.size()); }

  // Where a tile lies in the texture, row by row from the top left. An
  // index beyond the tiles is reported ("Tile index out of bounds") and
  // computed all the same.
  Rect GetSourceRect(int index) const;

  std::string name;
  std::string imagePath;
  int imageWidth = 0;
  int imageHeight = 0;
  int tileWidth = 0;
  int tileHeight = 0;
  TextureHandle texture;

private:
  std::vector<std::unique_ptr<CTile>> tiles;
};
