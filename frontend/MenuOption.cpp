#include "frontend/MenuOption.h"

#include "frontend/MenuLink.h"

CMenuOption::CMenuOption(std::string text, float px, float py, Setter set, Getter get)
    : label(std::move(text)), setter(std::move(set)), getter(std::move(get)) {
  x = px;
  y = py;
}

void CMenuOption::Activate() {
  if (setter && getter) setter(!getter());
}

void CMenuOption::Update(float) {}

void CMenuOption::Draw(float sx, float sy, bool selected) {
  const float px = x + sx + (selected ? 20.0f : 0.0f);
  const float py = y + sy;
  TextBounds bounds;
  font.DrawText(label, &bounds, 0.6f, CBitmapFont::kLeft, 0xff000000, 1.0f, px, py);
  if (selected) DrawMenuCursor(bounds.left - 64.0f, bounds.top - 16.0f);
  float right = 0.0f;
  if (getter) {
    const std::uint8_t value = getter();
    if (value == 0 || value == 1) {
      TextBounds shown;
      font.DrawText(value ? ": ON" : ": OFF", &shown, 0.6f, CBitmapFont::kLeft, 0xff000000, 1.0f,
                    sx + 370.0f, bounds.top);
      right = shown.right;
    }
  }
  hitBox = CHitBox(bounds.top, bounds.bottom, bounds.left, right);
}
