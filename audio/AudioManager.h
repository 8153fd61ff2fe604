#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/Singleton.h"

class CSound;

// Sound effects from buffers cached by file name, music streamed through
// ALURE, a fixed pool of OpenAL sources and four volume categories.
// Without an audio device the manager runs silent: sounds are still handed
// out but never get a source, and no OpenAL or ALURE call is made.
//
// Used by one thread at a time. The frame loop services it on the main
// thread; the level loader may play sounds from its worker thread only while
// a loading state (LoadingStateExists) keeps the frame loop away from the audio. Debug builds
// assert this.
class CAudioManager : public Singleton<CAudioManager> {
public:
  static constexpr int MusicCategory = 0;
  static constexpr int EffectsCategory = 2;
  static constexpr int CategoryCount = 4;
  static constexpr std::size_t MaxSources = 32;
  static constexpr int MusicChunkMicroseconds = 25000;
  // Half a second of queued music, so a level restart does not starve it.
  static constexpr int MusicQueueBuffers = 20;

  // nullOutput plays into openal-soft's null backend (no sound card needed);
  // it must be chosen before anything else in the process uses OpenAL.
  explicit CAudioManager(bool nullOutput = false);
  ~CAudioManager();

  // Never null; the manager keeps ownership.
  CSound* PlaySound(const std::string& fileName, bool loop = false, float volume = 1.0f);
  // A looping stream in the music category; never null.
  CSound* PlayMusic(const std::string& fileName, float volume = 1.0f);
  // Loads on first use; a file that failed stays cached. 0 when silent.
  unsigned int GetBuffer(const std::string& fileName);
  // Stops and deletes every sound, kept-alive ones only with includeKept.
  void StopAll(bool includeKept);
  // Stops and deletes one sound its holder kept alive; a sound no longer in
  // the list (already deleted) is left alone.
  void ReleaseSound(CSound* sound);
  // Once per frame: feeds the streams and removes finished sounds.
  void Update();
  void ApplyVolumes();
  void SetCategoryEnabled(int category, bool on);
  bool IsCategoryEnabled(int category) const;
  void SetListener(float x, float y);
  void ReturnSource(unsigned int source);

  bool IsSilent() const { return silent; }
  const std::vector<CSound*>& GetSounds() const { return sounds; }
  std::size_t FreeSourceCount() const { return freeSources.size(); }

  // "AL_INVALID_VALUE" and so on; "unknown 0x…" for codes OpenAL does not define.
  static std::string ErrorName(int code);

private:
  friend class CSound;

  CSound* AddSound(const std::string& fileName);
  bool TakeSource(CSound& sound);
  float CategoryVolume(int category) const;
  void CheckThread() const;
  // Logs and clears a pending OpenAL error; false if there was one.
  static bool CheckError(const std::string& doing);
  static void OnSoundEnded(void* userData, unsigned int source);

  std::vector<CSound*> sounds;
  std::map<std::string, unsigned int> buffers;
  std::vector<unsigned int> freeSources;
  std::array<float, CategoryCount> categoryVolume{1.0f, 1.0f, 1.0f, 1.0f};
  bool silent = true;
  unsigned int nextSoundId = 1;
  std::thread::id owner;  // the thread that runs Update
};
