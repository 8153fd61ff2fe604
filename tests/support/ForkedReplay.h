#pragma once

#include <functional>
#include <string>
#include <vector>

// Replaying fuzz findings: each input runs in a forked child of its own, so
// one that still crashes fails its test alone instead of ending the whole
// run; a sanitizer report goes to stderr.

// The regular files of a directory (hidden ones left out), sorted; none when
// it does not exist.
std::vector<std::string> FilesIn(const std::string& directory);

// Runs `run` in a child killed after `alarmSeconds`. 0: no crash, no leak,
// no hang and `run` said yes; 3: `run` said no; 4: a leak; 128 + N: killed
// by signal N; -1: the child could not be started.
int RunForked(const std::function<bool()>& run, unsigned alarmSeconds);
