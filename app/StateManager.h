#pragma once

#include <deque>
#include <vector>

class IState;

// The stack of game states. Only the top is updated and drawn. States that
// leave the stack wait in `dying` until the start of the next update, so a
// state that pops or replaces itself is never deleted inside its own Update.
class CStateManager {
public:
  CStateManager();
  ~CStateManager();
  CStateManager(const CStateManager&) = delete;
  CStateManager& operator=(const CStateManager&) = delete;

  static CStateManager* GetInstance() { return instance; }

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
  static CStateManager* instance;

  void FinishDying();

  IState* current = nullptr;
  std::deque<IState*> stack;
  std::vector<IState*> dying;
};
