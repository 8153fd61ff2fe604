#include "app/SaveFolder.h"

#include <filesystem>
#include <system_error>

std::string SaveFolder() { return "Saves"; }

std::string SavePath(const std::string& name) { return SaveFolder() + "/" + name; }

bool MakeSaveFolder(std::string& error) {
  std::error_code code;
  const std::filesystem::path folder = SaveFolder();
  if (std::filesystem::is_directory(folder, code)) return true;
  std::filesystem::create_directories(folder, code);
  if (!code) return true;
  error = "cannot create " + SaveFolder() + ": " + code.message();
  return false;
}
