// Arrow traps: shots on time in every direction with the arrow's box along
// its flight, "max_shots", the reset and the ghost's silence, where arrows
// end (solid tiles, stomper bodies, trap doors and spear shafts, the level's
// edges, nothing else), and a trap that stays in the level in every state.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Camera.h"
#include "graphics/TextureManager.h"
#include "level/Level.h"
#include "objects/Trigger.h"
#include "tests/support/GameData.h"
#include "tests/support/TestMaps.h"
#include "traps/ArrowTrap.h"
#include "traps/DynamicArrow.h"

namespace {

constexpr float kStep = 1.0f / 120;

// Something in an arrow's way that answers only when asked with `mode`.
class Obstacle : public CMovableObject {
public:
  Obstacle(const std::string& kind, int answersMode, float left, float top) : mode(answersMode) {
    type = kind;
    x = left;
    y = top;
    width = 64;
    height = 640;
  }
  bool Collide(const CHitBox& box, int asked, float* depth) override {
    return asked == mode && CMovableObject::Collide(box, asked, depth);
  }
  int mode;
};

class ArrowTest : public ::testing::Test {
protected:
  std::unique_ptr<CLevel> Load(const std::vector<std::string>& rows, const std::string& objects) {
    std::ofstream("arrows.tmx") << GridMap(rows, objects);
    auto level = std::make_unique<CLevel>(&camera);
    EXPECT_TRUE(level->Load("arrows.tmx"));
    return level;
  }

  static std::vector<CDynamicArrow*> Arrows(CLevel& level) {
    std::vector<CDynamicArrow*> arrows;
    for (const auto& object : level.GetDynamicObjects().Objects())
      if (auto* arrow = dynamic_cast<CDynamicArrow*>(object.get())) arrows.push_back(arrow);
    return arrows;
  }

  CGameDataDirectory data;
  CTextureManager textures;
  CCamera camera;
};

const std::vector<std::string> kOpen(20, std::string(20, '.'));

}  // namespace

TEST_F(ArrowTest, ShootsOnTimeInEveryDirection) {
  // The 64 x 16 picture turned about its middle for up and down; the box
  // (1 to 62 along the arrow, 4 to 12 across) turns with it. Expected: the
  // box one step after the shot, 5 pixels from the trap at (640, 640).
  const struct {
    const char* dir;
    float dx, dy;
    CHitBox box;
  } cases[] = {
      {"left", -1, 0, {644, 652, 636, 697}},
      {"right", 1, 0, {644, 652, 647, 708}},
      {"up", 0, -1, {612, 673, 668, 676}},
      {"down", 0, 1, {623, 684, 668, 676}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dir);
    auto level = Load(kOpen, MapObject("trap", "trap_arrow", 640, 640, 64, 16,
                                       {{"dir", c.dir},
                                        {"active", "1"},
                                        {"interval", "2"},
                                        {"counter", "1"},
                                        {"max_shots", "3"},
                                        {"speed", "600"}}));
    auto* trap = dynamic_cast<CArrowTrap*>(level->FindObject("trap"));
    ASSERT_NE(trap, nullptr);
    // The ghost's level (silent) shoots too, without a sound.
    const bool silent = c.dx < 0;
    std::vector<int> shots;
    CDynamicArrow* first = nullptr;
    for (int step = 1; step <= 1200; ++step) {
      const int before = trap->shotsLeft;
      level->Update(kStep, silent);
      if (trap->shotsLeft < before) shots.push_back(step);
      if (shots.size() == 1 && !first) {
        EXPECT_EQ(trap->shotSoundPending, !silent);
        ASSERT_EQ(Arrows(*level).size(), 1u);
        first = Arrows(*level)[0];
        EXPECT_EQ(first->type, "dynamic_arrow");
        EXPECT_FLOAT_EQ(first->hitBox.top, c.box.top);
        EXPECT_FLOAT_EQ(first->hitBox.bottom, c.box.bottom);
        EXPECT_FLOAT_EQ(first->hitBox.left, c.box.left);
        EXPECT_FLOAT_EQ(first->hitBox.right, c.box.right);
        // Half a second on: 300 pixels further, the box with it.
        for (int i = 0; i < 60; ++i) level->Update(kStep, true);
        step += 60;
        ASSERT_EQ(Arrows(*level).size(), 1u);
        EXPECT_NEAR(first->hitBox.left - c.box.left, 300 * c.dx, 0.01);
        EXPECT_NEAR(first->hitBox.top - c.box.top, 300 * c.dy, 0.01);
      }
    }
    // "counter" 1 of "interval" 2: the first after a second, then every 2.
    ASSERT_EQ(shots.size(), 3u) << "\"max_shots\" 3";
    EXPECT_NEAR(shots[0], 120, 1);
    EXPECT_NEAR(shots[1] - shots[0], 240, 1);
    EXPECT_NEAR(shots[2] - shots[1], 240, 1);
    EXPECT_TRUE(Arrows(*level).empty()) << "all three have left the level";
    EXPECT_EQ(trap->LiveArrows(), 0);

    // A respawn: three shots again, and arrows in flight are gone.
    trap->shotsLeft = 0;
    trap->counter = 0;
    level->GetDynamicObjects().Add(std::make_unique<CDynamicArrow>());
    level->Reset("checkpoint");
    EXPECT_EQ(trap->shotsLeft, 3);
    EXPECT_FLOAT_EQ(trap->counter, 1);
    level->Update(kStep, true);
    EXPECT_TRUE(Arrows(*level).empty());
  }
}

