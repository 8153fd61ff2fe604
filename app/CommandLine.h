#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One "key=value" argument. `value` is the text read as an unsigned number
// (0 when it is not one); `text` keeps the raw value for keys that take text.
struct CommandLineArgument {
  std::string key;
  std::string text;
  std::uint32_t value = 0;
};

// The command line as the game reads it: every argument including the
// program path, in order; later keys override earlier ones; keys are
// case-sensitive; unknown keys are ignored by the readers.
class CCommandLine {
public:
  CCommandLine(int argc, const char* const* argv);

  const std::vector<CommandLineArgument>& Arguments() const { return arguments; }
  // The last "width"/"height" value, 0 when absent or unreadable.
  std::uint32_t RequestedWidth() const { return LastValue("width"); }
  std::uint32_t RequestedHeight() const { return LastValue("height"); }
  // The raw text of the last argument with this key.
  std::optional<std::string> Text(std::string_view key) const;
  // True when the last argument with this key reads as a nonzero number.
  bool Flag(std::string_view key) const;

private:
  std::uint32_t LastValue(std::string_view key) const;

  std::vector<CommandLineArgument> arguments;
};

struct WindowSize {
  unsigned width = 0;
  unsigned height = 0;
  bool operator==(const WindowSize&) const = default;
};

// The window-size rule: a missing dimension gives 1280 x 1024; a size larger
// than the screen in either dimension becomes the screen's size. Without a
// screen (headless) there is no limit.
WindowSize SettleWindowSize(std::uint32_t requestedWidth, std::uint32_t requestedHeight,
                            std::optional<WindowSize> screen);

// Our own keys for automation and development.
struct LaunchOptions {
  bool headless = false;     // dummy video and null audio, no window appears
  bool windowed = false;     // start in a window instead of full screen
  bool fixedStep = false;    // every frame advances time by exactly one update step
  std::uint64_t frames = 0;  // end normally after this many rendered frames; 0 = run on
  std::string screenshot;    // write the virtual screen as PNG after the last frame
  std::string level;         // start this level at once (Levels/CHAPTER/NAME.tmx)
  std::string replay;        // drive the hero from this replay; the run is not saved
  std::string input;         // feed these step bytes in as if from the devices
  bool vsync = true;         // "vsync=0" starts with vertical sync off
  bool stats = false;        // print frame-time statistics at exit
};

LaunchOptions ReadLaunchOptions(const CCommandLine& commandLine);

// "--help" or "--version" among the arguments after the program path (the
// first one wins). Either is answered before anything else starts.
enum class InfoRequest { None, Help, Version };
InfoRequest FindInfoRequest(const CCommandLine& commandLine);

// What "--help" prints: a usage line, then one line per key.
std::string HelpText();
