// The audio manager on openal-soft's null backend; the wave-file backend and
// a machine without any device run in child processes, because OpenAL picks
// its backend once per process.
#include "audio/AudioManager.h"

#include <AL/al.h>
#include <gtest/gtest.h>

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/LoadingFlag.h"
#include "audio/AudioManifest.h"
#include "audio/Sound.h"
#include "tests/support/ChildProcess.h"

namespace {

const char* const kChildMode = "KUROSHIN_AUDIO_CHILD";

void CopyTestData(const std::string& name, const std::string& as = "") {
  std::filesystem::copy_file(std::string(KUROSHIN_SOURCE_DIR) + "/tests/data/" + name,
                             as.empty() ? name : as,
                             std::filesystem::copy_options::overwrite_existing);
}

int Count(const std::string& text, const std::string& what) {
  int count = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// Services the audio as the frame loop would until `done` holds.
bool UpdateUntil(CAudioManager& audio, const std::function<bool()>& done, double seconds) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < deadline) {
    audio.Update();
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

bool Contains(const CAudioManager& audio, const CSound* sound) {
  const auto& sounds = audio.GetSounds();
  return std::find(sounds.begin(), sounds.end(), sound) != sounds.end();
}

class AudioNull : public testing::Test {
protected:
  void SetUp() override {
    CopyTestData("tone.wav");
    CopyTestData("tone.mp3");
    ASSERT_FALSE(audio.IsSilent()) << "the null backend did not open";
    ASSERT_EQ(audio.FreeSourceCount(), CAudioManager::MaxSources);
  }

  CAudioManager audio{true};
};

TEST_F(AudioNull, PoolOfThirtyTwoSources) {
  for (int i = 0; i < 31; ++i) ASSERT_TRUE(audio.PlaySound("tone.wav", true)->hasSource);
  CSound* shortOne = audio.PlaySound("tone.wav");
  ASSERT_TRUE(shortOne->hasSource);
  EXPECT_EQ(audio.FreeSourceCount(), 0u);

  CSound* extra = audio.PlaySound("tone.wav");
  EXPECT_FALSE(extra->hasSource);
  EXPECT_FALSE(extra->playing);
  EXPECT_FALSE(extra->Play());
  audio.Update();
  EXPECT_FALSE(Contains(audio, extra));
  EXPECT_TRUE(Contains(audio, shortOne));

  // Once the short tone has ended, its source serves the next sound.
  ASSERT_TRUE(UpdateUntil(
      audio, [&] { return audio.GetSounds().size() == 31; }, 5.0));
  EXPECT_EQ(audio.FreeSourceCount(), 1u);
  CSound* next = audio.PlaySound("tone.wav");
  EXPECT_TRUE(next->hasSource);
  EXPECT_TRUE(next->playing);

  audio.StopAll(true);
  EXPECT_TRUE(audio.GetSounds().empty());
  EXPECT_EQ(audio.FreeSourceCount(), CAudioManager::MaxSources);
}

TEST_F(AudioNull, EffectFilesAreLoadedOnce) {
  unsigned int buffer = audio.GetBuffer("tone.wav");
  ASSERT_NE(buffer, 0u);
  // Gone from disk, yet still served from the cache.
  std::filesystem::remove("tone.wav");
  EXPECT_EQ(audio.GetBuffer("tone.wav"), buffer);
  CSound* first = audio.PlaySound("tone.wav");
  CSound* second = audio.PlaySound("tone.wav");
  EXPECT_EQ(first->buffer, buffer);
  EXPECT_EQ(second->buffer, buffer);
  EXPECT_TRUE(first->playing);
  EXPECT_TRUE(second->playing);
}

TEST_F(AudioNull, MissingFileWarnsOnceAndStaysCached) {
  const std::string warning = "Warning: Failed to load sound: \"missing.wav\"\n";
  std::filesystem::remove("missing.wav");
  int before = Count(ReadWholeFile("log.txt"), warning);
  unsigned int buffer = audio.GetBuffer("missing.wav");
  CSound* sound = audio.PlaySound("missing.wav");
  EXPECT_EQ(sound->buffer, buffer);
  // Appearing later changes nothing: the failure is remembered.
  CopyTestData("tone.wav", "missing.wav");
  EXPECT_EQ(audio.GetBuffer("missing.wav"), buffer);
  EXPECT_EQ(Count(ReadWholeFile("log.txt"), warning), before + 1);

  ASSERT_TRUE(UpdateUntil(
      audio, [&] { return audio.GetSounds().empty(); }, 2.0));
  EXPECT_EQ(audio.FreeSourceCount(), CAudioManager::MaxSources);
}

TEST_F(AudioNull, MusicStreamsAndLoops) {
  CSound* music = audio.PlayMusic("tone.mp3", 0.5f);
  ASSERT_NE(music->stream, nullptr);
  EXPECT_TRUE(music->hasSource);
  EXPECT_TRUE(music->playing);
  EXPECT_TRUE(music->looping);
  EXPECT_EQ(music->category, CAudioManager::MusicCategory);
  EXPECT_FLOAT_EQ(music->SourceGain(), 0.5f);

  // The file lasts one second; a loop carries it past that.
  UpdateUntil(
      audio, [] { return false; }, 1.5);
  ASSERT_TRUE(Contains(audio, music));
  EXPECT_TRUE(music->playing);

  music->Stop();
  EXPECT_FALSE(music->hasSource);
  EXPECT_EQ(audio.FreeSourceCount(), CAudioManager::MaxSources);
  audio.Update();
  EXPECT_FALSE(Contains(audio, music));

  const std::string warning = "Could not create stream from \"nothing.mp3\" : ";
  int before = Count(ReadWholeFile("log.txt"), warning);
  CSound* missing = audio.PlayMusic("nothing.mp3");
  EXPECT_EQ(missing->stream, nullptr);
  EXPECT_FALSE(missing->hasSource);
  EXPECT_EQ(Count(ReadWholeFile("log.txt"), warning), before + 1);
}

TEST_F(AudioNull, KeptMusicOutlivesStopAll) {
  CSound* music = audio.PlayMusic("tone.mp3");
  music->keepAlive = true;
  audio.PlaySound("tone.wav", true);
  audio.PlaySound("tone.wav");

  audio.StopAll(false);
  ASSERT_EQ(audio.GetSounds().size(), 1u);
  EXPECT_EQ(audio.GetSounds().front(), music);
  EXPECT_EQ(audio.FreeSourceCount(), CAudioManager::MaxSources - 1);
  audio.Update();
  ASSERT_TRUE(Contains(audio, music));
  EXPECT_TRUE(music->playing);

  audio.StopAll(true);
  EXPECT_TRUE(audio.GetSounds().empty());
  EXPECT_EQ(audio.FreeSourceCount(), CAudioManager::MaxSources);
}

TEST_F(AudioNull, CategoriesScaleTheGain) {
  CSound* music = audio.PlayMusic("tone.mp3", 0.5f);
  CSound* effect = audio.PlaySound("tone.wav", true, 0.8f);

  audio.SetCategoryEnabled(CAudioManager::MusicCategory, false);
  EXPECT_FALSE(audio.IsCategoryEnabled(CAudioManager::MusicCategory));
  EXPECT_FLOAT_EQ(music->SourceGain(), 0.0f);
  EXPECT_FLOAT_EQ(effect->SourceGain(), 0.8f);
  // Muted music keeps streaming, so it is back at once.
  UpdateUntil(
      audio, [] { return false; }, 0.1);
  EXPECT_TRUE(music->playing);
  audio.SetCategoryEnabled(CAudioManager::MusicCategory, true);
  EXPECT_FLOAT_EQ(music->SourceGain(), 0.5f);

  audio.SetCategoryEnabled(CAudioManager::EffectsCategory, false);
  EXPECT_FLOAT_EQ(effect->SourceGain(), 0.0f);
  effect->SetVolume(0.3f);
  EXPECT_FLOAT_EQ(effect->SourceGain(), 0.0f);
  audio.SetCategoryEnabled(CAudioManager::EffectsCategory, true);
  EXPECT_FLOAT_EQ(effect->SourceGain(), 0.3f);

  for (int outside : {-1, CAudioManager::CategoryCount}) {
    audio.SetCategoryEnabled(outside, false);
    EXPECT_TRUE(audio.IsCategoryEnabled(outside));
  }
  EXPECT_FLOAT_EQ(music->SourceGain(), 0.5f);
  EXPECT_FLOAT_EQ(effect->SourceGain(), 0.3f);
}

TEST_F(AudioNull, PausedSoundsStayAndResume) {
  CSound* effect = audio.PlaySound("tone.wav");
  effect->Pause();
  EXPECT_TRUE(effect->paused);
  EXPECT_FALSE(effect->playing);
  UpdateUntil(
      audio, [] { return false; }, 0.4);
  ASSERT_TRUE(Contains(audio, effect));

  EXPECT_TRUE(effect->Play());
  EXPECT_TRUE(effect->playing);
  EXPECT_FALSE(effect->paused);
  // A resumed effect still ends and frees its source.
  ASSERT_TRUE(UpdateUntil(
      audio, [&] { return audio.GetSounds().empty(); }, 3.0));
  EXPECT_EQ(audio.FreeSourceCount(), CAudioManager::MaxSources);
}

TEST_F(AudioNull, PausingAnEndedSoundLeavesNothingToResume) {
  CSound* effect = audio.PlaySound("tone.wav");
  // Ended, but not yet collected: wait on the source itself, as a loaded
  // machine may mix late.
  ASSERT_TRUE(effect->hasSource);
  ALint state = AL_PLAYING;
  for (int i = 0; i < 500 && state != AL_STOPPED; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    alGetSourcei(effect->source, AL_SOURCE_STATE, &state);
  }
  ASSERT_EQ(state, AL_STOPPED);
  effect->Pause();
  audio.Update();
  ASSERT_TRUE(Contains(audio, effect));
  EXPECT_FALSE(effect->Play());
  audio.Update();
  EXPECT_TRUE(audio.GetSounds().empty());
  EXPECT_EQ(audio.FreeSourceCount(), CAudioManager::MaxSources);
}

#ifndef NDEBUG
TEST_F(AudioNull, OtherThreadsNeedALoadingState) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  audio.Update();
  loadingStates = 1;
  std::thread([&] { audio.PlaySound("tone.wav"); }).join();
  loadingStates = 0;
  EXPECT_DEATH(std::thread([&] { audio.PlaySound("tone.wav"); }).join(), "");
}
#endif

TEST(AudioErrors, NamesOfOpenALErrors) {
  EXPECT_EQ(CAudioManager::ErrorName(0xA001), "AL_INVALID_NAME");
  EXPECT_EQ(CAudioManager::ErrorName(0xA004), "AL_INVALID_OPERATION");
  EXPECT_EQ(CAudioManager::ErrorName(0xA005), "AL_OUT_OF_MEMORY");
  EXPECT_EQ(CAudioManager::ErrorName(0), "AL_NO_ERROR");
  EXPECT_EQ(CAudioManager::ErrorName(0xA006), "unknown 0xA006");
}

// --- Cases that need a process of their own ---

std::string OwnExecutable() {
  char path[4096];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

ChildResult RunAudioChild(const std::string& test, const std::string& mode,
                          std::vector<std::string> environment = {}) {
  ChildOptions options;
  options.environment = std::move(environment);
  options.environment.push_back(std::string(kChildMode) + "=" + mode);
  options.timeoutSeconds = 60;
  return RunChild({OwnExecutable(), "--gtest_filter=AudioChild." + test}, options);
}

bool ChildPassed(const ChildResult& run) {
  return run.exited && run.exitCode == 0 &&
         run.out.find("[  PASSED  ] 1 test") != std::string::npos;
}

std::string Describe(const ChildResult& run) {
  return "exit " + std::to_string(run.exitCode) + " signal " + std::to_string(run.signal) +
         "\nstdout:\n" + run.out + "\nstderr:\n" + run.err;
}

bool ChildModeIs(const char* mode) {
  const char* value = getenv(kChildMode);
  return value && std::strcmp(value, mode) == 0;
}

struct WaveSummary {
  std::size_t samples = 0;
  int peak = -1;  // -1: not a 16-bit extensible WAVE file
};

// openal-soft's wave backend writes a 68-byte header: RIFF, a 40-byte "fmt "
// chunk with format tag 0xFFFE, then "data". False for anything else.
bool WaveSamples(const std::string& bytes, std::vector<std::int16_t>& samples) {
  auto at = [&](std::size_t offset) { return static_cast<unsigned char>(bytes[offset]); };
  if (bytes.size() < 68 || bytes.compare(0, 4, "RIFF") != 0 || at(20) != 0xFE || at(21) != 0xFF ||
      at(34) != 16 || bytes.compare(60, 4, "data") != 0)
    return false;
  std::size_t size = at(64) | at(65) << 8 | at(66) << 16 | std::size_t{at(67)} << 24;
  if (68 + size > bytes.size()) return false;
  samples.clear();
  for (std::size_t i = 68; i + 1 < 68 + size; i += 2)
    samples.push_back(static_cast<std::int16_t>(at(i) | at(i + 1) << 8));
  return true;
}

WaveSummary Summarise(const std::string& bytes) {
  WaveSummary summary;
  std::vector<std::int16_t> samples;
  if (!WaveSamples(bytes, samples)) return summary;
  summary.samples = samples.size();
  summary.peak = 0;
  for (std::int16_t sample : samples) summary.peak = std::max(summary.peak, std::abs(int{sample}));
  return summary;
}

// Runs the child test `test` with openal-soft writing into a wave file, and
// returns what it wrote.
std::string PlayIntoWaveFile(const std::string& test, const std::string& mode) {
  std::string dir = std::filesystem::absolute(MakeTestDirectory("wave")).string();
  std::string conf = dir + "/alsoft.conf";
  std::string output = dir + "/out.wav";
  {
    std::ofstream file(conf);
    file << "[general]\ndrivers=wave\nsample-type=int16\ndither=false\n[wave]\nfile=" << output
         << "\n";
  }
  ChildResult run = RunAudioChild(test, mode, {"ALSOFT_CONF=" + conf});
  EXPECT_TRUE(ChildPassed(run)) << Describe(run);
  return ReadWholeFile(output);
}

WaveSummary PlayToneIntoWaveFile(const std::string& mode) {
  return Summarise(PlayIntoWaveFile("PlayIntoWaveFile", mode));
}

TEST(AudioOutput, ToneReachesTheDevice) {
  WaveSummary wave = PlayToneIntoWaveFile("wave");
  // Stereo at 44.1 kHz; the tone alone lasts a quarter second.
  EXPECT_GT(wave.samples, 16000u);
  EXPECT_GT(wave.peak, 3000);
}

TEST(AudioOutput, MutedEffectsStaySilent) {
  WaveSummary wave = PlayToneIntoWaveFile("wave-muted");
  EXPECT_GT(wave.samples, 16000u);
  EXPECT_GE(wave.peak, 0);
  EXPECT_LE(wave.peak, 2);
}

TEST(AudioOutput, NoDeviceMeansSilence) {
  ChildResult run = RunAudioChild("WithoutDevice", "no-device");
  EXPECT_TRUE(ChildPassed(run)) << Describe(run);
}

// Runs of sound in interleaved stereo: [first, last] frames, split wherever
// at least `gap` frames stay within the threshold.
std::vector<std::pair<std::size_t, std::size_t>> SoundingStretches(
    const std::vector<std::int16_t>& samples, int threshold, std::size_t gap) {
  std::vector<std::pair<std::size_t, std::size_t>> stretches;
  for (std::size_t frame = 0; frame * 2 + 1 < samples.size(); ++frame) {
    if (std::abs(int{samples[frame * 2]}) <= threshold &&
        std::abs(int{samples[frame * 2 + 1]}) <= threshold)
      continue;
    if (!stretches.empty() && frame - stretches.back().second < gap)
      stretches.back().second = frame;
    else
      stretches.emplace_back(frame, frame);
  }
  return stretches;
}

TEST(AudioOutput, SoundingStretchesSplitAtGaps) {
  std::vector<std::int16_t> samples(2 * 100, 0);
  samples[2 * 10] = 500;       // left only
  samples[2 * 14 + 1] = -500;  // right only, close by
  samples[2 * 60] = 300;
  samples[2 * 80] = 50;  // under the threshold
  auto stretches = SoundingStretches(samples, 64, 20);
  ASSERT_EQ(stretches.size(), 2u);
  EXPECT_EQ(stretches[0], std::make_pair(std::size_t{10}, std::size_t{14}));
  EXPECT_EQ(stretches[1], std::make_pair(std::size_t{60}, std::size_t{60}));
}

// Every effect and both music tracks, one after the other with silence
// between, through the game's audio manager into openal-soft's wave
// backend: one stretch of sound each.
TEST(AudioOutput, EveryGameSoundReachesTheDevice) {
  std::vector<std::int16_t> samples;
  ASSERT_TRUE(WaveSamples(PlayIntoWaveFile("PlayGameSounds", "game-sounds"), samples));
  // Gaps are a quarter second long; sounds have no silence of a tenth.
  auto stretches = SoundingStretches(samples, 64, 44100 / 10);
  std::string seen;
  for (auto [first, last] : stretches)
    seen += "  " + std::to_string(first / 44.1) + " ms for " +
            std::to_string((last - first) / 44.1) + " ms\n";
  EXPECT_EQ(stretches.size(), std::size(kSoundAssets) + std::size(kMusicAssets)) << seen;
}

TEST(AudioChild, PlayIntoWaveFile) {
  if (!ChildModeIs("wave") && !ChildModeIs("wave-muted")) GTEST_SKIP() << "runs as a child";
  // The parent may have chosen the null backend; the configuration decides here.
  unsetenv("ALSOFT_DRIVERS");
  CopyTestData("tone.wav");
  CAudioManager audio;
  ASSERT_FALSE(audio.IsSilent());
  if (ChildModeIs("wave-muted")) audio.SetCategoryEnabled(CAudioManager::EffectsCategory, false);
  ASSERT_TRUE(audio.PlaySound("tone.wav")->playing);
  EXPECT_TRUE(UpdateUntil(
      audio, [&] { return audio.GetSounds().empty(); }, 5.0));
  // The wave file gets its sizes when the device closes, with the manager.
}

// Measures how far the mixer has run, from a looping source at zero gain:
// waits measured this way hold however late the mixer thread runs.
class MixerClock {
public:
  explicit MixerClock(CAudioManager& manager) : audio(manager) {
    CopyTestData("tone.wav");
    sound = audio.PlaySound("tone.wav", true, 0.0f);
    ALint size = 0, channels = 1, bits = 16;
    alGetBufferi(sound->buffer, AL_SIZE, &size);
    alGetBufferi(sound->buffer, AL_CHANNELS, &channels);
    alGetBufferi(sound->buffer, AL_BITS, &bits);
    alGetBufferi(sound->buffer, AL_FREQUENCY, &frequency);
    length = size / (channels * bits / 8);
  }

  bool Ready() const { return sound->playing && length > 0 && frequency > 0; }

  // Services the audio until the mixer has run `seconds` further.
  bool Wait(double seconds) {
    double until = Now() + seconds;
    return UpdateUntil(
        audio, [&] { return Now() >= until; }, 10.0);
  }

private:
  double Now() {
    ALint offset = 0;
    alGetSourcei(sound->source, AL_SAMPLE_OFFSET, &offset);
    mixed += offset >= last ? offset - last : length - last + offset;
    last = offset;
    return static_cast<double>(mixed) / frequency;
  }

  CAudioManager& audio;
  CSound* sound = nullptr;
  long length = 0;  // frames of the tone, at its own rate
  ALint frequency = 0;
  long mixed = 0;
  ALint last = 0;
};

TEST(AudioChild, PlayGameSounds) {
  if (!ChildModeIs("game-sounds")) GTEST_SKIP() << "runs as a child";
  unsetenv("ALSOFT_DRIVERS");
  CAudioManager audio;
  ASSERT_FALSE(audio.IsSilent());
  MixerClock clock(audio);
  ASSERT_TRUE(clock.Ready());
  const std::string data = std::string(KUROSHIN_SOURCE_DIR) + "/data/";
  auto play = [&](CSound* sound) {
    std::string name = sound->fileName;  // the sound is gone once it has ended
    ASSERT_TRUE(sound->playing) << name;
    ASSERT_TRUE(clock.Wait(0.15)) << name;
    if (Contains(audio, sound)) sound->Stop();
    ASSERT_TRUE(clock.Wait(0.25));
  };
  ASSERT_TRUE(clock.Wait(0.25));
  for (const SoundAsset& effect : kSoundAssets) {
    CSound* sound = audio.PlaySound(data + std::string(effect.path), effect.loops);
    ASSERT_NE(sound->buffer, 0u) << effect.path;
    play(sound);
  }
  for (const MusicAsset& music : kMusicAssets) {
    CSound* sound = audio.PlayMusic(data + std::string(music.path));
    ASSERT_NE(sound->stream, nullptr) << music.path;
    play(sound);
  }
}

TEST(AudioChild, WithoutDevice) {
  if (!ChildModeIs("no-device")) GTEST_SKIP() << "runs as a child";
  setenv("ALSOFT_DRIVERS", "no-such-backend", 1);
  CAudioManager audio;
  ASSERT_TRUE(audio.IsSilent());
  EXPECT_EQ(audio.FreeSourceCount(), 0u);

  // The files are absent: any attempt to open them would leave a warning.
  EXPECT_EQ(audio.GetBuffer("tone.wav"), 0u);
  CSound* effect = audio.PlaySound("tone.wav", true);
  EXPECT_FALSE(effect->hasSource);
  EXPECT_FALSE(effect->Play());
  effect->Pause();
  EXPECT_FALSE(effect->paused);
  CSound* music = audio.PlayMusic("tone.mp3");
  EXPECT_EQ(music->stream, nullptr);
  music->keepAlive = true;
  audio.SetListener(1.0f, 2.0f);
  audio.SetCategoryEnabled(CAudioManager::MusicCategory, false);
  EXPECT_FALSE(audio.IsCategoryEnabled(CAudioManager::MusicCategory));
  audio.Update();
  EXPECT_EQ(audio.GetSounds(), std::vector<CSound*>{music});
  audio.StopAll(true);
  EXPECT_TRUE(audio.GetSounds().empty());

  std::string log = ReadWholeFile("log.txt");
  EXPECT_NE(log.find("Warning: No audio device, running without sound: "), std::string::npos);
  EXPECT_EQ(log.find("Failed to load sound"), std::string::npos);
  EXPECT_EQ(log.find("Could not create stream"), std::string::npos);
}

}  // namespace
