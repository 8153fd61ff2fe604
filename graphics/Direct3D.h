#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Singleton.h"
#include "graphics/TextureHandle.h"
#include "platform/DisplayMode.h"
#include "platform/Rect.h"

class CBitmapFont;
class CPlatformRenderer;
class CPlatformWindow;
class CSpriteBatch;

enum class TexturePool {
  Default,  // lost with the device: recreated (empty) by Reset
  Managed,  // survives a reset
};

enum TextureUsage : std::uint32_t {
  TEXTURE_USAGE_RENDERTARGET = 0x1,
};

struct RenderTargetDesc {
  int width = 0;
  int height = 0;
  std::uint32_t usage = 0;
  TexturePool pool = TexturePool::Default;
};

// The window, the drawing device and the display settings. The game draws for
// a fixed 1280 x 1024 virtual screen; when the back buffer has another size
// it draws into the render target "virtScr", which each frame is copied,
// letterboxed, into the window.
class CDirect3D : public Singleton<CDirect3D> {
public:
  static constexpr int kVirtualWidth = 1280;
  static constexpr int kVirtualHeight = 1024;

  CDirect3D();
  ~CDirect3D();

  // The window titled "Kuroshin" with a client area of width x height; null
  // on failure. The device owns it and closes it last.
  CPlatformWindow* CreateMainWindow(unsigned width, unsigned height);
  // Creates the device for the window and the virtual screen, and enters
  // full screen unless told not to. Reports its own failures.
  bool Init(CPlatformWindow* window, unsigned width, unsigned height, bool startFullScreen = true,
            bool startVSync = true);

  // Device recovery, one call per loop pass while NeedsReset(): the first
  // pass releases the default-pool targets and applies changed settings, the
  // next restores the targets into their cells.
  void Reset();
  bool NeedsReset() const { return needsReset; }
  // The platform lost the contents of render targets (or of every texture).
  void MarkDeviceLost();

  void SetFullScreen(bool fullScreen);
  bool IsFullScreen() const { return fullScreen; }
  void SetVSync(bool vsync);
  bool IsVSync() const { return vsync; }
  void SetResolution(unsigned width, unsigned height);
  const std::vector<DisplayMode>& GetDisplayModes() const { return displayModes; }

  // The registered target of that name, or a new 1280 x 1024 one.
  TextureHandle CreateRenderTarget(const std::string& name, std::uint32_t usage, TexturePool pool);

  // Draws into a render target of this device: `draw` runs with the target
  // selected and cleared as a frame is, its sprite batch is ended
  // after it, and the frame's own target is selected again. False when there
  // is no device or no target to draw into.
  bool RenderInto(const TextureHandle& target, const std::function<void()>& draw);

  // Per frame: BeginFrame selects and clears the frame's target, the state
  // draws, EndFrame letterboxes the virtual screen into the window and
  // presents.
  void BeginFrame();
  void EndFrame();
  // The frame drawn so far (the virtual screen's 1280 x 1024), opaque; null
  // when it cannot be read back.
  std::unique_ptr<CDecodedImage> ReadFrame();
  // Writes that frame as PNG; `error`, when given, says why it could not.
  bool SaveFramePng(const std::string& path, std::string* error = nullptr);

  CPlatformWindow* GetWindow() const { return hwnd; }
  CPlatformRenderer* GetRenderer() const { return device.get(); }
  // The one sprite batch every drawing goes through; null before Init.
  CSpriteBatch* GetSprite() const { return sprite.get(); }
  // Draws the version label (kVersionLabel) near the bottom right of the virtual screen.
  void DrawVersionLabel();
  bool UsesVirtualScreen() const { return useVirtualScreen; }
  CPlatformTexture* GetVirtualScreen() const;
  const Rect& GetLetterbox() const { return letterbox; }
  int GetLetterboxLeft() const { return letterboxLeft; }
  unsigned GetWindowWidth() const { return windowWidth; }
  unsigned GetWindowHeight() const { return windowHeight; }
  bool WasReset() const { return wasReset; }
  void ClearWasReset() { wasReset = false; }

  std::uint32_t clearColour = 0xff000000;

private:
  bool ApplyDisplaySettings();
  void SetOutputSize(int width, int height);
  void RefreshOutputSize();
  void ReleaseDefaultTargets();
  bool RestoreDefaultTargets();

  // Declared before the renderer and the targets so that it is destroyed
  // after them.
  std::unique_ptr<CPlatformWindow> window;
  CPlatformWindow* hwnd = nullptr;
  std::unique_ptr<CPlatformRenderer> device;
  std::unique_ptr<CSpriteBatch> sprite;
  std::unique_ptr<CBitmapFont> labelFont;

  bool fullScreen = false;
  bool vsync = false;
  bool useVirtualScreen = false;
  unsigned windowWidth = 0;
  unsigned windowHeight = 0;
  int outputWidth = 0;
  int outputHeight = 0;
  int letterboxLeft = 0;
  Rect letterbox;
  std::vector<DisplayMode> displayModes;
  TextureHandle virtualScreen;
  std::map<std::string, TextureHandle> renderTargets;
  std::map<std::string, RenderTargetDesc> renderTargetDescs;
  bool needsReset = false;
  bool settingsChanged = false;
  bool deviceLost = false;
  bool wasReset = false;
  bool inFrame = false;  // between BeginFrame and EndFrame
};
