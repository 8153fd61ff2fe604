#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

// Channel bits of a report mask.
enum LogChannel : std::uint32_t {
  LOG_STDOUT = 0x1,
  LOG_MESSAGEBOX = 0x2,
  LOG_FILE = 0x4,
  LOG_DEBUGGER = 0x8,
};

enum class LogKind { Info, Warning, Error };

// A log file. The program-wide one is opened by CProgramLog once the
// folder it belongs in is known. Lines are written straight to the descriptor,
// unbuffered, so a crash report appended later never interleaves with
// half-written lines. Reports may come from the loader thread too.
class CLogger {
public:
  explicit CLogger(const std::string& path);
  ~CLogger();
  CLogger(const CLogger&) = delete;
  CLogger& operator=(const CLogger&) = delete;

  // The program-wide instance; null while there is no CProgramLog.
  static CLogger* Get() { return instance; }

  void Warning(std::string_view message);
  void Error(std::string_view message);
  // Writes "caption: message\n" to every channel in `channels`, in the order
  // standard output, message box, log file, debugger.
  void Report(std::string_view message, std::string_view caption, std::uint32_t channels,
              LogKind kind);

  // -1 when the file could not be opened (lines are then lost silently).
  int FileDescriptor() const { return fd; }

  std::uint32_t infoChannels = LOG_FILE;
  std::uint32_t warningChannels = LOG_FILE;
  std::uint32_t errorChannels = LOG_FILE;

private:
  friend class CProgramLog;
  static CLogger* instance;

  std::mutex lock;
  int fd = -1;
};

// Shorthands for the program-wide log; do nothing when there is none.
void LogWarning(std::string_view message);
void LogError(std::string_view message);
