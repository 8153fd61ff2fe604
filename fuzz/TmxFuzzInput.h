#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "level/tmx/TmxMap.h"

// One fuzz input holds a map and the files it refers to, so that external
// tilesets and templates are reached from memory:
//   MAP TEXT <separator> NAME \n TEXT <separator> NAME \n TEXT ...
// A file is served for any path whose last part is its name.
namespace TmxFuzz {

inline constexpr std::string_view kSeparator = "\n@@kuroshin-file@@\n";

struct Input {
  std::string map;
  std::vector<std::pair<std::string, std::string>> files;
};

inline Input Split(std::string_view data) {
  Input input;
  std::size_t end = data.find(kSeparator);
  input.map = std::string(data.substr(0, end));
  while (end != std::string_view::npos) {
    const std::size_t start = end + kSeparator.size();
    end = data.find(kSeparator, start);
    std::string_view part = data.substr(start, end == std::string_view::npos ? end : end - start);
    const std::size_t newline = part.find('\n');
    if (newline == std::string_view::npos) {
      input.files.emplace_back(std::string(part), std::string());
    } else {
      input.files.emplace_back(std::string(part.substr(0, newline)),
                               std::string(part.substr(newline + 1)));
    }
  }
  return input;
}

inline void Parse(const Input& input, Tmx::Map& map) {
  const Tmx::FileResolver resolver =
      [&input](const std::string& path) -> std::optional<std::string> {
    const std::size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    for (const auto& [fileName, text] : input.files) {
      if (fileName == name) return text;
    }
    return std::nullopt;
  };
  map.ParseText(input.map, "maps/", resolver);
}

}  // namespace TmxFuzz
