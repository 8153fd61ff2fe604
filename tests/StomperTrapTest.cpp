// Stompers in small levels: full travel on a clear path in every direction
// (slow ones too, which start with their head in the wall), stopping at a
// wall and at another stomper, the camera shake, the sounds, and a stomper
// never stopping at itself.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/Camera.h"
#include "audio/AudioManager.h"
#include "audio/Sound.h"
#include "graphics/Sprite.h"
#include "graphics/TextureManager.h"
#include "level/Level.h"
#include "tests/support/GameData.h"
#include "tests/support/TestMaps.h"
#include "traps/StomperTrap.h"

namespace {

constexpr float kStep = 1.0f / 120;

class StomperTest : public ::testing::Test {
protected:
  // A map of ASCII rows; each stomper stands on its letter's tile: L, R, U
  // and D point left, right, up and down.
  std::unique_ptr<CLevel> Load(const std::vector<std::string>& rows,
                               const std::map<std::string, std::string>& settings) {
    std::string traps;
    for (std::size_t y = 0; y < rows.size(); ++y) {
      for (std::size_t x = 0; x < rows[y].size(); ++x) {
        const std::string dirs[] = {"left", "right", "up", "down"};
        const std::size_t kind = std::string("LRUD").find(rows[y][x]);
        if (kind == std::string::npos) continue;
        auto properties = settings;
        properties["dir"] = dirs[kind];
        traps += MapObject(std::string(1, rows[y][x]), "trap_stomper", x * 64.0f, y * 64.0f, 64, 64,
                           properties);
      }
    }
    std::ofstream("stompers.tmx") << GridMap(rows, traps);
    auto level = std::make_unique<CLevel>(&camera);
    EXPECT_TRUE(level->Load("stompers.tmx"));
    return level;
  }

  static CStomperTrap* Stomper(const CLevel& level, const char* name) {
    return dynamic_cast<CStomperTrap*>(level.FindObject(name));
  }

  CGameDataDirectory data;
  CTextureManager textures;
  CCamera camera;
};

// Steps until the stomper leaves phase 1, at most `limit`.
int StepsMovingOut(CLevel& level, const CStomperTrap& stomper, int limit = 2000) {
  int steps = 0;
  while (steps < limit && stomper.phase <= CStomperTrap::kMovingOut) {
    level.Update(kStep, true);
    ++steps;
  }
  return steps;
}

}  // namespace

TEST_F(StomperTest, AClearPathIsTravelledInFullEvenSlowly) {
  // Each stomper's block is hidden in the wall behind its tile; at rest its
  // head lies in that tile, which must not stop it.
  const std::vector<std::vector<std::string>> maps = {
      {"..........", "......L###", ".........."},
      {"..........", "###R......", ".........."},
      {".", ".", ".", ".", ".", "U", "#", "#", "#", "#"},
      {"#", "#", "#", "#", "D", ".", ".", ".", ".", "."},
  };
  for (const char* speed : {"100", "60", "700"}) {
    for (const auto& rows : maps) {
      SCOPED_TRACE(rows[1] + " at " + speed);
      auto level = Load(rows, {{"active", "1"}, {"speed_out", speed}, {"wait_out", "1"}});
      CStomperTrap* stomper = dynamic_cast<CStomperTrap*>(level->GetTraps()->Objects()[0].get());
      ASSERT_NE(stomper, nullptr);
      level->Update(kStep, true);
      ASSERT_EQ(stomper->phase, CStomperTrap::kMovingOut);
      StepsMovingOut(*level, *stomper);
      EXPECT_EQ(stomper->phase, CStomperTrap::kWaitingOut);
      EXPECT_FALSE(stomper->slammed);
      EXPECT_EQ(stomper->Extension(), 256) << "max_out 100: the whole block";
      EXPECT_FLOAT_EQ(stomper->offset.x, stomper->offsetOut.x);
      EXPECT_FLOAT_EQ(stomper->offset.y, stomper->offsetOut.y);
      stomper->Draw(0, 0);
      EXPECT_EQ(camera.shakeTime, 0.0f) << "no slam, no shake";
    }
  }
}

