#include "progress/Achievement.h"

std::vector<Achievement> MakeAchievementList() {
  // ASCII only: the bitmap font has no ellipsis glyph.
  return {
      {"First Blood!", "First Death"},
      {"U mad Bro???", "100 Deaths"},
      {"Dead as a Dodo", "1000 Deaths"},
      {"Novice", "Complete all Tutorial Level"},
      {"Apprentice", "Complete all Basic Level"},
      {"Master", "Complete all Hard Level"},
      {"Scroll Collector", "Collect all Scrolls in the Chapter 1"},
      {"Dead man scrolling...", "Collect all Scrolls in the Chapter 2"},
      {"Find all the Scrolls...", "Collect all Scrolls in the Chapter 3"},
      {"They see me scrolling...", "Collect all Scrolls"},
      {"Arrow to the knee", "Get killed 5 times by an arrow"},
  };
}
