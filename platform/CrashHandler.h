#pragma once

// Fatal-signal handling (SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT),
// run on an alternate stack so a stack overflow is caught too. On a crash it
// writes "MiniDump.dmp" into the working directory of the time of
// installation, appends the crash report to `logFd` (skipped when it is -1),
// restores the default action and re-raises the signal.
bool InstallCrashHandler(int logFd);
// Puts the previous handlers back; safe to call when nothing is installed.
void RemoveCrashHandler();
