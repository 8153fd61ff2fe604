// Pictures: fading in while something switches them on and out after, at
// the speeds the map gives (whole percentages too), hidden in the ghost's
// level, drawn centred, and never read from outside the graphics folder.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "graphics/Sprite.h"
#include "graphics/TextureManager.h"
#include "objects/PictureObject.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/GameData.h"

namespace {

constexpr float kStep = 1.0f / 120;

// Frames of one step each, switched on by a trigger or not, until the
// opacity reaches `target`; the steps taken, or -1 after `limit`.
int FramesUntil(CPictureObject& picture, bool on, float target, bool silent = false,
                int limit = 1000) {
  for (int step = 1; step <= limit; ++step) {
    if (on) picture.SetActive(true);
    picture.Update(kStep, silent);
    picture.Draw(0, 0);
    if (picture.GetSprite()->GetAlpha() == target) return step;
  }
  return -1;
}

}  // namespace

TEST(PictureObject, FadesInWhileSwitchedOnAndOutAfterAtItsSpeeds) {
  CGameDataDirectory data;
  CTextureManager textures;
  const struct {
    std::map<std::string, std::string> speeds;
    int in, out;  // steps to full and back to nothing; -1 never
  } cases[] = {
      {{}, 240, 240},
      {{{"speed", "50"}}, 240, 240},
      {{{"speed", "200"}}, 60, 60},
      {{{"speed", "0.5"}}, 240, 240},
      {{{"speed_in", "1"}}, -1, 0},
      {{{"speed_in", "1"}, {"speedin", "25"}}, 480, 240},
      {{{"speed_out", "3"}, {"speedout", "100"}}, 240, 120},
      {{{"speedin", "100"}}, 240, 240},
  };
  for (const auto& c : cases) {
    std::string what;
    for (const auto& [key, value] : c.speeds) what += key + "=" + value + " ";
    SCOPED_TRACE(what);
    CPictureObject picture;
    picture.properties = c.speeds;
    picture.properties["path"] = "Pictures/tut_run.png";
    picture.x = 400;
    picture.y = 300;
    picture.Init();
    ASSERT_NE(picture.GetSprite(), nullptr);
    EXPECT_EQ(picture.GetSprite()->GetAlpha(), 0.0f) << "invisible at first";
    const int in = FramesUntil(picture, true, 1.0f);
    if (c.in < 0) {
      EXPECT_EQ(in, -1);
      continue;
    }
    EXPECT_NEAR(in, c.in, 1);
    EXPECT_NEAR(FramesUntil(picture, false, 0.0f), c.out, 1) << "once nothing switches it on";
  }

  // Drawn centred on its position; the ghost's level never shows it.
  CPictureObject picture;
  picture.properties = {{"path", "Pictures/tut_run.png"}, {"speed", "100"}};
  picture.x = 400;
  picture.y = 300;
  picture.Init();
  EXPECT_EQ(FramesUntil(picture, true, 1.0f, true, 240), -1);
  EXPECT_EQ(picture.GetSprite()->GetAlpha(), 0.0f);
  EXPECT_FLOAT_EQ(picture.GetSprite()->GetDrawX(), 400 - 320 / 2);
  EXPECT_FLOAT_EQ(picture.GetSprite()->GetDrawY(), 300 - 256 / 2);
  picture.properties["speed"] = "25";
  picture.Reset();
  EXPECT_FLOAT_EQ(picture.fadeInSpeed, 0.25f) << "the level's reset reads it again";
  EXPECT_FLOAT_EQ(picture.alpha, 0.0f);
}

TEST(PictureObject, NeverReadsOutsideTheGraphicsFolder) {
  CGameDataDirectory data;
  CTextureManager textures;
  const std::string log = data.Home() + "/log.txt";
  const struct {
    const char* path;
    bool refused;
  } cases[] = {
      {"Pictures/tut_jump.png", false},
      {"../Values/Player.xml", true},
      {"Pictures/../../Values/Player.xml", true},
      {"Pictures\\..\\..\\Values\\Player.xml", true},
      {"..", true},
      {"/etc/passwd", true},
      {"\\Windows\\win.ini", true},
      {"C:/Windows/win.ini", true},
      {"Pictures/..tut_jump.png", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const std::size_t before = ReadWholeFile(log).size();
    CPictureObject picture;
    picture.type = "picture";
    picture.name = "hint";
    picture.properties = {{"path", c.path}};
    picture.Init();
    const std::string logged = ReadWholeFile(log).substr(before);
    if (c.refused) {
      EXPECT_EQ(picture.GetSprite(), nullptr);
      EXPECT_EQ(picture.imagePath, "");
      EXPECT_NE(logged.find(std::string("picture \"hint\": \"path\" \"") + c.path +
                            "\" leaves the graphics folder"),
                std::string::npos)
          << logged;
      EXPECT_EQ(logged.find("texture"), std::string::npos) << "nothing was read";
      EXPECT_TRUE(picture.Update(kStep, false));
      picture.Draw(0, 0);
    } else {
      EXPECT_EQ(picture.imagePath, std::string("Graphics/") + c.path);
      ASSERT_NE(picture.GetSprite(), nullptr);
      EXPECT_EQ(logged.find("leaves"), std::string::npos);
    }
  }
}
