#include "app/Log.h"

#include <fcntl.h>
#include <unistd.h>
#include <cstdio>

#include "platform/MessageBox.h"

CLogger* CLogger::instance = nullptr;

namespace {

void WriteAll(int fd, const std::string& text) {
  const char* p = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n <= 0) return;
    p += n;
    left -= static_cast<std::size_t>(n);
  }
}

}  // namespace

CLogger::CLogger(const std::string& path) {
  fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

CLogger::~CLogger() {
  if (fd >= 0) ::close(fd);
}

void CLogger::Warning(std::string_view message) {
  Report(message, "Warning", warningChannels, LogKind::Warning);
}

void CLogger::Error(std::string_view message) {
  Report(message, "Error", errorChannels, LogKind::Error);
}

void CLogger::Report(std::string_view message, std::string_view caption, std::uint32_t channels,
                     LogKind kind) {
  std::string line;
  line.reserve(caption.size() + message.size() + 3);
  line.append(caption).append(": ").append(message).append("\n");

  std::lock_guard<std::mutex> guard(lock);
  if (channels & LOG_STDOUT) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
  }
  if (channels & LOG_MESSAGEBOX) {
    MessageBoxIcon icon = kind == LogKind::Warning ? MessageBoxIcon::Warning
                          : kind == LogKind::Error ? MessageBoxIcon::Error
                                                   : MessageBoxIcon::Information;
    ShowMessageBox(std::string(caption), std::string(message), icon);
  }
  if ((channels & LOG_FILE) && fd >= 0) WriteAll(fd, line);
  // No attached debugger channel on this platform; standard error is where
  // a developer's terminal or debugger shows it.
  if (channels & LOG_DEBUGGER) WriteAll(STDERR_FILENO, line);
}

void LogWarning(std::string_view message) {
  if (CLogger* log = CLogger::Get()) log->Warning(message);
}

void LogError(std::string_view message) {
  if (CLogger* log = CLogger::Get()) log->Error(message);
}
