// Trap doors: where they are solid, closed and open, against where they are
// drawn in every placement; the swing's speed, bounces and rest; release by
// a trigger with its delay and sound; "car", "cbr" and the reset.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "audio/AudioManager.h"
#include "audio/Sound.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "platform/DecodedImage.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"
#include "tests/support/GameData.h"
#include "traps/TrapDoor.h"

namespace {

constexpr float kStep = 1.0f / 120;
constexpr unsigned kClear = 0xffff00ff;

// Updates until the door rests; the number of steps, or -1.
int SwingToRest(CTrapDoor& door, int limit = 2000) {
  for (int step = 1; step <= limit; ++step) {
    door.Update(kStep, true);
    if (door.atRest) return step;
  }
  return -1;
}

// The rectangle of everything the door drew (right and bottom exclusive).
CHitBox Drawn(CDirect3D& d3d, CTrapDoor& door) {
  d3d.clearColour = kClear;
  d3d.BeginFrame();
  d3d.GetSprite()->Begin(SpriteBlend::Alpha);
  door.Draw(0, 0);
  d3d.GetSprite()->End();
  EXPECT_TRUE(d3d.SaveFramePng("door.png"));
  auto image = CDecodedImage::Load("door.png");
  CHitBox box(1e9f, -1e9f, 1e9f, -1e9f);
  for (int y = 0; image && y < image->Height(); ++y) {
    for (int x = 0; x < image->Width(); ++x) {
      if (image->Pixel(x, y) == kClear) continue;
      box.top = std::min(box.top, float(y));
      box.bottom = std::max(box.bottom, float(y + 1));
      box.left = std::min(box.left, float(x));
      box.right = std::max(box.right, float(x + 1));
    }
  }
  return box;
}

// The box covers the drawn plank: within a pixel of it on every side but
// the walking surface, which lies 4 pixels inside (grass rises above it).
void ExpectCovers(const CHitBox& box, const CHitBox& drawn) {
  const float gaps[4] = {box.top - drawn.top, drawn.bottom - box.bottom, box.left - drawn.left,
                         drawn.right - box.right};
  int surface = 0;
  for (float gap : gaps) {
    EXPECT_GE(gap, -1.0f) << "solid where nothing is drawn";
    EXPECT_LE(gap, 5.0f) << "drawn where it is not solid";
    if (gap > 1.0f) ++surface;
  }
  EXPECT_LE(surface, 1);
}

}  // namespace

TEST(TrapDoor, SolidWhereItIsDrawnInEveryPlacement) {
  CGameDataDirectory data;
  ASSERT_TRUE(InitVideo(true));
  {
    CTextureManager textures;
    auto d3d = std::make_unique<CDirect3D>();
    ASSERT_TRUE(d3d->Init(d3d->CreateMainWindow(1280, 1024), 1280, 1024));
    for (const char* dir : {"up", "down", "left", "right"}) {
      for (const char* attach : {"up", "down", "left", "right"}) {
        SCOPED_TRACE(std::string(dir) + " attached " + attach);
        CTrapDoor door;
        door.x = 500;
        door.y = 400;
        door.properties = {{"dir", dir}, {"attach", attach}, {"type", "stone"}};
        door.Init();
        door.Update(kStep, true);
        EXPECT_EQ(door.hitBox.top, door.ClosedBox().top);
        EXPECT_EQ(door.hitBox.left, door.ClosedBox().left);
        ExpectCovers(door.hitBox, Drawn(*d3d, door));

        door.SetActive(true);
        door.Update(kStep, true);
        EXPECT_EQ(door.hitBox.right, 0.0f) << "without \"car\" not solid once it swings";
        ASSERT_GT(SwingToRest(door), 0);
        ExpectCovers(door.OpenBox(), Drawn(*d3d, door));
      }
    }
  }
  ShutdownVideo();
}

