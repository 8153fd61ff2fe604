#pragma once

#include <string>

// For the lifetime of this object the working directory is a new directory
// (below the test's scratch directory) from which the game's data is
// reachable by the relative paths objects use: "Graphics" and "Audio" are
// links to the repository's (read only), "Values" is a copy, so a test may
// change a box file without touching the repository or other tests.
class CGameDataDirectory {
public:
  CGameDataDirectory();
  ~CGameDataDirectory();
  CGameDataDirectory(const CGameDataDirectory&) = delete;
  CGameDataDirectory& operator=(const CGameDataDirectory&) = delete;

  // The working directory before; the program-wide log ("log.txt") is there.
  const std::string& Home() const { return home; }

private:
  std::string home;
};

// Writes a file below the working directory, making its folders.
void WriteTextFile(const std::string& path, const std::string& text);
