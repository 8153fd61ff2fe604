#pragma once

#include <cstdint>
#include <string>

#include "graphics/TextureHandle.h"
#include "platform/Rect.h"

class CCamera;
class CDirect3D;

// A texture cut into a grid of equal frames, with an animation cursor that
// walks the grid, an anchor that decides which point of the frame sits on the
// position, and drawing in screen space or through the camera.
//
// Modes: 0 play the row once, 1 loop the row, 2 ping-pong the row, 3 play the
// sheet once, 4 loop the sheet, 5 ping-pong the sheet.
// Anchors: 0..8 = top/middle/bottom (rows) x left/centre/right (columns).
class CSprite {
public:
  CSprite() = default;
  virtual ~CSprite() = default;

  // Only when it has no device yet: takes it, scale 1, position 0.
  void Init(CDirect3D* device);
  // Assigns a sheet. A zero frame size or frame time means one frame of the
  // whole texture. The same texture again only changes the mode. An empty
  // handle is a warning and changes nothing.
  bool SetTexture(int mode, int anchor, int frameWidth, int frameHeight, float frameTime,
                  const TextureHandle& handle);
  // One update step: animation, frame rectangle and draw position.
  void Advance(float seconds);
  bool IsAtLastFrame() const { return column == columns - 1 && row == rows - 1; }
  // `camera` null draws in screen space.
  void Draw(float alphaFactor, const CCamera* camera) const;

  void SetPosition(float px, float py) { x = px, y = py; }
  float GetX() const { return x; }
  float GetY() const { return y; }
  void SetScale(float sx, float sy) { scaleX = sx, scaleY = sy; }
  float GetScaleX() const { return scaleX; }
  float GetScaleY() const { return scaleY; }
  void SetRotation(float degrees) { rotation = degrees; }
  float GetRotation() const { return rotation; }
  void SetAlpha(float value) { alpha = value; }
  float GetAlpha() const { return alpha; }
  void SetColour(int r, int g, int b) { red = r, green = g, blue = b; }
  // Changing the mode starts its timing and direction over.
  void SetMode(int value);
  int GetMode() const { return mode; }
  bool IsFinished() const { return finished; }
  void SetFinished(bool value) { finished = value; }
  const std::string& GetName() const { return name; }
  void SetName(const std::string& value) { name = value; }
  int GetFrameWidth() const { return frameWidth; }
  int GetFrameHeight() const { return frameHeight; }
  int GetColumn() const { return column; }
  int GetRow() const { return row; }
  int GetColumns() const { return columns; }
  int GetRows() const { return rows; }
  // Selects a frame directly (kept inside the grid).
  void SetFrame(int newColumn, int newRow);
  const Rect& GetSource() const { return source; }
  // Draws only part of a one-frame sheet (traps reveal themselves from one
  // end); Advance does not touch the rectangle of such a sheet.
  void SetSource(const Rect& rect) { source = rect; }
  // The centre of scaling and rotation, relative to the frame's top left;
  // SetTexture puts it in the middle of the frame.
  void SetCentre(float cx, float cy) { centreX = cx, centreY = cy; }
  float GetCentreX() const { return centreX; }
  float GetCentreY() const { return centreY; }
  float GetDrawX() const { return drawX; }
  float GetDrawY() const { return drawY; }
  const TextureHandle& GetTexture() const { return texture; }
  float GetFrameTime() const { return frameTime; }
  void SetFrameTime(float seconds) { frameTime = seconds; }
  // Seconds gathered towards the next frame: exactly 0 on the step after a
  // frame changed, which is how animation events find "the start of a frame".
  float GetElapsed() const { return elapsed; }
  void ResetElapsed() { elapsed = 0.0f; }

private:
  void AnimationStep(float seconds);
  void UpdateDrawPosition();
  void KeepInGrid();

  std::string name;
  bool finished = false;
  int anchor = 0;
  CDirect3D* device = nullptr;
  TextureHandle texture;
  int textureWidth = 0;
  int textureHeight = 0;
  float centreX = 0.0f;
  float centreY = 0.0f;
  int columns = 1;
  int rows = 1;
  int column = 0;
  int row = 0;
  float x = 0.0f;
  float y = 0.0f;
  float drawX = 0.0f;
  float drawY = 0.0f;
  float scaleX = 1.0f;
  float scaleY = 1.0f;
  int frameWidth = 0;
  int frameHeight = 0;
  int mode = 1;
  Rect source;
  float rotation = 0.0f;
  float alpha = 1.0f;
  int red = 255;
  int green = 255;
  int blue = 255;
  float frameTime = 0.0f;
  float elapsed = 0.0f;
  int step = 1;
};
