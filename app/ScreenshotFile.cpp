#include "app/ScreenshotFile.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

std::string NextScreenshotPath(std::string& error) {
  namespace fs = std::filesystem;
  std::error_code code;
  fs::create_directories("Screenshots", code);
  if (code) {
    error = "cannot create Screenshots: " + code.message();
    return {};
  }
  for (int n = 1; n <= 9999; ++n) {
    char name[64];
    std::snprintf(name, sizeof name, "Screenshots/shot-%04d.png", n);
    if (!fs::exists(fs::symlink_status(name, code))) return name;
  }
  error = "Screenshots is full";
  return {};
}
