#pragma once

#include <string>

// Replaces a file's content so that a crash, a kill or a full disk at any
// moment leaves either the old file or the new one, never a mix: the bytes
// go to path + ".tmp", are flushed to the disk, and the temporary file is
// then renamed over the path (and the directory flushed). False, with the
// reason in `error`, when any step fails; the old file is then untouched.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& error);

// Called once the new bytes are flushed to the temporary file and before it
// replaces the target; lets a test stop the process at exactly that moment.
inline void (*afterAtomicTemporaryWritten)(const std::string& temporaryPath) = nullptr;
