#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Rect.h"

struct SDL_Renderer;
class CDecodedImage;
class CPlatformTexture;
class CPlatformWindow;

// The drawing device of the window. Draw calls go to the current target: the
// window's back buffer or a target texture.
class CPlatformRenderer {
public:
  // Null (with the reason in PlatformError) when no renderer with
  // render-target support can be made for the window.
  static std::unique_ptr<CPlatformRenderer> Create(CPlatformWindow& window, bool vsync);
  ~CPlatformRenderer();
  CPlatformRenderer(const CPlatformRenderer&) = delete;
  CPlatformRenderer& operator=(const CPlatformRenderer&) = delete;

  bool SetVSync(bool on);
  // The back buffer's real size in pixels.
  bool OutputSize(int& width, int& height) const;
  std::string Name() const;

  // Null selects the back buffer.
  bool SetTarget(CPlatformTexture* target);
  void Clear(std::uint32_t argb);
  // Copies the whole texture into `destination` of the current target,
  // filtered as the texture's scale mode says.
  void Copy(CPlatformTexture& texture, const Rect& destination);
  void Present();
  // What the current target holds, made opaque as the player sees it; null
  // (see PlatformError) when it cannot be read back.
  std::unique_ptr<CDecodedImage> ReadTarget();
  // Writes ReadTarget's picture as a PNG file; `error`, when given, says why
  // it could not.
  bool SaveTargetPng(const std::string& path, std::string* error = nullptr);

  SDL_Renderer* Native() const { return renderer; }

private:
  explicit CPlatformRenderer(SDL_Renderer* native) : renderer(native) {}
  SDL_Renderer* renderer;
};
