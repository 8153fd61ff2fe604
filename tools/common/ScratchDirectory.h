#pragma once

#include <string>

// Linking this into a program makes it work in a temporary directory of its
// own, entered before any other static object is built and removed at exit:
// the program-wide log opens "log.txt" in the working directory during static
// initialisation, and tests (which run in parallel), tools, benchmarks and
// fuzzers must neither share one nor leave one in the repository.
// KUROSHIN_KEEP_SCRATCH in the environment keeps the directory afterwards.

// Resolves a path given on the command line against the directory the
// program was started in.
std::string FromStartingDirectory(const std::string& path);
