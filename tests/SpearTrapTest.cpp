// Spear traps: the cycle over fixed steps in every direction, the shaft and
// head boxes the player collides with, activation by a trigger, sounds and
// the reset.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "audio/AudioManager.h"
#include "audio/Sound.h"
#include "graphics/Sprite.h"
#include "graphics/TextureManager.h"
#include "support/GameData.h"
#include "traps/SpearTrap.h"

namespace {

constexpr float kStep = 1.0f / 120;

// Fixed steps until the spear enters `phase` (at most `limit`); the longest
// extension seen on the way.
int StepsUntil(CSpearTrap& spear, int phase, int& longest, int limit = 1000) {
  longest = 0;
  for (int step = 1; step <= limit; ++step) {
    spear.Update(kStep, false);
    longest = std::max(longest, spear.Extension());
    if (spear.phase == phase) return step;
  }
  return -1;
}

}  // namespace

TEST(SpearTrap, CycleAndBoxesInEveryDirection) {
  CGameDataDirectory data;
  CTextureManager textures;
  // The spear stands at the origin; at half travel (110 pixels) its head and
  // shaft lie here along its axis, and across it at 23..41 and 26..38. The
  // tip is the head's outer end.
  struct Case {
    const char* dir;
    bool vertical;
    float headLow, headHigh, shaftLow, shaftHigh, tip;
  } cases[] = {
      {"left", false, -85, -36, -36, 24, -85},
      {"right", false, 100, 149, 40, 100, 149},
      {"up", true, -85, -36, -36, 24, -85},
      {"down", true, 100, 149, 40, 100, 149},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dir);
    CSpearTrap spear;
    spear.properties = {{"dir", c.dir},      {"active", "1"},      {"max_out", "50"},
                        {"wait_in", "0.5"},  {"wait_out", "0.25"}, {"speed_in", "200"},
                        {"speed_out", "700"}};
    spear.Init();
    spear.Update(kStep * 0, false);
    EXPECT_EQ(spear.Extension(), 0);
    // (Boxes clear of the origin, where a box of nothing lies.)
    EXPECT_FALSE(spear.Collide(CHitBox(1, 300, -300, 300), 1, nullptr)) << "no shaft at rest";
    EXPECT_FALSE(spear.Collide(CHitBox(-300, -1, -300, 300), 1, nullptr));

    // 0.5 s waiting in, then 110 px out at 700 px/s (19 steps).
    int longest = 0, longestOut = 0;
    EXPECT_NEAR(StepsUntil(spear, CSpearTrap::kMovingOut, longest), 60, 1);
    EXPECT_EQ(StepsUntil(spear, CSpearTrap::kWaitingOut, longestOut), 19);
    EXPECT_EQ(longestOut, 110) << "never past max_out";
    EXPECT_EQ(spear.Extension(), 110);
    EXPECT_EQ(spear.GetSprite()->GetSource().Width(), 110) << "only what has come out is drawn";

    const CHitBox& head = spear.hitBox;
    const CHitBox& shaft = spear.solidBox;
    EXPECT_FLOAT_EQ(c.vertical ? head.top : head.left, c.headLow);
    EXPECT_FLOAT_EQ(c.vertical ? head.bottom : head.right, c.headHigh);
    EXPECT_FLOAT_EQ(c.vertical ? head.left : head.top, 23);
    EXPECT_FLOAT_EQ(c.vertical ? head.right : head.bottom, 41);
    EXPECT_FLOAT_EQ(c.vertical ? shaft.top : shaft.left, c.shaftLow);
    EXPECT_FLOAT_EQ(c.vertical ? shaft.bottom : shaft.right, c.shaftHigh);
    EXPECT_FLOAT_EQ(c.vertical ? shaft.left : shaft.top, 26);
    EXPECT_FLOAT_EQ(c.vertical ? shaft.right : shaft.bottom, 38);

    // The player's queries: mode 0 the deadly head, any other the shaft.
    auto along = [&](float low, float high) {
      return c.vertical ? CHitBox(low, high, 28, 36) : CHitBox(28, 36, low, high);
    };
    float depth[2] = {0, 0};
    const CHitBox atTip = along(c.tip - 5, c.tip + 5);
    EXPECT_TRUE(spear.Collide(atTip, 0, depth));
    EXPECT_FLOAT_EQ(depth[c.vertical ? 1 : 0], 5) << "five pixels into the tip";
    EXPECT_FLOAT_EQ(depth[c.vertical ? 0 : 1], 13);
    EXPECT_FALSE(spear.Collide(atTip, 1, nullptr));
    const float middle = (c.shaftLow + c.shaftHigh) / 2;
    EXPECT_TRUE(spear.Collide(along(middle - 2, middle + 2), 2, nullptr));
    EXPECT_FALSE(spear.Collide(along(middle - 2, middle + 2), 0, nullptr));

    // 0.25 s out, then back at 200 px/s (66 steps).
    EXPECT_NEAR(StepsUntil(spear, CSpearTrap::kMovingIn, longest), 30, 1);
    EXPECT_NEAR(StepsUntil(spear, CSpearTrap::kWaitingIn, longest), 66, 1);
    EXPECT_EQ(spear.Extension(), 0);
    EXPECT_FLOAT_EQ(spear.offset.x, spear.offsetIn.x);
    EXPECT_FLOAT_EQ(spear.offset.y, spear.offsetIn.y);

    // A respawn puts it back, counter and all.
    EXPECT_GT(StepsUntil(spear, CSpearTrap::kMovingOut, longest), 0);
    spear.Update(kStep, false);
    spear.properties["counter"] = "0.4";
    spear.Reset();
    EXPECT_EQ(spear.phase, CSpearTrap::kWaitingIn);
    EXPECT_FLOAT_EQ(spear.waitInTimer, 0.4f);
    EXPECT_FLOAT_EQ(spear.offset.x + spear.offset.y, spear.offsetIn.x + spear.offsetIn.y);
    EXPECT_NEAR(StepsUntil(spear, CSpearTrap::kMovingOut, longest), 12, 1)
        << "the counter starts part-way into the wait";
  }
}

