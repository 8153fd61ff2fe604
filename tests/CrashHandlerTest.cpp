#include "platform/CrashHandler.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdint>
#include <cstring>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/Log.h"
#include "platform/ExceptionCode.h"
#include "tests/support/ChildProcess.h"

namespace {

const std::string kStartLine = "Warning: crash helper started\n";
const std::string kReportHeader = "\n************Crash Report***********\n";

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct HelperRun {
  std::string dir;
  bool finished = false;
  int signal = 0;  // the signal that ended it, 0 when it exited
  int exitCode = -1;
  std::string log;
  std::string dump;
  std::string errors;  // the helper's standard error, for failure messages
};

// Runs the crash helper in a fresh subdirectory of the working directory.
// With `killWhenReady`, waits for its "ready" line and sends it SIGSEGV.
HelperRun RunHelper(const std::string& mode, bool killWhenReady = false) {
  HelperRun run;
  run.dir = MakeTestDirectory("crash-" + mode);
  if (run.dir.empty()) {
    ADD_FAILURE() << "cannot create a directory for the helper";
    return run;
  }
  ChildOptions options;
  options.directory = run.dir;
  options.timeoutSeconds = 60;
  if (killWhenReady) {
    options.readyText = "ready";
    options.onReady = [](pid_t pid) { ::kill(pid, SIGSEGV); };
  }
  ChildResult result = RunChild({KUROSHIN_CRASH_HELPER, mode}, options);
  run.finished = !result.timedOut;
  run.signal = result.signal;
  run.exitCode = result.exitCode;
  run.errors = result.err;
  run.log = ReadWholeFile(run.dir + "/log.txt");
  run.dump = ReadWholeFile(run.dir + "/MiniDump.dmp");
  return run;
}

// Checks what every crash leaves behind and returns the crash report's
// lines after the header; the first one names `exception` and its address
// is stored in `address`.
std::vector<std::string> CheckCrash(const HelperRun& run, int signal, const std::string& exception,
                                    std::uintptr_t* address) {
  SCOPED_TRACE("helper stderr:\n" + run.errors + "\nlog.txt:\n" + run.log);
  EXPECT_TRUE(run.finished) << "the helper hung";
  EXPECT_EQ(run.signal, signal) << "exit status " << run.exitCode << ", signal "
                                << strsignal(run.signal);
  EXPECT_FALSE(run.dump.empty()) << "no MiniDump.dmp";

  // Lines written before the crash survive, the report follows them
  // directly and is written exactly once.
  EXPECT_EQ(run.log.rfind(kStartLine, 0), 0u);
  std::size_t header = run.log.find(kReportHeader);
  if (header == std::string::npos) {
    ADD_FAILURE() << "no crash report";
    return {};
  }
  EXPECT_EQ(header, kStartLine.size());
  EXPECT_EQ(run.log.find(kReportHeader, header + 1), std::string::npos);

  std::vector<std::string> lines = SplitLines(run.log.substr(header + kReportHeader.size()));
  if (lines.empty()) {
    ADD_FAILURE() << "empty crash report";
    return lines;
  }
  std::smatch match;
  static const std::regex kFirstLine("Unhandled (EXCEPTION_[A-Z_]+) at 0x([0-9a-f]+)");
  if (!std::regex_match(lines[0], match, kFirstLine)) {
    ADD_FAILURE() << "unexpected first line: " << lines[0];
    return lines;
  }
  EXPECT_EQ(match[1].str(), exception);
  *address = static_cast<std::uintptr_t>(std::stoull(match[2].str(), nullptr, 16));
  EXPECT_NE(*address, 0u);
  EXPECT_NE(run.dump.find(exception), std::string::npos) << "dump:\n" << run.dump;
  return lines;
}

// The dump's copy of the instruction pointer.
std::uintptr_t DumpedInstructionPointer(const std::string& dump) {
  std::smatch match;
  static const std::regex kRip("\\bRIP 0x([0-9a-f]+)");
  if (!std::regex_search(dump, match, kRip)) return 0;
  return static_cast<std::uintptr_t>(std::stoull(match[1].str(), nullptr, 16));
}

TEST(CrashHandler, NullReadIsAnAccessViolationReadingAddressZero) {
  HelperRun run = RunHelper("null-read");
  std::uintptr_t address = 0;
  std::vector<std::string> lines = CheckCrash(run, SIGSEGV, "EXCEPTION_ACCESS_VIOLATION", &address);
  ASSERT_EQ(lines.size(), 2u) << run.log;
  EXPECT_EQ(lines[1], "Trying to read from 0x0");
#if defined(__x86_64__)
  // The reported address is where the code faulted, not the address it read.
  EXPECT_EQ(DumpedInstructionPointer(run.dump), address) << run.dump;
#endif
}

TEST(CrashHandler, IntegerDivisionByZero) {
  HelperRun run = RunHelper("divide");
  std::uintptr_t address = 0;
  std::vector<std::string> lines =
      CheckCrash(run, SIGFPE, "EXCEPTION_INT_DIVIDE_BY_ZERO", &address);
  EXPECT_EQ(lines.size(), 1u) << run.log;
#if defined(__x86_64__)
  EXPECT_EQ(DumpedInstructionPointer(run.dump), address) << run.dump;
#endif
}

TEST(CrashHandler, RunawayRecursionIsAStackOverflow) {
  HelperRun run = RunHelper("stack-overflow");
  std::uintptr_t address = 0;
  std::vector<std::string> lines = CheckCrash(run, SIGSEGV, "EXCEPTION_STACK_OVERFLOW", &address);
  EXPECT_EQ(lines.size(), 1u) << run.log;
}

TEST(CrashHandler, SignalSentFromOutsideIsReportedToo) {
  HelperRun run = RunHelper("wait", true);
  std::uintptr_t address = 0;
  std::vector<std::string> lines = CheckCrash(run, SIGSEGV, "EXCEPTION_ACCESS_VIOLATION", &address);
  // A sent signal carries no faulting address worth reporting.
  EXPECT_EQ(lines.size(), 1u) << run.log;
}

// Installing twice must not lose the actions that were there first, and
// removing restores exactly those, however often it is called.
TEST(CrashHandler, RemoveRestoresWhatWasInstalledBefore) {
  CLogger* log = CLogger::Get();
  int logFd = log != nullptr ? log->FileDescriptor() : -1;
  RemoveCrashHandler();

  struct sigaction original = {};
  ASSERT_EQ(::sigaction(SIGTRAP, nullptr, &original), 0);
  stack_t originalStack = {};
  ASSERT_EQ(::sigaltstack(nullptr, &originalStack), 0);

  struct sigaction marker = {};
  marker.sa_handler = SIG_IGN;
  sigemptyset(&marker.sa_mask);
  ASSERT_EQ(::sigaction(SIGTRAP, &marker, nullptr), 0);

  EXPECT_TRUE(InstallCrashHandler(-1));
  EXPECT_TRUE(InstallCrashHandler(-1));
  struct sigaction current = {};
  ::sigaction(SIGTRAP, nullptr, &current);
  EXPECT_TRUE(current.sa_flags & SA_SIGINFO);
  EXPECT_TRUE(current.sa_flags & SA_ONSTACK);
  stack_t stack = {};
  ::sigaltstack(nullptr, &stack);
  EXPECT_FALSE(stack.ss_flags & SS_DISABLE);
  EXPECT_GE(stack.ss_size, 64u * 1024u);

  RemoveCrashHandler();
  RemoveCrashHandler();
  ::sigaction(SIGTRAP, nullptr, &current);
  EXPECT_EQ(current.sa_handler, SIG_IGN);
  EXPECT_FALSE(current.sa_flags & SA_SIGINFO);
  ::sigaltstack(nullptr, &stack);
  EXPECT_EQ(stack.ss_sp, originalStack.ss_sp);
  EXPECT_EQ(stack.ss_size, originalStack.ss_size);

  ::sigaction(SIGTRAP, &original, nullptr);
  EXPECT_TRUE(InstallCrashHandler(logFd));
}

TEST(CrashExceptionCode, SignalsMapToWindowsCodes) {
  struct Case {
    int signal;
    int code;
    bool stackOverflow;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {SIGSEGV, SEGV_MAPERR, false, kExceptionAccessViolation},
      {SIGSEGV, SEGV_ACCERR, false, kExceptionAccessViolation},
      {SIGSEGV, SI_USER, false, kExceptionAccessViolation},
      {SIGSEGV, SEGV_MAPERR, true, kExceptionStackOverflow},
      {SIGBUS, BUS_ADRALN, false, kExceptionDatatypeMisalignment},
      {SIGBUS, BUS_ADRERR, false, kExceptionInPageError},
      {SIGBUS, BUS_OBJERR, false, kExceptionInPageError},
      {SIGBUS, SI_USER, false, kExceptionUnknown},
      // Only SIGSEGV can mean a stack overflow.
      {SIGBUS, BUS_ADRALN, true, kExceptionDatatypeMisalignment},
      {SIGFPE, FPE_INTDIV, false, kExceptionIntDivideByZero},
      {SIGFPE, FPE_INTOVF, false, kExceptionIntOverflow},
      {SIGFPE, FPE_FLTDIV, false, kExceptionFltDivideByZero},
      {SIGFPE, FPE_FLTOVF, false, kExceptionFltOverflow},
      {SIGFPE, FPE_FLTUND, false, kExceptionFltUnderflow},
      {SIGFPE, FPE_FLTRES, false, kExceptionFltInexactResult},
      {SIGFPE, FPE_FLTINV, false, kExceptionFltInvalidOperation},
      {SIGFPE, FPE_FLTSUB, false, kExceptionArrayBoundsExceeded},
      {SIGFPE, SI_USER, false, kExceptionUnknown},
      {SIGILL, ILL_PRVOPC, false, kExceptionPrivInstruction},
      {SIGILL, ILL_PRVREG, false, kExceptionPrivInstruction},
      {SIGILL, ILL_ILLOPC, false, kExceptionIllegalInstruction},
      {SIGILL, SI_USER, false, kExceptionIllegalInstruction},
      {SIGTRAP, TRAP_BRKPT, false, kExceptionBreakpoint},
      {SIGTRAP, TRAP_TRACE, false, kExceptionSingleStep},
      {SIGTRAP, SI_KERNEL, false, kExceptionBreakpoint},
      {SIGABRT, SI_TKILL, false, kExceptionUnknown},
      {SIGTERM, SI_USER, false, kExceptionUnknown},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExceptionCodeFor(c.signal, c.code, c.stackOverflow), c.expected)
        << SignalName(c.signal) << " code " << c.code << (c.stackOverflow ? " overflow" : "");
  }
  EXPECT_STREQ(ExceptionName(ExceptionCodeFor(SIGABRT, SI_USER, false)), "UNKNOWN");
  EXPECT_STREQ(SignalName(SIGBUS), "SIGBUS");
  EXPECT_STREQ(SignalName(SIGTERM), "UNKNOWN");
}

