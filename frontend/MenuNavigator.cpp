#include "frontend/MenuNavigator.h"

#include "app/GameState.h"
#include "app/IState.h"
#include "app/StateManager.h"
#include "app/Timer.h"
#include "frontend/LevelSelection.h"
#include "frontend/LoadingState.h"
#include "frontend/MenuScreen.h"
#include "frontend/MenuState.h"
#include "platform/Events.h"

namespace {

void RestartTop() {
  CStateManager* states = CStateManager::GetInstance();
  if (!states) return;
  if (IState* top = states->GetTopState()) {
    top->Restart();
    if (CTimer* timer = CTimer::GetInstance()) timer->Tick();
  }
}

// The level after the one being played, from the level selection of the
// main menu underneath; back to that menu after the chapter's last level
// or before a locked one. Nothing without a main menu at the bottom.
void NextLevel(CStateManager& states) {
  auto* menu = dynamic_cast<CMenuState*>(states.GetBottomState());
  auto* selection =
      menu ? dynamic_cast<CLevelSelection*>(menu->navigator.FindScreen("level_selection"))
           : nullptr;
  if (!selection) return;
  std::string next;
  if (const auto* game = dynamic_cast<const CGameState*>(states.GetTopState()))
    next = selection->FindNextLevel(game->GetLevelName());
  if (next.empty())
    states.PopState();
  else
    states.ChangeState(new CLoadingState({next, "", ""}));
}

}  // namespace

CMenuNavigator::CMenuNavigator() = default;

CMenuNavigator::~CMenuNavigator() {
  screens.clear();
  history.clear();
  current = nullptr;
}

void CMenuNavigator::AddScreen(CMenuScreen* screen) {
  if (!screen) return;
  screens.emplace_back(screen);
  if (!current) current = screen;
}

CMenuScreen* CMenuNavigator::FindScreen(const std::string& name) const {
  for (const auto& screen : screens)
    if (screen->name == name) return screen.get();
  return nullptr;
}

void CMenuNavigator::GoBack() {
  if (history.empty()) return;
  current = history.back();
  history.pop_back();
  current->Enter();
}

void CMenuNavigator::RunAction(const std::string& action) {
  CStateManager* states = CStateManager::GetInstance();
  if (action == "exit") {
    PostQuit();
  } else if (action == "pop") {
    if (states) states->PopState();
  } else if (action == "back") {
    GoBack();
  } else if (action == "next_level") {
    if (states) NextLevel(*states);
  } else if (action == "restart") {
    if (!states) return;
    states->PopAllStates();
    states->PushState(new CMenuState);
  } else if (action == "retry") {
    if (states) states->PopState();
    RestartTop();
  } else if (action == "retry2") {
    RestartTop();
  } else if (CMenuScreen* screen = FindScreen(action)) {
    if (current) history.push_back(current);
    current = screen;
    current->Enter();
  }
}
