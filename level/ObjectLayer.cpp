#include "level/ObjectLayer.h"

#include "objects/MovableObject.h"

CObjectLayer::CObjectLayer(const std::string& layerName) : name(layerName) {}

CObjectLayer::~CObjectLayer() = default;

CMovableObject* CObjectLayer::Add(std::unique_ptr<CMovableObject> object) {
  objects.push_back(std::move(object));
  return objects.back().get();
}

CMovableObject* CObjectLayer::FindObject(const std::string& objectName) const {
  for (const auto& object : objects)
    if (object->name == objectName) return object.get();
  return nullptr;
}

bool CObjectLayer::CollideWithType(const CHitBox& box, const std::string& objectType, int mode,
                                   float* depth, bool stopAtFirst,
                                   const CMovableObject* skip) const {
  bool hit = false;
  // By index: a collision may make an object spawn into this layer.
  for (std::size_t i = 0; i < objects.size(); ++i) {
    CMovableObject& object = *objects[i];
    if (&object == skip || object.type != objectType || !object.Collide(box, mode, depth)) continue;
    if (stopAtFirst) return true;
    hit = true;
  }
  return hit;
}

CMovableObject* CObjectLayer::FindCollidingObject(const CHitBox& box, const std::string& objectType,
                                                  float* depth, const CMovableObject* skip) const {
  for (std::size_t i = 0; i < objects.size(); ++i) {
    CMovableObject& object = *objects[i];
    if (&object != skip && object.type == objectType && object.Collide(box, 0, depth))
      return &object;
  }
  return nullptr;
}

void CObjectLayer::ResetExcept(const std::string& exceptType) {
  for (std::size_t i = 0; i < objects.size(); ++i)
    if (exceptType.empty() || objects[i]->type != exceptType) objects[i]->Reset();
}

void CObjectLayer::Update(float seconds, bool silent) {
  // By index, not iterator: an update may append to this very vector.
  for (std::size_t i = 0; i < objects.size();) {
    if (objects[i]->Update(seconds, silent)) {
      ++i;
    } else {
      objects.erase(objects.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
}

void CObjectLayer::Draw(int x, int y) const {
  for (const auto& object : objects) object->Draw(x, y);
}

void CObjectLayer::Clear() { objects.clear(); }
