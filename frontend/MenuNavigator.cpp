#include "frontend/MenuNavigator.h"

#include "app/IState.h"
#include "app/StateManager.h"
#include "app/Timer.h"
#include "frontend/MenuScreen.h"
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
}

void CMenuNavigator::RunAction(const std::string& action) {
  CStateManager* states = CStateManager::GetInstance();
  if (action == "exit") {
    PostQuit();
  } else if (action == "pop") {
    if (states) states->PopState();
  } else if (action == "back") {
    GoBack();
  } else if (action == "retry") {
    if (states) states->PopState();
    RestartTop();
  } else if (action == "retry2") {
    RestartTop();
  } else if (CMenuScreen* screen = FindScreen(action)) {
    if (current) history.push_back(current);
    current = screen;
  }
}
