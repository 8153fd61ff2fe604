#include "input/PlayerController.h"
#include "input/ReplayController.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/AtomicFile.h"
#include "input/InputManager.h"
#include "tests/support/ChildProcess.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kKeyA = 0x41;
constexpr int kKeyD = 0x44;
constexpr int kKeyS = 0x53;
constexpr int kKeyW = 0x57;

std::string AsText(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

void WriteFile(const std::string& path, const std::string& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

// One step read from `input` with the given joystick state, as a byte.
std::uint8_t StepByte(const CInputManager& input, bool joystick) {
  CPlayerController live;
  live.ReadFrom(input, joystick);
  return live.record.at(0);
}

struct Commands {
  int direction;
  bool jump, sprint, crouch;
  bool operator==(const Commands&) const = default;
};

Commands CommandsOf(const IController& c) { return {c.direction, c.jump, c.sprint, c.crouch}; }

// ---- live input -------------------------------------------------------------

TEST(Controller, EachKeySetsItsBitAndLeftBeatsRight) {
  CInputManager input;
  struct Case {
    std::vector<int> keys;
    std::uint8_t expected;
  };
  const Case cases[] = {
      {{}, 0x00},
      {{VK_RIGHT}, 0x01},
      {{kKeyD}, 0x01},
      {{VK_LEFT}, 0x02},
      {{kKeyA}, 0x02},
      {{VK_LEFT, VK_RIGHT}, 0x02},
      {{kKeyA, VK_RIGHT}, 0x02},
      {{VK_LEFT, kKeyD}, 0x02},
      {{VK_SPACE}, 0x04},
      {{kKeyW}, 0x04},
      {{VK_UP}, 0x04},
      {{VK_CONTROL}, 0x08},
      {{kKeyS}, 0x08},
      {{VK_DOWN}, 0x08},
      {{VK_SHIFT}, 0x10},
      {{VK_RIGHT, VK_SPACE, VK_DOWN, VK_SHIFT}, 0x1d},
      {{VK_LEFT, VK_CONTROL}, 0x0a},
      {{0x42 /* B: unbound */, VK_ESCAPE}, 0x00},
  };
  for (const Case& c : cases) {
    std::fill(std::begin(input.keys), std::end(input.keys), 0);
    for (int vk : c.keys) input.keys[vk] = 1;
    EXPECT_EQ(StepByte(input, false), c.expected)
        << "first key 0x" << std::hex << (c.keys.empty() ? 0 : c.keys[0]);
  }
}

TEST(Controller, LeftAndCrouchRecordAndPlayBackAsTheSameCommands) {
  CInputManager input;
  input.keys[VK_LEFT] = 1;
  input.keys[VK_CONTROL] = 1;
  CPlayerController live;
  live.ReadInput();
  EXPECT_EQ(live.record, Bytes{0x0a});
  Commands recorded = CommandsOf(live);
  EXPECT_EQ(recorded, (Commands{-1, false, false, true}));

  ASSERT_TRUE(live.Save("run.rpl"));
  EXPECT_EQ(ReadWholeFile("run.rpl"), std::string("\x0a", 1));
  CReplayController replay;
  ASSERT_TRUE(replay.Load("run.rpl"));
  replay.ReadInput();
  EXPECT_EQ(CommandsOf(replay), recorded);
}

TEST(Controller, HeldKeysCountInEveryStepAndReleaseClearsThem) {
  CInputManager input;
  CPlayerController live;
  input.keys[VK_RIGHT] = 1;
  input.keys[VK_SHIFT] = 1;
  live.ReadInput();
  live.ReadInput();
  input.keys[VK_SHIFT] = 0;
  live.ReadInput();
  input.keys[VK_RIGHT] = 0;
  live.ReadInput();
  EXPECT_EQ(live.record, (Bytes{0x11, 0x11, 0x01, 0x00}));
  EXPECT_EQ(CommandsOf(live), (Commands{0, false, false, false}));
}

TEST(Controller, WithoutAnInputManagerStepsAreRecordedEmpty) {
  ASSERT_EQ(CInputManager::GetInstance(), nullptr);
  CPlayerController live;
  live.direction = 1;
  live.jump = true;
  live.ReadInput();
  EXPECT_EQ(live.record, Bytes{0x00});
  EXPECT_EQ(CommandsOf(live), (Commands{0, false, false, false}));
}

TEST(Controller, StickAxesNeedToPassTheirThresholds) {
  CInputManager input;
  struct Case {
    std::int32_t x, y;
    std::uint8_t expected;
  };
  const Case cases[] = {
      {-500, 0, 0x00}, {-501, 0, 0x02}, {500, 0, 0x00},   {501, 0, 0x01},
      {0, 900, 0x00},  {0, 901, 0x08},  {0, -1000, 0x00}, {-1000, 1000, 0x0a},
  };
  for (const Case& c : cases) {
    input.joyCurrent.lX = c.x;
    input.joyCurrent.lY = c.y;
    EXPECT_EQ(StepByte(input, true), c.expected) << c.x << "," << c.y;
  }
}

TEST(Controller, PadButtonsJumpCrouchAndSprint) {
  CInputManager input;
  const std::pair<int, std::uint8_t> cases[] = {{0, 0x04}, {1, 0x08}, {2, 0x10}, {3, 0x00}};
  for (auto [button, expected] : cases) {
    JoyState pad;
    pad.rgbButtons[button] = 0x80;
    input.joyCurrent = pad;
    EXPECT_EQ(StepByte(input, true), expected) << "button " << button;
  }
}

TEST(Controller, HatCountsOnlyWithAJoystick) {
  CInputManager input;
  const std::pair<std::uint32_t, std::uint8_t> cases[] = {
      {0, 0x00},     {4500, 0x01},  {9000, 0x01},  {13500, 0x09}, {18000, 0x08},
      {22500, 0x0a}, {27000, 0x02}, {31500, 0x02}, {4501, 0x00},  {JoyState::kCentred, 0x00},
  };
  for (auto [hat, expected] : cases) {
    input.joyCurrent.rgdwPOV[0] = hat;
    EXPECT_EQ(StepByte(input, true), expected) << "hat " << hat;
    EXPECT_EQ(StepByte(input, false), 0x00) << "hat " << hat << " without joystick";
  }
  // The live path asks the manager, which has no pad open here.
  input.joyCurrent.rgdwPOV[0] = 27000;
  ASSERT_FALSE(input.HasJoystick());
  CPlayerController live;
  live.ReadInput();
  EXPECT_EQ(live.record, Bytes{0x00});
}

TEST(Controller, ClearEmptiesTheRecordAndAllowsSavingAgain) {
  CInputManager input;
  input.keys[VK_SPACE] = 1;
  CPlayerController live;
  live.ReadInput();
  live.Invalidate();
  EXPECT_FALSE(live.Save("cleared.rpl"));
  live.Clear();
  EXPECT_TRUE(live.record.empty());
  EXPECT_FALSE(live.invalid);
  EXPECT_GE(live.record.capacity(), CPlayerController::kReservedSteps);
  live.ReadInput();
  ASSERT_TRUE(live.Save("cleared.rpl"));
  EXPECT_EQ(ReadWholeFile("cleared.rpl"), "\x04");
}

// ---- replay file ------------------------------------------------------------

TEST(Replay, TwoMinuteRunIsOneBytePerStepAndPlaysBackExactly) {
  CInputManager input;
  CPlayerController live;
  const std::uint8_t* storage = live.record.data();
  std::vector<Commands> seen;
  const int kSteps = 2 * 60 * 120;
  const int bound[] = {VK_LEFT, VK_RIGHT, VK_SPACE, VK_CONTROL, VK_SHIFT};
  for (int step = 0; step < kSteps; ++step) {
    for (int i = 0; i < 5; ++i) input.keys[bound[i]] = ((step * 7 + i * 13) / (17 + i)) % 2;
    live.ReadInput();
    seen.push_back(CommandsOf(live));
  }
  EXPECT_EQ(live.record.data(), storage) << "recording reallocated within the reservation";

  ASSERT_TRUE(live.Save("level.rpl"));
  struct stat info;
  ASSERT_EQ(stat("level.rpl", &info), 0);
  EXPECT_EQ(info.st_size, kSteps);
  EXPECT_EQ(ReadWholeFile("level.rpl"), AsText(live.record));

  CReplayController ghost;
  ASSERT_TRUE(ghost.Load("level.rpl"));
  for (int step = 0; step < kSteps; ++step) {
    ghost.ReadInput();
    ASSERT_EQ(CommandsOf(ghost), seen[step]) << "step " << step;
  }
  EXPECT_EQ(ghost.position, kSteps);
}

TEST(Replay, RoundTripIsByteExactForEveryStepByte) {
  CPlayerController live;
  for (int repeat = 0; repeat < 3; ++repeat)
    for (int b = 0; b < 0x20; ++b)
      if ((b & 0x03) != 0x03) live.record.push_back(static_cast<std::uint8_t>(b));
  ASSERT_TRUE(live.Save("all.rpl"));
  EXPECT_EQ(ReadWholeFile("all.rpl"), AsText(live.record));

  CReplayController ghost;
  ASSERT_TRUE(ghost.Load("all.rpl"));
  EXPECT_EQ(ghost.frames, live.record);
  for (std::uint8_t b : live.record) {
    ghost.ReadInput();
    int direction = (b & 0x01) ? 1 : (b & 0x02) ? -1 : 0;
    EXPECT_EQ(CommandsOf(ghost),
              (Commands{direction, (b & 0x04) != 0, (b & 0x10) != 0, (b & 0x08) != 0}))
        << "byte " << int(b);
  }
}

TEST(Replay, SaveReplacesALongerOldFileCompletely) {
  WriteFile("best.rpl", std::string(500, '\x02'));
  CPlayerController live;
  live.record = {0x01, 0x05, 0x00};
  ASSERT_TRUE(live.Save("best.rpl"));
  EXPECT_EQ(ReadWholeFile("best.rpl"), std::string("\x01\x05\x00", 3));
  EXPECT_FALSE(FileExists("best.rpl.tmp"));
}

TEST(Replay, InvalidatedRecordWritesNoFile) {
  CPlayerController live;
  live.record = {0x01, 0x01};
  live.Invalidate();
  EXPECT_FALSE(live.Save("fresh.rpl"));
  EXPECT_FALSE(FileExists("fresh.rpl"));
  EXPECT_FALSE(FileExists("fresh.rpl.tmp"));

  WriteFile("kept.rpl", "\x04\x04");
  EXPECT_FALSE(live.Save("kept.rpl"));
  EXPECT_EQ(ReadWholeFile("kept.rpl"), "\x04\x04");
}

TEST(Replay, EmptyFileLoadsAndNothingIsPlayedPastTheEnd) {
  WriteFile("empty.rpl", "");
  CReplayController ghost;
  ghost.frames = {0x05};
  ghost.position = 0;
  ASSERT_TRUE(ghost.Load("empty.rpl"));
  EXPECT_TRUE(ghost.frames.empty());
  for (int i = 0; i < 3; ++i) {
    ghost.direction = 1;
    ghost.jump = ghost.sprint = ghost.crouch = true;
    ghost.ReadInput();
    EXPECT_EQ(CommandsOf(ghost), (Commands{0, false, false, false}));
  }

  WriteFile("short.rpl", "\x15");
  ASSERT_TRUE(ghost.Load("short.rpl"));
  EXPECT_EQ(ghost.position, 0);
  ghost.ReadInput();
  EXPECT_EQ(CommandsOf(ghost), (Commands{1, true, true, false}));
  ghost.ReadInput();
  EXPECT_EQ(CommandsOf(ghost), (Commands{0, false, false, false}));
}

// A controller part-way through a replay, to see that failed loads leave it.
CReplayController MidReplay() {
  CReplayController ghost;
  ghost.frames = {0x01, 0x02, 0x04};
  ghost.position = 2;
  return ghost;
}

void ExpectUnchanged(const CReplayController& ghost) {
  EXPECT_EQ(ghost.frames, (Bytes{0x01, 0x02, 0x04}));
  EXPECT_EQ(ghost.position, 2);
}

TEST(Replay, UnloadableFilesFailAndChangeNothing) {
  CReplayController ghost = MidReplay();
  EXPECT_FALSE(ghost.Load("missing.rpl"));
  ExpectUnchanged(ghost);
  EXPECT_EQ(ReadWholeFile("log.txt").find("missing.rpl"), std::string::npos)
      << "no best run yet is not worth a warning";

  ASSERT_EQ(mkdir("folder.rpl", 0755), 0);  // opens as root, but cannot be read
  EXPECT_FALSE(ghost.Load("folder.rpl"));
  ExpectUnchanged(ghost);
  EXPECT_NE(ReadWholeFile("log.txt").find("Warning: Could not read replay folder.rpl"),
            std::string::npos);
}

TEST(Replay, FilesOverTheSizeLimitAreRefused) {
  auto makeSparse = [](const char* path, off_t size) {
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, size), 0);
    close(fd);
  };
  makeSparse("huge.rpl", CReplayController::kMaxFileBytes + 1);
  CReplayController ghost = MidReplay();
  EXPECT_FALSE(ghost.Load("huge.rpl"));
  ExpectUnchanged(ghost);
  EXPECT_NE(ReadWholeFile("log.txt").find("huge.rpl is too large"), std::string::npos);

  makeSparse("limit.rpl", CReplayController::kMaxFileBytes);
  ASSERT_TRUE(ghost.Load("limit.rpl"));
  EXPECT_EQ(static_cast<long long>(ghost.frames.size()), CReplayController::kMaxFileBytes);
  EXPECT_EQ(ghost.position, 0);
}

