#include "level/BGLayer.h"

#include "graphics/Direct3D.h"
#include "platform/SpriteBatch.h"

void CBGLayer::Draw() const {
  CDirect3D* d3d = CDirect3D::GetInstance();
  if (!d3d || !d3d->GetSprite() || !d3d->GetRenderer()) return;
  CSpriteBatch& batch = *d3d->GetSprite();
  batch.SetTransform(Matrix2D::Transformation2D({0, 0}, {1, 1}, {0, 0}, 0.0f, {x, y}));
  if (!texture || !texture->HasTexture()) return;
  batch.Draw(texture->Resolve(*d3d->GetRenderer()), nullptr, 0xffffffff);
}
