#pragma once

#include <cstdint>
#include <map>
#include <string>

// How many levels' scrolls must be collected before a level can be played,
// by level key. Levels the file does not list are open from the start.
class CLevelRequirements {
public:
  static constexpr const char* kDefaultPath = "Values/Level Requirements/requirements.req";

  // Empties the table and reads the file: a root element whose children
  // each carry a "name" (the level key) and "scrolls". False when the file
  // is missing or not well-formed, which leaves every level open.
  bool Load(const std::string& path = kDefaultPath);

  // The requirement of a level; a lookup enters 0 for a level not listed.
  std::uint32_t& operator[](const std::string& key) { return requirements[key]; }
  // Whether a level is open with this many levels' scrolls collected.
  bool IsUnlocked(const std::string& key, std::uint32_t scrollCount) const;

  const std::map<std::string, std::uint32_t>& Table() const { return requirements; }

private:
  std::map<std::string, std::uint32_t> requirements;
};
