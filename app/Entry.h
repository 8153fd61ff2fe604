#pragma once

// The whole program: reads the command line, finds the game's data and the
// player's folders, opens the log, starts the services in order, runs the
// frame loop and shuts everything down in order. Returns 0 after a normal
// run (and after "--help" and "--version"), 1 when the data cannot be found
// or a level given on the command line cannot be played, and -1 when the
// window or the device cannot be created.
int RunKuroshin(int argc, const char* const* argv);
