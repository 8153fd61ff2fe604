// Orbiting shuriken: the orbit, travel along another object's polyline back
// and forth or in a loop, paths and vertices a map gets wrong, resting and
// killing while off, and the hum's life (kept while the trap owns it, also
// when it cannot play; none in the ghost's level).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Camera.h"
#include "audio/AudioManager.h"
#include "audio/Sound.h"
#include "graphics/Sprite.h"
#include "graphics/TextureManager.h"
#include "level/Level.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/GameData.h"
#include "tests/support/TestMaps.h"
#include "traps/OrbitalTrap.h"

namespace fs = std::filesystem;

namespace {

constexpr float kStep = 1.0f / 120;
const std::vector<std::string> kOpen(20, std::string(20, '.'));

class OrbitalTest : public ::testing::Test {
protected:
  std::unique_ptr<CLevel> Load(const std::string& objects, CCamera* view) {
    std::ofstream("orbital.tmx") << GridMap(kOpen, objects);
    auto level = std::make_unique<CLevel>(view);
    EXPECT_TRUE(level->Load("orbital.tmx"));
    return level;
  }

  CGameDataDirectory data;
  CTextureManager textures;
  CCamera camera;
};

}  // namespace

TEST_F(OrbitalTest, OrbitsAndTravelsItsPath) {
  // An L of three points from (256, 256): 120 right, then 120 down; at 120
  // pixels per second each leg takes a second.
  const std::string paths = PolylineObject("ell", 256, 256, {{0, 0}, {120, 0}, {120, 120}}) +
                            PolylineObject("dot", 512, 512, {{8, 8}}) +
                            PolylineObject("bare", 768, 768, {});
  const struct {
    const char* what;
    std::map<std::string, std::string> properties;
    std::vector<int> vertices;  // the first ones reached
    float startX, startY;       // the centre after the first step
  } cases[] = {
      {"back and forth", {{"path", "ell"}, {"poly_speed", "120"}}, {1, 2, 1, 0, 1}, 257, 256},
      {"in a loop",
       {{"path", "ell"}, {"poly_speed", "120"}, {"loop", "1"}},
       {1, 2, 0, 1},
       257,
       256},
      {"starting backwards",
       {{"path", "ell"}, {"poly_speed", "-120"}, {"vertex", "1"}},
       {0, 1, 2, 1},
       375,
       256},
      {"standing still", {{"path", "ell"}, {"vertex", "2"}}, {}, 376, 376},
      {"a vertex past the end",
       {{"path", "ell"}, {"poly_speed", "120"}, {"vertex", "7"}},
       {1, 2},
       257,
       256},
      {"a negative vertex",
       {{"path", "ell"}, {"poly_speed", "120"}, {"vertex", "-3"}},
       {1, 2},
       257,
       256},
      {"a path of one point", {{"path", "dot"}, {"poly_speed", "120"}}, {}, 520, 520},
      {"a path without points", {{"path", "bare"}, {"poly_speed", "120"}}, {}, 100, 100},
      {"a path that is not there", {{"path", "none"}, {"poly_speed", "120"}}, {}, 100, 100},
  };
  const std::string log = data.Home() + "/log.txt";
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    auto properties = c.properties;
    properties["active"] = "1";
    const std::size_t before = ReadWholeFile(log).size();
    auto level =
        Load(paths + MapObject("star", "trap_orbital", 100, 100, 32, 32, properties), &camera);
    auto* trap = dynamic_cast<COrbitalTrap*>(level->FindObject("star"));
    ASSERT_NE(trap, nullptr);
    const bool missing = c.startX == 100;
    EXPECT_EQ(ReadWholeFile(log).substr(before).find("trap_orbital \"star\": \"path\"") !=
                  std::string::npos,
              missing)
        << "a path that gives no point is reported";
    level->Update(kStep, true);
    EXPECT_NEAR(trap->centreX, c.startX, 0.01);
    EXPECT_NEAR(trap->centreY, c.startY, 0.01);
    std::vector<int> reached;
    bool diagonal = false;
    for (int step = 0; step < 720; ++step) {
      const int vertex = trap->vertex;
      level->Update(kStep, true);
      if (trap->vertex != vertex) reached.push_back(trap->vertex);
      if (!trap->Travels()) continue;
      // With radius 0 the shuriken is always on its path: on the L, or on
      // the loop's way back from the last point to the first.
      const float dx = trap->centreX - 256, dy = trap->centreY - 256;
      const bool onLeg = (std::fabs(dy) < 0.01f && dx > -1.01f && dx < 121.01f) ||
                         (std::fabs(dx - 120) < 1.01f && dy > -1.01f && dy < 121.01f);
      const bool onWayBack = trap->loop && std::fabs(dx - dy) < 1.5f && dx > -1 && dx < 121;
      ASSERT_TRUE(onLeg || onWayBack) << trap->centreX << ", " << trap->centreY;
      diagonal = diagonal || (onWayBack && !onLeg);
    }
    if (c.vertices.empty()) {
      EXPECT_TRUE(reached.empty());
      EXPECT_NEAR(trap->centreX, c.startX, 0.01) << "no travel";
      EXPECT_NEAR(trap->centreY, c.startY, 0.01);
    } else {
      ASSERT_GE(reached.size(), c.vertices.size());
      reached.resize(c.vertices.size());
      EXPECT_EQ(reached, c.vertices);
    }
    EXPECT_EQ(diagonal, trap->loop) << "a loop runs straight from the last point to the first";
    // A respawn starts the travel over.
    level->Reset("");
    level->Update(kStep, true);
    EXPECT_NEAR(trap->centreX, c.startX, 0.01);
    EXPECT_NEAR(trap->centreY, c.startY, 0.01);
  }
}

