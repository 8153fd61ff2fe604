#pragma once

// Fatal-signal handling (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT),
// run on an alternate stack so a stack overflow is caught too. On a crash it
// writes "MiniDump.dmp" into `dumpFolder` (opened now, so a later change of
// directory does not move it), appends the crash report to `logFd` (skipped
// when it is -1), restores the default action and re-raises the signal.
bool InstallCrashHandler(int logFd, const char* dumpFolder = ".");
// Puts the previous handlers back; safe to call when nothing is installed.
void RemoveCrashHandler();
