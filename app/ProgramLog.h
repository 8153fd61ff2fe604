#pragma once

#include <string>

#include "app/Log.h"

// The program-wide log: "log.txt" in `folder`, emptied at start, and the
// crash handler, which writes "MiniDump.dmp" beside it and its report into
// it. While one exists, CLogger::Get(), LogWarning and LogError reach it.
// The game opens it only once it knows where the player's files go, so a run
// that ends before (--help, no data) writes no file; tools and tests open it
// in their working directory. One at a time.
class CProgramLog {
public:
  explicit CProgramLog(const std::string& folder);
  ~CProgramLog();
  CProgramLog(const CProgramLog&) = delete;
  CProgramLog& operator=(const CProgramLog&) = delete;

private:
  CLogger logger;
};
