#include "platform/Matrix2D.h"

#include <cmath>

Matrix2D Matrix2D::Transformation2D(Vector2 sc, Vector2 scaling, Vector2 rc, float angle,
                                    Vector2 translation) {
  Matrix2D toScaleCentre{1, 0, 0, 1, -sc.x, -sc.y};
  Matrix2D scale{scaling.x, 0, 0, scaling.y, 0, 0};
  Matrix2D fromScaleCentre{1, 0, 0, 1, sc.x, sc.y};
  float c = std::cos(angle);
  float s = std::sin(angle);
  Matrix2D toRotationCentre{1, 0, 0, 1, -rc.x, -rc.y};
  Matrix2D rotate{c, s, -s, c, 0, 0};
  Matrix2D back{1, 0, 0, 1, rc.x + translation.x, rc.y + translation.y};
  return toScaleCentre.Then(scale)
      .Then(fromScaleCentre)
      .Then(toRotationCentre)
      .Then(rotate)
      .Then(back);
}

Vector2 Matrix2D::Apply(Vector2 p) const {
  return {p.x * m11 + p.y * m21 + dx, p.x * m12 + p.y * m22 + dy};
}

Matrix2D Matrix2D::Then(const Matrix2D& n) const {
  return {m11 * n.m11 + m12 * n.m21,      m11 * n.m12 + m12 * n.m22,
          m21 * n.m11 + m22 * n.m21,      m21 * n.m12 + m22 * n.m22,
          dx * n.m11 + dy * n.m21 + n.dx, dx * n.m12 + dy * n.m22 + n.dy};
}
