#include "level/Level.h"

#include <cmath>
#include <filesystem>

#include "app/Camera.h"
#include "app/Log.h"
#include "level/ObjectTypes.h"
#include "level/Tile.h"
#include "level/TileLayer.h"
#include "level/Tileset.h"
#include "level/tmx/TmxMap.h"
#include "objects/MovableObject.h"
#include "objects/Trigger.h"

namespace {

constexpr float kHalfScreenWidth = 640.0f;
constexpr float kHalfScreenHeight = 512.0f;

// Truncation toward zero that stays defined for values beyond int (and NaN,
// which gives 0).
int TruncateToInt(double value) {
  if (!(value == value)) return 0;
  if (value >= 2147483647.0) return 2147483647;
  if (value <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(value);
}

// The tileset holding a global tile id (the greatest first id not above
// it) and the id's index in it; null when none covers it.
const CTileset* TilesetFor(const std::vector<std::unique_ptr<CTileset>>& tilesets,
                           const std::vector<int>& firstGids, std::uint32_t gid, int& index) {
  const CTileset* found = nullptr;
  std::uint32_t first = 0;
  for (std::size_t i = 0; i < tilesets.size(); ++i) {
    const auto candidate = static_cast<std::uint32_t>(firstGids[i]);
    if (candidate <= gid && (!found || candidate >= first)) {
      found = tilesets[i].get();
      first = candidate;
    }
  }
  if (found) index = static_cast<int>(gid - first);
  return found;
}

}  // namespace

CLevel::CLevel(CCamera* view) : camera(view) {}

CLevel::CLevel(const std::string& mapPath, CCamera* view) : camera(view) { Load(mapPath); }

CLevel::~CLevel() { Clear(); }

void CLevel::Clear() {
  // Objects may point at tiles, so they go before the tilesets.
  dynamicObjects.Clear();
  objectLayers.clear();
  tileLayers.clear();
  tilesets.clear();
  properties.clear();
  background = detailsBack = traps = sockets = detailsFront = detailsFrontCharacter = nullptr;
  backPlane = runPlane = nullptr;
  collisionLayerIndex = 0;
  widthPixels = heightPixels = 0.0f;
}

void CLevel::SplitMapPath(const std::string& mapPath, std::string& mapName,
                          std::string& mapDirectory) {
  const std::size_t slash = mapPath.rfind('/');
  const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
  const std::size_t extension = mapPath.rfind(".tmx");
  // A ".tmx" inside a directory name is no extension: the name runs on.
  const std::size_t end =
      extension == std::string::npos || extension < start ? mapPath.size() : extension;
  mapName = mapPath.substr(start, end - start);
  mapDirectory = mapPath.substr(0, start);
}

bool CLevel::Load(const std::string& mapPath) {
  Clear();
  random.Seed(1);
  SplitMapPath(mapPath, name, directory);

  Tmx::Map map;
  map.ParseFile(mapPath);
  if (map.HasError()) {
    LogError("error code: " + std::to_string(map.GetErrorCode()) + "\n" + map.GetErrorText());
    return false;
  }
  properties = map.GetProperties().GetList();

  std::vector<int> firstGids;
  for (const Tmx::Tileset& source : map.GetTilesets()) {
    // "Levels/A/../../Graphics/x.png" and "Graphics/x.png" are one texture.
    const std::string image =
        std::filesystem::path(source.image.source).lexically_normal().generic_string();
    auto tileset = std::make_unique<CTileset>(source.name, image);
    tileset->tileWidth = source.tileWidth;
    tileset->tileHeight = source.tileHeight;
    tileset->CreateTiles(source.image.width, source.image.height);
    for (const Tmx::Tile& entry : source.tiles) {
      CTile* tile = tileset->GetTile(entry.id);
      if (!tile) continue;
      tile->properties = entry.properties.GetList();
      tile->SetUpCollision();
    }
    firstGids.push_back(source.firstGid);
    tilesets.push_back(std::move(tileset));
  }

  for (const Tmx::TileLayer& source : map.GetTileLayers()) {
    auto layer = std::make_unique<CTileLayer>(source.name, source.width, source.height,
                                              map.GetTileWidth(), map.GetTileHeight());
    layer->properties = source.properties.GetList();
    for (int y = 0; y < layer->height; ++y) {
      for (int x = 0; x < layer->width; ++x) {
        const std::uint32_t gid = source.GetTileGid(x, y);
        if (gid == 0) continue;
        int index = 0;
        const CTileset* tileset = TilesetFor(tilesets, firstGids, gid, index);
        if (tileset) layer->SetCell(x, y, tileset->GetTile(index));
      }
    }
    widthPixels = static_cast<float>(source.width) * static_cast<float>(map.GetTileWidth());
    heightPixels = static_cast<float>(source.height) * static_cast<float>(map.GetTileHeight());
    tileLayers.push_back(std::move(layer));
  }

  for (const Tmx::ObjectGroup& group : map.GetObjectGroups()) {
    objectLayers.push_back(std::make_unique<CObjectLayer>(group.name));
    CObjectLayer& layer = *objectLayers.back();
    for (const Tmx::Object& source : group.objects) {
      CMovableObject& object = *layer.Add(CreateObjectOfType(source.type));
      object.name = source.name;
      object.type = source.type;
      object.level = this;
      object.width = TruncateToInt(source.width);
      object.height = TruncateToInt(source.height);
      object.properties = source.properties.GetList();
      if (source.hasPolyline) object.path = source.polyline;
      if (source.gid != 0) {
        int index = 0;
        const CTileset* tileset = TilesetFor(tilesets, firstGids, source.gid, index);
        if (tileset) object.SetTileImage(tileset->GetTile(index));
      }
      object.SetPosition(source.x, source.y);
    }
  }

  for (const auto& layer : objectLayers)
    for (std::size_t i = 0; i < layer->Objects().size(); ++i) layer->Objects()[i]->Init();

  for (const auto& layer : objectLayers) {
    for (const auto& object : layer->Objects()) {
      auto* trigger = dynamic_cast<CTrigger*>(object.get());
      if (!trigger) continue;
      auto target = trigger->properties.find("target");
      // An empty name would pick whichever unnamed object comes first.
      if (target != trigger->properties.end() && !target->second.empty())
        trigger->target = FindObject(target->second);
    }
  }

  auto collision = properties.find("collision");
  if (collision != properties.end()) {
    for (std::size_t i = 0; i < tileLayers.size(); ++i) {
      if (tileLayers[i]->name == collision->second) {
        collisionLayerIndex = static_cast<int>(i);
        break;
      }
    }
  }

  auto objectLayer = [this](const char* layerName) -> CObjectLayer* {
    for (const auto& layer : objectLayers)
      if (layer->name == layerName) return layer.get();
    return nullptr;
  };
  auto tileLayer = [this](const char* layerName) -> CTileLayer* {
    for (const auto& layer : tileLayers)
      if (layer->name == layerName) return layer.get();
    return nullptr;
  };
  background = objectLayer("Background");
  detailsBack = objectLayer("DetailsBack");
  traps = objectLayer("Traps");
  sockets = objectLayer("Sockets");
  detailsFront = objectLayer("DetailsFront");
  detailsFrontCharacter = objectLayer("DetailsFrontCharacter");
  backPlane = tileLayer("BackPlane");
  runPlane = tileLayer("RunPlane");
  return true;
}

void CLevel::Update(float seconds, bool silent) {
  for (const auto& layer : objectLayers) layer->Update(seconds, silent);
  dynamicObjects.Update(seconds, silent);
}

void CLevel::Draw(const CCamera* view, bool front) const {
  int ox = 0;
  int oy = 0;
  if (view) {
    ox = TruncateToInt(kHalfScreenWidth - (view->x + view->offsetX));
    oy = TruncateToInt(kHalfScreenHeight - (view->y + view->offsetY));
  }
  if (front) {
    if (detailsFrontCharacter) detailsFrontCharacter->Draw(ox, oy);
    return;
  }
  if (background) background->Draw(ox, oy);
  if (backPlane) backPlane->Draw(ox, oy);
  if (detailsBack) detailsBack->Draw(ox, oy);
  if (traps) traps->Draw(ox, oy);
  if (sockets) sockets->Draw(ox, oy);
  dynamicObjects.Draw(ox, oy);
  if (runPlane) runPlane->Draw(ox, oy);
  if (detailsFront) detailsFront->Draw(ox, oy);
}

void CLevel::Reset(const std::string& exceptType) {
  for (const auto& layer : objectLayers) layer->ResetExcept(exceptType);
  dynamicObjects.ResetExcept(exceptType);
}

bool CLevel::CollideWithType(const CHitBox& box, const std::string& type, int mode, float* depth,
                             bool stopAtFirst, const CMovableObject* skip) const {
  if (traps && traps->CollideWithType(box, type, mode, depth, stopAtFirst, skip)) return true;
  return dynamicObjects.CollideWithType(box, type, mode, depth, stopAtFirst, skip);
}

CMovableObject* CLevel::FindCollidingObject(const CHitBox& box, const std::string& type,
                                            float* depth, const CMovableObject* skip) const {
  if (traps)
    if (CMovableObject* found = traps->FindCollidingObject(box, type, depth, skip)) return found;
  return dynamicObjects.FindCollidingObject(box, type, depth, skip);
}

CMovableObject* CLevel::FindObject(const std::string& objectName) const {
  for (const auto& layer : objectLayers)
    if (CMovableObject* found = layer->FindObject(objectName)) return found;
  return nullptr;
}

CTileLayer* CLevel::GetCollisionLayer() const {
  if (collisionLayerIndex < 0 || static_cast<std::size_t>(collisionLayerIndex) >= tileLayers.size())
    return nullptr;
  return tileLayers[static_cast<std::size_t>(collisionLayerIndex)].get();
}
