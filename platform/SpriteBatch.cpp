#include "platform/SpriteBatch.h"

#include <SDL.h>

#include <cmath>

#include "platform/PlatformRenderer.h"
#include "platform/PlatformTexture.h"

namespace {

SDL_BlendMode ToSdl(SpriteBlend blend) {
  switch (blend) {
    case SpriteBlend::None:
      return SDL_BLENDMODE_NONE;
    case SpriteBlend::Multiply:
      return SDL_BLENDMODE_MOD;
    case SpriteBlend::Alpha:
      break;
  }
  return SDL_BLENDMODE_BLEND;
}

// SDL_Color in memory order (r, g, b, a) from ARGB.
std::uint32_t ToVertexColour(std::uint32_t argb) {
  SDL_Color c{static_cast<Uint8>(argb >> 16), static_cast<Uint8>(argb >> 8),
              static_cast<Uint8>(argb), static_cast<Uint8>(argb >> 24)};
  std::uint32_t packed;
  static_assert(sizeof packed == sizeof c);
  SDL_memcpy(&packed, &c, sizeof c);
  return packed;
}

}  // namespace

CSpriteBatch::CSpriteBatch(CPlatformRenderer& target) : renderer(target) {}

void CSpriteBatch::Begin(SpriteBlend mode) {
  if (drawing) Flush();
  blend = mode;
  drawing = true;
  current = Matrix2D::Identity();
}

void CSpriteBatch::SetBlend(SpriteBlend mode) {
  if (mode == blend) return;
  Flush();
  blend = mode;
}

void CSpriteBatch::Draw(CPlatformTexture* texture, const Rect* source, std::uint32_t argb) {
  if (!texture) return;
  if (texture != pendingTexture) Flush();
  pendingTexture = texture;

  Rect rect = source ? *source : Rect{0, 0, texture->Width(), texture->Height()};
  const float w = static_cast<float>(texture->Width());
  const float h = static_cast<float>(texture->Height());
  const float u0 = rect.left / w, u1 = rect.right / w;
  const float v0 = rect.top / h, v1 = rect.bottom / h;
  const float width = static_cast<float>(rect.Width());
  const float height = static_cast<float>(rect.Height());
  // Corners in the frame's own space; the transform places them.
  const Vector2 corners[4] = {{0, 0}, {width, 0}, {width, height}, {0, height}};
  const float cornerUv[4][2] = {{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}};
  const int base = static_cast<int>(positions.size() / 2);
  const std::uint32_t colour = ToVertexColour(argb);
  // SDL's software renderer blits a quad whose corners form an upright
  // rectangle as a plain (possibly mirrored) copy, which loses a quarter
  // turn of its texture. A 1/1024-pixel lean on one corner, invisible once
  // rasterised, keeps such quads on its triangle path.
  const bool quarterTurn = std::fabs(current.m11) + std::fabs(current.m22) <
                           1e-6f * (std::fabs(current.m12) + std::fabs(current.m21));
  for (int i = 0; i < 4; ++i) {
    Vector2 p = current.Apply(corners[i]);
    if (quarterTurn && i == 0) p.x += 1.0f / 1024.0f;
    positions.push_back(p.x);
    positions.push_back(p.y);
    uvs.push_back(cornerUv[i][0]);
    uvs.push_back(cornerUv[i][1]);
    colours.push_back(colour);
  }
  for (int index : {0, 1, 2, 0, 2, 3}) indices.push_back(base + index);
}

void CSpriteBatch::Flush() {
  if (pendingTexture && !indices.empty()) {
    SDL_Texture* native = pendingTexture->Native();
    SDL_SetTextureBlendMode(native, ToSdl(blend));
    SDL_RenderGeometryRaw(renderer.Native(), native, positions.data(), 2 * sizeof(float),
                          reinterpret_cast<const SDL_Color*>(colours.data()), sizeof(std::uint32_t),
                          uvs.data(), 2 * sizeof(float), static_cast<int>(positions.size() / 2),
                          indices.data(), static_cast<int>(indices.size()), sizeof(int));
    quads += indices.size() / 6;
  }
  positions.clear();
  uvs.clear();
  colours.clear();
  indices.clear();
  pendingTexture = nullptr;
}

void CSpriteBatch::End() {
  Flush();
  drawing = false;
}
