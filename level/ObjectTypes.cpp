#include "level/ObjectTypes.h"

#include "level/Background.h"
#include "objects/Checkpoint.h"
#include "objects/Fireworks.h"
#include "objects/MovableObject.h"
#include "objects/PictureObject.h"
#include "objects/Scroll.h"
#include "objects/Trigger.h"
#include "traps/ArrowTrap.h"
#include "traps/BambooTrap.h"
#include "traps/OrbitalTrap.h"
#include "traps/SpearTrap.h"
#include "traps/StomperTrap.h"
#include "traps/TrapDoor.h"

std::unique_ptr<CMovableObject> CreateObjectOfType(const std::string& type) {
  if (type == "trap_orbital") return std::make_unique<COrbitalTrap>();
  if (type == "trap_door") return std::make_unique<CTrapDoor>();
  if (type == "trap_bamboo") return std::make_unique<CBambooTrap>();
  if (type == "trap_arrow") return std::make_unique<CArrowTrap>();
  if (type == "trap_spear") return std::make_unique<CSpearTrap>();
  if (type == "trap_stomper") return std::make_unique<CStomperTrap>();
  if (type == "trigger") return std::make_unique<CTrigger>();
  if (type == "scroll") return std::make_unique<CScroll>();
  if (type == "checkpoint") return std::make_unique<CCheckpoint>();
  if (type == "background") return std::make_unique<CBackground>();
  if (type == "pfx_fireworks") return std::make_unique<CFireworks>();
  if (type == "picture") return std::make_unique<CPictureObject>();
  return std::make_unique<CMovableObject>();
}
