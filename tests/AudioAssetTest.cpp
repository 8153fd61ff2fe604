// The game's sound files against audio/AudioManifest.h and against what the
// code asks of them. Reads data/ and the sources in the source tree and
// writes nothing there.
#include "audio/AudioManifest.h"

#include <AL/al.h>
#include <AL/alure.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "audio/AudioManager.h"
#include "tests/support/ChildProcess.h"

namespace fs = std::filesystem;

namespace {

const std::string kSource = KUROSHIN_SOURCE_DIR;
const std::string kData = kSource + "/data/";
constexpr int kRate = 44100;
// -3 dBFS is the ceiling every effect is levelled under; a hundredth of a
// dB over it is rounding, more is a level that was never balanced.
constexpr int kCeiling = 23200;

struct Pcm {
  std::string problem;  // empty when the file is 16-bit PCM
  int channels = 0;
  int rate = 0;
  std::vector<std::int16_t> samples;
};

unsigned Le(const std::string& b, std::size_t at, int bytes) {
  unsigned v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}

// A RIFF WAVE file, chunk by chunk, as a strict reader would take it.
Pcm ReadPcm(const std::string& bytes) {
  Pcm pcm;
  if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0) {
    pcm.problem = "not a RIFF WAVE file";
    return pcm;
  }
  if (Le(bytes, 4, 4) + 8 != bytes.size()) pcm.problem = "RIFF size disagrees with the file";
  bool haveFormat = false, haveData = false;
  for (std::size_t at = 12; at + 8 <= bytes.size();) {
    std::string id = bytes.substr(at, 4);
    std::size_t size = Le(bytes, at + 4, 4);
    if (at + 8 + size > bytes.size()) {
      pcm.problem = "chunk " + id + " runs past the end";
      return pcm;
    }
    if (id == "fmt " && size >= 16) {
      haveFormat = true;
      if (Le(bytes, at + 8, 2) != 1) pcm.problem = "not plain PCM";
      pcm.channels = static_cast<int>(Le(bytes, at + 10, 2));
      pcm.rate = static_cast<int>(Le(bytes, at + 12, 4));
      if (Le(bytes, at + 22, 2) != 16) pcm.problem = "not 16-bit";
    } else if (id == "data") {
      haveData = true;
      for (std::size_t i = 0; i + 1 < size; i += 2)
        pcm.samples.push_back(static_cast<std::int16_t>(Le(bytes, at + 8 + i, 2)));
    }
    at += 8 + size + (size & 1);
  }
  if (!haveFormat || !haveData) pcm.problem = "no fmt or no data chunk";
  return pcm;
}

int Peak(const std::vector<std::int16_t>& s, std::size_t from = 0, std::size_t to = SIZE_MAX) {
  int peak = 0;
  for (std::size_t i = from; i < std::min(to, s.size()); ++i)
    peak = std::max(peak, std::abs(int{s[i]}));
  return peak;
}

double Rms(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
  double sum = 0;
  for (std::size_t i = from; i < to; ++i) sum += static_cast<double>(s[i]) * s[i];
  return std::sqrt(sum / static_cast<double>(to - from));
}

std::set<std::string> ListedPaths() {
  std::set<std::string> paths;
  for (const SoundAsset& sound : kSoundAssets) paths.insert(std::string(sound.path));
  for (const MusicAsset& music : kMusicAssets) paths.insert(std::string(music.path));
  return paths;
}

TEST(AudioAssets, TheListMatchesDataAndFitsItsBudget) {
  std::set<std::string> listed = ListedPaths();
  EXPECT_EQ(listed.size(), std::size(kSoundAssets) + std::size(kMusicAssets))
      << "a path is listed twice";
  for (const SoundAsset& sound : kSoundAssets) {
    EXPECT_TRUE(sound.path.starts_with("Audio/sfx/sfx_") && sound.path.ends_with(".wav"))
        << sound.path;
    EXPECT_TRUE(FileExists(kData + std::string(sound.path))) << sound.path << " is missing";
  }
  for (const MusicAsset& music : kMusicAssets) {
    EXPECT_TRUE(music.path.starts_with("Audio/bgm/bgm_") && music.path.ends_with(".mp3"))
        << music.path;
    EXPECT_TRUE(FileExists(kData + std::string(music.path))) << music.path << " is missing";
    // Loops of one to one and a half minutes.
    EXPECT_GE(music.loopFrames, 60L * kRate) << music.path;
    EXPECT_LE(music.loopFrames, 90L * kRate) << music.path;
  }

  // Nothing stale beside them: a file the list lacks is one the game never
  // plays, often a name with the wrong case.
  std::uintmax_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(kData + "Audio")) {
    if (!entry.is_regular_file() || entry.path().filename().string().starts_with(".")) continue;
    bytes += entry.file_size();
    std::string relative = fs::relative(entry.path(), kData).generic_string();
    EXPECT_TRUE(listed.count(relative)) << relative << " is not in audio/AudioManifest.h";
  }
  EXPECT_LT(bytes, 8u * 1024 * 1024);
}