TEST(CrashExceptionCode, EveryCodeHasItsOwnName) {
  const std::uint32_t codes[] = {
      kExceptionGuardPage,
      kExceptionDatatypeMisalignment,
      kExceptionBreakpoint,
      kExceptionSingleStep,
      kExceptionAccessViolation,
      kExceptionInPageError,
      kExceptionInvalidHandle,
      kExceptionIllegalInstruction,
      kExceptionNoncontinuableException,
      kExceptionInvalidDisposition,
      kExceptionArrayBoundsExceeded,
      kExceptionFltDenormalOperand,
      kExceptionFltDivideByZero,
      kExceptionFltInexactResult,
      kExceptionFltInvalidOperation,
      kExceptionFltOverflow,
      kExceptionFltStackCheck,
      kExceptionFltUnderflow,
      kExceptionIntDivideByZero,
      kExceptionIntOverflow,
      kExceptionPrivInstruction,
      kExceptionStackOverflow,
  };
  std::set<std::string> names;
  for (std::uint32_t code : codes) {
    std::string name = ExceptionName(code);
    EXPECT_EQ(name.rfind("EXCEPTION_", 0), 0u) << std::hex << code << " " << name;
    EXPECT_TRUE(names.insert(name).second) << "duplicate name " << name;
  }
  EXPECT_STREQ(ExceptionName(0xc0000005u), "EXCEPTION_ACCESS_VIOLATION");
  EXPECT_STREQ(ExceptionName(0xc00000fdu), "EXCEPTION_STACK_OVERFLOW");
  EXPECT_STREQ(ExceptionName(0x80000002u), "EXCEPTION_DATATYPE_MISALIGNMENT");
  EXPECT_STREQ(ExceptionName(kExceptionUnknown), "UNKNOWN");
  EXPECT_STREQ(ExceptionName(0xc0000007u), "UNKNOWN");
  EXPECT_STREQ(ExceptionName(0xffffffffu), "UNKNOWN");
}

