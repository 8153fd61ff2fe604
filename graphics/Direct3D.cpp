#include "graphics/Direct3D.h"

#include "app/Log.h"
#include "app/Version.h"
#include "graphics/BitmapFont.h"
#include "graphics/DisplayModes.h"
#include "graphics/Letterbox.h"
#include "platform/PlatformRenderer.h"
#include "platform/PlatformTexture.h"
#include "platform/PlatformWindow.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"

CDirect3D::CDirect3D() = default;

CDirect3D::~CDirect3D() {
  // Textures before the renderer, the renderer before the window.
  for (auto& [name, handle] : renderTargets)
    if (handle) handle->texture.reset();
  renderTargets.clear();
  renderTargetDescs.clear();
  virtualScreen.reset();
  labelFont.reset();
  sprite.reset();
  device.reset();
  hwnd = nullptr;
  window.reset();
  displayModes.clear();
}

CPlatformWindow* CDirect3D::CreateMainWindow(unsigned width, unsigned height) {
  window = CPlatformWindow::Create("Kuroshin", width, height);
  hwnd = window.get();
  return hwnd;
}

bool CDirect3D::Init(CPlatformWindow* target, unsigned width, unsigned height, bool startFullScreen,
                     bool startVSync) {
  hwnd = target;
  fullScreen = startFullScreen;
  vsync = startVSync;
  windowWidth = width;
  windowHeight = height;
  if (!hwnd) return false;

  displayModes = DeduplicateDisplayModes(ListDisplayModes());

  device = CPlatformRenderer::Create(*hwnd, vsync && !IsHeadless());
  if (!device) {
    LogError("Could not create Direct3D device: " + PlatformError());
    return false;
  }

  sprite = std::make_unique<CSpriteBatch>(*device);
  labelFont = std::make_unique<CBitmapFont>();

  virtualScreen = CreateRenderTarget("virtScr", TEXTURE_USAGE_RENDERTARGET, TexturePool::Default);
  if (!virtualScreen) return false;

  if (!ApplyDisplaySettings())
    LogWarning("Could not apply the display settings: " + PlatformError());
  SetOutputSize(static_cast<int>(width), static_cast<int>(height));
  RefreshOutputSize();
  return true;
}

bool CDirect3D::ApplyDisplaySettings() {
  // Headless runs have no display to wait for and no screen to fill.
  bool ok = device ? device->SetVSync(vsync && !IsHeadless()) : true;
  if (!hwnd) return ok;
  if (fullScreen && !IsHeadless())
    ok = hwnd->EnterFullScreen(windowWidth, windowHeight) && ok;
  else
    ok = hwnd->EnterWindow(windowWidth, windowHeight) && ok;
  return ok;
}

void CDirect3D::SetOutputSize(int width, int height) {
  outputWidth = width;
  outputHeight = height;
  useVirtualScreen = !(width == kVirtualWidth && height == kVirtualHeight);
  letterbox = ComputeLetterbox(width, height);
  letterboxLeft = letterbox.left;
}

void CDirect3D::RefreshOutputSize() {
  int width = 0;
  int height = 0;
  // A full-screen window may come out at the desktop's size instead of the
  // one asked for, and may change size later; follow what is really there.
  if (device && device->OutputSize(width, height) && width > 0 && height > 0 &&
      (width != outputWidth || height != outputHeight))
    SetOutputSize(width, height);
}

void CDirect3D::MarkDeviceLost() {
  deviceLost = true;
  needsReset = true;
}

void CDirect3D::SetFullScreen(bool value) {
  if (fullScreen == value) return;
  fullScreen = value;
  needsReset = settingsChanged = true;
}

void CDirect3D::SetVSync(bool value) {
  if (vsync == value) return;
  vsync = value;
  needsReset = settingsChanged = true;
}

void CDirect3D::SetResolution(unsigned width, unsigned height) {
  if (windowWidth == width && windowHeight == height) return;
  windowWidth = width;
  windowHeight = height;
  SetOutputSize(static_cast<int>(width), static_cast<int>(height));
  needsReset = settingsChanged = true;
}

