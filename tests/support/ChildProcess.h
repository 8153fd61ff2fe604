#pragma once

#include <functional>
#include <string>
#include <vector>

#include <sys/types.h>

struct ChildOptions {
  std::string directory;                 // working directory of the child
  std::vector<std::string> environment;  // extra KEY=VALUE entries, replacing inherited ones
  int timeoutSeconds = 120;              // killed after this
  std::string readyText;                 // when it appears on stdout, onReady runs once
  std::function<void(pid_t)> onReady;
};

struct ChildResult {
  bool exited = false;  // ended through exit(); else by a signal
  int exitCode = -1;
  int signal = 0;
  bool timedOut = false;
  std::string out;
  std::string err;
};

// Runs a program to its end, with its output captured and no core file.
ChildResult RunChild(const std::vector<std::string>& argv, const ChildOptions& options);

// A new directory below the working directory.
std::string MakeTestDirectory(const std::string& prefix);
std::string ReadWholeFile(const std::string& path);
bool FileExists(const std::string& path);
