#pragma once

#include "graphics/Sprite.h"
#include "objects/HitBox.h"
#include "objects/MovableObject.h"

// The map's "checkpoint": touching it makes it the respawn point; it plays
// its activation and stays lit. It keeps its state through respawns (the
// level's reset skips checkpoints). The player's side (respawn point,
// sound) lives with the player.
class CCheckpoint : public CMovableObject {
public:
  enum { kInactive = 0, kActivating = 1, kActive = 2 };

  CCheckpoint();

  // Only whether the box touches, and only until it is activated: `depth`
  // is never written.
  bool Collide(const CHitBox& box, int mode, float* depth) override;
  void Init() override;
  // Unlit, or activating at once with the property "active".
  void Reset() override;
  bool Update(float seconds, bool silent) override;
  void Draw(int screenX, int screenY) override;

  // Where the player respawns after touching it: its centre, whole pixels.
  float RespawnX() const { return x + static_cast<float>(width / 2); }
  float RespawnY() const { return y + static_cast<float>(height / 2); }

  int state = kInactive;
  // The hit box relative to the position, from the box file.
  CHitBox localBox;
  // What is drawn now: one of the three, or null before the first update.
  CSprite* current = nullptr;
  CSprite activeSprite;
  CSprite activationSprite;
  CSprite inactiveSprite;
};