TextureHandle CDirect3D::CreateRenderTarget(const std::string& name, std::uint32_t usage,
                                            TexturePool pool) {
  auto found = renderTargets.find(name);
  if (found != renderTargets.end()) return found->second;
  if (!device) return nullptr;
  RenderTargetDesc desc{kVirtualWidth, kVirtualHeight, usage, pool};
  auto texture = CPlatformTexture::CreateTarget(*device, desc.width, desc.height);
  if (!texture) {
    LogError("Could not create render target " + name + ": " + PlatformError());
    return nullptr;
  }
  auto handle = std::make_shared<TextureCell>();
  handle->texture = std::move(texture);
  renderTargets[name] = handle;
  renderTargetDescs[name] = desc;
  return handle;
}

void CDirect3D::ReleaseDefaultTargets() {
  // Cells that are already empty stay empty, so a retried reset releases
  // nothing twice.
  for (auto& [name, desc] : renderTargetDescs)
    if (desc.pool == TexturePool::Default) renderTargets[name]->texture.reset();
}

bool CDirect3D::RestoreDefaultTargets() {
  for (auto& [name, desc] : renderTargetDescs) {
    TextureHandle& handle = renderTargets[name];
    if (desc.pool != TexturePool::Default || handle->texture) continue;
    handle->texture = CPlatformTexture::CreateTarget(*device, desc.width, desc.height);
    if (!handle->texture) {
      LogError("Could not create render target " + name + ": " + PlatformError());
      return false;
    }
  }
  return true;
}

void CDirect3D::Reset() {
  if (!device) return;
  if (settingsChanged || deviceLost) {
    ReleaseDefaultTargets();
    if (ApplyDisplaySettings()) {
      settingsChanged = false;
      deviceLost = false;
    }
    return;  // restored on the next pass
  }
  if (!RestoreDefaultTargets()) return;  // tried again next pass
  RefreshOutputSize();
  needsReset = false;
  wasReset = true;
}

CPlatformTexture* CDirect3D::GetVirtualScreen() const {
  return virtualScreen ? virtualScreen->texture.get() : nullptr;
}

bool CDirect3D::RenderInto(const TextureHandle& target, const std::function<void()>& draw) {
  if (!device || !target || !target->texture) return false;
  if (sprite && sprite->IsDrawing()) sprite->End();
  device->SetTarget(target->texture.get());
  device->Clear(clearColour);
  draw();
  if (sprite && sprite->IsDrawing()) sprite->End();
  // Between frames the window's own picture is the target, as EndFrame
  // leaves it (the output size is read from the target).
  device->SetTarget(inFrame && useVirtualScreen ? GetVirtualScreen() : nullptr);
  return true;
}

void CDirect3D::BeginFrame() {
  if (!device) return;
  RefreshOutputSize();
  CPlatformTexture* screen = useVirtualScreen ? GetVirtualScreen() : nullptr;
  device->SetTarget(screen);
  inFrame = true;
  device->Clear(clearColour);
}

void CDirect3D::EndFrame() {
  if (!device) return;
  inFrame = false;
  if (sprite && sprite->IsDrawing()) sprite->End();
  if (useVirtualScreen) {
    device->SetTarget(nullptr);
    device->Clear(clearColour);  // the bars
    if (CPlatformTexture* screen = GetVirtualScreen()) device->Copy(*screen, letterbox);
  }
  device->Present();
}

std::unique_ptr<CDecodedImage> CDirect3D::ReadFrame() {
  if (sprite && sprite->IsDrawing()) sprite->Flush();
  return device ? device->ReadTarget() : nullptr;
}

bool CDirect3D::SaveFramePng(const std::string& path, std::string* error) {
  if (sprite && sprite->IsDrawing()) sprite->Flush();
  if (!device) {
    if (error) *error = "no device";
    return false;
  }
  return device->SaveTargetPng(path, error);
}

void CDirect3D::DrawVersionLabel() {
  if (!labelFont || !sprite || !labelFont->HasTexture()) return;
  // A 24-pixel label whose left edge sits at 1170, as the system font
  // label it stands in for.
  const float scale = 24.0f / static_cast<float>(labelFont->GlyphHeight());
  const bool open = sprite->IsDrawing();
  if (!open) sprite->Begin(SpriteBlend::Alpha);
  labelFont->DrawText(kVersionLabel, nullptr, scale, CBitmapFont::kLeft, 0xffffffff, 1.0f, 1170.0f,
                      990.0f);
  if (!open) sprite->End();
}
