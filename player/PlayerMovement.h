#pragma once

class CPlayer;

// The movement rules: how the commands of one step turn into speeds, jumps,
// wall slides and wall jumps, slides and crouching, and which animation
// shows; the death and respawn hand-overs and the scripted finish run.
// Each step runs them in a fixed order in which later rules see what
// earlier ones wrote; the last animation requested wins.
class CPlayerMovement {
public:
  explicit CPlayerMovement(CPlayer& owner) : player(owner) {}

  void Run();

private:
  void DebugKeys();
  void NoSteering();
  void Steering();
  void CrouchAndSlide();
  void Jump();
  void Landing();
  void WallSlideLanding();
  void SlideDecay();
  void AirTimersAndAnimations();
  void DeathAndEndCleanUp();
  void RespawnAnimation();
  void FinishRun();
  void WalkOn();

  CPlayer& player;
  float accel = 0.0f;  // this step's horizontal acceleration
};
