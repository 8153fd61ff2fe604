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
  if (error || PlaceTestLevel(dir, "Dusk Road.tmx").empty()) return std::string();
  return fs::absolute(dir).string();
}

std::string PlaceTestLevel(const std::string& dir, const std::string& file) {
  const fs::path relative = fs::path("tests/levels") / file;
  std::error_code error;
  fs::create_directories(fs::path(dir) / relative.parent_path(), error);
  fs::copy_file(fs::path(KUROSHIN_SOURCE_DIR) / relative, fs::path(dir) / relative,
                fs::copy_options::overwrite_existing, error);
  return error ? std::string() : relative.generic_string();
}
