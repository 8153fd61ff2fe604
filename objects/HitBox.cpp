#include "objects/HitBox.h"

#include <algorithm>
#include <cmath>

#include "platform/Matrix2D.h"

CHitBox BoundsThrough(const CHitBox& box, const Matrix2D& transform) {
  const Vector2 corners[4] = {
      {box.left, box.top}, {box.right, box.top}, {box.right, box.bottom}, {box.left, box.bottom}};
  Vector2 low = transform.Apply(corners[0]);
  Vector2 high = low;
  for (const Vector2& corner : corners) {
    const Vector2 p = transform.Apply(corner);
    low = {std::min(low.x, p.x), std::min(low.y, p.y)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y)};
  }
  auto snap = [](float value) { return std::round(value * 1024.0f) / 1024.0f; };
  return {snap(low.y), snap(high.y), snap(low.x), snap(high.x)};
}

bool Intersects(const CHitBox& a, const CHitBox& b, float* depth) {
  const float halfWidthA = (a.right - a.left) / 2.0f;
  const float halfHeightA = (a.bottom - a.top) / 2.0f;
  const float halfWidthB = (b.right - b.left) / 2.0f;
  const float halfHeightB = (b.bottom - b.top) / 2.0f;
  const float dx = std::fabs((a.left + halfWidthA) - (b.left + halfWidthB));
  const float dy = std::fabs((a.top + halfHeightA) - (b.top + halfHeightB));
  const float reachX = halfWidthA + halfWidthB;
  const float reachY = halfHeightA + halfHeightB;
  if (!(dx < reachX && dy < reachY)) return false;
  if (depth) {
    depth[0] = reachX - dx;
    depth[1] = reachY - dy;
  }
  return true;
}