TEST_F(OrbitalTest, CirclesItsCentreAndKillsAlsoWhileOff) {
  auto level = Load(MapObject("star", "trap_orbital", 640, 640, 32, 32,
                              {{"radius", "100"},
                               {"rotation_speed", "90"},
                               {"rotation", "30"},
                               {"spin_speed", "-400"}}),
                    &camera);
  auto* trap = dynamic_cast<COrbitalTrap*>(level->FindObject("star"));
  ASSERT_NE(trap, nullptr);
  // Off: resting on its position, spinning, deadly there.
  for (int i = 0; i < 120; ++i) level->Update(kStep, true);
  EXPECT_FLOAT_EQ(trap->centreX, 640);
  EXPECT_FLOAT_EQ(trap->centreY, 640);
  EXPECT_NEAR(trap->GetSprite()->GetRotation(), -40, 0.01) << "-400 a second, wrapped";
  // The box of the 96-pixel picture (21 to 75 of it) around the centre.
  EXPECT_FLOAT_EQ(trap->hitBox.top, 640 - 48 + 21);
  EXPECT_FLOAT_EQ(trap->hitBox.right, 640 - 48 + 75);
  EXPECT_TRUE(
      level->CollideWithType(CHitBox(630, 650, 630, 650), "trap_orbital", 0, nullptr, true));

  // A trigger with "delay" 0.5: still for half a second, then a quarter
  // turn a second from 30 degrees.
  trap->delay = 0.5f;
  trap->SetActive(true);
  for (int i = 0; i < 60; ++i) level->Update(kStep, true);
  EXPECT_FLOAT_EQ(trap->centreX, 640) << "waiting";
  for (int i = 0; i < 120; ++i) level->Update(kStep, true);
  EXPECT_NEAR(trap->angle, 120, 0.76) << "within a step";
  const double radians = trap->angle * 3.14159265 / 180;
  EXPECT_NEAR(trap->centreX, 640 + 100 * std::cos(radians), 0.01);
  EXPECT_NEAR(trap->centreY, 640 + 100 * std::sin(radians), 0.01);
  const float angle = trap->angle;
  for (int i = 0; i < 480; ++i) level->Update(kStep, true);
  EXPECT_NEAR(trap->angle, angle, 0.05) << "a whole turn on, kept within one turn";

  level->Reset("");
  EXPECT_FALSE(trap->active);
  EXPECT_FLOAT_EQ(trap->angle, 30);
  EXPECT_FLOAT_EQ(trap->centreX, 640);
}

TEST_F(OrbitalTest, TheHumLivesAsLongAsTheTrapAndNotInTheGhostLevel) {
  for (const bool withWav : {true, false}) {
    SCOPED_TRACE(withWav ? "with its sound file" : "without it");
    if (!withWav) {
      // A sound that cannot play ends at once; the manager deletes such
      // sounds unless they are kept.
      fs::remove("Audio");
      fs::create_directories("Audio/sfx");
    }
    // A manager of its own: it remembers which files failed to load.
    CAudioManager audio(true);
    auto level = Load(MapObject("star", "trap_orbital", 100, 100, 32, 32), &camera);
    auto* trap = dynamic_cast<COrbitalTrap*>(level->FindObject("star"));
    ASSERT_NE(trap->sound, nullptr);
    ASSERT_EQ(audio.GetSounds().size(), 1u);
    EXPECT_EQ(audio.GetSounds()[0], trap->sound);
    EXPECT_EQ(trap->sound->fileName, "Audio/sfx/sfx_shuriken.wav");
    EXPECT_TRUE(trap->sound->looping);
    for (int frame = 0; frame < 30; ++frame) {
      level->Update(kStep, true);
      // The trap 1280 pixels from the screen's middle, then 640.
      trap->Draw(640 - 100 + (frame % 2 ? 640 : 1280), 512 - 100);
      EXPECT_EQ(trap->audible, frame % 2 == 1);
      audio.Update();
      ASSERT_EQ(audio.GetSounds().size(), 1u) << "kept while the trap holds it";
    }
    if (withWav) {
      EXPECT_FLOAT_EQ(trap->sound->volume, 0.5f);
    }
    level.reset();
    EXPECT_TRUE(audio.GetSounds().empty()) << "stopped and released with the trap";

    // The replay ghost's level has no camera and hums not at all.
    auto ghost = Load(MapObject("star", "trap_orbital", 100, 100, 32, 32), nullptr);
    EXPECT_EQ(dynamic_cast<COrbitalTrap*>(ghost->FindObject("star"))->sound, nullptr);
    EXPECT_TRUE(audio.GetSounds().empty());
  }
}
