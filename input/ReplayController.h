#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "input/IController.h"

// Plays a recorded run back step by step; drives the ghost player.
class CReplayController : public IController {
public:
  // A best run is at most a few hundred kilobytes; anything far larger is
  // not a replay and must not be pulled into memory.
  static constexpr long long kMaxFileBytes = 64ll * 1024 * 1024;

  // The next recorded step; past the end, a step without input.
  void ReadInput() override;
  void Invalidate() override {}

  // Replaces the frames with the file's bytes and rewinds. False, with the
  // controller unchanged, when the file is missing (the usual "no best run
  // yet", not logged), too large, or cannot be read to its end (logged).
  bool Load(const std::string& path);

  int position = 0;
  std::vector<std::uint8_t> frames;
};
