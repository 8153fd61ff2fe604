#pragma once

#include "app/IState.h"
#include "frontend/MenuNavigator.h"
#include "graphics/Sprite.h"
#include "graphics/TextureHandle.h"

// The pause menu over the frozen picture of the level, darkened: resume,
// retry, options, back to the main menu, leave the game. Escape (or the
// pad's start button) resumes from every one of its screens.
class CPauseMenuState : public IState {
public:
  // `paused`: the state underneath, whose picture is frozen; it outlives
  // the pause menu on the stack.
  explicit CPauseMenuState(IState* paused);
  ~CPauseMenuState() override;

  bool Init() override;
  void Cleanup() override;
  void Pause() override;
  // Shows the pointer and freezes the picture of the state underneath.
  void Resume() override;
  void Restart() override;
  bool Update(float seconds) override;
  void Draw() override;

  // The frozen picture: 1280 x 1024, 32 bits per pixel.
  const TextureHandle& FrozenFrame() const { return frozenFrame; }

  CMenuNavigator navigator;

private:
  // Draws the paused state into the frozen picture, as its last frame was.
  void Freeze();

  IState* paused;
  TextureHandle frozenFrame;
  CSprite overlay;
};
