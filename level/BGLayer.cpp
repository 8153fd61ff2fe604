#include "level/BGLayer.h"

#include <algorithm>
#include <cmath>

#include "graphics/Direct3D.h"
#include "platform/SpriteBatch.h"

namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;
constexpr int kBlock = CAlphaCoverage::kBlock;

}  // namespace

bool CBGLayer::CoversRow(int row) const {
  if (!texture || !texture->coverage) return false;
  const float left = std::round(x);
  return texture->coverage->RowOpaque(row) && left <= 0.0f &&
         left + static_cast<float>(texture->Width()) >= kScreenWidth;
}

void CBGLayer::Draw(const std::vector<bool>* hidden) const {
  CDirect3D* d3d = CDirect3D::GetInstance();
  if (!d3d || !d3d->GetSprite() || !d3d->GetRenderer()) return;
  CSpriteBatch& batch = *d3d->GetSprite();
  batch.SetTransform(Matrix2D::Transformation2D({0, 0}, {1, 1}, {0, 0}, 0.0f, {x, y}));
  if (!texture || !texture->HasTexture()) return;
  CPlatformTexture* native = texture->Resolve(*d3d->GetRenderer());
  const CAlphaCoverage* coverage = texture->coverage.get();
  if (!coverage) {
    batch.Draw(native, nullptr, 0xffffffff);
    return;
  }
  // Whole pixels, so that neighbouring blocks meet without a seam.
  const float left = std::round(x);
  const float top = std::round(y);
  const int width = texture->Width();
  const int height = texture->Height();
  const int firstColumn = std::max(0, static_cast<int>(std::floor(-left / kBlock)));
  const int lastColumn = std::min(coverage->Columns() - 1,
                                  static_cast<int>(std::floor((kScreenWidth - left) / kBlock)));
  const int firstRow = std::max(0, static_cast<int>(std::floor(-top / kBlock)));
  const int lastRow =
      std::min(coverage->Rows() - 1, static_cast<int>(std::floor((kScreenHeight - top) / kBlock)));
  const SpriteBlend before = batch.GetBlend();
  for (const auto& [kind, blend] : {std::pair{CAlphaCoverage::Opaque, SpriteBlend::None},
                                    std::pair{CAlphaCoverage::Mixed, SpriteBlend::Alpha}}) {
    batch.SetBlend(blend);
    for (int row = firstRow; row <= lastRow; ++row) {
      if (hidden && row < static_cast<int>(hidden->size()) && (*hidden)[row]) continue;
      for (int column = firstColumn; column <= lastColumn;) {
        if (coverage->At(column, row) != kind) {
          ++column;
          continue;
        }
        // A run of blocks of one kind is one quad.
        int end = column;
        while (end + 1 <= lastColumn && coverage->At(end + 1, row) == kind) ++end;
        const Rect source{column * kBlock, row * kBlock, std::min((end + 1) * kBlock, width),
                          std::min((row + 1) * kBlock, height)};
        batch.SetTransform(Matrix2D::Transformation2D(
            {0, 0}, {1, 1}, {0, 0}, 0.0f,
            {left + static_cast<float>(source.left), top + static_cast<float>(source.top)}));
        batch.Draw(native, &source, 0xffffffff);
        column = end + 1;
      }
    }
  }
  batch.SetBlend(before);
}
