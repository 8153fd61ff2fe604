// Designer numbers that would break a trap's cycle: speeds of 0 or below,
// "max_out" outside (0, 100], and values that are no finite number. Each is
// corrected with one warning naming the object, and the cycle completes.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "graphics/TextureManager.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/GameData.h"
#include "traps/SpearTrap.h"
#include "traps/StomperTrap.h"
#include "traps/TrapDoor.h"

namespace {

constexpr float kStep = 1.0f / 120;

std::unique_ptr<CMovableObject> Make(const std::string& type) {
  if (type == "trap_spear") return std::make_unique<CSpearTrap>();
  if (type == "trap_stomper") return std::make_unique<CStomperTrap>();
  return std::make_unique<CTrapDoor>();
}

float SpeedOut(CMovableObject& o) { return static_cast<CExtendingTrap&>(o).speedOut; }
float SpeedIn(CMovableObject& o) { return static_cast<CExtendingTrap&>(o).speedIn; }
float WaitIn(CMovableObject& o) { return static_cast<CExtendingTrap&>(o).waitIn; }
float MaxOut(CMovableObject& o) { return static_cast<CExtendingTrap&>(o).maxOut; }
float DoorSpeed(CMovableObject& o) { return static_cast<CTrapDoor&>(o).speed; }

}  // namespace

TEST(TrapSettings, BrokenNumbersAreCorrectedWithAWarning) {
  CGameDataDirectory data;
  CTextureManager textures;
  const std::string log = data.Home() + "/log.txt";
  struct Case {
    const char* type;
    const char* key;
    const char* value;
    std::function<float(CMovableObject&)> read;
    float expected;
    const char* warning;  // empty: none
  } cases[] = {
      {"trap_spear", "speed_out", "-50", SpeedOut, 1, "is too slow to reach its end; using 1"},
      {"trap_spear", "speed_in", "0.5", SpeedIn, 1, "is too slow"},
      {"trap_spear", "speed_out", "0", SpeedOut, 700, ""},
      {"trap_spear", "speed_out", "nan", SpeedOut, 700,
       "is not a usable number; using the default 700"},
      {"trap_spear", "speed_in", " 1e999px", SpeedIn, 200, "is not a usable number"},
      {"trap_spear", "wait_in", "-inf", WaitIn, 0, "is not a usable number"},
      {"trap_spear", "max_out", "-20", MaxOut, 100, "is outside 0 to 100 percent; using 100"},
      {"trap_spear", "max_out", "150", MaxOut, 100, "is outside 0 to 100 percent"},
      {"trap_spear", "max_out", "0", MaxOut, 100, ""},
      {"trap_spear", "max_out", "1e-999", MaxOut, 100, ""},
      {"trap_spear", "max_out", "100", MaxOut, 100, ""},
      {"trap_spear", "max_out", "0.5", MaxOut, 0.5f, ""},
      {"trap_stomper", "speed_out", "-700", SpeedOut, 1, "is too slow"},
      {"trap_stomper", "speed_in", "1e300", SpeedIn, 200, "is not a usable number"},
      {"trap_stomper", "max_out", "101", MaxOut, 100, "is outside"},
      {"trap_door", "speed", "-5", DoorSpeed, 1, "is too slow"},
      {"trap_door", "speed", "0.5", DoorSpeed, 10, ""},
      {"trap_door", "speed", "inf", DoorSpeed, 10, "is not a usable number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.type) + " " + c.key + " " + c.value);
    for (bool named : {true, false}) {
      auto object = Make(c.type);
      object->type = c.type;
      object->name = named ? "gate trap" : "";
      object->x = 320.5f;
      object->y = 640;
      object->properties = {{c.key, c.value}};
      const std::size_t before = ReadWholeFile(log).size();
      object->Init();
      EXPECT_FLOAT_EQ(c.read(*object), c.expected);
      const std::string written = ReadWholeFile(log).substr(before);
      if (!*c.warning) {
        EXPECT_EQ(written, "");
        continue;
      }
      const std::string who =
          named ? std::string(c.type) + " \"gate trap\"" : std::string(c.type) + " at 320, 640";
      EXPECT_NE(
          written.find("Warning: " + who + ": \"" + c.key + "\" \"" + c.value + "\" " + c.warning),
          std::string::npos)
          << written;
      object->Reset();
      EXPECT_EQ(ReadWholeFile(log).size(), before + written.size()) << "said once, not per respawn";
      EXPECT_FLOAT_EQ(c.read(*object), c.expected) << "and still corrected";
    }
  }
}

TEST(TrapSettings, CorrectedTrapsStillCompleteTheirCycle) {
  CGameDataDirectory data;
  CTextureManager textures;
  // Designers asked for motion backwards: each trap still goes out and back.
  CSpearTrap spear;
  spear.properties = {
      {"active", "1"}, {"speed_out", "-100"}, {"speed_in", "-1"}, {"max_out", "-5"}};
  spear.Init();
  int steps = 0;
  bool wentOut = false;
  while (steps++ < 120 * 500 && !(wentOut && spear.phase == CSpearTrap::kWaitingIn)) {
    spear.Update(kStep, false);
    wentOut = wentOut || spear.phase == CSpearTrap::kWaitingOut;
    ASSERT_LE(spear.Extension(), 220);
  }
  EXPECT_TRUE(wentOut);
  EXPECT_EQ(spear.phase, CSpearTrap::kWaitingIn) << "back in after 440 s at 1 px/s";

  CTrapDoor door;
  door.properties = {{"speed", "-3"}};
  door.Init();
  door.SetActive(true);
  for (steps = 0; steps < 120 * 60 && !door.atRest; ++steps) door.Update(kStep, true);
  EXPECT_TRUE(door.atRest);
  EXPECT_FLOAT_EQ(door.angle, 360) << "pointing left, attached left: it swings down to its stop";
}
