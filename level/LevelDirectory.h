#pragma once

#include <string>
#include <vector>

// One level file of a chapter folder.
struct LevelEntry {
  std::string name;  // the file name without its ".tmx"
  std::string file;  // the file name
};

// A folder of levels: its path from the game directory ("Levels/CHAPTER").
struct LevelChapter {
  std::string name;
  std::vector<LevelEntry> levels;
};

// The chapters below `root`: every folder under it (at any depth, each right
// after its parent) with its ".tmx" files (the extension in exactly these
// letters). Folders and files are in name order regardless of letter case,
// so every machine lists them alike; symbolic links are never followed, so
// a link loop cannot recurse. Files directly in `root` are no chapter's. A
// folder that cannot be listed is reported as "Could not search directory: "
// and its path.
std::vector<LevelChapter> ScanLevelChapters(const std::string& root = "Levels");

// Case-insensitive name order, ties broken by the bytes.
bool LevelNameLess(const std::string& a, const std::string& b);
