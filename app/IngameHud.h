#pragma once

#include <memory>

#include "app/Singleton.h"
#include "graphics/Sprite.h"

class CBitmapFont;

// The in-game heads-up display: the run timer and the scroll mark. One
// program-wide instance, created by the entry; the live player starts and
// stops the timer and sets the scroll mark, the fireworks read the time.
class CIngameHud : public Singleton<CIngameHud> {
public:
  // The timer stops at the first value at or above this.
  static constexpr float kMaxTime = 999.99f;

  CIngameHud();
  ~CIngameHud();

  // Gives the sprites their device and pictures and makes the font, each
  // only once.
  void Reset();
  // One fixed step: places the sprites and runs the timer.
  void Update(float seconds);
  // The panel, the time and the scroll mark, into the sprite batch the
  // caller has begun.
  void Draw() const;

  float x = 0.0f;
  float y = 0.0f;
  float time = 0.0f;
  bool timerRunning = false;
  bool scrollCollected = false;
  std::unique_ptr<CBitmapFont> font;
  CSprite scrollSprite;
  CSprite panelSprite;
};
