#pragma once

#include <string>

class CAudioManager;
struct alureStream;

// One playing or prepared sound: an effect played from a cached buffer, or
// music streamed from its file. The audio manager owns every sound; a caller
// that keeps the pointer may use it only while the sound can still be in the
// manager's list (kept-alive and paused sounds are never removed by Update).
// Without a source (pool empty, or no audio device) a sound does nothing.
class CSound {
public:
  ~CSound();
  CSound(const CSound&) = delete;
  CSound& operator=(const CSound&) = delete;

  // Starts the sound, or resumes it after Pause(); false if it cannot play.
  bool Play();
  void Pause();
  void SetVolume(float v);
  // Stops the sound and gives its source back to the pool.
  void Stop();
  // The gain OpenAL holds for the source; -1 without a source.
  float SourceGain() const;

  unsigned int source = 0;  // valid only while hasSource
  bool hasSource = false;
  unsigned int buffer = 0;        // effects only; 0 when it could not be made
  alureStream* stream = nullptr;  // music only
  std::string fileName;
  bool playing = false;  // cleared when playback ends
  bool paused = false;
  bool looping = false;
  int category = 2;
  float volume = 1.0f;
  bool keepAlive = false;  // never removed or stopped by the manager on its own

private:
  friend class CAudioManager;
  CSound(CAudioManager& owner, unsigned int soundId);
  void ApplyGain();

  CAudioManager& manager;
  // ALURE's end callback finds the sound by this id among the live sounds,
  // so a callback that arrives late never touches a deleted one.
  unsigned int id;
  // ALURE watches the source and will still report its end.
  bool watched = false;
};
