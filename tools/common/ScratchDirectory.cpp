#include "tools/common/ScratchDirectory.h"

#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include "app/ProgramLog.h"

namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
  ::remove(path);
  return 0;
}

struct ScratchDirectory {
  std::string started;
  std::string path;
  bool owned = false;
  ScratchDirectory() {
    char here[4096];
    if (getcwd(here, sizeof here)) started = here;
    // A copy of ourselves started inside our scratch directory (a test's
    // death-test child re-runs the binary there) stays in it: a child that
    // aborts on purpose would otherwise leave a directory of its own behind.
    const char* parent = getenv("KUROSHIN_SCRATCH");
    if (parent && !started.empty() && started == parent) {
      path = started;
      return;
    }
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/kuroshin-XXXXXX";
    if (char* made = mkdtemp(pattern.data())) {
      path = made;
      if (chdir(made) != 0) path.clear();
    }
    owned = !path.empty();
    if (owned) setenv("KUROSHIN_SCRATCH", path.c_str(), 1);
    // Going on would write into wherever the program was started.
    if (path.empty()) {
      fprintf(stderr, "cannot enter a temporary working directory\n");
      _exit(2);
    }
  }
  ~ScratchDirectory() {
    if (!owned || getenv("KUROSHIN_KEEP_SCRATCH")) return;  // the latter to look at a run
    if (chdir("/") == 0) nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
  }
};

__attribute__((init_priority(101))) ScratchDirectory scratch;
// Opened in the scratch directory before any other static object is built,
// so their constructors can report too.
__attribute__((init_priority(102))) CProgramLog programLog(".");

}  // namespace

std::string FromStartingDirectory(const std::string& path) {
  if (path.empty() || path[0] == '/' || scratch.started.empty()) return path;
  return scratch.started + "/" + path;
}
