#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

class CMenuScreen;

// Which menu screen is shown, which were shown before it, and the actions
// that links run. Owns its screens.
class CMenuNavigator {
public:
  CMenuNavigator();
  ~CMenuNavigator();
  CMenuNavigator(const CMenuNavigator&) = delete;
  CMenuNavigator& operator=(const CMenuNavigator&) = delete;

  // Takes the screen; the first one added becomes current. Null is ignored.
  void AddScreen(CMenuScreen* screen);
  // Exact, case-sensitive; null when none has the name.
  CMenuScreen* FindScreen(const std::string& name) const;
  void GoBack();
  bool HasHistory() const { return !history.empty(); }
  // "exit", "pop", "back", "next_level" (the following level of the chapter
  // shown in the main menu's level selection, or back to that menu),
  // "restart" (everything closed, a fresh main menu), "retry" (the pause
  // menu closed and the level underneath started over), "retry2" (the
  // level on top started over), or the name of a screen to show; any other
  // text does nothing.
  void RunAction(const std::string& action);

  CMenuScreen* current = nullptr;
  std::deque<CMenuScreen*> history;

private:
  std::vector<std::unique_ptr<CMenuScreen>> screens;
};
