#include "app/Log.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "tests/support/ChildProcess.h"

namespace {

TEST(Log, LineFormatAndTruncation) {
  std::string dir = MakeTestDirectory("log");
  std::string path = dir + "/log.txt";
  {
    std::ofstream old(path);
    old << "a line from the previous run\n";
  }
  {
    CLogger log(path);
    EXPECT_GE(log.FileDescriptor(), 0);
    EXPECT_EQ(ReadWholeFile(path), "");  // emptied at start
    log.Warning("Could not assign texture to sprite. Texture not found!");
    log.Error("Could not load texture Graphics/none.png");
    log.Report("plain", "Info", LOG_FILE, LogKind::Info);
    log.Report("nowhere", "Error", 0, LogKind::Error);
  }
  EXPECT_EQ(ReadWholeFile(path),
            "Warning: Could not assign texture to sprite. Texture not found!\n"
            "Error: Could not load texture Graphics/none.png\n"
            "Info: plain\n");
}

TEST(Log, OnlyTheFileChannelIsOnByDefault) {
  std::string dir = MakeTestDirectory("log");
  CLogger log(dir + "/log.txt");
  EXPECT_EQ(log.warningChannels, LOG_FILE);
  EXPECT_EQ(log.errorChannels, LOG_FILE);
  testing::internal::CaptureStdout();
  log.Error("quiet");
  log.Report("loud", "Warning", LOG_STDOUT | LOG_FILE, LogKind::Warning);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning: loud\n");
  EXPECT_EQ(ReadWholeFile(dir + "/log.txt"), "Error: quiet\nWarning: loud\n");
}

TEST(Log, UnopenableFileLosesLinesSilently) {
  std::string dir = MakeTestDirectory("log");
  std::string path = dir + "/log.txt";
  ASSERT_EQ(mkdir(path.c_str(), 0755), 0);  // root ignores permissions; a directory is real
  CLogger log(path);
  EXPECT_EQ(log.FileDescriptor(), -1);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  log.Warning("lost");
  log.Error("lost too");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(Log, LinesFromSeveralThreadsStayWhole) {
  std::string dir = MakeTestDirectory("log");
  std::string path = dir + "/log.txt";
  constexpr int kThreads = 4;
  constexpr int kLines = 500;
  {
    CLogger log(path);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
      threads.emplace_back([&log, t] {
        for (int i = 0; i < kLines; ++i)
          log.Warning("thread " + std::to_string(t) + " line " + std::to_string(i) +
                      std::string(200, 'x'));
      });
    for (std::thread& thread : threads) thread.join();
  }
  std::istringstream lines(ReadWholeFile(path));
  std::set<std::string> seen;
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    ASSERT_EQ(line.rfind("Warning: thread ", 0), 0u) << line;
    ASSERT_EQ(line.substr(line.size() - 200), std::string(200, 'x'));
    seen.insert(line);
  }
  EXPECT_EQ(count, kThreads * kLines);
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kThreads * kLines));
}

TEST(Log, ProgramLogWritesToLogTxtInTheWorkingDirectory) {
  ASSERT_NE(CLogger::Get(), nullptr);
  std::string before = ReadWholeFile("log.txt");
  LogWarning("program-wide warning");
  LogError("program-wide error");
  EXPECT_EQ(ReadWholeFile("log.txt"),
            before + "Warning: program-wide warning\nError: program-wide error\n");
}

}  // namespace
