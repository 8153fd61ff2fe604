#include "graphics/Sprite.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "app/Camera.h"
#include "app/Log.h"
#include "graphics/Direct3D.h"
#include "platform/Matrix2D.h"
#include "platform/SpriteBatch.h"

void CSprite::Init(CDirect3D* newDevice) {
  if (device) return;
  device = newDevice;
  scaleX = scaleY = 1.0f;
  x = y = 0.0f;
  centreX = centreY = 0.0f;
}

bool CSprite::SetTexture(int newMode, int newAnchor, int newFrameWidth, int newFrameHeight,
                         float newFrameTime, const TextureHandle& handle) {
  // A cell without a texture has no size to cut frames from.
  if (!handle || !handle->HasTexture()) {
    LogWarning("Could not assign texture to sprite. Texture not found!");
    return false;
  }
  SetMode(newMode);
  if (handle == texture) return true;

  texture = handle;
  textureWidth = handle->Width();
  textureHeight = handle->Height();
  if (newFrameTime != 0.0f && newFrameHeight != 0 && newFrameWidth != 0) {
    frameWidth = newFrameWidth;
    frameHeight = newFrameHeight;
  } else {
    frameWidth = textureWidth;
    frameHeight = textureHeight;
  }
  source = {0, 0, frameWidth, frameHeight};
  frameTime = newFrameTime;
  column = row = 0;
  anchor = newAnchor;
  columns = frameWidth > 0 ? textureWidth / frameWidth : 0;
  rows = frameHeight > 0 ? textureHeight / frameHeight : 0;
  if (columns < 1 || rows < 1) {
    // Without this the cursor would leave a grid of zero frames for good.
    LogWarning("Sprite frame is larger than its texture; drawing it as one frame");
    columns = std::max(columns, 1);
    rows = std::max(rows, 1);
  }
  step = 1;
  elapsed = 0.0f;
  finished = false;
  centreX = frameWidth / 2.0f;
  centreY = frameHeight / 2.0f;
  UpdateDrawPosition();
  return true;
}

void CSprite::SetMode(int value) {
  if (value == mode) return;
  mode = value;
  // A backward step left over from a ping-pong would run another mode
  // backwards past its start.
  step = 1;
  elapsed = 0.0f;
  finished = false;
}

void CSprite::SetFrame(int newColumn, int newRow) {
  column = newColumn;
  row = newRow;
  KeepInGrid();
}

void CSprite::KeepInGrid() {
  column = std::clamp(column, 0, columns - 1);
  row = std::clamp(row, 0, rows - 1);
}

void CSprite::Advance(float seconds) {
  if (columns != 1 || rows != 1) {
    if (!finished) AnimationStep(seconds);
    source = {column * frameWidth + 1, row * frameHeight + 1, (column + 1) * frameWidth,
              (row + 1) * frameHeight};
  }
  UpdateDrawPosition();
}

void CSprite::AnimationStep(float seconds) {
  elapsed += seconds;
  if (!(frameTime < elapsed)) return;
  elapsed = 0.0f;
  column += step;
  if (column == columns) {
    switch (mode) {
      case 0:
        finished = true;
        column = columns - 1;
        break;
      case 1:
        column = 0;
        break;
      case 2:
        column = columns - 2;
        step = -1;
        break;
      case 3:
        column = 0;
        if (++row == rows) {
          finished = true;
          row = rows - 1;
          column = columns - 1;
        }
        break;
      case 4:
        column = 0;
        if (++row == rows) row = 0;
        break;
      case 5:
        if (++row == rows) {
          row = rows - 1;
          column = columns - 2;
          step = -1;
        } else {
          column = 0;
        }
        break;
    }
  } else if (column < 0) {
    switch (mode) {
      case 1:
        column = columns - 1;
        break;
      case 2:
        column = 0;
        step = 1;
        break;
      case 3:
        row -= 1;
        column = columns - 1;
        if (row < 0) {
          column = 0;
          row = 0;
          finished = true;
        }
        break;
      case 4:
        row -= 1;
        column = columns - 1;
        if (row < 0) row = rows - 1;
        break;
      case 5:
        if (--row < 0) {
          row = 0;
          column = 1;
          step = 1;
        } else {
          column = columns - 1;
        }
        break;
    }
  }
  // One-column sheets turn to column -1 or 1; unknown modes run off the end.
  KeepInGrid();
}

void CSprite::UpdateDrawPosition() {
  // Anchor = 3 x vertical (top, middle, bottom) + horizontal (left, centre,
  // right); anything else is the top left.
  const int valid = anchor >= 0 && anchor <= 8 ? anchor : 0;
  const float fractions[3] = {0.0f, 0.5f, 1.0f};
  drawX = x - static_cast<float>(frameWidth) * fractions[valid % 3];
  drawY = y - static_cast<float>(frameHeight) * fractions[valid / 3];
}

void CSprite::Draw(float alphaFactor, const CCamera* camera) const {
  Vector2 translation{drawX, drawY};
  if (camera) translation = camera->ToScreen(translation);
  // The device of the moment: a sprite may outlive the one it was given.
  CDirect3D* d3d = CDirect3D::GetInstance();
  if (!d3d || !d3d->GetSprite() || !d3d->GetRenderer()) return;
  CSpriteBatch& batch = *d3d->GetSprite();
  const Vector2 centre{centreX, centreY};
  batch.SetTransform(Matrix2D::Transformation2D(
      centre, {scaleX, scaleY}, centre, static_cast<float>(rotation * std::numbers::pi / 180.0),
      translation));
  if (!texture || !texture->HasTexture()) return;
  float opacity = std::clamp(alpha * alphaFactor, 0.0f, 1.0f);
  std::uint32_t a = static_cast<std::uint32_t>(opacity * 255.0f);
  std::uint32_t colour = (a << 24) | (std::uint32_t(std::clamp(red, 0, 255)) << 16) |
                         (std::uint32_t(std::clamp(green, 0, 255)) << 8) |
                         std::uint32_t(std::clamp(blue, 0, 255));
  batch.Draw(texture->Resolve(*d3d->GetRenderer()), &source, colour);
}
