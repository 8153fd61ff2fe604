#pragma once

#include <cstdint>

// A small random sequence of its own, the same on every machine: each level
// (the player's and the ghost's) and the camera draw from their own, so one
// never changes what another sees.
class CRandom {
public:
  explicit CRandom(std::uint32_t seed = 1) : state(seed == 0 ? 1 : seed) {}

  void Seed(std::uint32_t seed) { state = seed == 0 ? 1 : seed; }
  // The next value in [0, 2147483647), as rand() would give one.
  int Next() {
    // Park and Miller's minimal standard generator.
    state = static_cast<std::uint32_t>(static_cast<std::uint64_t>(state) * 48271u % 2147483647u);
    return static_cast<int>(state);
  }

private:
  std::uint32_t state;
};
