#include "platform/Matrix2D.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

void ExpectPoint(Vector2 actual, float x, float y) {
  EXPECT_NEAR(actual.x, x, 1e-3f);
  EXPECT_NEAR(actual.y, y, 1e-3f);
}

// A 64 x 32 frame placed at (100, 200), transformed about its centre.
Matrix2D AboutCentre(Vector2 scaling, float degrees) {
  const Vector2 centre{32, 16};
  return Matrix2D::Transformation2D(
      centre, scaling, centre, static_cast<float>(degrees * std::numbers::pi / 180.0), {100, 200});
}

TEST(Matrix2D, CornersUnderRotationMirroringAndScale) {
  Matrix2D plain = AboutCentre({1, 1}, 0);
  ExpectPoint(plain.Apply({0, 0}), 100, 200);
  ExpectPoint(plain.Apply({64, 32}), 164, 232);

  // 90 degrees turns clockwise on a y-down screen: the top edge becomes the
  // right edge.
  Matrix2D turned = AboutCentre({1, 1}, 90);
  ExpectPoint(turned.Apply({0, 0}), 148, 184);
  ExpectPoint(turned.Apply({64, 0}), 148, 248);
  ExpectPoint(turned.Apply({64, 32}), 116, 248);
  ExpectPoint(turned.Apply({0, 32}), 116, 184);

  Matrix2D mirrored = AboutCentre({-1, 1}, 0);
  ExpectPoint(mirrored.Apply({0, 0}), 164, 200);
  ExpectPoint(mirrored.Apply({64, 32}), 100, 232);

  Matrix2D doubled = AboutCentre({2, 2}, 0);
  ExpectPoint(doubled.Apply({0, 0}), 68, 184);
  ExpectPoint(doubled.Apply({64, 32}), 196, 248);

  // Scale first, then rotate: a 2 x 1 stretch turned by 90 degrees is tall.
  Matrix2D both = AboutCentre({2, 1}, 90);
  ExpectPoint(both.Apply({0, 16}), 132, 152);
  ExpectPoint(both.Apply({64, 16}), 132, 280);
}

TEST(Matrix2D, DifferentScalingAndRotationCentres) {
  // Scale about the origin, rotate 180 degrees about (10, 0).
  Matrix2D m = Matrix2D::Transformation2D({0, 0}, {3, 3}, {10, 0},
                                          static_cast<float>(std::numbers::pi), {0, 0});
  ExpectPoint(m.Apply({1, 0}), 17, 0);  // 3 -> mirrored about 10
  ExpectPoint(m.Apply({0, 1}), 20, -3);
  ExpectPoint(Matrix2D::Identity().Then(m).Apply({1, 1}), 17, -3);
}

}  // namespace
