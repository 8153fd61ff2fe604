#include "frontend/MenuSelection.h"

#include "frontend/MenuInput.h"
#include "frontend/MenuLink.h"
#include "frontend/MenuScreen.h"
#include "graphics/Direct3D.h"
#include "input/InputManager.h"

CMenuSelection::CMenuSelection(std::string text, float px, float py) : label(std::move(text)) {
  x = px;
  y = py;
  ShowCurrentSize();
}

void CMenuSelection::ShowCurrentSize() {
  choice = committedChoice = -1;
  const CDirect3D* d3d = CDirect3D::GetInstance();
  if (!d3d) return;
  const std::vector<DisplayMode>& modes = d3d->GetDisplayModes();
  for (std::size_t i = 0; i < modes.size(); ++i) {
    if (modes[i].width == d3d->GetWindowWidth() && modes[i].height == d3d->GetWindowHeight()) {
      choice = committedChoice = static_cast<int>(i);
      return;
    }
  }
}

void CMenuSelection::Activate() {
  committedChoice = choice;
  CDirect3D* d3d = CDirect3D::GetInstance();
  if (!d3d) return;
  // The choice indexes the list the device has now.
  const std::vector<DisplayMode> modes = d3d->GetDisplayModes();
  if (choice < 0 || static_cast<std::size_t>(choice) >= modes.size()) return;
  const DisplayMode& mode = modes[static_cast<std::size_t>(choice)];
  d3d->SetResolution(mode.width, mode.height);
  if (applied) applied(mode.width, mode.height);
}

void CMenuSelection::Update(float) {
  const bool isSelected =
      owner && owner->selected < owner->ItemCount() && owner->Item(owner->selected) == this;
  if (!isSelected) {
    choice = committedChoice;
    return;
  }
  const CInputManager* input = CInputManager::GetInstance();
  if (!input) return;
  const int count = static_cast<int>(choices.size());
  if (MenuRightPressed(*input)) {
    CMenuScreen::PlaySwitch();
    choice = choice + 1 >= count ? 0 : choice + 1;
    if (count == 0) choice = -1;
  } else if (MenuLeftPressed(*input)) {
    CMenuScreen::PlaySwitch();
    // From "no choice" (-1) as from the first: round to the last.
    choice = choice <= 0 ? count - 1 : choice - 1;
  }
}

void CMenuSelection::Draw(float sx, float sy, bool selected) {
  const float px = x + sx + (selected ? 20.0f : 0.0f);
  const float py = y + sy;
  TextBounds bounds;
  font.DrawText(label, &bounds, 0.6f, CBitmapFont::kLeft, 0xff000000, 1.0f, px, py);
  if (selected) DrawMenuCursor(bounds.left - 64.0f, bounds.top - 16.0f);
  const float rowY = bounds.top + 12.0f;
  float right = 0.0f;
  if (IsValidChoice(choice)) {
    TextBounds shown;
    font.DrawText(choices[static_cast<std::size_t>(choice)], &shown, 0.3f, CBitmapFont::kCentre,
                  0xff000000, 1.0f, sx + 425.0f, rowY);
    right = shown.right;
  }
  font.DrawText("<<", nullptr, 0.3f, CBitmapFont::kLeft, 0xff000000, 1.0f, sx + 342.0f, rowY);
  font.DrawText(">>", nullptr, 0.3f, CBitmapFont::kLeft, 0xff000000, 1.0f, sx + 486.0f, rowY);
  hitBox = CHitBox(bounds.top, bounds.bottom, bounds.left, right);
}
