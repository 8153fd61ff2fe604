#pragma once

#include <memory>
#include <vector>

class CDecodedImage;

// Which parts of a picture are empty, solid or see-through, in square
// blocks: drawing can skip the empty ones, copy the solid ones without
// blending and leave out what a solid band in front hides. Software
// renderers pay for every pixel touched.
class CAlphaCoverage {
public:
  static constexpr int kBlock = 32;
  enum Kind : unsigned char { Clear, Opaque, Mixed };

  static std::unique_ptr<CAlphaCoverage> Measure(const CDecodedImage& image);

  int Columns() const { return columns; }
  int Rows() const { return rows; }
  // Clear outside the picture.
  Kind At(int column, int row) const;
  // Every block of the row is opaque (the picture covers the band).
  bool RowOpaque(int row) const;

private:
  int columns = 0;
  int rows = 0;
  std::vector<Kind> kinds;
  std::vector<bool> opaqueRows;
};
