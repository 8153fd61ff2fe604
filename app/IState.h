#pragma once

// One screen of the game. The state stack owns every state it is given.
class IState {
public:
  virtual ~IState() = default;
  // False: the state could not start; it is deleted instead of being pushed.
  virtual bool Init() = 0;
  // Releases what Init built; called just before deletion.
  virtual void Cleanup() = 0;
  // No longer the current state (covered, or about to be deleted).
  virtual void Pause() = 0;
  // Becomes the current state (after a push, or when uncovered).
  virtual void Resume() = 0;
  // Starts the state's content over.
  virtual void Restart() = 0;
  // One fixed step; false means the state is finished and leaves the stack.
  virtual bool Update(float seconds) = 0;
  virtual void Draw() = 0;
};
