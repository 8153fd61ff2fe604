#pragma once

#include <string>
#include <vector>

#include "objects/PropertyMap.h"

class CHitBox;
class CTile;

// A grid of tiles, drawn with culling to the screen and tested against hit
// boxes. Its origin is the world origin.
class CTileLayer {
public:
  // An empty grid; sizes below 1 count as 0.
  CTileLayer(const std::string& name, int width, int height, int tileWidth, int tileHeight);

  // Null outside the grid or for an empty cell.
  const CTile* GetCell(int x, int y) const;
  void SetCell(int x, int y, const CTile* tile);

  // Draws the cells on the 1280 x 1024 screen (plus one row and column)
  // with the layer's origin at (ox, oy).
  void Draw(int ox, int oy) const;

  // The first tile that `box` touches, column by column from the left and
  // within a column from the top; `depth` as the tile's test gives it.
  bool Collide(const CHitBox& box, float* depth) const;

  std::string name;
  int width = 0;
  int height = 0;
  int tileWidth = 0;
  int tileHeight = 0;
  PropertyMap properties;
  // Draw tiles one pixel short on the right and bottom (a debug key), to
  // tell texture bleeding from art faults.
  bool trimSourceRects = false;

private:
  // Column-major: [x][y].
  std::vector<const CTile*> cells;
};
