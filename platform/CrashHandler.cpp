#include "platform/CrashHandler.h"

#include <execinfo.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>

#include "platform/ExceptionCode.h"

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT};
constexpr int kSignalCount = sizeof(kSignals) / sizeof(kSignals[0]);
constexpr int kMaxFrames = 64;
// The handler's frames plus the unwinder's; SIGSTKSZ alone is too tight for
// backtrace() on some systems.
constexpr std::size_t kAltStackExtra = 64 * 1024;

struct sigaction gPrevious[kSignalCount];
bool gInstalled = false;
int gLogFd = -1;
int gDirFd = -1;

void* gAltStack = nullptr;
std::size_t gAltStackSize = 0;
stack_t gPreviousAltStack;
pid_t gInstallThread = 0;
// Lowest address the installing thread's stack may grow to; 0 when unknown.
std::uintptr_t gStackLow = 0;

std::atomic<bool> gHandling{false};
void* gFrames[kMaxFrames];

pid_t CurrentThread() { return static_cast<pid_t>(::syscall(SYS_gettid)); }

// Buffered writes without snprintf or malloc, both off limits in a signal
// handler.
class FdWriter {
public:
  explicit FdWriter(int fd) : fd_(fd) {}
  ~FdWriter() { Flush(); }
  FdWriter(const FdWriter&) = delete;
  FdWriter& operator=(const FdWriter&) = delete;

  FdWriter& Text(const char* text) {
    while (*text != '\0') Put(*text++);
    return *this;
  }

  FdWriter& Hex(std::uintptr_t value, int minDigits = 1) {
    char digits[2 * sizeof(value)];
    int count = 0;
    do {
      digits[count++] = "0123456789abcdef"[value & 0xf];
      value >>= 4;
    } while (value != 0);
    while (count < minDigits && count < static_cast<int>(sizeof(digits))) digits[count++] = '0';
    Text("0x");
    while (count > 0) Put(digits[--count]);
    return *this;
  }

  FdWriter& Decimal(long value) {
    char digits[24];
    int count = 0;
    // Negate digit by digit so LONG_MIN does not overflow.
    bool negative = value < 0;
    do {
      long digit = value % 10;
      digits[count++] = static_cast<char>('0' + (negative ? -digit : digit));
      value /= 10;
    } while (value != 0);
    if (negative) Put('-');
    while (count > 0) Put(digits[--count]);
    return *this;
  }

  void Flush() {
    const char* p = buffer_;
    while (used_ > 0) {
      ssize_t n = ::write(fd_, p, used_);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      p += n;
      used_ -= static_cast<std::size_t>(n);
    }
    used_ = 0;
  }

private:
  void Put(char c) {
    if (used_ == sizeof(buffer_)) Flush();
    buffer_[used_++] = c;
  }

  int fd_;
  std::size_t used_ = 0;
  char buffer_[512];
};

struct CrashInfo {
  int signal;
  int code;
  std::uintptr_t faultAddress;
  std::uintptr_t exceptionAddress;
  std::uint32_t exception;
  bool write;
  bool fromKernel;
};

void WriteRegisters(FdWriter& out, const ucontext_t* context) {
#if defined(__x86_64__)
  static constexpr struct {
    int index;
    const char* name;
  } kRegisters[] = {
      {REG_RIP, "RIP"},       {REG_RSP, "RSP"},         {REG_RBP, "RBP"},       {REG_RAX, "RAX"},
      {REG_RBX, "RBX"},       {REG_RCX, "RCX"},         {REG_RDX, "RDX"},       {REG_RSI, "RSI"},
      {REG_RDI, "RDI"},       {REG_R8, "R8"},           {REG_R9, "R9"},         {REG_R10, "R10"},
      {REG_R11, "R11"},       {REG_R12, "R12"},         {REG_R13, "R13"},       {REG_R14, "R14"},
      {REG_R15, "R15"},       {REG_EFL, "EFL"},         {REG_CSGSFS, "CSGSFS"}, {REG_ERR, "ERR"},
      {REG_TRAPNO, "TRAPNO"}, {REG_OLDMASK, "OLDMASK"}, {REG_CR2, "CR2"},
  };
  if (context == nullptr) return;
  out.Text("Registers:\n");
  for (const auto& reg : kRegisters) {
    out.Text("  ").Text(reg.name).Text(" ");
    out.Hex(static_cast<std::uintptr_t>(context->uc_mcontext.gregs[reg.index]), 16).Text("\n");
  }
#else
  (void)out;
  (void)context;
#endif
}

