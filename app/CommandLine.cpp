#include "app/CommandLine.h"

#include <charconv>
#include <locale>
#include <sstream>

namespace {

std::uint32_t ReadUnsigned(const std::string& text) {
  // Stream extraction on purpose: its rules (leading blanks, a sign, the
  // largest value on overflow) are what the command line has always meant.
  std::istringstream stream(text);
  stream.imbue(std::locale::classic());
  unsigned value = 0;
  stream >> value;
  return value;
}

}  // namespace

CCommandLine::CCommandLine(int argc, const char* const* argv) {
  for (int i = 0; i < argc; ++i) {
    if (!argv[i]) continue;
    std::string argument = argv[i];
    CommandLineArgument entry;
    std::size_t equals = argument.find('=');
    if (equals == std::string::npos) {
      entry.key = argument;
      entry.text = argument;
    } else {
      entry.key = argument.substr(0, equals);
      entry.text = argument.substr(equals + 1);
    }
    entry.value = ReadUnsigned(entry.text);
    arguments.push_back(std::move(entry));
  }
}

std::uint32_t CCommandLine::LastValue(std::string_view key) const {
  std::uint32_t value = 0;
  for (const CommandLineArgument& argument : arguments)
    if (argument.key == key) value = argument.value;
  return value;
}

std::optional<std::string> CCommandLine::Text(std::string_view key) const {
  std::optional<std::string> text;
  for (const CommandLineArgument& argument : arguments)
    if (argument.key == key) text = argument.text;
  return text;
}

bool CCommandLine::Flag(std::string_view key) const {
  std::optional<std::string> text = Text(key);
  if (!text) return false;
  unsigned long long value = 0;
  auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
  return error == std::errc() && end == text->data() + text->size() && value != 0;
}

WindowSize SettleWindowSize(std::uint32_t requestedWidth, std::uint32_t requestedHeight,
                            std::optional<WindowSize> screen) {
  WindowSize size{requestedWidth, requestedHeight};
  if (size.width == 0 || size.height == 0) size = {1280, 1024};
  if (screen && (size.width > screen->width || size.height > screen->height)) size = *screen;
  return size;
}

LaunchOptions ReadLaunchOptions(const CCommandLine& commandLine) {
  LaunchOptions options;
  options.headless = commandLine.Flag("headless");
  options.windowed = commandLine.Flag("windowed");
  options.fixedStep = commandLine.Flag("fixedstep");
  if (std::optional<std::string> frames = commandLine.Text("frames")) {
    std::uint64_t value = 0;
    auto [end, error] = std::from_chars(frames->data(), frames->data() + frames->size(), value);
    if (error == std::errc() && end == frames->data() + frames->size()) options.frames = value;
  }
  if (std::optional<std::string> path = commandLine.Text("screenshot")) options.screenshot = *path;
  if (std::optional<std::string> path = commandLine.Text("level")) options.level = *path;
  if (std::optional<std::string> path = commandLine.Text("replay")) options.replay = *path;
  if (std::optional<std::string> path = commandLine.Text("input")) options.input = *path;
  // Only an explicit 0 turns it off: "vsync=no" is no number and keeps it on.
  if (std::optional<std::string> vsync = commandLine.Text("vsync")) options.vsync = *vsync != "0";
  options.stats = commandLine.Flag("stats");
  return options;
}

InfoRequest FindInfoRequest(const CCommandLine& commandLine) {
  const std::vector<CommandLineArgument>& arguments = commandLine.Arguments();
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (arguments[i].key == "--help") return InfoRequest::Help;
    if (arguments[i].key == "--version") return InfoRequest::Version;
  }
  return InfoRequest::None;
}

std::string HelpText() {
  return "Usage: kuroshin [KEY=VALUE]...\n"
         "  width=N          window width in pixels (default 1280, at most the screen's)\n"
         "  height=N         window height in pixels (default 1024, at most the screen's)\n"
         "  windowed=1       play in a window instead of full screen\n"
         "  vsync=0          do not wait for the display's vertical sync\n"
         "  data=DIR         read the game's data from DIR and keep the player's files there\n"
         "  level=FILE       start this level at once (Levels/CHAPTER/NAME.tmx in the data)\n"
         "  input=FILE       play the level with these recorded inputs as the player's own run\n"
         "  replay=FILE      let this recorded run play the level; nothing is saved\n"
         "  screenshot=FILE  write the screen as PNG after the last frame\n"
         "  frames=N         end after N frames\n"
         "  fixedstep=1      advance every frame by exactly one update step\n"
         "  headless=1       run without a window and without sound\n"
         "  stats=1          print frame-time statistics at the end\n"
         "  --help           print this help and exit\n"
         "  --version        print the version and exit\n";
}
