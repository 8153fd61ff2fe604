#include "graphics/AlphaCoverage.h"

#include "platform/DecodedImage.h"

std::unique_ptr<CAlphaCoverage> CAlphaCoverage::Measure(const CDecodedImage& image) {
  auto coverage = std::make_unique<CAlphaCoverage>();
  const int width = image.Width();
  const int height = image.Height();
  coverage->columns = (width + kBlock - 1) / kBlock;
  coverage->rows = (height + kBlock - 1) / kBlock;
  coverage->kinds.assign(static_cast<std::size_t>(coverage->columns) * coverage->rows, Clear);
  coverage->opaqueRows.assign(static_cast<std::size_t>(coverage->rows), true);
  for (int by = 0; by < coverage->rows; ++by) {
    for (int bx = 0; bx < coverage->columns; ++bx) {
      bool anyVisible = false;
      bool allSolid = true;
      for (int y = by * kBlock; y < (by + 1) * kBlock && y < height; ++y) {
        for (int x = bx * kBlock; x < (bx + 1) * kBlock && x < width; ++x) {
          const unsigned alpha = image.Pixel(x, y) >> 24;
          anyVisible = anyVisible || alpha != 0;
          allSolid = allSolid && alpha == 255;
        }
      }
      // A block cut off by the picture's edge is not solid where it is cut.
      const bool whole = (bx + 1) * kBlock <= width && (by + 1) * kBlock <= height;
      const Kind kind = !anyVisible ? Clear : allSolid && whole ? Opaque : Mixed;
      coverage->kinds[static_cast<std::size_t>(by) * coverage->columns + bx] = kind;
      if (kind != Opaque) coverage->opaqueRows[static_cast<std::size_t>(by)] = false;
    }
  }
  return coverage;
}

CAlphaCoverage::Kind CAlphaCoverage::At(int column, int row) const {
  if (column < 0 || row < 0 || column >= columns || row >= rows) return Clear;
  return kinds[static_cast<std::size_t>(row) * columns + column];
}

bool CAlphaCoverage::RowOpaque(int row) const {
  return row >= 0 && row < rows && opaqueRows[static_cast<std::size_t>(row)];
}
