#pragma once

#include <array>
#include <string>

#include "graphics/Sprite.h"
#include "player/PlayerAnimation.h"

// The hero's animation set: one sprite per animation, the current one, and
// the animation the movement rules asked for in this step (the last request
// wins and is applied once per step).
class CPlayerAnimations {
public:
  // Sheet, frame size, play mode, anchor and default frame time of each.
  struct Sheet {
    const char* name;
    const char* image;
    int frameWidth;
    int frameHeight;
    int mode;
    int anchor;
    float frameTime;
  };
  static const Sheet& SheetOf(PlayerAnimation animation);

  // Gives every sprite its sheet and default frame time. A missing sheet,
  // or a play-once sheet of more than one row, could never finish and would
  // freeze a death or a finish run: each is logged as an error and makes
  // the answer false.
  bool Setup();
  // Frame times from "Values/Player Animation.xml" for the first sixteen
  // animations; each one read restarts its frame timing. Malformed, not
  // finite or not positive times keep the old one, with a warning. False,
  // with a warning, when the file cannot be read or parsed.
  bool LoadTimes(const std::string& path);

  CSprite& Get(PlayerAnimation animation) { return sprites[Index(animation)]; }
  const CSprite& Get(PlayerAnimation animation) const { return sprites[Index(animation)]; }
  CSprite& Current() { return Get(current); }
  const CSprite& Current() const { return Get(current); }
  PlayerAnimation CurrentId() const { return current; }
  bool IsCurrent(PlayerAnimation animation) const { return current == animation; }
  // The current animation is `animation` and stands on its last frame.
  bool IsFinished(PlayerAnimation animation) const;
  // The current animation is `animation`, shows this column (and row, unless
  // -1) and its frame began in this step.
  bool AtFrameStart(PlayerAnimation animation, int column, int row = -1) const;

  // Switches at once, keeping the animation's frame and timing.
  void SetCurrent(PlayerAnimation animation) { current = animation; }
  void Request(PlayerAnimation animation);
  bool HasRequest() const { return requested; }
  // Applies this step's request: mirrored to face the hero's way (the wall
  // jump keeps the scale it was given), and restarted at its first frame
  // when it was not current yet.
  void ApplyRequest(bool facingLeft);

private:
  static int Index(PlayerAnimation animation) { return static_cast<int>(animation); }

  std::array<CSprite, kPlayerAnimationCount> sprites;
  PlayerAnimation current = PlayerAnimation::Stand;
  PlayerAnimation request = PlayerAnimation::Stand;
  bool requested = false;
};
