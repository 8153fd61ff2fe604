// Fireworks: launching only while the run is faster than the level's best
// time, "max_shots" and the random ranges, a rocket's flight, burst and
// removal (also without an explosion picture, and at the latest 10 s after
// its launch), and the sounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Camera.h"
#include "app/IngameHud.h"
#include "audio/AudioManager.h"
#include "audio/Sound.h"
#include "graphics/Sprite.h"
#include "graphics/TextureManager.h"
#include "level/Level.h"
#include "objects/DynamicFireworks.h"
#include "objects/Fireworks.h"
#include "platform/DecodedImage.h"
#include "progress/ProgressStore.h"
#include "tests/support/GameData.h"
#include "tests/support/TestMaps.h"

namespace fs = std::filesystem;

namespace {

constexpr float kStep = 1.0f / 120;
const char* const kKey = "Levels/Test/Fireworks";

// A level whose key is kKey, with one launcher "launcher".
std::unique_ptr<CLevel> LoadLauncher(CCamera& camera,
                                     const std::map<std::string, std::string>& properties) {
  fs::create_directories("Levels/Test");
  std::ofstream(std::string(kKey) + ".tmx")
      << GridMap(std::vector<std::string>(20, std::string(20, '.')),
                 MapObject("launcher", "pfx_fireworks", 640, 1200, 64, 64, properties));
  fs::copy_file("ground.png", "Levels/Test/ground.png", fs::copy_options::overwrite_existing);
  return std::make_unique<CLevel>(std::string(kKey) + ".tmx", &camera);
}

// Steps until the rocket is removed; the steps taken, or -1 after `limit`.
int StepsToRemoval(CDynamicFireworks& rocket, int limit = 2000) {
  for (int step = 1; step <= limit; ++step)
    if (!rocket.Update(kStep, true)) return step;
  return -1;
}

}  // namespace

