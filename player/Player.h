#pragma once

#include <string>

#include "player/PlayerAnimations.h"
#include "player/PlayerCollision.h"
#include "player/PlayerEffects.h"
#include "player/PlayerMovement.h"
#include "player/PlayerState.h"
#include "player/PlayerTunables.h"

class CCamera;
class CLevel;
class IController;

// The hero. Once per fixed step it takes its controller's commands, runs
// the movement rules, falls, moves, collides with the level and plays its
// sounds and effects; nothing else decides its motion, so the same commands
// step by step give the same run. The ghost is a second player driven by a
// replay on a level of its own: silent, drawn faint, without debug keys.
class CPlayer {
public:
  CPlayer();
  virtual ~CPlayer();
  CPlayer(const CPlayer&) = delete;
  CPlayer& operator=(const CPlayer&) = delete;

  // Sets the hero up on `level`, standing at its "spawn" object. `controller`
  // may be null (the commands then stay as they were). False, with errors
  // logged, when an animation sheet is missing or malformed: a death or a
  // finish that could never end would freeze the run.
  bool Init(IController* controller, CLevel* level, bool isGhost);
  // One fixed step; true once the finish run is over.
  bool Update(float seconds);
  void Draw(const CCamera* camera) const;
  void SetBounds(Vector2 min, Vector2 max);

  bool LoadTunables(const std::string& path);
  bool LoadAnimationTimes(const std::string& path);
  // The values, both box sets and the animation times again.
  void ReloadData();
  // The four boxes from the current animation and the position.
  void UpdateHitBoxes() { collision.UpdateHitBoxes(); }

  // Where the camera aims: the position plus the lead.
  Vector2 CameraTarget() const;

  PlayerState& State() { return state; }
  const PlayerState& State() const { return state; }
  PlayerTunables& Tunables() { return tunables; }
  const PlayerTunables& Tunables() const { return tunables; }
  CPlayerAnimations& Animations() { return animations; }
  const CPlayerAnimations& Animations() const { return animations; }
  CPlayerCollision& Collision() { return collision; }
  const CPlayerCollision& Collision() const { return collision; }
  CPlayerEffects& Effects() { return effects; }
  const CPlayerEffects& Effects() const { return effects; }
  CLevel* GetLevel() const { return level; }
  IController* GetController() const { return controller; }

private:
  void DeathTimingAndWallTest();
  void Respawn();

  PlayerState state;
  PlayerTunables tunables;
  CPlayerAnimations animations;
  CPlayerCollision collision;
  CPlayerMovement movement;
  CPlayerEffects effects;
  CLevel* level = nullptr;
  IController* controller = nullptr;
};
