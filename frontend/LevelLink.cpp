#include "frontend/LevelLink.h"

#include "app/StateManager.h"
#include "frontend/LoadingState.h"
#include "frontend/MenuLink.h"
#include "graphics/Direct3D.h"
#include "graphics/FormatRunTime.h"
#include "graphics/TextureManager.h"
#include "progress/ProgressStore.h"

namespace {

std::uint32_t CollectedScrolls() {
  const CProgressStore* progress = CProgressStore::GetInstance();
  return progress ? progress->scrollCount : 0;
}

}  // namespace

CLevelLink::CLevelLink(std::string name, std::string file, float time, bool collected,
                       std::uint32_t needed, float px, float py)
    : text(std::move(name)),
      path(std::move(file)),
      scroll(collected),
      bestTime(time),
      requirement(needed) {
  x = px;
  y = py;
  enabled = requirement <= CollectedScrolls();
  CTextureManager* textures = CTextureManager::GetInstance();
  const std::pair<CSprite*, const char*> icons[] = {
      {&scrollIcon, "Graphics/Misc/ui_scroll.png"},
      {&greyScrollIcon, "Graphics/Misc/ui_scroll_grey.png"},
  };
  for (auto [icon, image] : icons) {
    icon->Init(CDirect3D::GetInstance());
    if (textures) icon->SetTexture(1, 4, 0, 0, 0.0f, textures->GetTexture(image));
    icon->SetScale(1.0f, 1.0f);
  }
}

void CLevelLink::Activate() {
  if (CStateManager* states = CStateManager::GetInstance())
    states->PushState(new CLoadingState({path, "", ""}));
}

void CLevelLink::Update(float) {}

void CLevelLink::Draw(float sx, float sy, bool selected) {
  const float px = x + sx + (selected ? 20.0f : 0.0f);
  const float py = y + sy;
  const std::uint32_t colour = enabled ? 0xff000000 : 0x5f000000;
  const std::string time = bestTime == 0.0f ? "----" : FormatRunTime(bestTime);
  const float timeWidth = font.TextWidth(time, 0, CBitmapFont::kLeft, 0.4f);
  // Measured from where the selected row's name starts, so that selecting a
  // row never changes how much of its name shows.
  const float room = kTimeRight - timeWidth - kGap - (x + 20.0f);
  TextBounds& r = nameBounds;
  font.DrawText(font.FitWidth(text, 0.4f, room), &r, 0.4f, CBitmapFont::kLeft, colour, 1.0f, px,
                py);
  if (selected) DrawMenuCursor(r.left - 64.0f, r.top - 24.0f);
  font.DrawText(time, &timeBounds, 0.4f, CBitmapFont::kRight, colour, 1.0f, sx + kTimeRight, r.top);
  CSprite& icon = scroll ? scrollIcon : greyScrollIcon;
  const float iconX = sx + 460.0f;
  if (!enabled)
    font.DrawText(std::to_string(CollectedScrolls()) + "/" + std::to_string(requirement), nullptr,
                  0.4f, CBitmapFont::kLeft, 0xff000000, 1.0f,
                  iconX - static_cast<float>(icon.GetFrameWidth() / 2), r.top + 13.0f);
  icon.SetPosition(iconX, r.top + 13.0f);
  icon.Advance(0.0f);
  icon.Draw(1.0f, nullptr);
  hitBox = CHitBox(r.top, r.bottom, r.left, iconX + static_cast<float>(icon.GetFrameWidth()));
}
