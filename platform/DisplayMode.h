#pragma once

#include <cstdint>

struct DisplayMode {
  unsigned width = 0;
  unsigned height = 0;
  unsigned refreshRate = 0;
  std::uint32_t format = 0;
  bool operator==(const DisplayMode&) const = default;
};