TEST(Replay, FailedSaveKeepsWhatWasThereAndLeavesNoTemporary) {
  CPlayerController live;
  live.record = {0x01};

  EXPECT_FALSE(live.Save("no-such-dir/level.rpl"));
  EXPECT_FALSE(FileExists("no-such-dir"));

  // A directory cannot be replaced by a file: the rename itself fails.
  ASSERT_EQ(mkdir("taken.rpl", 0755), 0);
  WriteFile("taken.rpl/inside", "x");
  EXPECT_FALSE(live.Save("taken.rpl"));
  EXPECT_EQ(ReadWholeFile("taken.rpl/inside"), "x");
  EXPECT_FALSE(FileExists("taken.rpl.tmp"));

  std::string log = ReadWholeFile("log.txt");
  EXPECT_NE(log.find("Warning: Could not save replay no-such-dir/level.rpl"), std::string::npos);
  EXPECT_NE(log.find("Warning: Could not save replay taken.rpl"), std::string::npos);
}

int hookPipe = -1;

void StopAfterTemporary(const std::string&) {
  char ready = 'r';
  if (write(hookPipe, &ready, 1) != 1) _exit(3);
  for (;;) pause();
}

TEST(Replay, SaveKilledBeforeReplacingKeepsTheOldFileIntact) {
  const std::string old("\x01\x01\x05\x15\x00\x02", 6);
  WriteFile("best.rpl", old);
  CPlayerController live;
  live.record.assign(200000, 0x0a);

  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    close(fds[0]);
    hookPipe = fds[1];
    afterAtomicTemporaryWritten = StopAfterTemporary;
    live.Save("best.rpl");
    _exit(4);  // only reached if the hook never ran
  }
  close(fds[1]);
  pollfd waitFor{fds[0], POLLIN, 0};
  char ready = 0;
  bool stopped = poll(&waitFor, 1, 30000) == 1 && read(fds[0], &ready, 1) == 1;
  close(fds[0]);
  kill(child, SIGKILL);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(stopped) << "child never reached the point before the rename";
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

  EXPECT_EQ(ReadWholeFile("best.rpl"), old);
  EXPECT_EQ(ReadWholeFile("best.rpl.tmp").size(), live.record.size());
  CReplayController ghost;
  ASSERT_TRUE(ghost.Load("best.rpl"));
  EXPECT_EQ(AsText(ghost.frames), old);

  // The leftover temporary does not get in the way of the next save.
  ASSERT_TRUE(live.Save("best.rpl"));
  EXPECT_EQ(ReadWholeFile("best.rpl"), AsText(live.record));
  EXPECT_FALSE(FileExists("best.rpl.tmp"));
}

}  // namespace
