#include "tests/support/GameDirectory.h"

#include <filesystem>

#include "tests/support/ChildProcess.h"

namespace fs = std::filesystem;

std::string MakeGameDirectory(const std::string& prefix) {
  const std::string dir = MakeTestDirectory(prefix);
  if (dir.empty()) return dir;
  const fs::path data = fs::path(KUROSHIN_SOURCE_DIR) / "data";
  std::error_code error;
  for (const char* folder : {"Graphics", "Values", "Audio"})
    fs::create_directory_symlink(data / folder, fs::path(dir) / folder, error);
  fs::copy(data / "Levels", fs::path(dir) / "Levels", fs::copy_options::recursive, error);
  return error ? std::string() : fs::absolute(dir).string();
}
