#include "audio/AudioManager.h"

#include <AL/al.h>
#include <AL/alure.h>

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "app/LoadingFlag.h"
#include "app/Log.h"
#include "audio/Sound.h"

CAudioManager::CAudioManager(bool nullOutput) {
  // openal-soft reads its backend list once, on first use.
  if (nullOutput) setenv("ALSOFT_DRIVERS", "null", 1);
  if (!alureInitDevice(nullptr, nullptr)) {
    LogWarning(std::string("No audio device, running without sound: ") + alureGetErrorString());
    return;
  }
  silent = false;
  while (freeSources.size() < MaxSources) {
    ALuint source = 0;
    alGetError();
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR) break;
    freeSources.push_back(source);
  }
}

CAudioManager::~CAudioManager() {
  StopAll(true);
  if (silent) return;
  alGetError();
  for (ALuint source : freeSources) alDeleteSources(1, &source);
  CheckError("deleting the sources");
  for (auto& [fileName, buffer] : buffers) {
    if (buffer == 0) continue;
    alDeleteBuffers(1, &buffer);
    CheckError("deleting the buffer of \"" + fileName + "\"");
  }
  buffers.clear();
  freeSources.clear();
  if (!alureShutdownDevice())
    LogError(std::string("Could not close the audio device: ") + alureGetErrorString());
}

CSound* CAudioManager::AddSound(const std::string& fileName) {
  CSound* sound = new CSound(*this, nextSoundId++);
  sound->fileName = fileName;
  sounds.push_back(sound);
  return sound;
}

bool CAudioManager::TakeSource(CSound& sound) {
  if (freeSources.empty()) return false;
  sound.source = freeSources.back();
  freeSources.pop_back();
  sound.hasSource = true;
  return true;
}

