#include "objects/MovableObject.h"

#include "graphics/Direct3D.h"
#include "graphics/Sprite.h"
#include "graphics/TextureManager.h"
#include "level/Tile.h"
#include "level/Tileset.h"
#include "platform/SpriteBatch.h"

CMovableObject::CMovableObject() = default;
CMovableObject::~CMovableObject() = default;

bool CMovableObject::Collide(const CHitBox& box, int, float* depth) {
  return Intersects(hitBox, box, depth);
}

void CMovableObject::SetActive(bool value) { active = value; }

void CMovableObject::Init() {}

void CMovableObject::Reset() {
  delay = 0.0f;
  elapsed = 0.0f;
}

bool CMovableObject::Update(float, bool) {
  hitBox = CHitBox(y, y + static_cast<float>(height), x, x + static_cast<float>(width));
  return true;
}

void CMovableObject::Draw(int screenX, int screenY) {
  if (tileImage) {
    CDirect3D* d3d = CDirect3D::GetInstance();
    const CTileset* tileset = tileImage->tileset;
    if (!d3d || !d3d->GetSprite() || !d3d->GetRenderer() || !tileset) return;
    if (!tileset->texture || !tileset->texture->HasTexture()) return;
    CSpriteBatch& batch = *d3d->GetSprite();
    Matrix2D transform;
    transform.dx = x + static_cast<float>(screenX);
    transform.dy = y + static_cast<float>(screenY);
    batch.SetTransform(transform);
    const Rect source = tileset->GetSourceRect(tileImage->index);
    batch.Draw(tileset->texture->Resolve(*d3d->GetRenderer()), &source, 0xffffffff);
  } else if (sprite) {
    sprite->SetPosition(x + static_cast<float>(screenX), y + static_cast<float>(screenY));
    sprite->Advance(0.0f);
    sprite->Draw(1.0f, nullptr);
  }
}

void CMovableObject::SetPosition(float px, float py) {
  x = px;
  if (tileImage && tileImage->tileset)
    py -= static_cast<float>(tileImage->tileset->tileHeight);
  else if (sprite)
    py -= static_cast<float>(sprite->GetFrameHeight());
  y = py;
}

void CMovableObject::CreateSprite(const std::string& imagePath, float frameTime, int anchor) {
  tileImage = nullptr;
  sprite = std::make_unique<CSprite>();
  sprite->Init(CDirect3D::GetInstance());
  CTextureManager* textures = CTextureManager::GetInstance();
  TextureHandle texture = textures ? textures->GetTexture(imagePath) : nullptr;
  sprite->SetTexture(1, anchor, 0, 0, frameTime, texture);
}

void CMovableObject::SetTileImage(const CTile* tile) {
  sprite.reset();
  tileImage = tile;
}

int CMovableObject::GetIntProperty(const std::string& key) const {
  return ::GetIntProperty(properties, key);
}

double CMovableObject::GetDoubleProperty(const std::string& key) const {
  return ::GetDoubleProperty(properties, key);
}

double CMovableObject::GetDoubleProperty(const std::string& key, double fallback) const {
  return ::GetDoubleProperty(properties, key, fallback);
}
