#pragma once

#include <memory>
#include <string>
#include <vector>

class CHitBox;
class CMovableObject;

// An ordered list of owned level objects; every walk goes in list order.
class CObjectLayer {
public:
  explicit CObjectLayer(const std::string& name = std::string());
  ~CObjectLayer();
  CObjectLayer(const CObjectLayer&) = delete;
  CObjectLayer& operator=(const CObjectLayer&) = delete;

  CMovableObject* Add(std::unique_ptr<CMovableObject> object);
  // The first object with exactly this name, or null.
  CMovableObject* FindObject(const std::string& objectName) const;
  // Asks every object of the type; with `stopAtFirst` the first touch
  // answers, otherwise all are asked (each touch overwriting `depth`).
  // `skip` is never asked: an object looking for others of its own type.
  bool CollideWithType(const CHitBox& box, const std::string& objectType, int mode, float* depth,
                       bool stopAtFirst, const CMovableObject* skip = nullptr) const;
  // The first object of the type that reports a touch (mode 0), or null.
  CMovableObject* FindCollidingObject(const CHitBox& box, const std::string& objectType,
                                      float* depth, const CMovableObject* skip = nullptr) const;
  // Resets every object except those of `exceptType` (empty: none skipped).
  void ResetExcept(const std::string& exceptType);
  // One step for every object. An object that answers false is deleted at
  // once and the one moving into its place is updated next. Objects added
  // during the walk (spawned by an object of this layer) are updated in the
  // same walk.
  void Update(float seconds, bool silent);
  void Draw(int x, int y) const;
  void Clear();

  const std::vector<std::unique_ptr<CMovableObject>>& Objects() const { return objects; }

  std::string name;

private:
  std::vector<std::unique_ptr<CMovableObject>> objects;
};