TEST(CrashExceptionCode, StackOverflowIsAFaultJustBelowTheStack) {
  const std::uintptr_t low = 0x7ff000000000;
  const std::uintptr_t sp = 0x7ff000800000;
  const std::uintptr_t kMiB = 1024 * 1024;

  // The guard gap below the lowest stack address.
  EXPECT_TRUE(IsStackOverflowFault(low - 8, low, sp));
  EXPECT_TRUE(IsStackOverflowFault(low - kMiB, low, sp));
  EXPECT_TRUE(IsStackOverflowFault(low + 16, low, sp));
  EXPECT_FALSE(IsStackOverflowFault(low - kMiB - 4096, low, sp));
  EXPECT_FALSE(IsStackOverflowFault(low + 2 * 4096, low, sp));

  // Close below the stack pointer, for stacks whose limits are unknown.
  EXPECT_TRUE(IsStackOverflowFault(sp - 8, 0, sp));
  EXPECT_TRUE(IsStackOverflowFault(sp - 64 * 1024, 0, sp));
  EXPECT_FALSE(IsStackOverflowFault(sp - 64 * 1024 - 4096, 0, sp));
  EXPECT_FALSE(IsStackOverflowFault(sp + 2 * 4096, 0, sp));

  // Ordinary bad pointers are not.
  EXPECT_FALSE(IsStackOverflowFault(0, low, sp));
  EXPECT_FALSE(IsStackOverflowFault(0x10, low, sp));
  EXPECT_FALSE(IsStackOverflowFault(0x7ff000000000 - 8, 0, 0));
}

}  // namespace