TEST(Fireworks, LaunchOnlyWhileTheRunIsFasterThanTheBest) {
  CGameDataDirectory data;
  CTextureManager textures;
  CCamera camera;
  CIngameHud hud;
  CProgressStore store;
  const struct {
    const char* what;
    float best;  // below 0: no record
    float start;
    bool launches;
    bool stops;
  } cases[] = {
      {"best 60, switched on at 58", 60, 58, true, true},
      {"best 60 already passed", 60, 61, false, true},
      {"no record yet", -1, 990, true, false},
      {"a record without a time", 0, 990, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    store.records.clear();
    if (c.best >= 0) store.records.push_back(std::make_unique<LevelRecord>(kKey, c.best, false));
    auto level = LoadLauncher(camera, {{"max_shots", "100"}});
    auto* launcher = dynamic_cast<CFireworks*>(level->FindObject("launcher"));
    ASSERT_NE(launcher, nullptr);
    EXPECT_FLOAT_EQ(launcher->timeLimit, c.best > 0 ? c.best : 1000);
    hud.time = c.start;
    hud.timerRunning = true;
    launcher->SetActive(true);  // what its trigger does
    std::vector<float> launches;
    for (int step = 0; step < 5 * 120; ++step) {
      const int before = launcher->shotsLeft;
      level->Update(kStep, true);
      if (launcher->shotsLeft < before) launches.push_back(hud.time);
      hud.Update(kStep);
    }
    EXPECT_EQ(!launches.empty(), c.launches);
    EXPECT_EQ(!launcher->active, c.stops);
    if (c.stops && c.launches) {
      // Every half second from 58.5 until the timer reaches 60.
      EXPECT_GE(launches.size(), 3u);
      EXPECT_LT(launches.back(), 60.0f);
    }
    if (!c.stops) {
      EXPECT_GE(launches.size(), 9u) << "every half second, the HUD stopping at 999.99";
    }
  }
}

TEST(Fireworks, MaxShotsRandomRangesAndSounds) {
  CGameDataDirectory data;
  CTextureManager textures;
  CCamera camera;
  CAudioManager audio(true);
  auto level = LoadLauncher(camera, {{"active", "1"}, {"max_shots", "5"}, {"interval", "0.1"}});
  auto* launcher = dynamic_cast<CFireworks*>(level->FindObject("launcher"));
  int launched = 0;
  for (int step = 0; step < 240; ++step) {
    const int before = launcher->LiveRockets();
    level->Update(kStep, step % 2 == 1);
    if (launcher->LiveRockets() > before) {
      ++launched;
      const auto& rocket =
          dynamic_cast<CDynamicFireworks&>(*level->GetDynamicObjects().Objects().back());
      EXPECT_EQ(rocket.type, "dynamic_firework");
      EXPECT_EQ(launcher->shotSoundPending, step % 2 == 0) << "none in the ghost's level";
      // With the defaults: "y_speed_max" below "y_speed_min" is read from
      // the minimum up; the flight time is a draw over the minimum.
      EXPECT_GE(rocket.vx, -250);
      EXPECT_LE(rocket.vx, 249);
      EXPECT_GE(rocket.shrinkBase, -700 - 100);
      EXPECT_LE(rocket.shrinkBase, -401 - 100);
      // (One step of its flight is over.)
      EXPECT_GE(rocket.ttl + kStep, 1.0f);
      EXPECT_LT(rocket.ttl + kStep, 2.0f);
    }
  }
  EXPECT_EQ(launched, 5) << "\"max_shots\" 5";
  // Several launches between two frames give one sound, by distance.
  launcher->shotSoundPending = true;
  launcher->Draw(640, 512 - 1200);
  launcher->Draw(0, 0);
  ASSERT_EQ(audio.GetSounds().size(), 1u);
  EXPECT_EQ(audio.GetSounds()[0]->fileName, "Audio/sfx/sfx_rocket_shot.wav");
  EXPECT_FLOAT_EQ(audio.GetSounds()[0]->volume, 1 - 640.0f / 1280);

  // The draw: b when both bounds truncate alike, else never below a and
  // short of b's whole number, also with b below a; ±1e6 stays defined.
  EXPECT_EQ(launcher->Random(5.2f, 5.9f), 5.9f);
  for (int i = 0; i < 2000; ++i) {
    const float up = launcher->Random(-700, -1000);
    ASSERT_GE(up, -700);
    ASSERT_LE(up, -401);
    const float wide = launcher->Random(-1e6f, 1e6f);
    ASSERT_GE(wide, -1e6f);
    ASSERT_LT(wide, 1e6f);
  }
}

TEST(Fireworks, RocketsBurstAndAreRemoved) {
  CGameDataDirectory data;
  CTextureManager textures;
  CAudioManager audio(true);
  {
    // Already slower upward than -100: bursts in its first step, with its
    // sound once drawn (none in the ghost's level).
    for (const bool silent : {false, true}) {
      CDynamicFireworks rocket(0);
      rocket.Init();
      rocket.Launch(0, -90, 2);
      EXPECT_TRUE(rocket.Update(kStep, silent));
      EXPECT_TRUE(rocket.Bursting());
      EXPECT_EQ(rocket.explosionSprite->GetAlpha(), 1.0f);
      rocket.Draw(0, 0);
      rocket.Draw(0, 0);
    }
    ASSERT_EQ(audio.GetSounds().size(), 1u);
    EXPECT_EQ(audio.GetSounds()[0]->fileName, "Audio/sfx/sfx_rocket_explosion.wav");
  }
  {
    // Up at 700, slowed by 300 a second: bursts after 2 s, 200 pixels to the
    // right, shrinking on the way; removed once the explosion has played
    // (30 frames of 0.03 s).
    CDynamicFireworks rocket(0);
    rocket.Init();
    rocket.Launch(100, -700, 5);
    int steps = 0;
    float scale = 1;
    while (!rocket.Bursting() && steps < 1000) {
      ASSERT_TRUE(rocket.Update(kStep, true));
      EXPECT_LE(rocket.rocketSprite->GetScaleY(), scale);
      scale = rocket.rocketSprite->GetScaleY();
      ++steps;
    }
    EXPECT_NEAR(steps, 240, 1);
    EXPECT_NEAR(rocket.x, 200, 1);
    EXPECT_LT(scale, 0.2f);
    // The last of 30 frames of 0.03 s (4 steps each) is reached after 29
    // frames.
    EXPECT_NEAR(StepsToRemoval(rocket), 29 * 4 + 1, 2);
  }
  {
    // Its flight time runs out first.
    CDynamicFireworks rocket(0);
    rocket.Launch(0, -700, 0.5f);
    int steps = 0;
    for (; !rocket.Bursting() && steps < 1000; ++steps) ASSERT_TRUE(rocket.Update(kStep, true));
    EXPECT_NEAR(steps, 60, 1);
  }
  {
    // Launched too fast to slow down in time, with a flight time to match:
    // gone 10 s after its launch all the same.
    CDynamicFireworks rocket(0);
    rocket.Launch(0, -1e6f, 1e6f);
    EXPECT_NEAR(StepsToRemoval(rocket), 1200, 1);
  }
  {
    // A respawn removes it.
    CDynamicFireworks rocket(0);
    rocket.Launch(0, -700, 5);
    rocket.Reset();
    EXPECT_FALSE(rocket.Update(kStep, true));
  }
  // Without an explosion picture (missing, or smaller than one frame) there
  // is nothing to play: gone at the burst.
  fs::remove("Graphics");
  fs::create_directories("Graphics/Particles");
  const fs::path particles = fs::path(KUROSHIN_SOURCE_DIR) / "data/Graphics/Particles";
  fs::create_symlink(particles / "pfx_rocket.png", "Graphics/Particles/pfx_rocket.png");
  CTextureManager fresh;
  for (const bool small : {false, true}) {
    SCOPED_TRACE(small ? "too small" : "missing");
    if (small) {
      for (const char* colour : {"blue", "green", "pink", "yellow"})
        CDecodedImage::Filled(64, 64, 0xffffffff)
            ->SavePng(std::string("Graphics/Particles/pfx_firework_") + colour + ".png");
    }
    CDynamicFireworks rocket(0);
    rocket.Init();
    rocket.Launch(0, -90, 2);
    EXPECT_FALSE(rocket.Update(kStep, true));
  }
}
