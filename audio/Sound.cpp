#include "audio/Sound.h"

#include <AL/al.h>
#include <AL/alure.h>

#include <cstdint>

#include "app/Log.h"
#include "audio/AudioManager.h"

namespace {

void* UserData(unsigned int id) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(id)); }

}  // namespace

CSound::CSound(CAudioManager& owner, unsigned int soundId) : manager(owner), id(soundId) {}

CSound::~CSound() {
  Stop();
  if (stream) {
    alGetError();
    if (!alureDestroyStream(stream, 0, nullptr))
      LogWarning("Could not destroy the stream of \"" + fileName + "\": " + alureGetErrorString());
    stream = nullptr;
  }
}

bool CSound::Play() {
  manager.CheckThread();
  if (!hasSource) {
    playing = false;
    return false;
  }
  if (paused) {
    paused = false;
    playing = false;
    // It ended before it was paused; there is nothing left to resume.
    if (!watched) return false;
    alGetError();
    if (!alureResumeSource(source)) {
      paused = true;
      LogWarning("Could not resume \"" + fileName + "\": " + alureGetErrorString());
      return false;
    }
    playing = true;
    return true;
  }
  if (watched) {
    playing = true;
    return true;
  }

  playing = false;
  alGetError();
  ALboolean started =
      stream ? alurePlaySourceStream(source, stream, CAudioManager::MusicQueueBuffers,
                                     looping ? -1 : 0, &CAudioManager::OnSoundEnded, UserData(id))
             : alurePlaySource(source, &CAudioManager::OnSoundEnded, UserData(id));
  if (!started) {
    LogWarning("Could not play \"" + fileName + "\": " + alureGetErrorString());
    return false;
  }
  watched = true;
  playing = true;
  return true;
}

void CSound::Pause() {
  manager.CheckThread();
  if (!hasSource) return;
  if (watched) {
    alGetError();
    if (!alurePauseSource(source)) {
      LogWarning("Could not pause \"" + fileName + "\": " + alureGetErrorString());
      return;
    }
  }
  playing = false;
  paused = true;
}

void CSound::SetVolume(float v) {
  manager.CheckThread();
  if (!hasSource) return;
  volume = v;
  alGetError();
  ApplyGain();
  CAudioManager::CheckError("setting the volume of \"" + fileName + "\"");
}

void CSound::Stop() {
  manager.CheckThread();
  if (!hasSource) return;
  // ALURE refuses to stop while an OpenAL error is pending, and a source it
  // still watches must never go back to the pool.
  alGetError();
  bool stopped = alureStopSource(source, AL_TRUE);
  if (!stopped) {
    alGetError();
    stopped = alureStopSource(source, AL_TRUE);
  }
  if (stopped)
    manager.ReturnSource(source);
  else
    LogError("Could not stop \"" + fileName +
             "\", its source is given up: " + alureGetErrorString());
  hasSource = false;
  playing = false;
  paused = false;
  watched = false;
}

float CSound::SourceGain() const {
  if (!hasSource) return -1.0f;
  ALfloat gain = -1.0f;
  alGetSourcef(source, AL_GAIN, &gain);
  return gain;
}

void CSound::ApplyGain() { alSourcef(source, AL_GAIN, manager.CategoryVolume(category) * volume); }
