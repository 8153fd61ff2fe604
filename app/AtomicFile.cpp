#include "app/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

bool Fail(std::string& error, const std::string& what) {
  error = what + ": " + std::strerror(errno);
  return false;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error) {
  const std::string temporary = path + ".tmp";
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return Fail(error, "cannot create " + temporary);
  bool ok = WriteAll(fd, bytes.data(), bytes.size());
  if (!ok) Fail(error, "cannot write " + temporary);
  if (ok && ::fsync(fd) != 0) ok = Fail(error, "cannot flush " + temporary);
  if (::close(fd) != 0 && ok) ok = Fail(error, "cannot close " + temporary);
  if (ok && afterAtomicTemporaryWritten) afterAtomicTemporaryWritten(temporary);
  if (ok && ::rename(temporary.c_str(), path.c_str()) != 0)
    ok = Fail(error, "cannot replace " + path);
  if (!ok) {
    ::unlink(temporary.c_str());
    return false;
  }
  // The rename lives in the directory; unflushed, a power cut could still
  // bring the old file back. The new content is in place either way.
  const int dir = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}