TEST_F(StomperTest, BodyAndHeadBoxesFollowTheBlock) {
  auto level = Load({"........", "..U.....", "..#.....", "..#....."}, {{"max_out", "50"}});
  CStomperTrap* stomper = Stomper(*level, "U");
  level->Update(kStep, true);
  EXPECT_EQ(stomper->phase, CStomperTrap::kWaitingIn) << "inactive";
  EXPECT_FALSE(stomper->Collide(CHitBox(65, 200, 100, 200), 0, nullptr)) << "no body at rest";

  stomper->SetActive(true);
  StepsMovingOut(*level, *stomper);
  ASSERT_EQ(stomper->Extension(), 128);
  // The face has risen 128 pixels above the tile's top (y 64); the body
  // starts 3 pixels behind it and ends at the tile's top.
  float depth[2] = {0, 0};
  EXPECT_TRUE(stomper->Collide(CHitBox(-80, -60, 120, 130), 0, depth));
  EXPECT_FLOAT_EQ(depth[1], 1) << "body from y -61 down, probe -80 to -60";
  EXPECT_FLOAT_EQ(stomper->hitBox.top, -61);
  EXPECT_FLOAT_EQ(stomper->hitBox.bottom, 64);
  EXPECT_FLOAT_EQ(stomper->hitBox.left, 128);
  EXPECT_FLOAT_EQ(stomper->hitBox.right, 192);
  EXPECT_FLOAT_EQ(stomper->frontBox.top, -64);
  EXPECT_FLOAT_EQ(stomper->frontBox.bottom, -62);
  EXPECT_FLOAT_EQ(stomper->backBox.top, -64);
  EXPECT_FLOAT_EQ(stomper->frontBox.right - stomper->frontBox.left, 18);
  EXPECT_NE(stomper->frontBox.left, stomper->backBox.left) << "one probe at each end";
}

TEST_F(StomperTest, AWallPartWayStopsItAndItGoesBackFromThere) {
  CAudioManager audio(true);
  auto level =
      Load({"..........", "..#..L####", ".........."}, {{"active", "1"}, {"wait_out", "0.5"}});
  CStomperTrap* stomper = Stomper(*level, "L");
  int steps = 0;
  while (stomper->phase != CStomperTrap::kWaitingOut && steps++ < 1000) {
    level->Update(kStep, true);
    stomper->Draw(5000, 0);  // far off: sounds, but no shake yet
  }
  // The wall's face is 128 pixels away; 700 px/s is 5.83 pixels a step.
  EXPECT_TRUE(stomper->slammed);
  EXPECT_GE(stomper->Extension(), 128);
  EXPECT_LE(stomper->Extension(), 134);
  const float stopped = stomper->offset.x;

  EXPECT_EQ(camera.shakeTime, 0.0f);
  // Drawn with its sound point (the face, a block's length further out) at
  // the middle of the screen.
  stomper->Draw(static_cast<int>(640 - stomper->x - stopped + 256), 512 - 64);
  EXPECT_FALSE(stomper->slammed) << "the shake is started once";
  EXPECT_FLOAT_EQ(camera.shakeTime, 0.5f);
  EXPECT_NEAR(camera.shakeX, 10.0f, 0.01f) << "full strength at the middle of the screen";
  EXPECT_EQ(camera.shakeY, camera.shakeX);

  for (int i = 0; i < 59; ++i) level->Update(kStep, true);
  EXPECT_EQ(stomper->phase, CStomperTrap::kWaitingOut);
  EXPECT_FLOAT_EQ(stomper->offset.x, stopped) << "waits where it stopped";
  int back = 0;
  while (stomper->phase != CStomperTrap::kWaitingIn && back++ < 1000) {
    level->Update(kStep, true);
    stomper->Draw(0, 0);
  }
  // 128 to 134 pixels at 200 px/s.
  EXPECT_GE(back, 77);
  EXPECT_LE(back, 82);
  EXPECT_EQ(stomper->Extension(), 0);

  std::vector<std::string> sounds;
  for (const CSound* sound : audio.GetSounds()) sounds.push_back(sound->fileName);
  EXPECT_EQ(sounds, (std::vector<std::string>{"Audio/sfx/sfx_Stomper_out.wav",
                                              "Audio/sfx/sfx_Stomper_in.wav"}));

  level->Reset("checkpoint");
  EXPECT_EQ(stomper->phase, CStomperTrap::kWaitingIn);
  EXPECT_FALSE(stomper->slammed);
}

