#include "level/ObjectTypes.h"

#include "level/Background.h"
#include "objects/MovableObject.h"
#include "objects/Trigger.h"

std::unique_ptr<CMovableObject> CreateObjectOfType(const std::string& type) {
  if (type == "trigger") return std::make_unique<CTrigger>();
  if (type == "background") return std::make_unique<CBackground>();
  return std::make_unique<CMovableObject>();
}
