#include "objects/Trigger.h"

bool CTrigger::Collide(const CHitBox& box, int, float*) {
  if (!target || !Intersects(hitBox, box, nullptr)) return false;
  // A negative wait would make the target act before it was switched on.
  const double wait = CMovableObject::GetDoubleProperty("delay");
  target->delay = wait > 0.0 ? static_cast<float>(wait) : 0.0f;
  target->SetActive(true);
  return true;
}

void CTrigger::Init() {}

bool CTrigger::Update(float seconds, bool silent) {
  return CMovableObject::Update(seconds, silent);
}
