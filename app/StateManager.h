#pragma once

#include <deque>
#include <vector>

#include "app/Singleton.h"

class IState;

// The stack of game states. Only the top is updated and drawn. States that
// leave the stack wait in `dying` until the start of the next update, so a
// state that pops or replaces itself is never deleted inside its own Update.
class CStateManager : public Singleton<CStateManager> {
public:
  CStateManager();
  ~CStateManager();

  // Take ownership; a state whose Init fails is deleted at once.
  void PushState(IState* state);
  void ChangeState(IState* state);
  bool PopState();
  void PopAllStates();

  // Null when the stack is empty.
  IState* GetTopState() const;
  IState* GetBottomState() const;
  // The state updated last, which the frame loop draws; may be null.
  IState* GetCurrentState() const { return current; }
  bool IsEmpty() const { return stack.empty(); }

  void Update(float seconds);

private:
  void FinishDying();

  IState* current = nullptr;
  std::deque<IState*> stack;
  std::vector<IState*> dying;
};
