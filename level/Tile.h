#pragma once

#include <vector>

#include "objects/HitBox.h"
#include "objects/PropertyMap.h"

class CTileset;

// One tile of a tileset and its collision shape.
class CTile {
public:
  // 2: the boxes; 3: a slope; anything else: the whole tile is solid.
  static constexpr int kBoxes = 2;
  static constexpr int kSlope = 3;

  // Reads the shape from the properties ("collision_type", "slope_m",
  // "slope_n"); the boxes of type 2 come from the tileset's folder of tile
  // collision files. Called for tiles the map lists.
  void SetUpCollision();

  // Whether `box` touches this tile standing at `rect` (world pixels). On a
  // touch `depth` (when given) receives the penetration: for boxes and
  // whole tiles as Intersects gives it, for a slope (0, how far the box's
  // bottom lies below the surface).
  bool Collide(const CHitBox& rect, const CHitBox& box, float* depth) const;

  int index = 0;
  PropertyMap properties;
  int collisionType = 1;
  // The slope's surface height as a fraction of the tile height above its
  // bottom: slopeN at the left edge, changing by slopeM across the tile.
  double slopeN = 0.0;
  double slopeM = 0.0;
  // Relative to the tile's top-left corner.
  std::vector<CHitBox> boxes;
  const CTileset* tileset = nullptr;
};
