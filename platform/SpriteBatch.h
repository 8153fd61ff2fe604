#pragma once

#include <cstdint>
#include <vector>

#include "platform/Matrix2D.h"
#include "platform/Rect.h"

class CPlatformRenderer;
class CPlatformTexture;

enum class SpriteBlend {
  Alpha,     // source over destination by the colour's alpha
  None,      // replace the destination (frozen frames)
  Multiply,  // destination times source colour (white leaves it unchanged)
};

// The one drawing path of the game. Each Draw is a textured quad: the source
// rectangle's corners pushed through the current transform, tinted by the
// colour (its alpha is the opacity). Consecutive draws of one texture and
// blend go to the renderer together.
class CSpriteBatch {
public:
  explicit CSpriteBatch(CPlatformRenderer& renderer);
  CSpriteBatch(const CSpriteBatch&) = delete;
  CSpriteBatch& operator=(const CSpriteBatch&) = delete;

  void Begin(SpriteBlend blend = SpriteBlend::Alpha);
  // For the draws that follow, until the next Begin or SetBlend.
  void SetBlend(SpriteBlend mode);
  SpriteBlend GetBlend() const { return blend; }
  void SetTransform(const Matrix2D& transform) { current = transform; }
  const Matrix2D& GetTransform() const { return current; }
  // `source` null draws the whole texture. A null texture draws nothing.
  void Draw(CPlatformTexture* texture, const Rect* source, std::uint32_t argb);
  // Sends what is pending; also done on every change of texture or blend.
  void Flush();
  void End();

  bool IsDrawing() const { return drawing; }
  // Quads sent to the renderer since construction, for tests and benchmarks.
  std::uint64_t QuadCount() const { return quads; }

private:
  CPlatformRenderer& renderer;
  Matrix2D current;
  SpriteBlend blend = SpriteBlend::Alpha;
  bool drawing = false;
  CPlatformTexture* pendingTexture = nullptr;
  std::vector<float> positions;
  std::vector<float> uvs;
  std::vector<std::uint32_t> colours;
  std::vector<int> indices;
  std::uint64_t quads = 0;
};
