#include "tools/common/ScratchDirectory.h"

#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
  ::remove(path);
  return 0;
}

struct ScratchDirectory {
  std::string started;
  std::string path;
  ScratchDirectory() {
    char here[4096];
    if (getcwd(here, sizeof here)) started = here;
    std::string pattern = "/tmp/kuroshin-tool-XXXXXX";
    if (char* made = mkdtemp(pattern.data())) {
      path = made;
      if (chdir(made) != 0) path.clear();
    }
  }
  ~ScratchDirectory() {
    if (!path.empty() && chdir("/") == 0) nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
  }
};

__attribute__((init_priority(101))) ScratchDirectory scratch;

}  // namespace

std::string FromStartingDirectory(const std::string& path) {
  if (path.empty() || path[0] == '/' || scratch.started.empty()) return path;
  return scratch.started + "/" + path;
}
