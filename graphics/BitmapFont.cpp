#include "graphics/BitmapFont.h"

#include "app/Log.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "platform/SpriteBatch.h"

namespace {

constexpr unsigned kColumns = 16;
constexpr unsigned kRows = 8;
// Codes past the grid (UTF-8 bytes of file names among them) have no cell.
constexpr unsigned kFirstMissing = kColumns * kRows;

// Letters share the capitals' cells; no locale involved.
unsigned char Fold(unsigned char code) {
  return code >= 'a' && code <= 'z' ? static_cast<unsigned char>(code - 'a' + 'A') : code;
}

TextureHandle LoadDefaultFont() {
  CTextureManager* manager = CTextureManager::GetInstance();
  TextureHandle found = manager ? manager->GetTexture(CBitmapFont::kDefaultPath) : TextureHandle();
  if (!found || !found->HasTexture()) {
    LogWarning("The font image is missing; text will not be drawn");
  }
  return found;
}

}  // namespace

CBitmapFont::CBitmapFont() : CBitmapFont(LoadDefaultFont()) {}

CBitmapFont::CBitmapFont(TextureHandle fontTexture) : texture(std::move(fontTexture)) {
  if (texture && texture->HasTexture()) {
    glyphWidth = static_cast<unsigned>(texture->Width()) / kColumns;
    glyphHeight = static_cast<unsigned>(texture->Height()) / kRows;
  }
}

float CBitmapFont::WidthFactor(unsigned char code) {
  switch (Fold(code)) {
    case 'I':
      return 0.3f;
    case '1':
      return 0.4f;
    case '.':
    case 'A':
    case 'E':
    case 'L':
    case 'N':
    case 'P':
    case 'R':
    case 'Y':
      return 0.5f;
    case '3':
      return 0.55f;
    case 'D':
    case 'F':
    case 'Q':
    case 'U':
      return 0.7f;
    case '2':
    case '4':
    case '5':
    case '6':
    case '7':
      return 0.75f;
    case '8':
    case '9':
    case 'M':
      return 0.8f;
    case '0':
    case 'Z':
      return 0.9f;
    case 'W':
      return 1.0f;
    default:
      return 0.6f;
  }
}

float CBitmapFont::TextWidth(const std::string& text, std::size_t from, int align,
                             float scale) const {
  float width = 0.0f;
  for (std::size_t i = from; i < text.size(); ++i) {
    unsigned char code = static_cast<unsigned char>(text[i]);
    if (align == kCentre && code == '\n') break;
    width += scale * (static_cast<float>(glyphWidth) * WidthFactor(code));
  }
  return width;
}

std::string CBitmapFont::FitWidth(const std::string& text, float scale, float width) const {
  if (TextWidth(text, 0, kLeft, scale) <= width) return text;
  const float dots = TextWidth("...", 0, kLeft, scale);
  std::string cut = text;
  while (!cut.empty() && TextWidth(cut, 0, kLeft, scale) + dots > width) cut.pop_back();
  // No space left hanging before the dots.
  while (!cut.empty() && cut.back() == ' ') cut.pop_back();
  return cut + "...";
}

template <typename Emit>
void CBitmapFont::Walk(const std::string& text, TextBounds* bounds, float scale, int align,
                       float lineFactor, float x, float y, Emit&& emit) const {
  const float cellWidth = static_cast<float>(glyphWidth);
  const float lineHeight = static_cast<float>(glyphHeight) * scale * lineFactor;
  // Where a line starting at `from` begins.
  auto lineStart = [&](std::size_t from) {
    if (align == kRight) return x - TextWidth(text, from, kRight, scale);
    if (align == kCentre) return x - 0.5f * TextWidth(text, from, kCentre, scale);
    return x;
  };

  float penX = lineStart(0);
  float penY = y;
  if (bounds) {
    bounds->left = penX;
    bounds->top = y;
  }

  const bool drawable = HasTexture() && glyphWidth > 0 && glyphHeight > 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    unsigned char code = Fold(static_cast<unsigned char>(text[i]));
    float advance = cellWidth * WidthFactor(code);
    if (drawable && code < kFirstMissing) {
      GlyphQuad quad;
      // The glyph is cut from the middle of its cell.
      quad.source.left = static_cast<int>((cellWidth - advance) * 0.5f) +
                         static_cast<int>(glyphWidth * (code % kColumns));
      quad.source.right = quad.source.left + static_cast<int>(advance);
      quad.source.top = static_cast<int>(code / kColumns * glyphHeight);
      quad.source.bottom = static_cast<int>((code / kColumns + 1) * glyphHeight);
      quad.pen = {penX, penY};
      quad.transform = Matrix2D::Transformation2D({0.0f, 0.0f}, {scale, scale}, {0.0f, 0.0f}, 0.0f,
                                                  {penX, penY});
      emit(quad);
    }
    penX += scale * advance;
    if (code == '\n') {
      if (i + 1 < text.size()) penX = lineStart(i + 1);
      penY += lineHeight;
    }
  }

  if (bounds) {
    bounds->right = penX;
    bounds->bottom = penY + lineHeight;
  }
}

std::vector<GlyphQuad> CBitmapFont::Layout(const std::string& text, TextBounds* bounds, float scale,
                                           int align, float lineFactor, float x, float y) const {
  std::vector<GlyphQuad> quads;
  Walk(text, bounds, scale, align, lineFactor, x, y,
       [&](const GlyphQuad& quad) { quads.push_back(quad); });
  return quads;
}

void CBitmapFont::DrawText(const std::string& text, TextBounds* bounds, float scale, int align,
                           std::uint32_t colour, float lineFactor, float x, float y) const {
  CDirect3D* d3d = CDirect3D::GetInstance();
  CSpriteBatch* sprite = d3d ? d3d->GetSprite() : nullptr;
  CPlatformTexture* image = nullptr;
  if (sprite && d3d->GetRenderer() && HasTexture()) image = texture->Resolve(*d3d->GetRenderer());
  // The bounds are wanted even when nothing can be drawn.
  Walk(text, bounds, scale, align, lineFactor, x, y, [&](const GlyphQuad& quad) {
    if (!image) return;
    sprite->SetTransform(quad.transform);
    sprite->Draw(image, &quad.source, colour);
  });
}
