#pragma once

#include <string>

// The player's movement values from "Values/Player.xml". Distances in
// pixels, times in seconds, y down. All 0 until the file is read: without it
// the hero can neither move nor jump, and does not fall.
struct PlayerTunables {
  float crouchSpeed = 0.0f;  // kept for the file's sake; no rule uses it
  float walkSpeed = 0.0f;
  float runSpeed = 0.0f;
  // A multiple of walkSpeed per second.
  float acceleration = 0.0f;
  float deceleration = 0.0f;
  float jumpStart = 0.0f;
  float gravity = 0.0f;
  float minJumpTime = 0.0f;
  float maxJumpTime = 0.0f;
  float maxFallSpeed = 0.0f;
  float wallJumpStartX = 0.0f;
  float wallJumpStartY = 0.0f;
  float wallJumpDecreaseX = 0.0f;
  float wallJumpDecreaseY = 0.0f;  // kept for the file's sake; no rule uses it
  float wallSlideSpeed = 0.0f;
  float slideStart = 0.0f;
  float slideDecrease = 0.0f;
  float respawnTime = 0.0f;
};

// Reads the first Speed, Jump, WallJump, Slide and Death elements under the
// file's root. A value is taken only when its attribute is a whole finite
// number; a malformed one keeps the old value with a warning naming it, a
// missing one keeps it silently. False, with a warning, when the file cannot
// be read or parsed.
bool LoadPlayerTunables(const std::string& path, PlayerTunables& tunables);
