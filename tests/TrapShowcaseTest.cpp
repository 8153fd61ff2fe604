// The trap showcase map (tests/levels): it loads without a report,
// holds every checkpoint, scroll, trap, picture and launcher in each
// direction and look with its wiring, behaves as laid out, its preview shows
// the traps, and the hero dies on every one that kills.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "app/Camera.h"
#include "graphics/Sprite.h"
#include "graphics/TextureManager.h"
#include "level/Level.h"
#include "objects/Checkpoint.h"
#include "objects/DynamicFireworks.h"
#include "objects/Fireworks.h"
#include "objects/PictureObject.h"
#include "objects/Scroll.h"
#include "objects/Trigger.h"
#include "platform/DecodedImage.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/GameData.h"
#include "tests/support/GameDirectory.h"
#include "tests/support/TestGame.h"
#include "traps/ArrowTrap.h"
#include "traps/BambooTrap.h"
#include "traps/DynamicArrow.h"
#include "traps/OrbitalTrap.h"
#include "traps/SpearTrap.h"
#include "traps/StomperTrap.h"
#include "traps/TrapDoor.h"

namespace {

constexpr float kStep = 1.0f / 120;
const std::string kShowcase = "Trap Showcase.tmx";

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
  const std::string showcase = PlaceTestLevel(".", kShowcase);
  ASSERT_FALSE(showcase.empty());
  CLevel level(showcase, &camera);
  ASSERT_NE(level.GetTraps(), nullptr);
  ASSERT_NE(level.GetCollisionLayer(), nullptr);
  EXPECT_EQ(ReadWholeFile(log).substr(before), "") << "no error or warning while loading";

  const std::set<std::string> dirs{"up", "down", "left", "right"};
  std::set<std::string> spears, stompers, doorDirs, doorAttaches, doorLooks, targets;
  std::set<std::string> checkpoints, bamboo, arrows, shuriken;
  std::set<CMovableObject*> waiting;  // traps that only a trigger starts
  std::set<CMovableObject*> waitingOthers;
  int scrolls = 0, pictures = 0, launchers = 0;
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
    } else if (dynamic_cast<CBambooTrap*>(object)) {
      const std::string look = Property(*object, "type");
      const bool corner = look == "cin" || look == "cout";
      bamboo.insert(look + " " + Property(*object, corner ? "cdir" : "dir"));
    } else if (auto* arrow = dynamic_cast<CArrowTrap*>(object)) {
      arrows.insert(Property(*arrow, "dir"));
      if (!arrow->active) waitingOthers.insert(arrow);
    } else if (auto* star = dynamic_cast<COrbitalTrap*>(object)) {
      // Each look, circling a point, travelling a path and round a loop.
      shuriken.insert(Property(*star, "type"));
      shuriken.insert(!star->Travels() ? "circling" : star->loop ? "looping" : "travelling");
      if (!star->active) waitingOthers.insert(star);
    } else if (auto* picture = dynamic_cast<CPictureObject*>(object)) {
      ++pictures;
      EXPECT_NE(picture->GetSprite()->GetTexture(), nullptr);
      waitingOthers.insert(picture);
    } else if (auto* launcher = dynamic_cast<CFireworks*>(object)) {
      ++launchers;
      if (!launcher->active) waitingOthers.insert(launcher);
    }
  }
  std::set<std::string> allBamboo{"large up"};
  for (const char* look : {"l", "m", "r"})
    for (const char* dir : {"up", "down"}) allBamboo.insert(std::string(look) + " " + dir);
  for (const char* dir : {"left", "right"}) allBamboo.insert(std::string("m ") + dir);
  for (const char* end : {"l", "r"})
    for (const char* dir : {"left", "right"}) allBamboo.insert(std::string(end) + " " + dir);
  for (const char* look : {"cin", "cout"})
    for (const char* corner : {"tl", "tr", "bl", "br"})
      allBamboo.insert(std::string(look) + " " + corner);
  EXPECT_EQ(bamboo, allBamboo);
  EXPECT_EQ(arrows, dirs);
  EXPECT_EQ(shuriken,
            (std::set<std::string>{"", "grey", "white", "circling", "travelling", "looping"}));
  EXPECT_EQ(pictures, 1);
  EXPECT_EQ(launchers, 2);
  EXPECT_EQ(waitingOthers.size(), 4u) << "an arrow trap, a shuriken, the picture, a launcher";
  for (CMovableObject* object : waitingOthers)
    EXPECT_EQ(targets.count(object->name), 1u) << object->name << " has a trigger";
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

  // Arrows and rockets are in the air; the shuriken have left their places.
  std::set<std::string> flying;
  for (const auto& owned : level.GetDynamicObjects().Objects()) flying.insert(owned->type);
  EXPECT_EQ(flying, (std::set<std::string>{"dynamic_arrow", "dynamic_firework"}));
  for (const auto& owned : level.GetTraps()->Objects()) {
    if (auto* star = dynamic_cast<COrbitalTrap*>(owned.get()); star && star->active) {
      EXPECT_NE(star->centreX, star->x) << star->name;
    }
  }

  // Walking through every trigger sets off what it is wired to; the gates
  // fall into a bridge across their pit. (Not the ghost's level, which
  // hides pictures.)
  for (const auto& owned : level.GetTraps()->Objects()) {
    if (auto* trigger = dynamic_cast<CTrigger*>(owned.get())) {
      EXPECT_TRUE(trigger->Collide(trigger->hitBox, 0, nullptr));
    }
  }
  for (int i = 0; i < 120 * 5; ++i) level.Update(kStep, false);
  for (CMovableObject* object : waitingOthers) EXPECT_TRUE(object->active) << object->name;
  for (const auto& owned : level.GetTraps()->Objects()) {
    if (auto* picture = dynamic_cast<CPictureObject*>(owned.get())) {
      EXPECT_EQ(picture->alpha, 1.0f) << "shown while its trigger is touched";
    }
  }
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
  const std::string dir = MakeGameDirectory("showcase");
  ASSERT_FALSE(dir.empty());
  const std::string showcase = PlaceTestLevel(dir, kShowcase);
  ASSERT_FALSE(showcase.empty());
  auto shot = [&](const std::vector<std::string>& options, const std::string& out) {
    std::vector<std::string> argv{KUROSHIN_MAPSHOT, showcase, out, "0.25"};
    argv.insert(argv.end(), options.begin(), options.end());
    ChildOptions child;
    child.directory = dir;
    child.environment = {"SDL_VIDEODRIVER=dummy"};
    child.timeoutSeconds = 110;
    ChildResult run = RunChild(argv, child);
    EXPECT_TRUE(run.exited && run.exitCode == 0) << run.out << run.err;
    EXPECT_EQ(run.out.find("Warning"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("Error"), std::string::npos) << run.out;
    return CDecodedImage::Load(dir + "/" + out);
  };
  auto start = shot({}, "start.png");
  auto later = shot({"--time=2", "--boxes"}, "later.png");
  auto touched = shot({"--time=1", "--triggers"}, "touched.png");
  ASSERT_TRUE(start && later && touched);
  ASSERT_EQ(later->Width(), 228 * 64 / 4);
  const unsigned sky = 0x7a4a6a;
  // The floor spear's shaft (x 922 to 934, up to 196 pixels over the ground
  // at y 1024) shows only once it has come out.
  EXPECT_EQ(start->Pixel(232, 240) & 0xffffff, sky);
  EXPECT_NE(later->Pixel(232, 240) & 0xffffff, sky);
  // The jump hint (320 x 256 around x 640, y 704) shows while its trigger
  // is touched.
  EXPECT_EQ(later->Pixel(560 / 4, 640 / 4) & 0xffffff, sky);
  EXPECT_NE(touched->Pixel(560 / 4, 640 / 4) & 0xffffff, sky);
  // The large bamboo piece (x 7936, standing on the ground at y 1024) shows
  // from the start.
  EXPECT_NE(start->Pixel(7968 / 4, 1000 / 4) & 0xffffff, sky);
  // The outline of the trigger before the waiting spear (x 2048, y 832 to
  // 1024) is yellow.
  int yellow = 0;
  for (int x = 510; x <= 515; ++x) {
    const unsigned p = later->Pixel(x, 230);
    if (((p >> 16) & 0xff) > 200 && ((p >> 8) & 0xff) > 150 && (p & 0xff) < 120) ++yellow;
  }
  EXPECT_GT(yellow, 0);
}

