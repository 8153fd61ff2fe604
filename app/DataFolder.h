#pragma once

#include <optional>
#include <string>

// Where the game's data (Graphics, Values, Audio, Levels) is read from.
struct DataFolder {
  std::string path;        // absolute
  bool installed = false;  // from the install, read only: the player's files go elsewhere

  bool operator==(const DataFolder&) const = default;
};

// In order: `dataKey` (the "data=" value, against `workingDirectory` when
// relative; it must be a folder); the working directory when it holds
// "Values/Player.xml", as a game run from its repository or unpacked in a
// folder is; "<folder of the executable>/../share/kuroshin" when that holds
// it, as an installed game is. Empty when none of them applies.
std::optional<DataFolder> FindDataFolder(const std::optional<std::string>& dataKey,
                                         const std::string& workingDirectory,
                                         const std::string& executable);

// The running program's own file (/proc/self/exe); empty when unknown.
std::string ExecutablePath();

// `path` as seen from `workingDirectory` when it is relative; unchanged when
// it is absolute or empty.
std::string AgainstFolder(const std::string& path, const std::string& workingDirectory);
