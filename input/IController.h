#pragma once

#include <cstdint>

// Bits of the byte that records one step of commands; the replay file is
// nothing but these bytes in step order.
enum StepBit : std::uint8_t {
  STEP_RIGHT = 0x01,
  STEP_LEFT = 0x02,
  STEP_JUMP = 0x04,
  STEP_CROUCH = 0x08,
  STEP_SPRINT = 0x10,
};

// The player's commands for one fixed step. The player reads nothing else,
// so feeding it the same commands step by step reproduces a run exactly.
class IController {
public:
  virtual ~IController() = default;
  // Sets the four commands for this step; called once per step.
  virtual void ReadInput() = 0;
  // The current run must not be stored as a replay.
  virtual void Invalidate() = 0;

  int direction = 0;  // -1 left, 0 none, +1 right
  bool jump = false;
  bool sprint = false;
  bool crouch = false;

protected:
  std::uint8_t ToStepByte() const {
    std::uint8_t b = 0;
    if (direction > 0) b |= STEP_RIGHT;
    if (direction < 0) b |= STEP_LEFT;
    if (jump) b |= STEP_JUMP;
    if (crouch) b |= STEP_CROUCH;
    if (sprint) b |= STEP_SPRINT;
    return b;
  }

  void FromStepByte(std::uint8_t b) {
    // A recorded byte never has both direction bits; a hand-made one plays
    // as right.
    direction = (b & STEP_RIGHT) ? 1 : (b & STEP_LEFT) ? -1 : 0;
    jump = (b & STEP_JUMP) != 0;
    crouch = (b & STEP_CROUCH) != 0;
    sprint = (b & STEP_SPRINT) != 0;
  }
};
