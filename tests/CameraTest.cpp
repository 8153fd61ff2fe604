#include "app/Camera.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace {

TEST(Camera, StartsAtZeroApartFromLimitsAndDeadZone) {
  CCamera camera;
  for (float value : {camera.x, camera.y, camera.maxX, camera.maxY, camera.shakeX, camera.shakeY,
                      camera.offsetX, camera.offsetY, camera.shakeTime}) {
    EXPECT_EQ(value, 0.0f);
  }
  EXPECT_EQ(camera.minX, 640.0f);
  EXPECT_EQ(camera.minY, 512.0f);
  EXPECT_EQ(camera.deadZoneTop, 0.45f);
  EXPECT_EQ(camera.deadZoneBottom, 0.75f);
  camera.SetLevelSize(3000.0f, 2000.0f);
  EXPECT_EQ(camera.maxX, 2360.0f);
  EXPECT_EQ(camera.maxY, 1488.0f);
}

TEST(Camera, FollowsHorizontallyAndVerticallyOnlyOutsideTheDeadZone) {
  CCamera camera;
  camera.SetLevelSize(10000.0f, 10000.0f);
  // With the centre at 2000 the band runs from 1948.8 to 2256.
  for (float target : {1949.0f, 2000.0f, 2100.0f, 2256.0f}) {
    camera.y = 2000.0f;
    camera.Update(0.01f, 3000.0f, target);
    EXPECT_EQ(camera.y, 2000.0f) << target;
    EXPECT_EQ(camera.x, 3000.0f);
  }
  camera.y = 2000.0f;
  camera.Update(0.01f, 3000.0f, 1900.0f);
  EXPECT_FLOAT_EQ(camera.y, 2000.0f - 48.8f);
  camera.y = 2000.0f;
  camera.Update(0.01f, 3000.0f, 2256.5f);
  EXPECT_EQ(camera.y, 2000.5f);
  camera.y = 2000.0f;
  camera.Update(0.01f, 3000.0f, 2300.0f);
  EXPECT_FLOAT_EQ(camera.y, 2044.0f);
  // Moving by the excess puts the target on the band's edge.
  camera.Update(0.01f, 3000.0f, 2300.0f);
  EXPECT_FLOAT_EQ(camera.y, 2044.0f);
}

TEST(Camera, ShakeCoversWholeStepsBelowTheAmplitudeThenStops) {
  std::srand(20240611);
  CCamera camera;
  camera.SetLevelSize(4000.0f, 4000.0f);
  camera.shakeX = 4.0f;
  camera.shakeY = 4.0f;
  camera.shakeTime = 1.0f;
  std::set<float> seenX, seenY;
  for (int i = 0; i < 999; ++i) {
    camera.Update(0.001f, 2000.0f, 2000.0f);
    seenX.insert(camera.offsetX);
    seenY.insert(camera.offsetY);
  }
  const std::set<float> expected = {-4, -3, -2, -1, 0, 1, 2, 3};
  EXPECT_EQ(seenX, expected);
  EXPECT_EQ(seenY, expected);
  ASSERT_GT(camera.shakeTime, 0.0f);

  // The update that uses up the time still shakes; the next one does not.
  camera.shakeX = 0.5f;
  camera.shakeY = 0.0f;
  camera.Update(0.5f, 2000.0f, 2000.0f);
  EXPECT_LE(camera.shakeTime, 0.0f);
  EXPECT_EQ(camera.offsetX, 0.5f);
  EXPECT_EQ(camera.offsetY, 0.0f);  // zero amplitude
  camera.Update(0.01f, 2000.0f, 2000.0f);
  EXPECT_EQ(camera.offsetX, 0.0f);
  EXPECT_EQ(camera.offsetY, 0.0f);
}

TEST(Camera, AmplitudeBelowOneShiftsByItself) {
  CCamera camera;
  camera.SetLevelSize(4000.0f, 4000.0f);
  camera.shakeX = 0.5f;
  camera.shakeY = -0.75f;
  camera.shakeTime = 0.1f;
  camera.Update(0.01f, 1000.0f, 1000.0f);
  EXPECT_EQ(camera.offsetX, 0.5f);
  EXPECT_EQ(camera.offsetY, -0.75f);
  EXPECT_FLOAT_EQ(camera.shakeTime, 0.09f);
}

TEST(Camera, ClampsTheCentreButNotTheShake) {
  std::srand(7);
  CCamera camera;
  camera.SetLevelSize(3000.0f, 2000.0f);
  camera.shakeX = 20.0f;
  camera.shakeY = 20.0f;
  camera.shakeTime = 10.0f;
  bool shookPastEdge = false;
  for (int i = 0; i < 50; ++i) {
    camera.Update(0.01f, -500.0f, -500.0f);
    EXPECT_EQ(camera.x, 640.0f);
    EXPECT_EQ(camera.y, 512.0f);
    EXPECT_GE(camera.offsetX, -20.0f);
    EXPECT_LT(camera.offsetX, 20.0f);
    shookPastEdge = shookPastEdge || camera.offsetX < 0.0f;
  }
  EXPECT_TRUE(shookPastEdge);
  camera.Update(0.01f, 9000.0f, 9000.0f);
  EXPECT_EQ(camera.x, 2360.0f);
  EXPECT_EQ(camera.y, 1488.0f);
}

TEST(Camera, LevelsNoLargerThanTheScreenStayCentred) {
  CCamera exact;
  exact.SetLevelSize(1280.0f, 1024.0f);
  CCamera narrow;
  narrow.SetLevelSize(800.0f, 600.0f);
  for (float target : {-1000.0f, 0.0f, 300.0f, 640.0f, 900.0f, 5000.0f}) {
    exact.Update(0.01f, target, target);
    EXPECT_EQ(exact.x, 640.0f) << target;
    EXPECT_EQ(exact.y, 512.0f) << target;
    narrow.Update(0.01f, target, target);
    EXPECT_EQ(narrow.x, 400.0f) << target;
    EXPECT_EQ(narrow.y, 300.0f) << target;
  }
}

TEST(Camera, MapsLevelToScreenThroughCentreAndShake) {
  CCamera camera;
  camera.x = 1000.0f;
  camera.y = 800.0f;
  EXPECT_EQ(camera.ScreenX(1000.0f), 640.0f);
  EXPECT_EQ(camera.ScreenY(800.0f), 512.0f);
  EXPECT_EQ(camera.ScreenX(360.0f), 0.0f);
  EXPECT_EQ(camera.ScreenY(288.0f), 0.0f);
  camera.offsetX = -3.0f;
  camera.offsetY = 2.0f;
  Vector2 screen = camera.ToScreen({1000.0f, 800.0f});
  EXPECT_EQ(screen.x, 643.0f);
  EXPECT_EQ(screen.y, 510.0f);
}

}  // namespace
