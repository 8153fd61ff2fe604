#pragma once

// An axis-aligned box in world pixels, y growing downwards. All zero by
// default: a point at the world origin, which overlaps only boxes that hold
// the origin strictly inside.
class CHitBox {
public:
  CHitBox() = default;
  CHitBox(float top, float bottom, float left, float right)
      : top(top), bottom(bottom), left(left), right(right) {}
  virtual ~CHitBox() = default;
  CHitBox(const CHitBox&) = default;
  CHitBox& operator=(const CHitBox&) = default;

  // The box moved by (dx, dy).
  CHitBox Offset(float dx, float dy) const {
    return {top + dy, bottom + dy, left + dx, right + dx};
  }

  float top = 0.0f;
  float bottom = 0.0f;
  float left = 0.0f;
  float right = 0.0f;
};

struct Matrix2D;

// The upright box around `box` pushed through `transform` (a picture's turn,
// mirror and move): so a turned object collides where it is drawn. Edges
// are snapped to 1/1024 pixel, as quarter turns leave sine and cosine a hair
// off 0 and 1.
CHitBox BoundsThrough(const CHitBox& box, const Matrix2D& transform);

// Overlap test by centres and half sizes; edges that only touch do not
// overlap. On overlap `depth` (when given, two floats) receives how far the
// boxes reach into each other along x and along y, both positive.
bool Intersects(const CHitBox& a, const CHitBox& b, float* depth);
