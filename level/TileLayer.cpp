#include "level/TileLayer.h"

#include <algorithm>

#include "graphics/Direct3D.h"
#include "level/Tile.h"
#include "level/Tileset.h"
#include "objects/HitBox.h"
#include "platform/SpriteBatch.h"

namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;

// The cell index of a world coordinate, kept in [0, count - 1]. Compared
// as floats first: converting a float beyond int's range (or NaN) is
// undefined.
int CellIndex(float position, int cellSize, int count) {
  const float cell = std::max(position, 0.0f) / static_cast<float>(cellSize);
  if (!(cell >= 0.0f)) return 0;
  if (cell >= static_cast<float>(count - 1)) return count - 1;
  return static_cast<int>(cell);
}

}  // namespace

CTileLayer::CTileLayer(const std::string& layerName, int layerWidth, int layerHeight, int cellWidth,
                       int cellHeight)
    : name(layerName),
      width(std::max(layerWidth, 0)),
      height(std::max(layerHeight, 0)),
      tileWidth(cellWidth),
      tileHeight(cellHeight),
      cells(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), nullptr) {}

const CTile* CTileLayer::GetCell(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return nullptr;
  return cells[static_cast<std::size_t>(x) * static_cast<std::size_t>(height) +
               static_cast<std::size_t>(y)];
}

void CTileLayer::SetCell(int x, int y, const CTile* tile) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  cells[static_cast<std::size_t>(x) * static_cast<std::size_t>(height) +
        static_cast<std::size_t>(y)] = tile;
}

void CTileLayer::Draw(int ox, int oy) const {
  if (width == 0 || height == 0 || tileWidth <= 0 || tileHeight <= 0) return;
  CDirect3D* d3d = CDirect3D::GetInstance();
  if (!d3d || !d3d->GetSprite() || !d3d->GetRenderer()) return;
  CSpriteBatch& batch = *d3d->GetSprite();
  const int x0 = std::max(0, -(ox / tileWidth));
  const int y0 = std::max(0, -(oy / tileHeight));
  const int x1 = std::min(width - 1, x0 + kScreenWidth / tileWidth + 1);
  const int y1 = std::min(height - 1, y0 + kScreenHeight / tileHeight + 1);
  for (int x = x0; x <= x1; ++x) {
    for (int y = y0; y <= y1; ++y) {
      const CTile* tile = GetCell(x, y);
      if (!tile || !tile->tileset) continue;
      const CTileset& tileset = *tile->tileset;
      Rect source = tileset.GetSourceRect(tile->index);
      if (!tileset.texture || !tileset.texture->HasTexture()) continue;
      if (trimSourceRects) {
        --source.right;
        --source.bottom;
      }
      Matrix2D transform;
      transform.dx = static_cast<float>(ox + x * tileWidth);
      transform.dy = static_cast<float>(oy + y * tileHeight);
      batch.SetTransform(transform);
      batch.Draw(tileset.texture->Resolve(*d3d->GetRenderer()), &source, 0xffffffff);
    }
  }
}

bool CTileLayer::Collide(const CHitBox& box, float* depth) const {
  if (width == 0 || height == 0 || tileWidth <= 0 || tileHeight <= 0) return false;
  const int x0 = CellIndex(box.left, tileWidth, width);
  const int x1 = CellIndex(box.right, tileWidth, width);
  const int y0 = CellIndex(box.top, tileHeight, height);
  const int y1 = CellIndex(box.bottom, tileHeight, height);
  for (int x = x0; x <= x1; ++x) {
    for (int y = y0; y <= y1; ++y) {
      const CTile* tile = GetCell(x, y);
      if (!tile) continue;
      const float left = static_cast<float>(x * tileWidth);
      const float top = static_cast<float>(y * tileHeight);
      const CHitBox rect(top, top + static_cast<float>(tileHeight), left,
                         left + static_cast<float>(tileWidth));
      if (tile->Collide(rect, box, depth)) return true;
    }
  }
  return false;
}
