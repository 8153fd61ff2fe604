#include "ForkedReplay.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#if defined(__SANITIZE_ADDRESS__) && __has_include(<sanitizer/lsan_interface.h>)
#include <sanitizer/lsan_interface.h>
#define KUROSHIN_CHECK_LEAKS 1
#endif

std::vector<std::string> FilesIn(const std::string& directory) {
  namespace fs = std::filesystem;
  std::vector<std::string> files;
  if (!fs::is_directory(directory)) return files;
  for (const auto& entry : fs::directory_iterator(directory)) {
    if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
      files.push_back(entry.path().string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

int RunForked(const std::function<bool()>& run, unsigned alarmSeconds) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    alarm(alarmSeconds);
    const bool fine = run();
#ifdef KUROSHIN_CHECK_LEAKS
    if (__lsan_do_recoverable_leak_check() != 0) _exit(4);
#endif
    _exit(fine ? 0 : 3);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return -1;
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return WEXITSTATUS(status);
}
