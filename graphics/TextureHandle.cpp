#include "graphics/TextureHandle.h"

int TextureCell::Width() const {
  return texture ? texture->Width() : pending ? pending->Width() : 0;
}

int TextureCell::Height() const {
  return texture ? texture->Height() : pending ? pending->Height() : 0;
}

CPlatformTexture* TextureCell::Resolve(CPlatformRenderer& renderer) {
  if (!texture && pending) {
    texture = CPlatformTexture::CreateFromImage(renderer, *pending, !exact);
    if (texture) pending.reset();
  }
  return texture.get();
}

void TextureCell::Release() {
  texture.reset();
  pending.reset();
}
