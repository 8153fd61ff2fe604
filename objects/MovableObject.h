#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "objects/HitBox.h"
#include "objects/PropertyMap.h"

class CLevel;
class CSprite;
class CTile;

// The base of every level object: identity from the map, position and size,
// hit box, activation with a delay, an optional image, an optional path and
// the map properties. The level drives objects only through the virtual
// operations below; plain instances serve as markers found by type or name.
class CMovableObject {
public:
  CMovableObject();
  virtual ~CMovableObject();
  CMovableObject(const CMovableObject&) = delete;
  CMovableObject& operator=(const CMovableObject&) = delete;

  // The hit box against `box`; `mode` lets an object with two boxes choose
  // one. `depth` as for Intersects.
  virtual bool Collide(const CHitBox& box, int mode, float* depth);
  virtual void SetActive(bool value);
  // Once per level, after every object exists.
  virtual void Init();
  // Back to the start state when the player respawns.
  virtual void Reset();
  // One fixed step; false makes the level delete the object. `silent`: no
  // sounds (the replay ghost's level).
  virtual bool Update(float seconds, bool silent);
  virtual void Draw(int screenX, int screenY);

  // Stores the map position; a map anchors images at their bottom-left
  // corner, so y is lifted by the image's height.
  void SetPosition(float px, float py);
  // An owned one-frame sprite of a whole image; `anchor` as CSprite's.
  void CreateSprite(const std::string& imagePath, float frameTime, int anchor = 0);
  // A tileset's tile as the image (not owned); null for none. Drops an
  // owned sprite.
  void SetTileImage(const CTile* tile);
  const CTile* GetTileImage() const { return tileImage; }
  CSprite* GetSprite() const { return sprite.get(); }

  int GetIntProperty(const std::string& key) const;
  double GetDoubleProperty(const std::string& key) const;
  // The default when the property reads as 0 or is missing.
  double GetDoubleProperty(const std::string& key, double fallback) const;

  std::string name;
  // The map type; run-time objects have their own ("dynamic_arrow", ...).
  std::string type;
  float x = 0.0f;
  float y = 0.0f;
  CLevel* level = nullptr;
  CHitBox hitBox;
  int width = 0;
  int height = 0;
  bool active = false;
  // Seconds to wait after activation before acting, and waited so far.
  float delay = 0.0f;
  float elapsed = 0.0f;
  // Polyline points relative to the map position, in order.
  std::vector<std::pair<float, float>> path;
  PropertyMap properties;

private:
  const CTile* tileImage = nullptr;
  std::unique_ptr<CSprite> sprite;
};
