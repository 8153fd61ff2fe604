#include "objects/Checkpoint.h"

#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "objects/HitBoxFile.h"

namespace {

// The frame size of the checkpoint's pictures.
constexpr int kWidth = 109;
constexpr int kHeight = 129;

}  // namespace

CCheckpoint::CCheckpoint() {
  Reset();
  LoadHitBox("", -1, "Values/Misc Collisions/Checkpoint", hitBox);
  localBox = hitBox;
}

bool CCheckpoint::Collide(const CHitBox& box, int, float*) {
  // Taken once: its box empties only on its next update, and the hero's
  // other boxes ask again within the same step.
  return !active && Intersects(hitBox, box, nullptr);
}

void CCheckpoint::Reset() {
  state = kInactive;
  active = GetIntProperty("active") != 0;
  width = kWidth;
  height = kHeight;
}

void CCheckpoint::Init() {
  Reset();
  CTextureManager* textures = CTextureManager::GetInstance();
  const struct {
    CSprite* sprite;
    const char* image;
    float frameTime;
  } sheets[] = {{&activeSprite, "Graphics/Misc/misc_cp_active.png", 0.08f},
                {&activationSprite, "Graphics/Misc/misc_cp_activation.png", 0.08f},
                {&inactiveSprite, "Graphics/Misc/misc_cp_inactive.png", 0.03f}};
  for (const auto& sheet : sheets) {
    if (sheet.sprite->GetTexture()) continue;
    sheet.sprite->Init(CDirect3D::GetInstance());
    TextureHandle texture = textures ? textures->GetTexture(sheet.image) : nullptr;
    sheet.sprite->SetTexture(1, 0, kWidth, kHeight, sheet.frameTime, texture);
  }
}

bool CCheckpoint::Update(float seconds, bool) {
  switch (state) {
    case kInactive:
      if (active) {
        current = &activationSprite;
        // Lit checkpoints are not touched again.
        hitBox = CHitBox();
        state = kActivating;
      } else {
        current = &inactiveSprite;
        hitBox = localBox.Offset(x, y);
      }
      break;
    case kActivating:
      current = &activationSprite;
      if (current->IsAtLastFrame()) state = kActive;
      break;
    default:
      current = &activeSprite;
      if (!active) state = kInactive;
      break;
  }
  current->Advance(seconds);
  return true;
}

void CCheckpoint::Draw(int screenX, int screenY) {
  if (!current) return;
  // Lit pictures sit a pixel lower and further right.
  const float shift = state != kInactive ? 1.0f : 0.0f;
  current->SetPosition(x + static_cast<float>(screenX) + shift,
                       y + static_cast<float>(screenY) + shift);
  current->Advance(0.0f);
  current->Draw(1.0f, nullptr);
}
