#include "player/PlayerTunables.h"

#include <tinyxml.h>

#include <cmath>

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/XmlFile.h"

namespace {

struct Field {
  const char* element;
  const char* attribute;
  float PlayerTunables::*value;
};

constexpr Field kFields[] = {
    {"Speed", "Crouch", &PlayerTunables::crouchSpeed},
    {"Speed", "Walk", &PlayerTunables::walkSpeed},
    {"Speed", "Run", &PlayerTunables::runSpeed},
    {"Speed", "Acceleration", &PlayerTunables::acceleration},
    {"Speed", "Deceleration", &PlayerTunables::deceleration},
    {"Jump", "Start", &PlayerTunables::jumpStart},
    {"Jump", "Gravity", &PlayerTunables::gravity},
    {"Jump", "MinJumpTime", &PlayerTunables::minJumpTime},
    {"Jump", "MaxJumpTime", &PlayerTunables::maxJumpTime},
    {"Jump", "MaxFallSpeed", &PlayerTunables::maxFallSpeed},
    {"WallJump", "StartX", &PlayerTunables::wallJumpStartX},
    {"WallJump", "StartY", &PlayerTunables::wallJumpStartY},
    {"WallJump", "DecreaseX", &PlayerTunables::wallJumpDecreaseX},
    {"WallJump", "DecreaseY", &PlayerTunables::wallJumpDecreaseY},
    {"WallJump", "SlideSpeed", &PlayerTunables::wallSlideSpeed},
    {"Slide", "Start", &PlayerTunables::slideStart},
    {"Slide", "Decrease", &PlayerTunables::slideDecrease},
    {"Death", "RespawnTime", &PlayerTunables::respawnTime},
};

}  // namespace

bool LoadPlayerTunables(const std::string& path, PlayerTunables& tunables) {
  TiXmlDocument document;
  std::string error;
  if (!LoadXmlFile(path, document, &error)) {
    LogWarning("Could not read the player's values " + path + ": " + error);
    return false;
  }
  const TiXmlElement* root = document.RootElement();
  for (const Field& field : kFields) {
    const TiXmlElement* element = root->FirstChildElement(field.element);
    const char* text = element ? element->Attribute(field.attribute) : nullptr;
    if (!text) continue;
    double value = 0.0;
    // A double beyond a float's range would store infinity.
    if (!ParseWholeDouble(text, value) || !std::isfinite(static_cast<float>(value))) {
      LogWarning(path + ": " + field.element + " " + field.attribute + "=\"" + text +
                 "\" is not a number; the value stays as it was");
      continue;
    }
    tunables.*field.value = static_cast<float>(value);
  }
  return true;
}