TEST(AudioAssets, EffectsAreMonoPcmLevelledUnderTheCeiling) {
  for (const SoundAsset& sound : kSoundAssets) {
    SCOPED_TRACE(std::string(sound.path));
    Pcm pcm = ReadPcm(ReadWholeFile(kData + std::string(sound.path)));
    ASSERT_EQ(pcm.problem, "");
    EXPECT_EQ(pcm.channels, 1);
    EXPECT_EQ(pcm.rate, kRate);
    ASSERT_GT(pcm.samples.size(), static_cast<std::size_t>(kRate / 20));
    int peak = Peak(pcm.samples);
    EXPECT_LE(peak, kCeiling) << "clips or is levelled above -3 dBFS";
    EXPECT_GE(peak, 1000) << "close to silent";
    if (!sound.loops) {
      // Ends at rest, or the cut is heard as a click.
      EXPECT_LE(std::abs(int{pcm.samples.back()}), 64);
      EXPECT_LE(std::abs(int{pcm.samples.front()}), 64);
    }
  }
}

TEST(AudioAssets, LoopsMeetAtZeroAndHoldSteady) {
  int loops = 0;
  for (const SoundAsset& sound : kSoundAssets) {
    if (!sound.loops) continue;
    ++loops;
    SCOPED_TRACE(std::string(sound.path));
    Pcm pcm = ReadPcm(ReadWholeFile(kData + std::string(sound.path)));
    ASSERT_EQ(pcm.problem, "");
    const auto& s = pcm.samples;
    ASSERT_GE(s.size(), 1000u);
    int first = s.front(), last = s.back();
    // The wrap from the last sample to the first passes through zero...
    EXPECT_LE(first * last, 0) << first << " after " << last;
    // ...in a step no rougher than the waveform's usual one.
    std::vector<int> steps;
    for (std::size_t i = 1; i < s.size(); ++i) steps.push_back(std::abs(s[i] - s[i - 1]));
    std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
    EXPECT_LE(std::abs(first - last), steps[steps.size() / 2]);
    // No swell or fade: every tenth is as loud as the whole within 3 dB.
    double whole = Rms(s, 0, s.size());
    for (int tenth = 0; tenth < 10; ++tenth) {
      double rms = Rms(s, s.size() * tenth / 10, s.size() * (tenth + 1) / 10);
      EXPECT_NEAR(20 * std::log10(rms / whole), 0.0, 3.0) << "tenth " << tenth;
    }
  }
  EXPECT_EQ(loops, 2);
}

TEST(AudioAssets, FrameSoundsHitWithinOneStep) {
  // At 120 steps a second a sound whose hit comes later than one step
  // trails the frame it belongs to.
  const std::size_t step = kRate / 120;
  int count = 0;
  for (const SoundAsset& sound : kSoundAssets) {
    if (!sound.onFrame) continue;
    ++count;
    SCOPED_TRACE(std::string(sound.path));
    Pcm pcm = ReadPcm(ReadWholeFile(kData + std::string(sound.path)));
    ASSERT_EQ(pcm.problem, "");
    EXPECT_GE(2 * Peak(pcm.samples, 0, step), Peak(pcm.samples));
  }
  EXPECT_GT(count, 0);
}

struct BufferFormat {
  ALint size = 0;  // bytes
  ALint channels = 0;
  ALint frequency = 0;
};

// The file decoded whole into an OpenAL buffer by the game's own cache.
bool ReadBuffer(CAudioManager& audio, const std::string& path, BufferFormat& format) {
  const unsigned int buffer = audio.GetBuffer(path);
  if (buffer == 0) return false;
  alGetBufferi(buffer, AL_SIZE, &format.size);
  alGetBufferi(buffer, AL_CHANNELS, &format.channels);
  alGetBufferi(buffer, AL_FREQUENCY, &format.frequency);
  return true;
}

