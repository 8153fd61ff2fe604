// Crashes on purpose in the way named by its argument, so tests can check
// the crash report written by the program-wide log's crash handler.

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "app/Log.h"
#include "app/ProgramLog.h"

// The sanitizers would otherwise catch these faults first and report them
// their own way.
extern "C" __attribute__((visibility("default"), used)) const char* __asan_default_options() {
  return "handle_segv=0:handle_sigbus=0:handle_sigfpe=0:handle_sigill=0:handle_abort=0:"
         "allow_user_segv_handler=1:detect_stack_use_after_return=0";
}

namespace {

// Volatile so the compiler can neither see the null pointer, the zero
// divisor nor the end of the recursion, and has to fault at run time.
int* volatile gNull = nullptr;
volatile int gZero = 0;
volatile int gDividend = 42;
volatile bool gRecurse = true;

__attribute__((noinline, no_sanitize("address", "undefined"))) int ReadNull() { return *gNull; }

__attribute__((noinline, no_sanitize("address", "undefined"))) int Divide() {
  return gDividend / gZero;
}

__attribute__((noinline, no_sanitize("address", "undefined"))) int Recurse(int depth) {
  volatile char frame[1024];
  frame[0] = static_cast<char>(depth);
  int below = gRecurse ? Recurse(depth + 1) : 0;
  // Used after the call so the recursion cannot become a loop.
  return below + frame[0];
}

int Wait() {
  std::fputs("ready\n", stdout);
  std::fflush(stdout);
  for (unsigned left = 30; left > 0;) left = ::sleep(left);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CProgramLog log(".");
  LogWarning("crash helper started");
  if (argc != 2) {
    std::fputs("usage: kuroshin_crash_helper null-read|divide|stack-overflow|wait\n", stderr);
    return 2;
  }
  const char* mode = argv[1];
  if (std::strcmp(mode, "null-read") == 0) return ReadNull();
  if (std::strcmp(mode, "divide") == 0) return Divide();
  if (std::strcmp(mode, "stack-overflow") == 0) return Recurse(0);
  if (std::strcmp(mode, "wait") == 0) return Wait();
  std::fprintf(stderr, "unknown mode: %s\n", mode);
  return 2;
}
