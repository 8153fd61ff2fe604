#include "frontend/MenuScreen.h"

#include "audio/AudioManager.h"
#include "frontend/MenuInput.h"
#include "frontend/MenuItem.h"
#include "frontend/MenuNavigator.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "input/InputManager.h"

CMenuScreen::CMenuScreen(std::string screenName, CMenuNavigator* owner)
    : name(std::move(screenName)), navigator(owner) {}

CMenuScreen::~CMenuScreen() = default;

void CMenuScreen::AddItem(CMenuItem* item) {
  if (!item) return;
  item->owner = this;
  items.emplace_back(item);
}

void CMenuScreen::SetBackground(const std::string& file) {
  CTextureManager* textures = CTextureManager::GetInstance();
  background.Init(CDirect3D::GetInstance());
  background.SetTexture(1, 0, 0, 0, 0.0f, textures ? textures->GetTexture(file) : nullptr);
}

void CMenuScreen::ClearItems() { items.clear(); }

void CMenuScreen::PlaceAt(float px, float py) {
  x = px;
  y = py;
  background.SetPosition(px, py);
  background.Advance(0.0f);
}

void CMenuScreen::Enter() {}

void CMenuScreen::PlaySwitch() {
  if (CAudioManager* audio = CAudioManager::GetInstance())
    audio->PlaySound("Audio/sfx/sfx_menu_switch.wav", false, 1.0f);
}

void CMenuScreen::PlaySelect() {
  if (CAudioManager* audio = CAudioManager::GetInstance())
    audio->PlaySound("Audio/sfx/sfx_menu_select.wav", false, 1.0f);
}

void CMenuScreen::Update(float seconds) {
  const CInputManager* input = CInputManager::GetInstance();
  if (input && !items.empty()) {
    const CHitBox pointer(static_cast<float>(input->mouseY), static_cast<float>(input->mouseY),
                          static_cast<float>(input->mouseX), static_cast<float>(input->mouseX));
    auto over = [&](const CMenuItem& item) { return Intersects(item.hitBox, pointer, nullptr); };

    if (input->mouseDX != 0 || input->mouseDY != 0) {
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (!over(*items[i])) continue;
        if (i != selected) PlaySwitch();
        selected = i;
      }
    }
    if (MenuDownPressed(*input)) {
      PlaySwitch();
      if (++selected >= items.size()) selected = 0;
    } else if (MenuUpPressed(*input)) {
      PlaySwitch();
      selected = selected == 0 || selected > items.size() ? items.size() - 1 : selected - 1;
    }
    if ((input->WasKeyPressed(VK_ESCAPE) || input->WasJoyButtonPressed(1)) && navigator &&
        navigator->HasHistory())
      navigator->GoBack();

    if (input->WasButtonPressed(MOUSE_LEFT)) {
      // The first item under the pointer takes the click: boxes may overlap,
      // and one click must never run two actions.
      for (std::size_t i = 0; i < items.size(); ++i) {
        if (!over(*items[i])) continue;
        selected = i;
        if (items[i]->enabled) {
          PlaySelect();
          items[i]->Activate();
        }
        break;
      }
    } else if ((input->WasKeyPressed(VK_RETURN) || input->WasJoyButtonPressed(0)) &&
               selected < items.size() && items[selected]->enabled) {
      PlaySelect();
      items[selected]->Activate();
    }
  }
  // An action may have left this screen; its items still run their step.
  for (const auto& item : items) item->Update(seconds);
}

void CMenuScreen::Draw() {
  background.Draw(1.0f, nullptr);
  for (std::size_t i = 0; i < items.size(); ++i) items[i]->Draw(x, y, i == selected);
}
