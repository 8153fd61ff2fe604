#include "graphics/Particle.h"

#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"

namespace {

struct ParticleKind {
  const char* texture;
  int frameWidth;
  int frameHeight;
  float frameTime;
  int mode;
};

constexpr ParticleKind kKinds[] = {
    {"Graphics/Particles/pfx_slide_start.png", 36, 75, 0.08f, 0},
    {"Graphics/Particles/pfx_slide_loop.png", 36, 75, 0.08f, 1},
    {"Graphics/Particles/pfx_wall_jump.png", 214, 214, 0.03f, 0},
    {"Graphics/Particles/pfx_collect.png", 333, 333, 0.03f, 0},
};

}  // namespace

void CParticle::SetType(int newType) {
  if (newType < 0 || newType >= static_cast<int>(std::size(kKinds))) return;
  type = newType;
  Init(CDirect3D::GetInstance());
  const ParticleKind& kind = kKinds[newType];
  CTextureManager* textures = CTextureManager::GetInstance();
  SetTexture(kind.mode, 0, kind.frameWidth, kind.frameHeight, kind.frameTime,
             textures ? textures->GetTexture(kind.texture) : TextureHandle());
}
