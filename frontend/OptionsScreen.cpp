#include "frontend/OptionsScreen.h"

#include <string>

#include "app/UserOptions.h"
#include "audio/AudioManager.h"
#include "frontend/BackLink.h"
#include "frontend/MenuOption.h"
#include "frontend/MenuSelection.h"
#include "graphics/Direct3D.h"

namespace {

void Remember(const std::function<void(OptionValues&)>& change) {
  if (CUserOptions* options = CUserOptions::GetInstance()) options->Change(change);
}

CMenuOption* DeviceOption(const char* label, float y, void (CDirect3D::*set)(bool),
                          bool (CDirect3D::*get)() const, bool OptionValues::*kept) {
  return new CMenuOption(
      label, 100.0f, y,
      [set, kept](bool on) {
        if (CDirect3D* d3d = CDirect3D::GetInstance()) (d3d->*set)(on);
        Remember([&](OptionValues& values) { values.*kept = on; });
      },
      [get]() -> std::uint8_t {
        const CDirect3D* d3d = CDirect3D::GetInstance();
        return d3d ? (d3d->*get)() : 0;
      });
}

CMenuOption* SoundOption(const char* label, float y, int category, bool OptionValues::*kept) {
  return new CMenuOption(
      label, 100.0f, y,
      [category, kept](bool on) {
        if (CAudioManager* audio = CAudioManager::GetInstance())
          audio->SetCategoryEnabled(category, on);
        Remember([&](OptionValues& values) { values.*kept = on; });
      },
      [category]() -> std::uint8_t {
        const CAudioManager* audio = CAudioManager::GetInstance();
        return audio ? audio->IsCategoryEnabled(category) : 0;
      });
}

}  // namespace

COptionsScreen::COptionsScreen(CMenuNavigator* owner) : CMenuScreen("options", owner) {
  SetBackground("Graphics/Misc/ui_menu_bg.png");
  resolution = new CMenuSelection("RESOLUTION", 100.0f, 110.0f);
  if (const CDirect3D* d3d = CDirect3D::GetInstance()) {
    for (const DisplayMode& mode : d3d->GetDisplayModes())
      resolution->choices.push_back(std::to_string(mode.width) + "x" + std::to_string(mode.height));
  }
  resolution->applied = [](unsigned width, unsigned height) {
    Remember([&](OptionValues& values) {
      values.width = width;
      values.height = height;
    });
  };
  AddItem(resolution);
  AddItem(DeviceOption("FULLSCREEN", 170.0f, &CDirect3D::SetFullScreen, &CDirect3D::IsFullScreen,
                       &OptionValues::fullScreen));
  AddItem(DeviceOption("VSYNC", 230.0f, &CDirect3D::SetVSync, &CDirect3D::IsVSync,
                       &OptionValues::vsync));
  AddItem(SoundOption("MUSIC", 290.0f, CAudioManager::MusicCategory, &OptionValues::music));
  AddItem(SoundOption("SFX", 350.0f, CAudioManager::EffectsCategory, &OptionValues::effects));
  AddItem(new CBackLink("BACK", "back", 300.0f, 450.0f, CBitmapFont::kCentre));
}

void COptionsScreen::Enter() { resolution->ShowCurrentSize(); }
