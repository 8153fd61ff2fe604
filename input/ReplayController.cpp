#include "input/ReplayController.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <limits>

#include "app/Log.h"

void CReplayController::ReadInput() {
  const std::size_t at = static_cast<std::size_t>(position);
  FromStepByte(at < frames.size() ? frames[at] : 0);
  // Saturate rather than overflow if a ghost idles for months.
  if (position < std::numeric_limits<int>::max()) ++position;
}

bool CReplayController::Load(const std::string& path) {
  // Non-blocking so that a FIFO at the path cannot stall the level loader;
  // regular files ignore the flag.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno != ENOENT) LogWarning("Could not open replay " + path + ": " + std::strerror(errno));
    return false;
  }

  struct stat info;
  if (::fstat(fd, &info) != 0) {
    LogWarning("Could not read replay " + path + ": " + std::strerror(errno));
    ::close(fd);
    return false;
  }
  if (info.st_size > kMaxFileBytes) {
    LogWarning("Replay " + path + " is too large to be a replay");
    ::close(fd);
    return false;
  }

  std::vector<std::uint8_t> bytes;
  bytes.reserve(static_cast<std::size_t>(info.st_size));
  std::uint8_t buffer[65536];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      LogWarning("Could not read replay " + path + ": " + std::strerror(errno));
      ok = false;
      break;
    }
    if (n == 0) break;
    // The file may grow while we read it; the limit holds regardless.
    if (static_cast<long long>(bytes.size()) + n > kMaxFileBytes) {
      LogWarning("Replay " + path + " is too large to be a replay");
      ok = false;
      break;
    }
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  ::close(fd);
  if (!ok) return false;

  frames.swap(bytes);
  position = 0;
  return true;
}
