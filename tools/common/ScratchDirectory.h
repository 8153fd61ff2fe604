#pragma once

#include <string>

// Linking this into a program makes it work in a temporary directory of its
// own, entered before any other static object is built and removed at exit,
// with the program-wide log ("log.txt") opened in it: tests (which run in
// parallel), tools, benchmarks and fuzzers must neither share one nor leave
// one in the repository.
// KUROSHIN_KEEP_SCRATCH in the environment keeps the directory afterwards.

// Resolves a path given on the command line against the directory the
// program was started in.
std::string FromStartingDirectory(const std::string& path);
