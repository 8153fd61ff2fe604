#pragma once

// The hero's twenty animations, in the order of the animation table.
enum class PlayerAnimation {
  Walk,
  Run,
  RunToStand,
  Stand,
  StandToWalk,
  Jump,
  JumpFall,
  FallLoop,
  WallJump,
  WallSlide,
  WallSlideUp,
  WallSlideDown,
  Death,
  Respawn,
  Crouch,
  StandToCrouch,
  End02,
  End03,
  End04,
  End05,
};

inline constexpr int kPlayerAnimationCount = 20;
