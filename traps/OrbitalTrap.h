#pragma once

#include "objects/HitBox.h"
#include "objects/MovableObject.h"

class CSound;

// The map's "trap_orbital": a spinning shuriken circling a centre, which is
// the trap's own position or a point travelling along the polyline of
// another map object ("path"), back and forth or in a loop. It hums while
// near the screen and kills on touch, also while switched off.
class COrbitalTrap : public CMovableObject {
public:
  COrbitalTrap();
  // Stops and releases the hum.
  ~COrbitalTrap() override;

  void Init() override;
  // Start angle, vertex and activity again; speeds, radius, loop and path
  // stay as Init read them.
  void Reset() override;
  bool Update(float seconds, bool silent) override;
  // Draws the shuriken and sets the hum's volume by the trap's distance
  // from the middle of the screen.
  void Draw(int screenX, int screenY) override;

  // Whether the centre travels: a path of at least two points.
  bool Travels() const { return pathObject && path.size() >= 2; }

  // Where the shuriken is now.
  float centreX = 0.0f;
  float centreY = 0.0f;
  // The travelling point, relative to the path's origin.
  float pointX = 0.0f;
  float pointY = 0.0f;
  float originX = 0.0f;
  float originY = 0.0f;
  // Pixels per second along the path (the sign gives the starting way);
  // degrees per second of the picture's spin and of the orbit.
  float polySpeed = 0.0f;
  float spinSpeed = 0.0f;
  float rotationSpeed = 0.0f;
  float radius = 0.0f;
  // Degrees.
  float angle = 0.0f;
  int vertex = 0;
  int nextVertex = 0;
  int travelDirection = 0;
  bool loop = false;
  // Not owned; null without a usable path. Only its points and position are
  // used, copied by Init.
  CMovableObject* pathObject = nullptr;
  // In the picture's frame.
  CHitBox localBox;
  bool audible = false;
  // The hum, kept alive (the audio manager deletes sounds that stopped) and
  // released by the destructor; null in a silent level or without audio.
  CSound* sound = nullptr;

private:
  void ComputeNextVertex();
  void Travel(float seconds);
  // The centre from the angle and the travelling point; the trap's own
  // position while it is off.
  void PlaceCentre();
  void PlaceBox();

  bool settingsChecked = false;
};