TEST(TrapShowcase, TheHeroDiesOnEveryObjectThatKills) {
  PrepareTestGame();
  const std::string showcase = PlaceTestLevel(".", kShowcase);
  ASSERT_FALSE(showcase.empty());
  PlayerWorld world(false, showcase);
  ASSERT_TRUE(world.initialised);
  PlayerState& s = world.State();
  auto live = [](const CHitBox& box) {
    return box.right > box.left && box.bottom > box.top && box.right != 0.0f;
  };
  std::map<std::string, int> deaths;
  for (const auto& owned : world.level->GetTraps()->Objects()) {
    CMovableObject* trap = owned.get();
    const bool shoots = dynamic_cast<CArrowTrap*>(trap) != nullptr;
    if (!shoots && trap->type != "trap_spear" && trap->type != "trap_bamboo" &&
        trap->type != "trap_orbital")
      continue;
    SCOPED_TRACE(trap->name);
    ASSERT_GE(world.StepUntil([&] { return !s.dead && !s.respawning; }, 600), 0);
    // What its trigger would do for the traps that wait for one.
    trap->SetActive(true);
    // The box that kills: the trap's own, or that of its arrow nearest to it.
    const CMovableObject* killer = nullptr;
    const int waited = world.StepUntil(
        [&] {
          killer = nullptr;
          if (!shoots) {
            if (live(trap->hitBox)) killer = trap;
          } else {
            float nearest = 1e9f;
            for (const auto& flying : world.level->GetDynamicObjects().Objects()) {
              if (!dynamic_cast<CDynamicArrow*>(flying.get())) continue;
              const float d = std::abs(flying->x - trap->x) + std::abs(flying->y - trap->y);
              if (d < nearest && d < 400) nearest = d, killer = flying.get();
            }
          }
          return killer != nullptr;
        },
        600);
    ASSERT_GE(waited, 0) << "it reaches out";
    // The hero's body (its side boxes) across the middle of that box.
    const CHitBox box = killer->hitBox;
    s.position = {(box.left + box.right) / 2, (box.top + box.bottom) / 2 + 55};
    s.velocity = {};
    world.Step();
    EXPECT_TRUE(s.dead) << killer->type << " at " << box.left << ", " << box.top;
    deaths[killer->type] += s.dead;
  }
  // Every spear, bamboo piece and shuriken, and an arrow of each trap.
  EXPECT_EQ(
      deaths,
      (std::map<std::string, int>{
          {"trap_spear", 5}, {"trap_bamboo", 35}, {"trap_orbital", 4}, {"dynamic_arrow", 4}}));
}
