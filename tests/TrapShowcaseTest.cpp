// The trap showcase map (data/Levels/Workshop): it loads without a report,
// holds every checkpoint, scroll and trap in each direction and look with
// its wiring, behaves as laid out, and its preview shows the traps.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "app/Camera.h"
#include "graphics/TextureManager.h"
#include "level/Level.h"
#include "objects/Checkpoint.h"
#include "objects/Scroll.h"
#include "objects/Trigger.h"
#include "platform/DecodedImage.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/GameData.h"
#include "traps/SpearTrap.h"
#include "traps/StomperTrap.h"
#include "traps/TrapDoor.h"

namespace {

constexpr float kStep = 1.0f / 120;
const std::string kShowcase =
    std::string(KUROSHIN_SOURCE_DIR) + "/data/Levels/Workshop/Trap Showcase.tmx";

std::string Property(const CMovableObject& object, const std::string& key) {
  const auto found = object.properties.find(key);
  return found == object.properties.end() ? "" : found->second;
}

}  // namespace

TEST(TrapShowcase, EveryObjectInEveryDirectionAndLook) {
  CGameDataDirectory data;
  CTextureManager textures;
  CCamera camera;
  const std::string log = data.Home() + "/log.txt";
  const std::size_t before = ReadWholeFile(log).size();
  CLevel level(kShowcase, &camera);
  ASSERT_NE(level.GetTraps(), nullptr);
  ASSERT_NE(level.GetCollisionLayer(), nullptr);
  EXPECT_EQ(ReadWholeFile(log).substr(before), "") << "no error or warning while loading";

  const std::set<std::string> dirs{"up", "down", "left", "right"};
  std::set<std::string> spears, stompers, doorDirs, doorAttaches, doorLooks, targets;
  std::set<std::string> checkpoints;
  std::set<CMovableObject*> waiting;  // traps that only a trigger starts
  int scrolls = 0;
  for (const auto& owned : level.GetTraps()->Objects()) {
    CMovableObject* object = owned.get();
    SCOPED_TRACE(object->name);
    if (auto* spear = dynamic_cast<CSpearTrap*>(object)) {
      spears.insert(Property(*spear, "dir"));
      if (!spear->active) waiting.insert(spear);
    } else if (auto* stomper = dynamic_cast<CStomperTrap*>(object)) {
      stompers.insert(Property(*stomper, "dir") + " " + Property(*stomper, "type"));
      if (!stomper->active) waiting.insert(stomper);
    } else if (dynamic_cast<CTrapDoor*>(object)) {
      doorDirs.insert(Property(*object, "dir"));
      doorAttaches.insert(Property(*object, "attach"));
      doorLooks.insert(Property(*object, "type"));
    } else if (auto* checkpoint = dynamic_cast<CCheckpoint*>(object)) {
      checkpoints.insert(checkpoint->active ? "lit" : "unlit");
    } else if (dynamic_cast<CScroll*>(object)) {
      ++scrolls;
      EXPECT_EQ(object->name, "scroll") << "only a scroll of that name is kept";
    } else if (auto* trigger = dynamic_cast<CTrigger*>(object)) {
      ASSERT_NE(trigger->target, nullptr) << "wired";
      targets.insert(trigger->target->name);
    }
  }
  EXPECT_EQ(spears, dirs);
  std::set<std::string> allStompers;
  for (const std::string& dir : dirs)
    for (const char* look : {"l", "m", "r"}) allStompers.insert(dir + " " + look);
  EXPECT_EQ(stompers, allStompers);
  EXPECT_EQ(doorDirs, dirs);
  EXPECT_EQ(doorAttaches, dirs);
  EXPECT_EQ(doorLooks, (std::set<std::string>{"grass", "stone", "wood", "woodstone"}));
  EXPECT_EQ(checkpoints, (std::set<std::string>{"lit", "unlit"}));
  EXPECT_EQ(scrolls, 1);
  ASSERT_EQ(waiting.size(), 2u) << "one spear and one stomper wait for a trigger";
  for (CMovableObject* trap : waiting) EXPECT_EQ(targets.count(trap->name), 1u) << trap->name;
  for (const auto& owned : level.GetTraps()->Objects()) {
    if (dynamic_cast<CTrapDoor*>(owned.get())) {
      EXPECT_EQ(targets.count(owned->name), 1u) << owned->name << " has a trigger";
    }
  }

  // Two seconds in, as the preview shows it: every running trap is out, and
  // the ram facing the pillar has hit it.
  for (int i = 0; i < 240; ++i) level.Update(kStep, true);
  for (const auto& owned : level.GetTraps()->Objects()) {
    auto* trap = dynamic_cast<CExtendingTrap*>(owned.get());
    if (!trap) continue;
    SCOPED_TRACE(trap->name);
    EXPECT_EQ(trap->Extension() > 0, !waiting.count(trap));
    if (auto* stomper = dynamic_cast<CStomperTrap*>(trap)) {
      const bool ram = trap->name.rfind("plateau ram right", 0) == 0;
      EXPECT_EQ(stomper->slammed, ram) << "only where the level stops it";
      if (ram) {
        EXPECT_EQ(trap->Extension(), 128);
      }
    }
  }

  // Walking through every trigger sets off what it is wired to; the gates
  // fall into a bridge across their pit.
  for (const auto& owned : level.GetTraps()->Objects()) {
    if (auto* trigger = dynamic_cast<CTrigger*>(owned.get())) {
      EXPECT_TRUE(trigger->Collide(trigger->hitBox, 0, nullptr));
    }
  }
  for (int i = 0; i < 120 * 5; ++i) level.Update(kStep, true);
  for (CMovableObject* trap : waiting)
    EXPECT_GT(static_cast<CExtendingTrap*>(trap)->Extension(), 0) << trap->name;
  for (const auto& owned : level.GetTraps()->Objects()) {
    auto* door = dynamic_cast<CTrapDoor*>(owned.get());
    if (!door) continue;
    SCOPED_TRACE(door->name);
    EXPECT_TRUE(door->atRest);
    if (Property(*door, "car") == "1") {
      // Lying across the pit, its top 4 pixels under the ground's.
      EXPECT_FLOAT_EQ(door->hitBox.top, 16 * 64 + 4);
      EXPECT_FLOAT_EQ(door->hitBox.right - door->hitBox.left, 128);
    } else {
      EXPECT_EQ(door->hitBox.right, 0.0f) << "gone from under the player's feet";
    }
  }
}

