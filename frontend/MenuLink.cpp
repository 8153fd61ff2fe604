#include "frontend/MenuLink.h"

#include "frontend/MenuNavigator.h"
#include "frontend/MenuScreen.h"
#include "graphics/CursorSprite.h"
#include "graphics/Sprite.h"

CMenuLink::CMenuLink(std::string label, std::string linkAction, float px, float py, int align)
    : alignment(align), text(std::move(label)), action(std::move(linkAction)) {
  x = px;
  y = py;
}

void CMenuLink::Activate() {
  if (owner && owner->navigator) owner->navigator->RunAction(action);
}

void CMenuLink::Update(float) {}

void CMenuLink::Draw(float sx, float sy, bool selected) {
  float px = x + sx;
  const float py = y + sy;
  if (selected) px += 20.0f;
  TextBounds bounds;
  font.DrawText(text, &bounds, 0.75f, alignment, 0xff000000, 1.0f, px, py);
  hitBox = CHitBox(bounds.top, bounds.bottom, bounds.left, bounds.right);
  if (selected) DrawMenuCursor(bounds.left - 64.0f, bounds.top - 16.0f);
}

void DrawMenuCursor(float x, float y) {
  cursorSprite.SetPosition(x, y);
  cursorSprite.Advance(0.0f);
  cursorSprite.Draw(1.0f, nullptr);
}
