#include "app/StateManager.h"

#include "app/IState.h"
#include "app/Timer.h"

namespace {

// The time spent starting a state must not reach the next update.
void TickTimer() {
  if (CTimer* timer = CTimer::GetInstance()) timer->Tick();
}

}  // namespace

CStateManager::CStateManager() = default;

CStateManager::~CStateManager() {
  // States popped in the last step are still waiting; they would leak.
  FinishDying();
  while (!stack.empty()) {
    IState* top = stack.back();
    top->Pause();
    top->Cleanup();
    delete top;
    stack.pop_back();
  }
  current = nullptr;
}

void CStateManager::PushState(IState* state) {
  if (!state) return;
  if (state->Init())
    stack.push_back(state);
  else
    delete state;
  TickTimer();
}

void CStateManager::ChangeState(IState* state) {
  if (!state) return;
  if (state->Init()) {
    if (!stack.empty()) {
      dying.push_back(stack.back());
      stack.pop_back();
    }
    stack.push_back(state);
  } else {
    delete state;
  }
  TickTimer();
}

bool CStateManager::PopState() {
  if (stack.empty()) return false;
  dying.push_back(stack.back());
  stack.pop_back();
  return true;
}

void CStateManager::PopAllStates() {
  while (!stack.empty()) {
    dying.push_back(stack.back());
    stack.pop_back();
  }
}

IState* CStateManager::GetTopState() const { return stack.empty() ? nullptr : stack.back(); }

IState* CStateManager::GetBottomState() const { return stack.empty() ? nullptr : stack.front(); }

void CStateManager::FinishDying() {
  // A dying state's Pause or Cleanup may pop further states; take a batch at
  // a time so none is missed and none is deleted twice.
  while (!dying.empty()) {
    std::vector<IState*> batch;
    batch.swap(dying);
    for (IState* state : batch) {
      state->Pause();
      state->Cleanup();
      if (state == current) current = nullptr;
      delete state;
    }
  }
}

void CStateManager::Update(float seconds) {
  FinishDying();

  IState* top = GetTopState();
  if (current != top) {
    if (current) current->Pause();
    current = top;
    if (current) current->Resume();
  }

  if (current && !current->Update(seconds)) {
    // It may have pushed or changed states during its Update; then it is no
    // longer the top and must not pop its successor.
    if (GetTopState() == current) PopState();
  }
}