void WriteMiniDump(const CrashInfo& crash, const ucontext_t* context) {
  if (gDirFd < 0) return;
  int fd = ::openat(gDirFd, "MiniDump.dmp", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  {
    FdWriter out(fd);
    out.Text("Kuroshin crash dump\n");
    out.Text("Process: ").Decimal(::getpid()).Text("\n");
    out.Text("Thread: ").Decimal(CurrentThread()).Text("\n");
    out.Text("Signal: ").Decimal(crash.signal).Text(" ").Text(SignalName(crash.signal)).Text("\n");
    out.Text("Code: ").Decimal(crash.code).Text(crash.fromKernel ? "\n" : " (sent)\n");
    out.Text("Fault address: ").Hex(crash.faultAddress).Text("\n");
    out.Text("Exception: ").Hex(crash.exception, 8).Text(" ").Text(ExceptionName(crash.exception));
    out.Text("\nException address: ").Hex(crash.exceptionAddress).Text("\n");
    WriteRegisters(out, context);
    out.Text("Backtrace:\n");
  }
  int frames = ::backtrace(gFrames, kMaxFrames);
  if (frames > 0) ::backtrace_symbols_fd(gFrames, frames, fd);
  ::close(fd);
}

void WriteReport(const CrashInfo& crash) {
  if (gLogFd < 0) return;
  FdWriter out(gLogFd);
  out.Text("\n************Crash Report***********\n");
  out.Text("Unhandled ").Text(ExceptionName(crash.exception)).Text(" at ");
  out.Hex(crash.exceptionAddress).Text("\n");
  // A signal sent with kill() carries the sender in place of an address.
  if ((crash.exception == kExceptionAccessViolation || crash.exception == kExceptionInPageError) &&
      crash.fromKernel) {
    out.Text("Trying to ").Text(crash.write ? "write to" : "read from").Text(" ");
    out.Hex(crash.faultAddress).Text("\n");
  }
}

void OnCrash(int signal, siginfo_t* info, void* rawContext) {
  if (gHandling.exchange(true)) {
    // Another thread is already reporting and will end the process.
    for (;;) ::pause();
  }
  const auto* context = static_cast<const ucontext_t*>(rawContext);

  CrashInfo crash{};
  crash.signal = signal;
  crash.code = info != nullptr ? info->si_code : 0;
  crash.fromKernel = crash.code > 0;
  crash.faultAddress = info != nullptr ? reinterpret_cast<std::uintptr_t>(info->si_addr) : 0;
  crash.exceptionAddress = crash.faultAddress;
  std::uintptr_t stackPointer = 0;
#if defined(__x86_64__)
  if (context != nullptr) {
    const greg_t* regs = context->uc_mcontext.gregs;
    crash.exceptionAddress = static_cast<std::uintptr_t>(regs[REG_RIP]);
    stackPointer = static_cast<std::uintptr_t>(regs[REG_RSP]);
    // Bit 1 of the page-fault error code is set for writes.
    crash.write = (regs[REG_ERR] & 2) != 0;
  }
#endif
  bool overflow = false;
  if (signal == SIGSEGV && crash.fromKernel) {
    std::uintptr_t stackLow = CurrentThread() == gInstallThread ? gStackLow : 0;
    overflow = IsStackOverflowFault(crash.faultAddress, stackLow, stackPointer);
  }
  crash.exception = ExceptionCodeFor(signal, crash.code, overflow);

  WriteMiniDump(crash, context);
  WriteReport(crash);

  // With the default action back, the re-raised signal ends the process as
  // soon as the handler returns (a fault would also just happen again).
  struct sigaction fallback = {};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  ::sigaction(signal, &fallback, nullptr);
  ::raise(signal);
}

void SetUpAltStack() {
  if (gAltStack != nullptr) return;
  std::size_t size = kAltStackExtra + static_cast<std::size_t>(SIGSTKSZ);
  void* memory =
      ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
  if (memory == MAP_FAILED) return;
  stack_t stack = {};
  stack.ss_sp = memory;
  stack.ss_size = size;
  if (::sigaltstack(&stack, &gPreviousAltStack) != 0) {
    ::munmap(memory, size);
    return;
  }
  gAltStack = memory;
  gAltStackSize = size;
}

void TearDownAltStack() {
  if (gAltStack == nullptr) return;
  // The alternate stack belongs to the installing thread; another thread can
  // neither switch it back nor tell whether it is still in use, so it stays.
  if (CurrentThread() != gInstallThread) return;
  stack_t current = {};
  if (::sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_ONSTACK)) return;
  stack_t restore = gPreviousAltStack;
  if (restore.ss_sp == nullptr || restore.ss_size == 0) {
    restore = {};
    restore.ss_flags = SS_DISABLE;
  }
  ::sigaltstack(&restore, nullptr);
  ::munmap(gAltStack, gAltStackSize);
  gAltStack = nullptr;
  gAltStackSize = 0;
}

