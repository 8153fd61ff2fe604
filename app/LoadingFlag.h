#pragma once

#include <atomic>

// The number of level-loading states alive: while there is one, its worker
// thread is using the audio and the device, so the frame loop skips the
// audio service and postpones device resets. A count, not a flag: a loading
// state that replaces another must not end the hand-over by the old one's
// destruction.
inline std::atomic<int> loadingStates{0};

inline bool LoadingStateExists() { return loadingStates.load() > 0; }
