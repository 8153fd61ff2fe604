#pragma once

#include <vector>

#include "platform/DisplayMode.h"

// Drops each mode whose size equals the size of the last mode kept, so a
// size listed with several refresh rates in a row appears once.
std::vector<DisplayMode> DeduplicateDisplayModes(const std::vector<DisplayMode>& modes);