std::uintptr_t LowestStackAddress() {
  pthread_attr_t attr;
  if (::pthread_getattr_np(::pthread_self(), &attr) != 0) return 0;
  void* address = nullptr;
  std::size_t size = 0;
  std::uintptr_t low = 0;
  if (::pthread_attr_getstack(&attr, &address, &size) == 0) {
    low = reinterpret_cast<std::uintptr_t>(address);
  }
  ::pthread_attr_destroy(&attr);
  return low;
}

}  // namespace

bool InstallCrashHandler(int logFd, const char* dumpFolder) {
  gLogFd = logFd;
  if (gDirFd >= 0) ::close(gDirFd);
  gDirFd = ::open(dumpFolder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);

  // The first backtrace() loads the unwinder, which allocates; better now
  // than in the handler.
  void* warmUp[1];
  ::backtrace(warmUp, 1);

  if (!gInstalled) {
    gInstallThread = CurrentThread();
    gStackLow = LowestStackAddress();
  }
  SetUpAltStack();

  struct sigaction action = {};
  action.sa_sigaction = OnCrash;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK;
  // A second fault while reporting kills the process instead of nesting.
  sigemptyset(&action.sa_mask);
  for (int signal : kSignals) sigaddset(&action.sa_mask, signal);

  for (int i = 0; i < kSignalCount; ++i) {
    // On a second install the saved actions are already the ones to restore.
    struct sigaction* previous = gInstalled ? nullptr : &gPrevious[i];
    if (::sigaction(kSignals[i], &action, previous) != 0) {
      if (!gInstalled) {
        for (int j = 0; j < i; ++j) ::sigaction(kSignals[j], &gPrevious[j], nullptr);
        RemoveCrashHandler();
      }
      return false;
    }
  }
  gInstalled = true;
  return true;
}

void RemoveCrashHandler() {
  if (gInstalled) {
    for (int i = 0; i < kSignalCount; ++i) ::sigaction(kSignals[i], &gPrevious[i], nullptr);
    gInstalled = false;
  }
  TearDownAltStack();
  if (gDirFd >= 0) {
    ::close(gDirFd);
    gDirFd = -1;
  }
  gLogFd = -1;
  gStackLow = 0;
}
