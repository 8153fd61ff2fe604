#pragma once

#include "app/Random.h"
#include "platform/Matrix2D.h"

// The view of the level, in level pixels with y down. (x, y) is the centre of
// the 1280 x 1024 screen; it follows the target horizontally and vertically
// only once the target leaves a band of the screen. A shake jitters the view
// without moving the centre.
class CCamera {
public:
  static constexpr float kHalfWidth = 640.0f;
  static constexpr float kHalfHeight = 512.0f;

  // Follows the target, shakes while shakeTime lasts, then keeps the centre
  // inside [min, max].
  void Update(float seconds, float targetX, float targetY);

  // The largest centre that still shows no space beyond the level.
  void SetLevelSize(float width, float height);

  float ScreenX(float levelX) const { return levelX - (x + offsetX) + kHalfWidth; }
  float ScreenY(float levelY) const { return levelY - (y + offsetY) + kHalfHeight; }
  Vector2 ToScreen(Vector2 level) const { return {ScreenX(level.x), ScreenY(level.y)}; }

  float x = 0.0f;
  float y = 0.0f;
  float maxX = 0.0f;
  float maxY = 0.0f;
  float minX = kHalfWidth;
  float minY = kHalfHeight;
  // Shake amplitudes; whoever wants a shake sets them with shakeTime.
  float shakeX = 0.0f;
  float shakeY = 0.0f;
  float offsetX = 0.0f;
  float offsetY = 0.0f;
  float shakeTime = 0.0f;  // seconds left
  // The band of the screen height, as fractions from the top, inside which
  // the target moves without moving the view.
  float deadZoneTop = 0.45f;
  float deadZoneBottom = 0.75f;
  // The shake's own random sequence.
  CRandom random;
};
