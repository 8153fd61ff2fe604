#include "app/UserFile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "app/AtomicFile.h"
#include "app/Log.h"
#include "app/SaveFolder.h"
#include "app/XmlFile.h"

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";

std::string UtcStamp() {
  std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &utc);
  return text;
}

}  // namespace

void ReadUserXmlFile(const std::string& path, UserXmlFile& file) {
  struct stat info;
  // ENOTDIR: the folder is no directory, so there is no file in it.
  if (::lstat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
    file.state = UserXmlFile::State::Missing;
    return;
  }
  file.state = UserXmlFile::State::Damaged;
  if (!ReadSmallFile(path, file.bytes, &file.problem) ||
      !ParseXmlText(file.bytes, file.document, &file.problem))
    return;
  file.byteOrderMark = file.bytes.compare(0, 3, kByteOrderMark) == 0;
  file.state = UserXmlFile::State::Read;
}

std::string PrintXmlDocument(const TiXmlDocument& document, bool byteOrderMark) {
  char* buffer = nullptr;
  std::size_t size = 0;
  FILE* memory = open_memstream(&buffer, &size);
  if (!memory) return {};
  document.Print(memory, 0);
  std::fclose(memory);
  std::string text = byteOrderMark ? kByteOrderMark : "";
  text.append(buffer, size);
  std::free(buffer);
  return text;
}

bool KeepDamagedFile(const std::string& path, std::string& kept) {
  const std::string base = path + ".damaged-" + UtcStamp();
  for (int n = 0; n < 1000; ++n) {
    kept = n == 0 ? base : base + "-" + std::to_string(n);
    if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, kept.c_str(), RENAME_NOREPLACE) == 0)
      return true;
    if (errno != EEXIST) return false;
  }
  return false;
}

bool WriteUserFile(const std::string& path, const std::string& bytes, std::string& error) {
  return MakeFolderFor(path, error) && WriteFileAtomically(path, bytes, error);
}

UserFileResult ReadUserFile(
    const std::string& path, const std::string& what,
    const std::function<bool(const TiXmlDocument& document, std::string& problem)>& parse) {
  UserXmlFile file;
  ReadUserXmlFile(path, file);
  if (file.state == UserXmlFile::State::Missing) return UserFileResult::Missing;
  if (file.state == UserXmlFile::State::Read && parse(file.document, file.problem))
    return UserFileResult::Read;
  std::string kept;
  if (KeepDamagedFile(path, kept)) {
    LogError("The " + what + " " + path + " is damaged (" + file.problem + "); kept as " + kept +
             ", starting over");
    return UserFileResult::DamagedMoved;
  }
  LogError("The " + what + " " + path + " is damaged (" + file.problem +
           ") and cannot be kept aside (" + std::strerror(errno) + ")");
  return UserFileResult::DamagedInPlace;
}