TEST_F(StomperTest, FacingStompersBothStopWhereTheyMeet) {
  auto level = Load({"..............", "###R......L###", ".............."}, {{"active", "1"}});
  CStomperTrap* right = Stomper(*level, "R");
  CStomperTrap* left = Stomper(*level, "L");
  for (int i = 0; i < 200 && (right->phase <= 1 || left->phase <= 1); ++i)
    level->Update(kStep, true);
  EXPECT_TRUE(right->slammed);
  EXPECT_TRUE(left->slammed);
  // 384 pixels apart: each covers about half before their heads meet.
  EXPECT_NEAR(right->Extension(), 192, 8);
  EXPECT_NEAR(left->Extension(), 192, 8);
  // A probe stops at a body 3 pixels behind the other face, a step late.
  EXPECT_LE(right->Extension() + left->Extension(), 384 + 3 + 12) << "they do not pass";

  // A slam far from the screen keeps its mark until it is drawn closer.
  right->Draw(5000, 0);
  EXPECT_TRUE(right->slammed);
  EXPECT_EQ(camera.shakeTime, 0.0f);
  right->Draw(static_cast<int>(640 + 640 - (right->x + right->offset.x + 256)), 512 - 64);
  EXPECT_FALSE(right->slammed);
  EXPECT_NEAR(camera.shakeX, 5.0f, 0.01f) << "half strength 640 pixels out";
}

TEST_F(StomperTest, AStomperNeverStopsAtItself) {
  // A body reaching over the head probes: the query that looks for other
  // stompers must leave the asking one out.
  WriteTextFile("Values/Trap Collisions/Stomper.hitbox.xml",
                "<hitboxes><hitbox userdata=\"Body\" x=\"0\" y=\"0\" width=\"256\" height=\"64\"/>"
                "<hitbox userdata=\"HeadFront\" x=\"0\" y=\"6\" width=\"2\" height=\"18\"/>"
                "<hitbox userdata=\"HeadBack\" x=\"0\" y=\"40\" width=\"2\" height=\"18\"/>"
                "</hitboxes>");
  auto level = Load({"..........", "......L###", ".........."}, {{"active", "1"}});
  CStomperTrap* stomper = Stomper(*level, "L");
  ASSERT_FLOAT_EQ(stomper->bodyBoxLocal.left, 0);
  StepsMovingOut(*level, *stomper);
  EXPECT_FALSE(stomper->slammed);
  EXPECT_EQ(stomper->Extension(), 256);

  // The query itself, as the player and other traps see it.
  const CHitBox probe(70, 80, 250, 260);
  EXPECT_TRUE(level->CollideWithType(probe, "trap_stomper", 0, nullptr, true));
  EXPECT_FALSE(level->CollideWithType(probe, "trap_stomper", 0, nullptr, true, stomper));
  EXPECT_EQ(level->FindCollidingObject(probe, "trap_stomper", nullptr), stomper);
  EXPECT_EQ(level->FindCollidingObject(probe, "trap_stomper", nullptr, stomper), nullptr);
}
