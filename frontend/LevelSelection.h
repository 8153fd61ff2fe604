#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "frontend/MenuScreen.h"
#include "graphics/BitmapFont.h"
#include "level/LevelDirectory.h"
#include "progress/LevelRequirements.h"

// The main menu's "level_selection": the chapters found under "Levels", one
// at a time (Left and Right page through them), each as a list of its
// levels with best time, scroll and lock, and "BACK". A chapter longer than
// the panel scrolls with the selection.
class CLevelSelection : public CMenuScreen {
public:
  static constexpr std::size_t kVisibleRows = 5;

  // Scans the levels, loads the save profile and the requirements, and
  // builds the list of the first chapter.
  explicit CLevelSelection(CMenuNavigator* navigator);

  void Update(float seconds) override;
  void Draw() override;

  // The items again, from the shown chapter, the progress store and the
  // requirements.
  void RebuildLevelList();
  // The path of the level after `current` in the shown chapter; empty when
  // `current` is its last or not in it, or the next one is locked.
  std::string FindNextLevel(const std::string& current);
  // Shows the chapter holding this level file (when one does).
  void ShowChapterOf(const std::string& path);

  std::size_t ChapterCount() const { return chapters.size(); }
  const std::vector<LevelChapter>& Chapters() const { return chapters; }
  // Whether the row (item index) of a level is scrolled into view.
  bool IsRowShown(std::size_t index) const;

  std::size_t chapter = 0;
  std::size_t firstRow = 0;  // the first level row in view

private:
  std::size_t LevelCount() const;
  void FollowSelection();

  std::vector<LevelChapter> chapters;
  CLevelRequirements requirements;
  CBitmapFont chapterFont;
};
