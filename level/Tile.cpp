#include "level/Tile.h"

#include <string>

#include "level/Tileset.h"
#include "objects/HitBoxFile.h"

void CTile::SetUpCollision() {
  collisionType = GetIntProperty(properties, "collision_type");
  slopeM = GetDoubleProperty(properties, "slope_m");
  slopeN = GetDoubleProperty(properties, "slope_n");
  if (collisionType == kBoxes && tileset)
    LoadHitBoxList("Values/Tile Collisions/" + tileset->name + "/" + std::to_string(index), boxes);
}

bool CTile::Collide(const CHitBox& rect, const CHitBox& box, float* depth) const {
  if (collisionType == kBoxes) {
    if (!Intersects(box, rect, depth)) return false;
    if (boxes.empty()) return true;
    for (const CHitBox& part : boxes)
      if (Intersects(box, part.Offset(rect.left, rect.top), depth)) return true;
    return false;
  }
  if (collisionType == kSlope) {
    const float rectWidth = rect.right - rect.left;
    const float rectHeight = rect.bottom - rect.top;
    const double u = (box.left + (box.right - box.left) / 2.0f - rect.left) / rectWidth;
    const double v = u * slopeM + slopeN;
    const double h = 1.0 - (box.bottom - rect.top) / rectHeight;
    if (!(v > h && u >= 0.0 && u <= 1.0)) return false;
    if (depth) {
      depth[0] = 0.0f;
      depth[1] = static_cast<float>(box.bottom - (rect.top + rectHeight * (1.0 - v)));
    }
    return true;
  }
  return Intersects(box, rect, depth);
}
