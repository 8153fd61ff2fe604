#pragma once

struct Vector2 {
  float x = 0.0f;
  float y = 0.0f;
};

// A 2-D affine transform of row vectors: (x, y, 1) * M, as the sprite batch
// applies it to the corners of every quad.
struct Matrix2D {
  // | m11 m12 0 |
  // | m21 m22 0 |
  // | dx  dy  1 |
  float m11 = 1.0f, m12 = 0.0f;
  float m21 = 0.0f, m22 = 1.0f;
  float dx = 0.0f, dy = 0.0f;

  static Matrix2D Identity() { return {}; }
  // Scale about `scalingCentre`, then rotate by `rotationRadians` about
  // `rotationCentre` (positive turns clockwise on the y-down screen), then
  // translate.
  static Matrix2D Transformation2D(Vector2 scalingCentre, Vector2 scaling, Vector2 rotationCentre,
                                   float rotationRadians, Vector2 translation);

  Vector2 Apply(Vector2 point) const;
  // This transform followed by `next`.
  Matrix2D Then(const Matrix2D& next) const;
};
