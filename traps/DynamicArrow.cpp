#include "traps/DynamicArrow.h"

#include "graphics/Direct3D.h"
#include "graphics/Sprite.h"
#include "graphics/TextureManager.h"
#include "level/Level.h"
#include "level/TileLayer.h"
#include "objects/HitBoxFile.h"

CDynamicArrow::CDynamicArrow() {
  LoadHitBox("", -1, "Values/Trap Collisions/Arrow", hitBox);
  localBox = hitBox;
  sprite = std::make_unique<CSprite>();
  sprite->Init(CDirect3D::GetInstance());
  CTextureManager* textures = CTextureManager::GetInstance();
  sprite->SetTexture(1, 0, 0, 0, 0.0f,
                     textures ? textures->GetTexture("Graphics/Traps/trp_arrow.png") : nullptr);
}

CDynamicArrow::~CDynamicArrow() {
  if (liveCount) --*liveCount;
}

void CDynamicArrow::Init() {
  // The sprite turns and mirrors about the frame's centre.
  if (direction == kUp) sprite->SetRotation(90.0f);
  if (direction == kDown) sprite->SetRotation(270.0f);
  if (direction == kRight) sprite->SetScale(-1.0f, 1.0f);
}

void CDynamicArrow::Reset() { finished = true; }

void CDynamicArrow::PlaceBox() {
  const int w = sprite->GetFrameWidth();
  const int h = sprite->GetFrameHeight();
  const float fw = static_cast<float>(w);
  const CHitBox& b = localBox;
  // Where the picture turned a quarter about its centre has its top left.
  const float cy = y + static_cast<float>(h / 2 - w / 2);
  const float cx = x + static_cast<float>(w / 2 - h / 2);
  switch (direction) {
    case kUp:
      hitBox = {cy + b.left, cy + b.right, cx + b.top, cx + b.bottom};
      break;
    case kDown:
      hitBox = {cy + fw - b.right, cy + fw - b.left, cx + b.top, cx + b.bottom};
      break;
    case kRight:
      hitBox = {y + b.top, y + b.bottom, x + fw - b.right, x + fw - b.left};
      break;
    default:
      hitBox = localBox.Offset(x, y);
      break;
  }
}

bool CDynamicArrow::Update(float seconds, bool) {
  if (finished) return false;
  const float travel = speed * seconds;
  if (direction == kUp) y -= travel;
  if (direction == kDown) y += travel;
  if (direction == kRight) x += travel;
  if (direction != kUp && direction != kDown && direction != kRight) x -= travel;
  PlaceBox();
  if (level) {
    const CTileLayer* tiles = level->GetCollisionLayer();
    if (tiles && tiles->Collide(hitBox, nullptr)) return false;
    if (level->CollideWithType(hitBox, "trap_stomper", 0, nullptr, true)) return false;
    if (level->CollideWithType(hitBox, "trap_door", 0, nullptr, true)) return false;
    // The spear's shaft, not its head.
    if (level->CollideWithType(hitBox, "trap_spear", 1, nullptr, true)) return false;
    if (x < 0.0f || y < 0.0f || x > level->GetWidthPixels() || y > level->GetHeightPixels())
      return false;
  }
  sprite->Advance(seconds);
  return true;
}

void CDynamicArrow::Draw(int screenX, int screenY) {
  sprite->SetPosition(x + static_cast<float>(screenX), y + static_cast<float>(screenY));
  sprite->Advance(0.0f);
  sprite->Draw(1.0f, nullptr);
}