// Through the game's own audio manager and ALURE, on openal-soft's null
// backend: every file decodes, to its whole length.
TEST(AudioAssets, TheGameDecodesEveryFileWhole) {
  CAudioManager audio{true};
  ASSERT_FALSE(audio.IsSilent());
  for (const SoundAsset& sound : kSoundAssets) {
    SCOPED_TRACE(std::string(sound.path));
    std::string path = kData + std::string(sound.path);
    Pcm pcm = ReadPcm(ReadWholeFile(path));
    BufferFormat format;
    ASSERT_TRUE(ReadBuffer(audio, path, format));
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.frequency, kRate);
    EXPECT_EQ(static_cast<std::size_t>(format.size) / 2, pcm.samples.size());
  }
  // MP3 puts silence before and after the music; only a decoder that
  // honours the LAME tag gets exactly the loop, and a loop that is a few
  // samples long or short is heard as a skip once a minute.
  for (const MusicAsset& music : kMusicAssets) {
    SCOPED_TRACE(std::string(music.path));
    std::string path = kData + std::string(music.path);
    BufferFormat format;
    ASSERT_TRUE(ReadBuffer(audio, path, format));
    EXPECT_EQ(format.channels, 2);
    EXPECT_EQ(format.frequency, kRate);
    EXPECT_EQ(format.size / 4, music.loopFrames);

    // The game streams its music; the stream sees the same length.
    alureStreamSizeIsMicroSec(AL_FALSE);
    alureStream* stream = alureCreateStreamFromFile(path.c_str(), 19200, 0, nullptr);
    ASSERT_NE(stream, nullptr) << alureGetErrorString();
    EXPECT_EQ(alureGetStreamLength(stream), music.loopFrames);
    EXPECT_TRUE(alureDestroyStream(stream, 0, nullptr));
  }
}

// --- every name the code uses is on the list ---

struct AudioName {
  std::string file;  // where it was found
  std::string text;  // the literal
};

// String literals that name a sound: "Audio/..." paths and prefixes, and
// bare "sfx_..." and "bgm_..." names that the code puts between
// "Audio/sfx/" and ".wav" (or "Audio/bgm/" and ".mp3").
std::vector<AudioName> AudioNamesIn(const std::string& file, const std::string& text) {
  static const std::regex literal(R"re("((?:[^"\\\n]|\\.)*)")re");
  std::vector<AudioName> names;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), literal);
       it != std::sregex_iterator(); ++it) {
    std::string s = (*it)[1];
    if (s.starts_with("Audio/") || s.starts_with("sfx_") || s.starts_with("bgm_"))
      names.push_back({file, s});
  }
  return names;
}

// Why `name` cannot be played from the list; empty when it can.
std::string Unlisted(const std::string& name, const std::set<std::string>& listed) {
  if (name.starts_with("Audio/")) {
    if (listed.count(name)) return "";
    // A folder the code completes at run time: something must be in it.
    if (name.ends_with("/"))
      for (const std::string& path : listed)
        if (path.starts_with(name)) return "";
    return "\"" + name + "\" is not listed";
  }
  std::string path = name.starts_with("sfx_") ? "Audio/sfx/" + name : "Audio/bgm/" + name;
  if (!name.ends_with(".wav") && !name.ends_with(".mp3"))
    path += name.starts_with("sfx_") ? ".wav" : ".mp3";
  return listed.count(path) ? "" : "\"" + name + "\" makes " + path + ", which is not listed";
}

TEST(AudioAssets, EveryAudioNameInTheCodeIsListed) {
  std::set<std::string> listed = ListedPaths();

  // The scanner itself, on code shaped as the game writes it.
  std::string sample =
      "PlaySound(\"Audio/sfx/sfx_jump.wav\", false, 1.0f);\n"
      "const char* frame[] = {\"Walk\", \"sfx_walk01\"};\n"
      "PlaySound(\"Audio/sfx/\" + name + \".wav\");\n"
      "PlaySound(\"Audio/sfx/sfx_Jump.wav\"); Log(\"say \\\"Audio/\\\"\");\n";
  auto found = AudioNamesIn("sample", sample);
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[0].text, "Audio/sfx/sfx_jump.wav");
  EXPECT_EQ(found[1].text, "sfx_walk01");
  EXPECT_EQ(found[2].text, "Audio/sfx/");
  EXPECT_EQ(found[3].text, "Audio/sfx/sfx_Jump.wav");
  EXPECT_EQ(Unlisted(found[0].text, listed), "");
  EXPECT_EQ(Unlisted(found[1].text, listed), "");
  EXPECT_EQ(Unlisted(found[2].text, listed), "");
  EXPECT_NE(Unlisted(found[3].text, listed), "") << "case must count";
  EXPECT_NE(Unlisted("sfx_walk03", listed), "");
  EXPECT_NE(Unlisted("Audio/voice/", listed), "");
  EXPECT_EQ(Unlisted("bgm_title", listed), "");

  // Then the game's sources.
  int files = 0;
  for (const char* dir :
       {"app", "audio", "input", "level", "objects", "traps", "player", "frontend", "progress"}) {
    fs::path root = fs::path(kSource) / dir;
    if (!fs::exists(root)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
      ++files;
      std::string relative = fs::relative(entry.path(), kSource).generic_string();
      for (const AudioName& name : AudioNamesIn(relative, ReadWholeFile(entry.path().string()))) {
        std::string problem = Unlisted(name.text, listed);
        EXPECT_EQ(problem, "") << name.file;
      }
    }
  }
  EXPECT_GT(files, 0);
}

}  // namespace
