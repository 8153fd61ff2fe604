#include "tests/support/GameData.h"

#include <filesystem>
#include <fstream>

#include "tests/support/ChildProcess.h"

namespace fs = std::filesystem;

CGameDataDirectory::CGameDataDirectory() : home(fs::current_path().string()) {
  const fs::path data = fs::path(KUROSHIN_SOURCE_DIR) / "data";
  fs::current_path(MakeTestDirectory("game"));
  for (const char* linked : {"Graphics", "Audio"})
    fs::create_directory_symlink(data / linked, linked);
  fs::copy(data / "Values", "Values", fs::copy_options::recursive);
}

CGameDataDirectory::~CGameDataDirectory() { fs::current_path(home); }

void WriteTextFile(const std::string& path, const std::string& text) {
  const fs::path parent = fs::path(path).parent_path();
  if (!parent.empty()) fs::create_directories(parent);
  std::ofstream(path, std::ios::binary) << text;
}
