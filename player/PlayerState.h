#pragma once

#include <cfloat>

#include "platform/Matrix2D.h"

enum class Facing { Left, Right };

// What killed the hero last.
enum class DeathCause { None, Trap, Arrow, Crushed, DebugKey };

// The hero's movement state, shared by the player's parts (movement rules,
// collision, effects). Level pixels, y down; seconds; pixels per second.
struct PlayerState {
  // Where the animation's anchor sits: the middle of the feet.
  Vector2 position;
  Vector2 velocity;  // negative y is upwards
  Facing facing = Facing::Right;
  Vector2 boundsMin{0.0f, 0.0f};
  Vector2 boundsMax{FLT_MAX, FLT_MAX};
  Vector2 spawn;
  float dt = 0.0f;

  // This step's commands, copied from the controller.
  int direction = 0;
  bool jump = false;
  bool sprint = false;
  bool crouch = false;

  bool onGround = false;
  bool jumping = false;       // a ground jump is under way
  bool jumpReleased = false;  // let go in the air: a wall jump may follow
  float jumpTimer = 0.0f;
  bool wallContact = false;  // sliding down a wall
  bool wallOnLeft = false;
  bool wallOnRight = false;
  bool wallJumping = false;
  bool wallSlideLanding = false;
  bool sliding = false;
  bool crouchHeld = false;
  bool crouched = false;  // kept down by a ceiling
  bool dead = false;
  DeathCause deathCause = DeathCause::None;  // set whenever `dead` is
  float deathTimer = 0.0f;
  bool respawning = false;
  bool endRequested = false;  // the end trigger was touched
  bool endSequence = false;   // the finish run plays
  int endStage = 0;
  bool endFinished = false;
  bool freeMove = false;  // debug: follows the mouse

  // Written by the collision every step.
  bool touchLeft = false;
  bool touchRight = false;
  bool touchTop = false;
  bool touchBottom = false;

  bool scrollPicked = false;   // taken since the last checkpoint
  bool scrollSecured = false;  // a checkpoint was reached while holding it
  bool isGhost = false;
};