TEST(SpearTrap, ATriggerStartsItAfterTheDelay) {
  CGameDataDirectory data;
  CTextureManager textures;
  CSpearTrap spear;
  spear.properties = {{"dir", "sideways"}, {"max_out", "200"}};
  spear.Init();
  EXPECT_EQ(spear.direction, CSpearTrap::kLeft) << "an unknown word keeps the direction";
  EXPECT_FLOAT_EQ(spear.speedOut, 700);
  EXPECT_FLOAT_EQ(spear.speedIn, 200);
  for (int i = 0; i < 120; ++i) spear.Update(kStep, false);
  EXPECT_EQ(spear.phase, CSpearTrap::kWaitingIn) << "inactive until triggered";

  // What a trigger with "delay" 0.25 does.
  spear.delay = 0.25f;
  spear.SetActive(true);
  int longest = 0;
  EXPECT_NEAR(StepsUntil(spear, CSpearTrap::kMovingOut, longest), 31, 1)
      << "the first step after the delay";
  // "max_out" 200 is the full 220 pixels, at 700 px/s in 38 steps.
  EXPECT_EQ(StepsUntil(spear, CSpearTrap::kWaitingOut, longest), 38);
  EXPECT_EQ(longest, 220);

  spear.Reset();
  EXPECT_FALSE(spear.active) << "the map does not say active";
}

TEST(SpearTrap, SoundsOncePerMoveFadingWithDistance) {
  CGameDataDirectory data;
  CTextureManager textures;
  CAudioManager audio(true);
  CSpearTrap spear;
  spear.properties = {{"active", "1"}, {"wait_out", "0.1"}};
  spear.Init();
  auto played = [&]() {
    std::vector<std::pair<std::string, float>> list;
    for (const CSound* sound : audio.GetSounds()) list.push_back({sound->fileName, sound->volume});
    return list;
  };
  // Drawn with the spear at the middle of the screen, then 640 pixels off.
  spear.Update(kStep, false);
  ASSERT_EQ(spear.phase, CSpearTrap::kMovingOut);
  spear.Draw(640, 512);
  spear.Draw(640, 512);
  spear.Update(kStep, false);
  spear.Draw(640, 512);
  while (spear.phase != CSpearTrap::kMovingIn) {
    spear.Update(kStep, false);
    spear.Draw(640 + 640, 512);
  }
  spear.Draw(640 + 640, 512);
  while (spear.phase != CSpearTrap::kMovingOut) {
    spear.Update(kStep, false);
    spear.Draw(640 + 1280, 512);
  }
  const auto sounds = played();
  ASSERT_EQ(sounds.size(), 3u);
  EXPECT_EQ(sounds[0].first, "Audio/sfx/sfx_spear_out.wav");
  EXPECT_FLOAT_EQ(sounds[0].second, 1.0f);
  EXPECT_EQ(sounds[1].first, "Audio/sfx/sfx_spear_in.wav");
  EXPECT_FLOAT_EQ(sounds[1].second, 0.5f);
  EXPECT_EQ(sounds[2].first, "Audio/sfx/sfx_spear_out.wav");
  EXPECT_FLOAT_EQ(sounds[2].second, 0.0f) << "1280 pixels away";
}
