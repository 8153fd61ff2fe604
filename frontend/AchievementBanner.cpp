#include "frontend/AchievementBanner.h"

#include <algorithm>

#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"

namespace {

constexpr float kTop = 24.0f;
constexpr float kWidth = 620.0f;
constexpr float kHeight = 86.0f;

}  // namespace

CAchievementBanner::CAchievementBanner() {
  CTextureManager* textures = CTextureManager::GetInstance();
  band.Init(CDirect3D::GetInstance());
  if (textures)
    band.SetTexture(1, 0, 0, 0, 0.0f, textures->GetTexture("Graphics/Misc/misc_overlay.png"));
  // A one-pixel image stretched about its centre into a band.
  band.SetPosition(640.0f, kTop + kHeight / 2.0f);
  band.SetScale(kWidth, kHeight);
  band.Advance(0.0f);
}

void CAchievementBanner::Add(const std::string& title) { titles.push_back(title); }

void CAchievementBanner::Update(float seconds) {
  if (titles.empty()) return;
  time += seconds;
  if (time >= kShown) {
    titles.pop_front();
    time = 0.0f;
  }
}

void CAchievementBanner::Draw() const {
  if (titles.empty()) return;
  const float opacity = std::clamp(std::min(time, kShown - time) / kFade, 0.0f, 1.0f);
  band.Draw(0.75f * opacity, nullptr);
  const auto alpha = static_cast<std::uint32_t>(opacity * 255.0f) << 24;
  font.DrawText("ACHIEVEMENT EARNED", nullptr, 0.3f, CBitmapFont::kCentre, alpha | 0xe0c890, 1.0f,
                640.0f, kTop + 10.0f);
  font.DrawText(font.FitWidth(titles.front(), 0.6f, kWidth - 40.0f), nullptr, 0.6f,
                CBitmapFont::kCentre, alpha | 0xffffff, 1.0f, 640.0f, kTop + 34.0f);
}