CSound* CAudioManager::PlaySound(const std::string& fileName, bool loop, float volume) {
  CheckThread();
  CSound* sound = AddSound(fileName);
  sound->buffer = GetBuffer(fileName);
  sound->looping = loop;
  sound->volume = volume;
  if (TakeSource(*sound)) {
    alGetError();
    alSourcei(sound->source, AL_SOURCE_RELATIVE, AL_TRUE);
    if (sound->buffer != 0) alSourcei(sound->source, AL_BUFFER, static_cast<ALint>(sound->buffer));
    alSourcef(sound->source, AL_PITCH, 1.0f);
    alSourcei(sound->source, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
    sound->ApplyGain();
    CheckError("setting up the source for \"" + fileName + "\"");
  }
  sound->Play();
  return sound;
}

CSound* CAudioManager::PlayMusic(const std::string& fileName, float volume) {
  CheckThread();
  CSound* sound = AddSound(fileName);
  sound->category = MusicCategory;
  sound->looping = true;
  sound->volume = volume;
  if (!silent) {
    alGetError();
    alureStreamSizeIsMicroSec(AL_TRUE);
    sound->stream = alureCreateStreamFromFile(fileName.c_str(), MusicChunkMicroseconds, 0, nullptr);
    if (!sound->stream) {
      LogWarning("Could not create stream from \"" + fileName + "\" : " + alureGetErrorString());
    } else if (TakeSource(*sound)) {
      alGetError();
      alSourcei(sound->source, AL_SOURCE_RELATIVE, AL_TRUE);
      alSourcef(sound->source, AL_PITCH, 1.0f);
      sound->ApplyGain();
      CheckError("setting up the source for \"" + fileName + "\"");
    }
  }
  sound->Play();
  return sound;
}

unsigned int CAudioManager::GetBuffer(const std::string& fileName) {
  CheckThread();
  if (silent) return 0;
  auto cached = buffers.find(fileName);
  if (cached != buffers.end()) return cached->second;

  ALuint buffer = 0;
  alGetError();
  alGenBuffers(1, &buffer);
  ALenum error = alGetError();
  if (error != AL_NO_ERROR) {
    LogError("OpenAL error " + ErrorName(error) + " making a buffer for \"" + fileName + "\"");
    buffer = 0;
  } else if (!alureBufferDataFromFile(fileName.c_str(), buffer)) {
    LogWarning("Failed to load sound: \"" + fileName + "\"");
    alGetError();
  }
  // Kept even when loading failed, so a missing file is not tried again.
  buffers.emplace(fileName, buffer);
  return buffer;
}

void CAudioManager::StopAll(bool includeKept) {
  CheckThread();
  std::vector<CSound*> stopping;
  std::erase_if(sounds, [&](CSound* sound) {
    if (sound->keepAlive && !includeKept) return false;
    stopping.push_back(sound);
    return true;
  });
  // Out of the list first: an end callback raised while stopping finds nothing.
  for (CSound* sound : stopping) {
    sound->Stop();
    delete sound;
  }
}

void CAudioManager::ReleaseSound(CSound* sound) {
  CheckThread();
  auto found = std::find(sounds.begin(), sounds.end(), sound);
  if (found == sounds.end()) return;
  sounds.erase(found);
  // Out of the list first, as in StopAll.
  sound->Stop();
  delete sound;
}

void CAudioManager::Update() {
  CheckThread();
  owner = std::this_thread::get_id();
  if (!silent) {
    alGetError();
    alureUpdate();
  }
  std::vector<CSound*> finished;
  std::erase_if(sounds, [&](CSound* sound) {
    if (sound->paused || sound->keepAlive || sound->playing) return false;
    finished.push_back(sound);
    return true;
  });
  for (CSound* sound : finished) delete sound;
}

void CAudioManager::ApplyVolumes() {
  CheckThread();
  if (silent) return;
  alGetError();
  for (CSound* sound : sounds)
    if (sound->hasSource) sound->ApplyGain();
  CheckError("setting the volumes");
}

void CAudioManager::SetCategoryEnabled(int category, bool on) {
  CheckThread();
  if (category < 0 || category >= CategoryCount) return;
  categoryVolume[static_cast<std::size_t>(category)] = on ? 1.0f : 0.0f;
  ApplyVolumes();
}

bool CAudioManager::IsCategoryEnabled(int category) const {
  return CategoryVolume(category) != 0.0f;
}

float CAudioManager::CategoryVolume(int category) const {
  if (category < 0 || category >= CategoryCount) return 1.0f;
  return categoryVolume[static_cast<std::size_t>(category)];
}

void CAudioManager::SetListener(float x, float y) {
  CheckThread();
  if (silent) return;
  static const ALfloat orientation[6] = {0.0f, 0.0f, -1.0f, 0.0f, 1.0f, 0.0f};
  alGetError();
  alListener3f(AL_POSITION, x, -y, 0.0f);
  alListener3f(AL_VELOCITY, 0.0f, 0.0f, 0.0f);
  alListenerfv(AL_ORIENTATION, orientation);
  CheckError("moving the listener");
}

void CAudioManager::ReturnSource(unsigned int source) {
  CheckThread();
  if (silent) return;
  if (std::find(freeSources.begin(), freeSources.end(), source) != freeSources.end()) return;
  alGetError();
  if (!alIsSource(source)) {
    LogWarning("Not an OpenAL source: " + std::to_string(source));
    return;
  }
  alSourcei(source, AL_LOOPING, AL_FALSE);
  alSourcei(source, AL_BUFFER, 0);
  alSourcef(source, AL_PITCH, 1.0f);
  alSourcef(source, AL_GAIN, 1.0f);
  alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
  alSource3f(source, AL_DIRECTION, 0.0f, 0.0f, 0.0f);
  alSource3f(source, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
  CheckError("resetting a source");
  freeSources.push_back(source);
}

std::string CAudioManager::ErrorName(int code) {
  switch (code) {
    case AL_NO_ERROR:
      return "AL_NO_ERROR";
    case AL_INVALID_NAME:
      return "AL_INVALID_NAME";
    case AL_INVALID_ENUM:
      return "AL_INVALID_ENUM";
    case AL_INVALID_VALUE:
      return "AL_INVALID_VALUE";
    case AL_INVALID_OPERATION:
      return "AL_INVALID_OPERATION";
    case AL_OUT_OF_MEMORY:
      return "AL_OUT_OF_MEMORY";
  }
  char text[32];
  std::snprintf(text, sizeof text, "unknown 0x%X", static_cast<unsigned int>(code));
  return text;
}

bool CAudioManager::CheckError(const std::string& doing) {
  ALenum error = alGetError();
  if (error == AL_NO_ERROR) return true;
  LogWarning("OpenAL error " + ErrorName(error) + " " + doing);
  return false;
}

void CAudioManager::CheckThread() const {
#ifndef NDEBUG
  assert(LoadingStateExists() || owner == std::thread::id() || owner == std::this_thread::get_id());
#endif
}

void CAudioManager::OnSoundEnded(void* userData, unsigned int) {
  CAudioManager* manager = GetInstance();
  if (!manager) return;
  auto id = static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(userData));
  for (CSound* sound : manager->sounds) {
    if (sound->id != id) continue;
    sound->playing = false;
    sound->watched = false;
    return;
  }
}
