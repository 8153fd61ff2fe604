#pragma once

#include <cstdint>
#include <functional>

#include "app/Singleton.h"

// The options screen's settings as the player last chose them.
struct OptionValues {
  // 0 x 0: no size chosen; the window size rule of the command line applies.
  unsigned width = 0;
  unsigned height = 0;
  bool fullScreen = true;
  bool vsync = true;
  bool music = true;
  bool effects = true;

  bool operator==(const OptionValues&) const = default;
};

class CCommandLine;

// How the window starts.
struct StartDisplay {
  std::uint32_t width = 0;  // as requested; the window size rule settles it
  std::uint32_t height = 0;
  bool fullScreen = true;
  bool vsync = true;

  bool operator==(const StartDisplay&) const = default;
};

// The command line's "width"/"height" (either one given decides the size),
// "windowed" and "vsync" for this run where given; otherwise the stored
// options. A headless run takes none of the stored display settings.
StartDisplay ChooseStartDisplay(const CCommandLine& commandLine, const OptionValues& stored,
                                bool headless);

// The options that last across starts: "options.cfg" in the configuration
// folder (ConfigPath).
// Program-wide; the entry creates it, reads the file and applies it; the
// options screen changes it and writes it. What the command line overrides
// for one run never reaches it.
class CUserOptions : public Singleton<CUserOptions> {
public:
  static constexpr unsigned kLargestSide = 16384;

  CUserOptions();

  // A missing file gives the defaults; so does a damaged one (not
  // well-formed, not an "Options" root, a value out of its range), which is
  // reported and moved aside.
  void Load();
  // Writes the values atomically; a damaged file in the way is moved aside
  // first and never written over. False, with an error in the log, when
  // nothing was written.
  bool Save();
  // Changes the values and writes them, as the options screen does on every
  // change.
  void Change(const std::function<void(OptionValues&)>& change);

  OptionValues values;
};
