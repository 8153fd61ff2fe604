#include "app/ScreenshotFile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "app/SaveFolder.h"

std::string NextScreenshotPath(std::string& error) {
  namespace fs = std::filesystem;
  const std::string folder = ScreenshotFolder();
  if (!MakeUserFolder(folder, error)) return {};
  std::error_code code;
  for (int n = 1; n <= 9999; ++n) {
    char name[64];
    std::snprintf(name, sizeof name, "/shot-%04d.png", n);
    const std::string path = folder + name;
    if (!fs::exists(fs::symlink_status(path, code))) return path;
  }
  error = folder + " is full";
  return {};
}
