#include "level/LevelDirectory.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

#include "app/Log.h"

namespace {

constexpr const char kExtension[] = ".tmx";

struct Listing {
  std::vector<std::string> folders;
  std::vector<std::string> files;
};

bool List(const std::string& dir, Listing& listing) {
  DIR* handle = ::opendir(dir.c_str());
  if (!handle) return false;
  const int fd = ::dirfd(handle);
  while (const dirent* entry = ::readdir(handle)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat info;
    // A link, even to a folder, is neither: following one could loop.
    if (::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISDIR(info.st_mode)) {
      listing.folders.push_back(name);
    } else if (S_ISREG(info.st_mode)) {
      const std::size_t dot = name.find_last_of('.');
      if (dot != std::string::npos && name.compare(dot, std::string::npos, kExtension) == 0)
        listing.files.push_back(name);
    }
  }
  ::closedir(handle);
  std::sort(listing.folders.begin(), listing.folders.end(), LevelNameLess);
  std::sort(listing.files.begin(), listing.files.end(), LevelNameLess);
  return true;
}

void Scan(const std::string& dir, std::size_t record, std::vector<LevelChapter>& chapters) {
  Listing listing;
  if (!List(dir, listing)) {
    LogError("Could not search directory: " + dir);
    return;
  }
  for (const std::string& file : listing.files)
    chapters[record].levels.push_back(
        {file.substr(0, file.size() - (sizeof kExtension - 1)), file});
  for (const std::string& folder : listing.folders) {
    chapters.push_back({dir + "/" + folder, {}});
    Scan(dir + "/" + folder, chapters.size() - 1, chapters);
  }
}

}  // namespace

bool LevelNameLess(const std::string& a, const std::string& b) {
  // ASCII letters only: the user's locale must not change the order.
  auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
  auto less = [&](unsigned char x, unsigned char y) { return lower(x) < lower(y); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), less)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), less)) return false;
  return a < b;
}

std::vector<LevelChapter> ScanLevelChapters(const std::string& root) {
  std::vector<LevelChapter> chapters{{root, {}}};
  Scan(root, 0, chapters);
  // Levels lying directly in the root belong to no chapter.
  chapters.erase(chapters.begin());
  return chapters;
}
