#pragma once

// How loud a level sound at this point of the 1280 x 1024 screen plays: full
// at the middle of the screen, fading to silence 1280 pixels away and
// beyond. `distance` (when given) receives the distance from the middle.
float ScreenGain(float screenX, float screenY, float* distance = nullptr);

// Plays a level effect once at the gain of its point on the screen; nothing
// 1280 pixels or more from the middle, or without an audio manager.
void PlayAtScreenPoint(const char* file, float screenX, float screenY);
