#include "objects/HitBox.h"

#include <cmath>

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
