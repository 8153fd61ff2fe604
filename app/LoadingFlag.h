#pragma once

#include <atomic>

// Set while a level-loading state exists: its worker thread is then using
// the audio and the device, so the frame loop skips the audio service and
// postpones device resets until loading has ended.
inline std::atomic<bool> loadingStateExists{false};
