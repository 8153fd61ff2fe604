#pragma once

#include <string>
#include <vector>

// An achievement of the list every profile carries; the rules that award
// them are in AchievementRules.
struct Achievement {
  std::string title;
  std::string description;  // the condition in words
  bool achieved = false;
};

// The eleven achievements, in their fixed order, none achieved.
std::vector<Achievement> MakeAchievementList();
