#include "app/SaveFolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

UserFolders gFolders;

std::string Join(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "/" + name;
}

bool IsAbsolute(const char* value) { return value && value[0] == '/'; }

std::string AccountHome() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found)
    return {};
  return IsAbsolute(found->pw_dir) ? found->pw_dir : std::string();
}

}  // namespace

std::optional<UserFolders> InstalledUserFolders(const EnvironmentLookup& environment) {
  std::string home;
  if (const char* value = environment("HOME"); IsAbsolute(value)) home = value;
  auto base = [&](const char* variable, const char* underHome) -> std::string {
    const char* value = environment(variable);
    if (IsAbsolute(value)) return value;
    if (home.empty()) home = AccountHome();
    return home.empty() ? std::string() : home + underHome;
  };
  const std::string data = base("XDG_DATA_HOME", "/.local/share");
  const std::string config = base("XDG_CONFIG_HOME", "/.config");
  const std::string state = base("XDG_STATE_HOME", "/.local/state");
  if (data.empty() || config.empty() || state.empty()) return std::nullopt;
  UserFolders folders;
  folders.saves = data + "/kuroshin/Saves";
  folders.data = data + "/kuroshin";
  folders.config = config + "/kuroshin";
  folders.state = state + "/kuroshin";
  folders.privateFolders = true;
  return folders;
}

void UseUserFolders(const UserFolders& folders) { gFolders = folders; }

const UserFolders& CurrentUserFolders() { return gFolders; }

std::string SaveFolder() { return gFolders.saves; }

std::string SavePath(const std::string& name) { return Join(gFolders.saves, name); }

std::string ConfigPath(const std::string& name) { return Join(gFolders.config, name); }

std::string ReplayPath(const std::string& levelKey) {
  // A level named by an absolute path keeps its run beside it.
  if (!levelKey.empty() && levelKey[0] == '/') return levelKey + ".rpl";
  return Join(gFolders.data, levelKey + ".rpl");
}

std::string ScreenshotFolder() { return Join(gFolders.data, "Screenshots"); }

std::string StatePath(const std::string& name) { return Join(gFolders.state, name); }

std::string StateFolder() { return gFolders.state.empty() ? "." : gFolders.state; }

bool MakeUserFolder(const std::string& folder, std::string& error) {
  if (folder.empty()) return true;
  const mode_t mode = gFolders.privateFolders ? 0700 : 0777;
  // One level at a time, so every folder made gets the mode, not just the
  // last (create_directories would leave the parents at the umask's).
  std::filesystem::path made;
  for (const std::filesystem::path& part : std::filesystem::path(folder)) {
    made /= part;
    if (part.empty() || part == "/" || part == "." || part == "..") continue;
    if (::mkdir(made.c_str(), mode) == 0) continue;
    const int cause = errno;
    struct stat info {};
    if (cause == EEXIST && ::stat(made.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
    error = "cannot create " + folder + ": " +
            (cause == EEXIST ? made.string() + " is no folder" : std::strerror(cause));
    return false;
  }
  return true;
}

bool MakeFolderFor(const std::string& path, std::string& error) {
  return MakeUserFolder(std::filesystem::path(path).parent_path().string(), error);
}
