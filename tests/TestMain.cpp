// Every test process works in a temporary directory of its own, entered
// before any other static object is built: the program-wide log opens
// "log.txt" during static initialisation, and tests that run in parallel
// must neither share a log nor write into the repository.
#include <gtest/gtest.h>

#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>
#include <string>

namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
  ::remove(path);
  return 0;
}

struct TemporaryWorkingDirectory {
  std::string path;
  TemporaryWorkingDirectory() {
    const char* base = getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/kuroshin-test-XXXXXX";
    if (char* made = mkdtemp(pattern.data())) {
      path = made;
      if (chdir(made) != 0) path.clear();
    }
    if (path.empty()) {
      fprintf(stderr, "cannot enter a temporary working directory\n");
      _exit(2);
    }
  }
  ~TemporaryWorkingDirectory() {
    if (getenv("KUROSHIN_KEEP_TEST_DIRS")) return;
    if (chdir("/") == 0) nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
  }
};

__attribute__((init_priority(101))) TemporaryWorkingDirectory workingDirectory;

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
