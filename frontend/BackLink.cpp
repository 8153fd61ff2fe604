#include "frontend/BackLink.h"

void CBackLink::Draw(float sx, float sy, bool selected) {
  const float px = x + sx;
  const float py = y + sy - (selected ? 10.0f : 0.0f);
  TextBounds bounds;
  font.DrawText(text, &bounds, selected ? 0.9f : 0.6f, alignment, 0xff000000, 1.0f, px, py);
  hitBox = CHitBox(bounds.top, bounds.bottom, bounds.left, bounds.right);
  if (selected) DrawMenuCursor(bounds.left - 64.0f, bounds.top - 8.0f);
}
