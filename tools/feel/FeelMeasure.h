#pragma once

#include <string>
#include <vector>

// How the hero moves, measured by the game's own player code on the test
// level ("Levels/Test/Player Test.tmx" under the working directory, beside
// the game's Graphics, Values and Audio). Pixels and seconds.
struct FeelFigures {
  bool ok = false;
  std::string error;
  float standingJumpHeld = 0.0f;  // rise of the feet to the apex
  float standingJumpTap = 0.0f;   // jump pressed for one step
  float walkingJumpGap = 0.0f;    // widest gap a walking jump crosses
  float runningJumpGap = 0.0f;
  float wallJumpRise = 0.0f;           // height gained per kick up a two-tile shaft
  float timeToFullRun = 0.0f;          // from standing to full running speed
  float stopFromRun = 0.0f;            // distance from full run to standstill, commands let go
  float slideFromRun = 0.0f;           // distance of a slide started at full run
  bool slidesUnderOneTile = false;     // a slide from a run passes a two-tile tunnel one tile high
  bool runningJumpCrossesPit = false;  // the six-tile pit, jumping at its edge
};

FeelFigures MeasureFeel();

// One step of the finish run, from the touch of the goal to its end.
struct FinishStep {
  std::string animation;
  int frame = 0;        // row * columns + column
  float height = 0.0f;  // feet above the ground
  bool onGround = false;
};

// The scripted finish run on flat ground.
std::vector<FinishStep> MeasureFinishRun();

// Both as the JSON text that tools/assets/hero_feel.json holds.
std::string FeelJson(const FeelFigures& figures, const std::vector<FinishStep>& finish);
