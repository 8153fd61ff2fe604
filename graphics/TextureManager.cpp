#include "graphics/TextureManager.h"

#include "app/Log.h"
#include "graphics/Direct3D.h"
#include "platform/Clock.h"
#include "platform/Video.h"

CTextureManager::CTextureManager() = default;

CTextureManager::~CTextureManager() {
  ReleaseAll();
  std::lock_guard<std::mutex> guard(lock);
  textures.clear();
}

TextureHandle CTextureManager::GetTexture(const std::string& path, unsigned options) {
  const bool measureCoverage = (options & kCoverage) != 0;
  if (path.empty()) return nullptr;
  std::lock_guard<std::mutex> guard(lock);
  auto found = textures.find(path);
  if (found != textures.end()) {
    TextureCell& cell = *found->second;
    if (measureCoverage && !cell.coverage && cell.pending)
      cell.coverage = CAlphaCoverage::Measure(*cell.pending);
    return found->second;
  }

  // Only the decoding happens here, so that size and failure are known at
  // once on any thread; the renderer's texture is made on the main thread
  // when the texture is first drawn (or by UploadPending).
  std::string error;
  auto image = CDecodedImage::Load(path, &error);
  if (!image) {
    LogError("Could not load texture " + path + ": " + error);
    return nullptr;
  }
  auto handle = std::make_shared<TextureCell>();
  if (measureCoverage) handle->coverage = CAlphaCoverage::Measure(*image);
  handle->exact = (options & kExact) != 0;
  handle->pending = std::move(image);
  textures.emplace(path, handle);
  return handle;
}

void CTextureManager::ReleaseAll() {
  std::lock_guard<std::mutex> guard(lock);
  for (auto& [path, handle] : textures) handle->Release();
}

void CTextureManager::UploadPending() {
  CDirect3D* d3d = CDirect3D::GetInstance();
  if (!d3d || !d3d->GetRenderer()) return;
  std::lock_guard<std::mutex> guard(lock);
  for (auto& [path, handle] : textures)
    if (handle->pending && !handle->Resolve(*d3d->GetRenderer()))
      LogError("Could not load texture " + path + ": " + PlatformError());
}

std::size_t CTextureManager::CachedCount() {
  std::lock_guard<std::mutex> guard(lock);
  return textures.size();
}

void CTextureManager::StartFrameCounter(IClock& source) {
  clock = &source;
  frequency = clock->Frequency();
  windowStart = now = clock->Counter();
  fps = 0;
  frameCount = 0;
}

void CTextureManager::CountFrame() {
  if (!clock) return;
  now = clock->Counter();
  // Without a frequency the window never closes and the display shows 1.
  if (frequency > 0 && now - windowStart > frequency) {
    windowStart = now;
    fps = frameCount;
    frameCount = 0;
    if (fps == 0) fps = 1;
  } else {
    ++frameCount;
  }
}
