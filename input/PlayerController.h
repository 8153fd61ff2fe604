#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "input/IController.h"

class CInputManager;

// Commands from the live devices; every step is also appended to the record
// so that a best run can be written out as the level's replay.
class CPlayerController : public IController {
public:
  // Room for 1000 s of play, so recording never allocates during a run.
  static constexpr std::size_t kReservedSteps = 120000;

  CPlayerController();

  // Reads the program-wide input manager; with none, the step has no input
  // (it is still recorded, so the record stays one byte per step).
  void ReadInput() override;
  void Invalidate() override { invalid = true; }

  // One step from the given device state. The hat is read only when a
  // joystick is attached: a detached pad reports stale values.
  void ReadFrom(const CInputManager& input, bool joystickAttached);

  // Starts a new run: empty record, saving allowed again; fed input starts
  // over from its first byte.
  void Clear();

  // Takes the steps from these bytes instead of the devices, one per step,
  // as if they had been pressed: recorded and saved like live play. Past
  // the last byte a step has no input. An empty list reads the devices
  // again.
  void Feed(std::vector<std::uint8_t> steps);

  // Writes the record as raw bytes. The old file is replaced only once the
  // new one is completely on disk, so a crash never leaves half a best run.
  // True when `path` now holds the record; false when the record was
  // invalidated (nothing written) or the write failed (logged, old file
  // kept).
  bool Save(const std::string& path) const;

  bool invalid = false;
  std::vector<std::uint8_t> record;

private:
  std::vector<std::uint8_t> fed;
  bool feeding = false;
  std::size_t fedPosition = 0;
};
