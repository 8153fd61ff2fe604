#pragma once

#include <string>

#include "objects/MovableObject.h"

// The map's "picture": an image from the graphics folder (such as a control
// hint) drawn centred on its position, fading in while something switches
// it on (a trigger whose target it is, every step the player stands in it)
// and fading out once nothing does. Each draw switches it off again.
class CPictureObject : public CMovableObject {
public:
  void Init() override;
  // Invisible, with the path and speeds from the properties.
  void Reset() override;
  // `silent`: the replay ghost's level shows no pictures.
  bool Update(float seconds, bool silent) override;
  void Draw(int screenX, int screenY) override;

  // "Graphics/" and the property "path"; empty when it has none or the
  // path would leave the graphics folder.
  std::string imagePath;
  // Opacity from 0 to 1, and what it gains or loses per second.
  float alpha = 0.0f;
  float fadeInSpeed = 0.0f;
  float fadeOutSpeed = 0.0f;

private:
  bool settingsChecked = false;
};
