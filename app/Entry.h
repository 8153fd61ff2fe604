#pragma once

// The whole program: reads the command line, starts the services in order,
// runs the frame loop and shuts everything down in order. Returns 0 after a
// normal run and -1 when the window or the device cannot be created.
int RunKuroshin(int argc, const char* const* argv);
