#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/TextureHandle.h"
#include "platform/Matrix2D.h"
#include "platform/Rect.h"

struct TextBounds {
  float top = 0.0f;
  float bottom = 0.0f;
  float left = 0.0f;
  float right = 0.0f;
};

// One glyph as DrawText sends it to the sprite batch: the part of the font
// image to copy and where it lands.
struct GlyphQuad {
  Rect source;
  Vector2 pen;  // top left on the screen
  Matrix2D transform;
};

// The in-game text: one image of 16 x 8 equal cells, the cell of a character
// code c at column c % 16, row c / 16. Letters are drawn in capitals and each
// character advances by its own fraction of the cell width.
class CBitmapFont {
public:
  enum Align { kLeft = 0, kRight = 1, kCentre = 2 };

  static constexpr const char* kDefaultPath = "Graphics/Misc/ui_font.png";

  // The game's font from the texture manager; without one, no texture.
  CBitmapFont();
  explicit CBitmapFont(TextureHandle fontTexture);

  // Sum of the advances from index `from` to the end; centred text (align 2)
  // only measures up to the next line break.
  float TextWidth(const std::string& text, std::size_t from, int align, float scale) const;

  // One line of text as it fits `width` at `scale`: whole, or cut short and
  // ended with "..." (only the dots when nothing else fits).
  std::string FitWidth(const std::string& text, float scale, float width) const;

  // The glyphs DrawText would draw, and the bounds it would report.
  std::vector<GlyphQuad> Layout(const std::string& text, TextBounds* bounds, float scale, int align,
                                float lineFactor, float x, float y) const;

  // x is the left edge, the right edge or the centre by `align`; y the top of
  // the first line. Draws into the sprite batch, which the caller has begun.
  void DrawText(const std::string& text, TextBounds* bounds, float scale, int align,
                std::uint32_t colour, float lineFactor, float x, float y) const;

  // Fraction of the cell width a character code advances by.
  static float WidthFactor(unsigned char code);

  bool HasTexture() const { return texture && texture->HasTexture(); }
  unsigned GlyphWidth() const { return glyphWidth; }
  unsigned GlyphHeight() const { return glyphHeight; }

private:
  // Walks the text as DrawText does, handing each glyph to draw to `emit`.
  template <typename Emit>
  void Walk(const std::string& text, TextBounds* bounds, float scale, int align, float lineFactor,
            float x, float y, Emit&& emit) const;

  TextureHandle texture;
  unsigned glyphWidth = 0;
  unsigned glyphHeight = 0;
};
