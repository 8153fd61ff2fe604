#pragma once

#include "platform/Rect.h"

// Where the 1280 x 1024 virtual screen goes in a back buffer of this size:
// as large as fits, centred, with bars left and right on wider outputs and
// above and below on narrower ones.
Rect ComputeLetterbox(int width, int height);
