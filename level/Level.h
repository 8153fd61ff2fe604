#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Random.h"
#include "level/ObjectLayer.h"

class CCamera;
class CHitBox;
class CMovableObject;
class CTileLayer;
class CTileset;

// One map as the game runs it: tile layers, tilesets, object layers full of
// level objects, the map's properties and the level's size. Objects spawned
// while it runs go to a layer of their own.
class CLevel {
public:
  // Loads the map at once; a map that does not load leaves the level empty
  // (reported in the log). `camera` is null for the replay ghost's level.
  CLevel(const std::string& mapPath, CCamera* camera);
  // An empty level; Load fills it.
  explicit CLevel(CCamera* camera = nullptr);
  ~CLevel();
  CLevel(const CLevel&) = delete;
  CLevel& operator=(const CLevel&) = delete;

  bool Load(const std::string& mapPath);

  // One fixed step of every object, layer by layer in map order, then the
  // spawned ones. `silent`: no sounds.
  void Update(float seconds, bool silent);
  // `front` false: everything behind the player; true: what stands in
  // front of it ("DetailsFrontCharacter").
  void Draw(const CCamera* view, bool front) const;
  // Resets every object but those of `exceptType` ("" skips none).
  void Reset(const std::string& exceptType);

  // The queries of the player and the traps: the "Traps" layer (when the
  // map has one), then the spawned objects. `skip` is left out, so an
  // object can look for others of its own type.
  bool CollideWithType(const CHitBox& box, const std::string& type, int mode, float* depth,
                       bool stopAtFirst, const CMovableObject* skip = nullptr) const;
  CMovableObject* FindCollidingObject(const CHitBox& box, const std::string& type, float* depth,
                                      const CMovableObject* skip = nullptr) const;
  // The first object with this name over all map layers, or null.
  CMovableObject* FindObject(const std::string& objectName) const;

  // The layer the player and the traps collide with; null when the map has
  // no tile layers (such a map is not playable).
  CTileLayer* GetCollisionLayer() const;
  int GetCollisionLayerIndex() const { return collisionLayerIndex; }

  const std::string& GetName() const { return name; }
  const std::string& GetDirectory() const { return directory; }
  float GetWidthPixels() const { return widthPixels; }
  float GetHeightPixels() const { return heightPixels; }
  const std::map<std::string, std::string>& GetProperties() const { return properties; }
  const std::vector<std::unique_ptr<CTileLayer>>& GetTileLayers() const { return tileLayers; }
  const std::vector<std::unique_ptr<CObjectLayer>>& GetObjectLayers() const { return objectLayers; }
  const std::vector<std::unique_ptr<CTileset>>& GetTilesets() const { return tilesets; }
  CObjectLayer& GetDynamicObjects() { return dynamicObjects; }
  CCamera* GetCamera() const { return camera; }
  // The level's own random sequence, started over with every load.
  CRandom& GetRandom() { return random; }
  // The "Traps" layer, or null.
  CObjectLayer* GetTraps() const { return traps; }

  // Name (file name without ".tmx") and directory (up to its last '/') of
  // a map path.
  static void SplitMapPath(const std::string& mapPath, std::string& name, std::string& directory);

private:
  void Clear();

  std::string name;
  std::string directory;
  std::vector<std::unique_ptr<CTileLayer>> tileLayers;
  std::vector<std::unique_ptr<CObjectLayer>> objectLayers;
  std::vector<std::unique_ptr<CTileset>> tilesets;
  std::map<std::string, std::string> properties;
  CObjectLayer dynamicObjects;
  CObjectLayer* background = nullptr;
  CObjectLayer* detailsBack = nullptr;
  CObjectLayer* traps = nullptr;
  CObjectLayer* sockets = nullptr;
  CObjectLayer* detailsFront = nullptr;
  CObjectLayer* detailsFrontCharacter = nullptr;
  CTileLayer* backPlane = nullptr;
  CTileLayer* runPlane = nullptr;
  int collisionLayerIndex = 0;
  float widthPixels = 0.0f;
  float heightPixels = 0.0f;
  CCamera* camera = nullptr;
  CRandom random;
};
