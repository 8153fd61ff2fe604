#include "platform/ExceptionCode.h"

#include <csignal>

namespace {

// The kernel keeps a gap of 256 pages below a growing stack; a fault anywhere
// in it is the stack hitting its limit.
constexpr std::uintptr_t kGuardGap = 1024 * 1024;
constexpr std::uintptr_t kPage = 4096;
// Functions with big frames touch memory well below the stack pointer
// before moving it.
constexpr std::uintptr_t kBelowStackPointer = 64 * 1024;

}  // namespace

std::uint32_t ExceptionCodeFor(int signal, int code, bool stackOverflow) {
  switch (signal) {
    case SIGSEGV:
      return stackOverflow ? kExceptionStackOverflow : kExceptionAccessViolation;
    case SIGBUS:
      switch (code) {
        case BUS_ADRALN:
          return kExceptionDatatypeMisalignment;
        case BUS_ADRERR:
        case BUS_OBJERR:
          return kExceptionInPageError;
        default:
          return kExceptionUnknown;
      }
    case SIGFPE:
      switch (code) {
        case FPE_INTDIV:
          return kExceptionIntDivideByZero;
        case FPE_INTOVF:
          return kExceptionIntOverflow;
        case FPE_FLTDIV:
          return kExceptionFltDivideByZero;
        case FPE_FLTOVF:
          return kExceptionFltOverflow;
        case FPE_FLTUND:
          return kExceptionFltUnderflow;
        case FPE_FLTRES:
          return kExceptionFltInexactResult;
        case FPE_FLTINV:
          return kExceptionFltInvalidOperation;
        case FPE_FLTSUB:
          return kExceptionArrayBoundsExceeded;
        default:
          return kExceptionUnknown;
      }
    case SIGILL:
      return code == ILL_PRVOPC || code == ILL_PRVREG ? kExceptionPrivInstruction
                                                      : kExceptionIllegalInstruction;
    case SIGTRAP:
      return code == TRAP_TRACE ? kExceptionSingleStep : kExceptionBreakpoint;
    default:
      return kExceptionUnknown;
  }
}

const char* ExceptionName(std::uint32_t code) {
  switch (code) {
    case kExceptionGuardPage:
      return "EXCEPTION_GUARD_PAGE";
    case kExceptionDatatypeMisalignment:
      return "EXCEPTION_DATATYPE_MISALIGNMENT";
    case kExceptionBreakpoint:
      return "EXCEPTION_BREAKPOINT";
    case kExceptionSingleStep:
      return "EXCEPTION_SINGLE_STEP";
    case kExceptionAccessViolation:
      return "EXCEPTION_ACCESS_VIOLATION";
    case kExceptionInPageError:
      return "EXCEPTION_IN_PAGE_ERROR";
    case kExceptionInvalidHandle:
      return "EXCEPTION_INVALID_HANDLE";
    case kExceptionIllegalInstruction:
      return "EXCEPTION_ILLEGAL_INSTRUCTION";
    case kExceptionNoncontinuableException:
      return "EXCEPTION_NONCONTINUABLE_EXCEPTION";
    case kExceptionInvalidDisposition:
      return "EXCEPTION_INVALID_DISPOSITION";
    case kExceptionArrayBoundsExceeded:
      return "EXCEPTION_ARRAY_BOUNDS_EXCEEDED";
    case kExceptionFltDenormalOperand:
      return "EXCEPTION_FLT_DENORMAL_OPERAND";
    case kExceptionFltDivideByZero:
      return "EXCEPTION_FLT_DIVIDE_BY_ZERO";
    case kExceptionFltInexactResult:
      return "EXCEPTION_FLT_INEXACT_RESULT";
    case kExceptionFltInvalidOperation:
      return "EXCEPTION_FLT_INVALID_OPERATION";
    case kExceptionFltOverflow:
      return "EXCEPTION_FLT_OVERFLOW";
    case kExceptionFltStackCheck:
      return "EXCEPTION_FLT_STACK_CHECK";
    case kExceptionFltUnderflow:
      return "EXCEPTION_FLT_UNDERFLOW";
    case kExceptionIntDivideByZero:
      return "EXCEPTION_INT_DIVIDE_BY_ZERO";
    case kExceptionIntOverflow:
      return "EXCEPTION_INT_OVERFLOW";
    case kExceptionPrivInstruction:
      return "EXCEPTION_PRIV_INSTRUCTION";
    case kExceptionStackOverflow:
      return "EXCEPTION_STACK_OVERFLOW";
    default:
      return "UNKNOWN";
  }
}

const char* SignalName(int signal) {
  switch (signal) {
    case SIGSEGV:
      return "SIGSEGV";
    case SIGBUS:
      return "SIGBUS";
    case SIGFPE:
      return "SIGFPE";
    case SIGILL:
      return "SIGILL";
    case SIGTRAP:
      return "SIGTRAP";
    case SIGABRT:
      return "SIGABRT";
    default:
      return "UNKNOWN";
  }
}

bool IsStackOverflowFault(std::uintptr_t faultAddress, std::uintptr_t stackLow,
                          std::uintptr_t stackPointer) {
  // A page of slack above both limits: a frame is often entered by moving the
  // stack pointer first and storing above it afterwards.
  if (stackLow != 0 && faultAddress + kGuardGap >= stackLow && faultAddress < stackLow + kPage) {
    return true;
  }
  return stackPointer != 0 && faultAddress + kBelowStackPointer >= stackPointer &&
         faultAddress < stackPointer + kPage;
}
