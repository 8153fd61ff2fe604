#include "app/DataFolder.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool HoldsGameData(const fs::path& folder) {
  std::error_code error;
  return fs::is_regular_file(folder / "Values" / "Player.xml", error);
}

}  // namespace

std::optional<DataFolder> FindDataFolder(const std::optional<std::string>& dataKey,
                                         const std::string& workingDirectory,
                                         const std::string& executable) {
  std::error_code error;
  if (dataKey) {
    // Named on purpose: taken as it is, or not at all, never swapped for
    // another folder that happens to hold data.
    if (dataKey->empty()) return std::nullopt;
    const fs::path folder = fs::path(AgainstFolder(*dataKey, workingDirectory)).lexically_normal();
    if (!fs::is_directory(folder, error)) return std::nullopt;
    return DataFolder{folder.string(), false};
  }
  if (!workingDirectory.empty() && HoldsGameData(workingDirectory))
    return DataFolder{workingDirectory, false};
  if (!executable.empty()) {
    const fs::path shared =
        (fs::path(executable).parent_path() / ".." / "share" / "kuroshin").lexically_normal();
    if (HoldsGameData(shared)) return DataFolder{shared.string(), true};
  }
  return std::nullopt;
}

std::string ExecutablePath() {
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string() : self.string();
}

std::string AgainstFolder(const std::string& path, const std::string& workingDirectory) {
  if (path.empty() || path[0] == '/' || workingDirectory.empty()) return path;
  return workingDirectory + "/" + path;
}
