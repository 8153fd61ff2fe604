#pragma once

#include <memory>

#include "app/IState.h"
#include "graphics/Sprite.h"

class CMenuState;

// The two logos, each faded in over a second, held two and faded out over
// one, on black. The main menu is built while the intro starts, so it opens
// at once; Escape or Enter skips to it.
class CIntroState : public IState {
public:
  CIntroState();
  ~CIntroState() override;

  // Sets up the logos and builds the main menu; true.
  bool Init() override;
  void Cleanup() override;
  void Pause() override;
  void Resume() override;
  void Restart() override;
  bool Update(float seconds) override;
  void Draw() override;

  unsigned LogoIndex() const { return logo; }
  int Phase() const { return phase; }
  float LogoAlpha() const { return logo < 2 ? logos[logo].GetAlpha() : 0.0f; }

private:
  unsigned logo = 0;
  int phase = 0;  // 0 fade in, 1 hold, 2 fade out
  float timer = 0.0f;
  float holdTime = 2.0f;
  CSprite logos[2];
  std::unique_ptr<CMenuState> menu;  // until the stack takes it
};
