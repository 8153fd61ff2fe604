#include "level/Background.h"

void CBackground::Init() {
  const double px = CMovableObject::GetDoubleProperty("x");
  const double py = CMovableObject::GetDoubleProperty("y");
  baseX = px != 0.0 ? static_cast<float>(px) : x;
  // y as loaded: a tile picture is already lifted by its height, which is
  // where the map editor shows it.
  baseY = py != 0.0 ? static_cast<float>(py) : y;
}

bool CBackground::Update(float, bool) {
  x = baseX;
  y = baseY;
  return true;
}
