#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "app/Singleton.h"
#include "graphics/TextureHandle.h"

class IClock;

// Loads every image once and hands out shared handles; also counts rendered
// frames per second. Program-wide. GetTexture may run on the level loader's
// thread while the main thread looks textures up, hence the lock.
class CTextureManager : public Singleton<CTextureManager> {
public:
  CTextureManager();
  ~CTextureManager();

  // What a texture is to be used for, given the first time it is asked for
  // (later requests find it as it was made).
  enum Option : unsigned {
    // Measure its coverage while the pixels are at hand.
    kCoverage = 1,
    // Always drawn at its own size: copied pixel for pixel instead of
    // filtered, which software renderers do several times faster.
    kExact = 2,
  };

  // Empty handle for an empty path or a file that cannot be loaded (logged
  // each time: failures are not remembered).
  TextureHandle GetTexture(const std::string& path, unsigned options = 0);
  // Releases every texture; the cells stay, empty.
  void ReleaseAll();
  // Uploads every decoded texture not yet on the renderer; main thread only.
  void UploadPending();
  std::size_t CachedCount();

  // The frame-rate counter. StartFrameCounter reads the clock's frequency and
  // starts the first one-second window.
  void StartFrameCounter(IClock& clock);
  void CountFrame();
  unsigned GetFps() const { return fps; }
  void SetFps(unsigned value) { fps = value; }

private:
  std::mutex lock;
  std::map<std::string, TextureHandle> textures;

  IClock* clock = nullptr;
  std::int64_t frequency = 0;
  std::int64_t windowStart = 0;
  std::int64_t now = 0;
  unsigned fps = 0;
  unsigned frameCount = 0;
};
