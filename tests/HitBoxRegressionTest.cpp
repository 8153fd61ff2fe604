// Replays what the hit-box fuzzer found (tests/hitbox/regressions) and its
// seeds (fuzz/hitbox-corpus) through the fuzz target's own checks, in the
// sanitizer build the tests run in.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/HitBoxFuzzInput.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ForkedReplay.h"

namespace {

namespace fs = std::filesystem;

const std::string kSource = KUROSHIN_SOURCE_DIR;

// The fuzzer gives up on an input after 5 seconds, and so does this.
int InChild(const std::function<void()>& run) {
  return RunForked(
      [&run] {
        run();
        return true;
      },
      5);
}

template <typename Reader = HitBoxFuzz::GameReader>
int Replay(const std::string& text) {
  return InChild([&text] { HitBoxFuzz::Run<Reader>(text); });
}

TEST(HitBoxRegressionTest, FuzzFindingsAreHandled) {
  const std::vector<std::string> findings = FilesIn(kSource + "/tests/hitbox/regressions");
  ASSERT_FALSE(findings.empty());
  for (const std::string& path : findings) {
    EXPECT_EQ(Replay(ReadWholeFile(path)), 0)
        << path << " (" << 128 + SIGABRT << ": a check failed, see stderr; 4: leak; "
        << 128 + SIGALRM << ": hang; else a crash)";
  }
}

TEST(HitBoxRegressionTest, SeedsPassTheChecks) {
  const std::vector<std::string> seeds = FilesIn(kSource + "/fuzz/hitbox-corpus");
  ASSERT_FALSE(seeds.empty());
  for (const std::string& path : seeds) EXPECT_EQ(Replay(ReadWholeFile(path)), 0) << path;
}

// The seeds copied from the game's data must be files the reader takes, or
// the fuzzer starts from nothing but failures.
TEST(HitBoxRegressionTest, SeedsIncludeReadableFiles) {
  int readable = 0;
  for (const std::string& path : FilesIn(kSource + "/fuzz/hitbox-corpus")) {
    CHitBoxFile file;
    if (file.Parse(ReadWholeFile(path))) ++readable;
  }
  EXPECT_GE(readable, 4);
}

// Text of two boxes, with a trailing comment that makes the fuzz body read
// it from disk as well.
std::string TwoBoxesReadFromDisk() {
  const std::string text =
      "<hitboxes>\n"
      "  <hitbox userdata=\"Body\" frame=\"0\" x=\"4\" y=\"2\" width=\"30\" height=\"60\"/>\n"
      "  <hitbox userdata=\"Head\" x=\"12\" y=\"-10\" width=\"-8\" height=\"12\"/>\n"
      "</hitboxes>\n";
  for (char mark = 'H'; mark <= 'O'; ++mark) {
    const std::string marked = text + "<!--" + mark + "-->\n";
    if (HitBoxFuzz::ReadFromDisk(marked)) return marked;
  }
  return text;
}

// Readers with the faults the checks are there for; each must be caught.
struct InsideOutFile : CHitBoxFile {
  // As if a negative width had not been turned round.
  void AppendAll(std::vector<CHitBox>& boxes) const {
    CHitBoxFile::AppendAll(boxes);
    for (CHitBox& box : boxes) std::swap(box.left, box.right);
  }
};
struct InsideOutReader : HitBoxFuzz::GameReader {
  using File = InsideOutFile;
};

struct AlwaysFindsFile : CHitBoxFile {
  bool Find(const std::string& userdata, int frame, CHitBox& box) const {
    CHitBoxFile::Find(userdata, frame, box);
    return true;
  }
};
struct AlwaysFindsReader : HitBoxFuzz::GameReader {
  using File = AlwaysFindsFile;
};

struct LosesLastBoxReader : HitBoxFuzz::GameReader {
  static void LoadList(const std::string& basePath, std::vector<CHitBox>& boxes) {
    HitBoxFuzz::GameReader::LoadList(basePath, boxes);
    boxes.pop_back();
  }
};

TEST(HitBoxRegressionTest, ReplayCatchesFaultyReaders) {
  const std::string good = TwoBoxesReadFromDisk();
  ASSERT_TRUE(HitBoxFuzz::ReadFromDisk(good));
  EXPECT_EQ(Replay(good), 0);
  EXPECT_EQ(Replay<InsideOutReader>(good), 128 + SIGABRT);
  EXPECT_EQ(Replay<AlwaysFindsReader>("<hitboxes><box/></hitboxes>"), 128 + SIGABRT);
  EXPECT_EQ(Replay<LosesLastBoxReader>(good), 128 + SIGABRT);
}

TEST(HitBoxRegressionTest, ReplayReportsWhatGoesWrong) {
  EXPECT_EQ(InChild([] {}), 0);
  EXPECT_EQ(InChild([] { abort(); }), 128 + SIGABRT);
#ifdef __SANITIZE_ADDRESS__
  EXPECT_EQ(InChild([] {
              volatile int* cell = new int[4];
              delete[] cell;
              if (cell[1] == 0) _exit(0);  // read after free
            }),
            1);
#endif
}

}  // namespace