TEST(TrapShowcase, ThePreviewShowsTheTraps) {
  auto shot = [](const std::vector<std::string>& options, const std::string& out) {
    std::vector<std::string> argv{KUROSHIN_MAPSHOT, kShowcase, out, "0.25"};
    argv.insert(argv.end(), options.begin(), options.end());
    ChildOptions child;
    child.environment = {"SDL_VIDEODRIVER=dummy"};
    child.timeoutSeconds = 110;
    ChildResult run = RunChild(argv, child);
    EXPECT_TRUE(run.exited && run.exitCode == 0) << run.out << run.err;
    EXPECT_EQ(run.out.find("Warning"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("Error"), std::string::npos) << run.out;
    return CDecodedImage::Load(out);
  };
  auto start = shot({}, "start.png");
  auto later = shot({"--time=2", "--boxes"}, "later.png");
  ASSERT_TRUE(start && later);
  ASSERT_EQ(later->Width(), 9600 / 4);
  const unsigned sky = 0x7a4a6a;
  // The floor spear's shaft (x 922 to 934, up to 196 pixels over the ground
  // at y 1024) shows only once it has come out.
  EXPECT_EQ(start->Pixel(232, 240) & 0xffffff, sky);
  EXPECT_NE(later->Pixel(232, 240) & 0xffffff, sky);
  // The outline of the trigger before the waiting spear (x 2048, y 832 to
  // 1024) is yellow.
  int yellow = 0;
  for (int x = 510; x <= 515; ++x) {
    const unsigned p = later->Pixel(x, 230);
    if (((p >> 16) & 0xff) > 200 && ((p >> 8) & 0xff) > 150 && (p & 0xff) < 120) ++yellow;
  }
  EXPECT_GT(yellow, 0);
}