TEST(TrapDoor, SwingBouncesAndRests) {
  CGameDataDirectory data;
  CTextureManager textures;
  CTrapDoor door;
  door.properties = {{"dir", "up"}, {"attach", "left"}, {"car", "1"}};
  door.Init();
  EXPECT_FLOAT_EQ(door.speed, 10) << "the default";
  door.SetActive(true);
  // Ten degrees per second more each step: 90 degrees are passed on the
  // 46th step (10 x 46 x 47 / 2 / 120 > 90).
  for (int n = 1; n <= 45; ++n) {
    door.Update(kStep, true);
    ASSERT_FLOAT_EQ(door.angularSpeed, 10.0f * n) << n;
    ASSERT_LT(door.angle, 90.0f);
  }
  door.Update(kStep, true);
  EXPECT_FLOAT_EQ(door.angle, 90);
  EXPECT_FLOAT_EQ(door.angularSpeed, -460.0f * 2 / 3) << "bounces with two thirds";
  EXPECT_EQ(door.hitBox.top, door.OpenBox().top) << "\"car\": solid while it swings";
  EXPECT_EQ(door.hitBox.right, door.OpenBox().right);

  float lowest = 90;
  int bounces = 1;
  for (int step = 0; step < 2000 && !door.atRest; ++step) {
    const float before = door.angularSpeed;
    door.Update(kStep, true);
    lowest = std::min(lowest, door.angle);
    if (before > 0 && door.angularSpeed < 0) ++bounces;
  }
  ASSERT_TRUE(door.atRest);
  EXPECT_FLOAT_EQ(door.angle, 90);
  EXPECT_GT(bounces, 2);
  EXPECT_GT(lowest, 0.0f) << "bounces stay short of closing again";
  const float rested = door.hitBox.top;
  door.Update(kStep, true);
  EXPECT_EQ(door.hitBox.top, rested);

  door.Reset();
  door.Update(kStep, true);
  EXPECT_FALSE(door.atRest);
  EXPECT_FALSE(door.released);
  EXPECT_FLOAT_EQ(door.angle, 0);
  EXPECT_EQ(door.hitBox.top, door.ClosedBox().top) << "closed and solid again";
}

TEST(TrapDoor, ReleaseDelaySoundAndSolidity) {
  CGameDataDirectory data;
  CTextureManager textures;
  CAudioManager audio(true);
  struct Case {
    const char* name;
    std::map<std::string, std::string> properties;
    bool silent;
    bool solidClosed;
    bool sound;
  } cases[] = {
      {"plain", {}, false, true, true},
      {"replay", {}, true, true, false},
      {"active in the map", {{"active", "1"}}, false, true, false},
      {"cbr", {{"cbr", "1"}}, false, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    audio.StopAll(true);
    CTrapDoor door;
    door.properties = c.properties;
    door.Init();
    for (int i = 0; i < 120; ++i) door.Update(kStep, c.silent);
    EXPECT_FALSE(door.released) << "nothing opens a door but a trigger";
    EXPECT_EQ(door.angle, 270.0f) << "pointing left, as it was";
    EXPECT_EQ(door.hitBox.right != 0.0f, c.solidClosed);

    // What a trigger with "delay" 0.5 does, every step the player touches it.
    door.delay = 0.5f;
    door.SetActive(true);
    int steps = 0;
    while (door.angle == 270.0f && steps < 200) {
      door.Update(kStep, c.silent);
      door.delay = 0.5f;
      door.SetActive(true);
      ++steps;
    }
    EXPECT_NEAR(steps, 60, 1) << "swings after the delay";
    door.Update(kStep, c.silent);
    std::vector<std::string> sounds;
    for (const CSound* sound : audio.GetSounds()) sounds.push_back(sound->fileName);
    EXPECT_EQ(sounds, c.sound ? std::vector<std::string>{"Audio/sfx/sfx_trap_door.wav"}
                              : std::vector<std::string>{});
  }
}
