#pragma once

#include <functional>
#include <optional>
#include <string>

// Where the files the game writes for the player live. Every writer (progress
// store, statistics, options, replay writer, screenshots, log, crash report) takes its
// path from here, so the folders can move in one place.
//
// A portable game (started in its data folder, or with "data=") keeps them in
// the data folder, its working directory, as it always has. An installed one
// cannot write there and keeps them in the player's own XDG folders.
struct UserFolders {
  std::string saves = "Saves";   // the profile, its damaged copies, statistics
  std::string config = "Saves";  // options.cfg
  std::string data;  // holds Levels/CHAPTER/NAME.rpl and Screenshots/; empty: the working directory
  std::string state;  // log.txt and MiniDump.dmp; empty: the working directory
  // Folders made by the game are the player's alone (mode 0700), as the XDG
  // rules ask; a portable game keeps the umask's mode as before.
  bool privateFolders = false;

  bool operator==(const UserFolders&) const = default;
};

// Reads one environment variable; null when unset.
using EnvironmentLookup = std::function<const char*(const char* name)>;

// The installed layout under $XDG_DATA_HOME, $XDG_CONFIG_HOME and
// $XDG_STATE_HOME, each "/kuroshin". An unset, empty or relative value
// counts as unset (the XDG rules ignore relative ones) and gives
// ~/.local/share, ~/.config and ~/.local/state. $HOME is used when absolute,
// else the account's home from the password database. Empty when no home
// folder can be found at all.
std::optional<UserFolders> InstalledUserFolders(const EnvironmentLookup& environment);

// The folders for this run; portable ones until the entry says otherwise.
void UseUserFolders(const UserFolders& folders);
const UserFolders& CurrentUserFolders();

std::string SaveFolder();
// A file in the save folder: SaveFolder() + "/" + name.
std::string SavePath(const std::string& name);
// A file in the configuration folder.
std::string ConfigPath(const std::string& name);
// The best run of a level, from its key "Levels/CHAPTER/NAME".
std::string ReplayPath(const std::string& levelKey);
// The folder the screenshot key fills.
std::string ScreenshotFolder();
// A file in the folder for the log and the crash report.
std::string StatePath(const std::string& name);
// That folder itself, "." for the working directory.
std::string StateFolder();

// Creates the folder and any missing parents (mode 0700 with private
// folders); an existing one is fine. False, with the reason in `error`,
// when it cannot be made.
bool MakeUserFolder(const std::string& folder, std::string& error);
// Creates the folder a file is to be written into.
bool MakeFolderFor(const std::string& path, std::string& error);
