#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "app/IState.h"
#include "app/LevelStart.h"
#include "graphics/BitmapFont.h"
#include "graphics/Sprite.h"

class CGameState;

// Shows the loading picture with an animated "LOADING" while a worker thread
// builds the gameplay state for a level; then puts that state in its own
// place. A level that fails to load (the gameplay state reports why) returns
// to the state underneath.
class CLoadingState : public IState {
public:
  // `waitForLoad`: the first update waits for the worker, so that a run
  // with a fixed step shows the same step of the level at the same frame
  // whatever the machine.
  explicit CLoadingState(LevelStart start, bool waitForLoad = false);
  // Waits for a worker still running (the program may be closing).
  ~CLoadingState() override;

  bool Init() override;
  void Cleanup() override;
  void Pause() override;
  void Resume() override;
  void Restart() override;
  bool Update(float seconds) override;
  void Draw() override;

  const std::string& Label() const { return label; }

  // A level named on the command line: when it cannot be loaded, every
  // state goes and the game ends (with its failure status) instead of
  // showing the menu underneath.
  bool endGameOnFailure = false;
  // Set for fixed-step runs: every level load is waited for, as if each
  // loading state were made with `waitForLoad`.
  static inline bool waitForEveryLoad = false;
  // Levels that could not be loaded since the program started.
  static int FailedLoads() { return failedLoads.load(); }

private:
  // What the worker gets and leaves: both the level to load and, once it has
  // ended, the state it built (or nothing).
  struct Work {
    LevelStart start;
    std::unique_ptr<CGameState> result;
    std::atomic<int> status{0};  // 0 running, 1 built, 2 failed
  };
  static void Load(Work* work);
  void Join();

  std::thread worker;
  bool started = false;
  bool waitForLoad = false;
  std::unique_ptr<Work> work;
  CSprite background;
  CBitmapFont font;
  std::string label = "LOADING";
  float dotTimer = 0.0f;

  static inline std::atomic<int> failedLoads{0};
};
