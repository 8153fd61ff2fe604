#pragma once

#include "app/IState.h"
#include "frontend/MenuNavigator.h"
#include "graphics/Sprite.h"

class CSound;

// The main menu: the title picture (back layer, a slowly turning sun
// multiplied in, front layer), a fade from black each time it returns, the
// title music and the version label, with its screens: "start",
// "level_selection", "options", "achievements" and "credits". It stays at
// the bottom of the stack while levels are played over it.
class CMenuState : public IState {
public:
  CMenuState();
  ~CMenuState() override;

  // Builds everything once; true.
  bool Init() override;
  void Cleanup() override;
  // Stops the title music (it starts over on return) and hides the pointer.
  void Pause() override;
  // Fades in again, shows the pointer, reloads the profile into the level
  // list, awards what it now earns, and starts the title music.
  void Resume() override;
  void Restart() override;
  bool Update(float seconds) override;
  void Draw() override;

  bool IsInitialised() const { return initialised; }
  bool IsFading() const { return fading; }
  float SunAngle() const { return sun.GetRotation(); }
  float FadeAlpha() const { return overlay.GetAlpha(); }
  CSound* TitleMusic() const { return titleMusic; }

  CMenuNavigator navigator;

private:
  void StopTitleMusic();

  bool initialised = false;
  CSprite backLayer;
  CSprite sun;
  CSprite frontLayer;
  CSprite overlay;
  CSound* titleMusic = nullptr;
  bool fading = true;
};
