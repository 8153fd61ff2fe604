#pragma once

#include <string>

// A run's time as the game shows it, "SSS.hh": whole seconds padded to three
// digits and hundredths truncated, at most "999.99". Negative and non-finite
// times show as "000.00".
std::string FormatRunTime(float seconds);
