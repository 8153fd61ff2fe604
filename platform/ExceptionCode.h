#pragma once

#include <cstdint>

// Windows-style exception codes, so crash reports read the same on every
// platform the game ships on.
inline constexpr std::uint32_t kExceptionGuardPage = 0x80000001u;
inline constexpr std::uint32_t kExceptionDatatypeMisalignment = 0x80000002u;
inline constexpr std::uint32_t kExceptionBreakpoint = 0x80000003u;
inline constexpr std::uint32_t kExceptionSingleStep = 0x80000004u;
inline constexpr std::uint32_t kExceptionAccessViolation = 0xc0000005u;
inline constexpr std::uint32_t kExceptionInPageError = 0xc0000006u;
inline constexpr std::uint32_t kExceptionInvalidHandle = 0xc0000008u;
inline constexpr std::uint32_t kExceptionIllegalInstruction = 0xc000001du;
inline constexpr std::uint32_t kExceptionNoncontinuableException = 0xc0000025u;
inline constexpr std::uint32_t kExceptionInvalidDisposition = 0xc0000026u;
inline constexpr std::uint32_t kExceptionArrayBoundsExceeded = 0xc000008cu;
inline constexpr std::uint32_t kExceptionFltDenormalOperand = 0xc000008du;
inline constexpr std::uint32_t kExceptionFltDivideByZero = 0xc000008eu;
inline constexpr std::uint32_t kExceptionFltInexactResult = 0xc000008fu;
inline constexpr std::uint32_t kExceptionFltInvalidOperation = 0xc0000090u;
inline constexpr std::uint32_t kExceptionFltOverflow = 0xc0000091u;
inline constexpr std::uint32_t kExceptionFltStackCheck = 0xc0000092u;
inline constexpr std::uint32_t kExceptionFltUnderflow = 0xc0000093u;
inline constexpr std::uint32_t kExceptionIntDivideByZero = 0xc0000094u;
inline constexpr std::uint32_t kExceptionIntOverflow = 0xc0000095u;
inline constexpr std::uint32_t kExceptionPrivInstruction = 0xc0000096u;
inline constexpr std::uint32_t kExceptionStackOverflow = 0xc00000fdu;
// Not a Windows code: what a signal maps to when nothing fits.
inline constexpr std::uint32_t kExceptionUnknown = 0;

// Everything below is called from the crash handler, so it must stay
// async-signal-safe: no allocation, no locks.

// `code` is the siginfo si_code; `stackOverflow` says whether a SIGSEGV hit
// the guard area below the stack (see IsStackOverflowFault).
std::uint32_t ExceptionCodeFor(int signal, int code, bool stackOverflow);

// "EXCEPTION_..." for a known code, "UNKNOWN" for anything else.
const char* ExceptionName(std::uint32_t code);

// "SIGSEGV" and friends for the signals the crash handler catches, else
// "UNKNOWN".
const char* SignalName(int signal);

// Whether a fault at `faultAddress` is the stack running out: it lies in the
// guard gap below `stackLow` (the lowest address the stack may grow to; 0
// when unknown), or just below the interrupted stack pointer `stackPointer`
// (0 when unknown). Both limits allow a page of slack above them.
bool IsStackOverflowFault(std::uintptr_t faultAddress, std::uintptr_t stackLow,
                          std::uintptr_t stackPointer);
