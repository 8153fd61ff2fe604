#include "app/XmlFile.h"

#include <tinyxml.h>

#include <filesystem>
#include <fstream>
#include <system_error>

#include "level/tmx/LayerData.h"

namespace {

constexpr int kMaxNesting = 64;

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

}  // namespace

bool ParseXmlText(const std::string& text, TiXmlDocument& document, std::string* error) {
  if (Tmx::Data::NestsDeeperThan(text, kMaxNesting)) return Fail(error, "elements nest too deep");
  if (!Tmx::Data::IsValidUtf8(text)) return Fail(error, "not valid UTF-8 text");
  // Spare terminators, so no look-ahead of the parser leaves the buffer.
  std::string padded = text;
  padded.append(8, '\0');
  document.Parse(padded.c_str());
  if (document.Error())
    return Fail(error, std::string(document.ErrorDesc()) + " at line " +
                           std::to_string(document.ErrorRow()));
  if (!document.RootElement()) return Fail(error, "no root element");
  return true;
}

bool ReadSmallFile(const std::string& path, std::string& text, std::string* error,
                   std::size_t maxBytes) {
  std::error_code code;
  if (!std::filesystem::is_regular_file(path, code)) return Fail(error, "not a readable file");
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return Fail(error, "cannot be opened");
  std::streamoff size = file.tellg();
  if (size < 0) return Fail(error, "cannot be read");
  if (static_cast<std::size_t>(size) > maxBytes) return Fail(error, "too large");
  file.seekg(0);
  text.assign(static_cast<std::size_t>(size), '\0');
  file.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (file.bad()) return Fail(error, "cannot be read");
  text.resize(static_cast<std::size_t>(file.gcount()));
  return true;
}

bool LoadXmlFile(const std::string& path, TiXmlDocument& document, std::string* error,
                 std::size_t maxBytes) {
  std::string text;
  return ReadSmallFile(path, text, error, maxBytes) && ParseXmlText(text, document, error);
}