TEST_F(ArrowTest, ArrowsEndAtSolidTilesStompersDoorsAndSpearShaftsOnly) {
  // Shot right along row 5 from x 64; something in the way at x 640. An
  // arrow stopped there never gets past x 640 - 62; one that flies on
  // leaves the level (1280 wide) on the right.
  const struct {
    const char* what;
    bool wall;
    const char* type;
    int mode;
    bool stops;
  } cases[] = {
      {"a solid tile", true, nullptr, 0, true},
      {"a stomper", false, "trap_stomper", 0, true},
      {"a trap door", false, "trap_door", 0, true},
      {"a spear's shaft", false, "trap_spear", 1, true},
      {"a spear's head", false, "trap_spear", 0, false},
      {"bamboo", false, "trap_bamboo", 0, false},
      {"a shuriken", false, "trap_orbital", 0, false},
      {"another arrow trap", false, "trap_arrow", 0, false},
      {"a checkpoint", false, "checkpoint", 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> rows = kOpen;
    if (c.wall) rows[5][10] = '#';
    auto level = Load(
        rows,
        MapObject("trap", "trap_arrow", 64, 5 * 64 + 24, 64, 16,
                  {{"dir", "right"}, {"active", "1"}, {"interval", "100"}, {"counter", "100"}}));
    if (c.type) level->GetDynamicObjects().Add(std::make_unique<Obstacle>(c.type, c.mode, 640, 0));
    float furthest = 0;
    int steps = 0;
    for (; steps < 600; ++steps) {
      level->Update(kStep, true);
      const auto arrows = Arrows(*level);
      if (!arrows.empty()) furthest = std::max(furthest, arrows[0]->x);
      if (furthest > 0 && arrows.empty()) break;
    }
    ASSERT_LT(steps, 600) << "the arrow ended";
    if (c.stops) {
      EXPECT_LT(furthest, 640 - 62);
      EXPECT_GT(furthest, 640 - 70);
    } else {
      EXPECT_GT(furthest, 1270);
    }
  }

  // Out of the level's top-left corner: gone as soon as it moves out.
  auto level = Load(kOpen, MapObject("trap", "trap_arrow", 0, 0, 64, 16, {{"active", "1"}}));
  dynamic_cast<CArrowTrap*>(level->FindObject("trap"))->counter = 200;
  level->Update(kStep, true);
  EXPECT_TRUE(Arrows(*level).empty());
  EXPECT_EQ(level->GetTraps()->Objects().size(), 1u) << "the trap itself stays";
}

TEST_F(ArrowTest, TheTrapStaysInTheLevelInEveryState) {
  // A trigger points at each trap: a trap the level dropped would leave the
  // trigger with a dangling target.
  const struct {
    const char* name;
    std::map<std::string, std::string> properties;
    float delay;
  } cases[] = {
      {"waiting for its trigger", {}, 0},
      {"waiting out its delay", {{"active", "1"}}, 50},
      {"shooting", {{"active", "1"}, {"interval", "0.5"}}, 0},
      {"out of shots", {{"active", "1"}, {"interval", "0.1"}, {"max_shots", "1"}}, 0},
  };
  std::string objects;
  int row = 1;
  for (const auto& c : cases) {
    objects += MapObject(c.name, "trap_arrow", 640, row * 128.0f, 64, 16, c.properties);
    objects += MapObject(std::string("trigger ") + c.name, "trigger", 0, row * 128.0f, 64, 64,
                         {{"target", c.name}});
    ++row;
  }
  auto level = Load(kOpen, objects);
  for (const auto& c : cases) level->FindObject(c.name)->delay = c.delay;
  for (int step = 0; step < 600; ++step) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      ASSERT_TRUE(level->FindObject(c.name)->Update(0.0f, true)) << "answers keep me";
    }
    level->Update(kStep, true);
  }
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CMovableObject* trap = level->FindObject(c.name);
    ASSERT_NE(trap, nullptr);
    auto* trigger = dynamic_cast<CTrigger*>(level->FindObject(std::string("trigger ") + c.name));
    EXPECT_EQ(trigger->target, trap);
    EXPECT_TRUE(trigger->Collide(trigger->hitBox, 0, nullptr));
  }
  EXPECT_EQ(dynamic_cast<CArrowTrap*>(level->FindObject("out of shots"))->shotsLeft, 0);
}
