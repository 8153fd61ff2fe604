// What the hero makes of damaged or missing data files: values, animation
// times, box files and character sheets.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "audio/AudioManager.h"
#include "audio/Sound.h"
#include "platform/DecodedImage.h"
#include "support/ChildProcess.h"
#include "support/TestGame.h"

namespace fs = std::filesystem;

namespace {

using A = PlayerAnimation;

void Write(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// A game directory of its own with a real copy of Values and of the
// character sheets (so a test may break them), entered for the test's
// lifetime.
class BrokenGame {
public:
  explicit BrokenGame(const std::string& name) : home(fs::current_path()) {
    const fs::path data = fs::path(KUROSHIN_SOURCE_DIR) / "data";
    fs::create_directories(name + "/Graphics");
    for (const auto& entry : fs::directory_iterator(data / "Graphics"))
      if (entry.path().filename() != "Character")
        fs::create_directory_symlink(entry.path(),
                                     name + "/Graphics/" + entry.path().filename().string());
    fs::copy(data / "Graphics/Character", name + "/Graphics/Character");
    fs::copy(data / "Values", name + "/Values", fs::copy_options::recursive);
    fs::create_directory_symlink(data / "Audio", name + "/Audio");
    fs::create_directories(name + "/Levels/Test");
    fs::copy_file(fs::path(KUROSHIN_SOURCE_DIR) / "tests/levels/Player Test.tmx",
                  name + "/" + PlayerWorld::kMap);
    fs::current_path(name);
  }
  ~BrokenGame() { fs::current_path(home); }
  std::string Log() const { return ReadWholeFile(home / "log.txt"); }

private:
  fs::path home;
};

TEST(PlayerData, ValuesAreTakenOnlyAsWholeFiniteNumbers) {
  Write("values.xml",
        "<Player><Speed Crouch=\" 3.5 \" Walk=\"12px\" Run=\"nan\" Acceleration=\"\" "
        "Deceleration=\"1e40\"/><Jump Start=\"inf\" Gravity=\"4500\"/></Player>");
  PlayerTunables t;
  t.walkSpeed = 1, t.runSpeed = 2, t.acceleration = 3, t.deceleration = 4, t.jumpStart = 5;
  const std::string before = ReadWholeFile("log.txt");
  ASSERT_TRUE(LoadPlayerTunables("values.xml", t));
  EXPECT_EQ(t.crouchSpeed, 3.5f);
  EXPECT_EQ(t.gravity, 4500.0f);
  EXPECT_EQ(t.walkSpeed, 1.0f);
  EXPECT_EQ(t.runSpeed, 2.0f);
  EXPECT_EQ(t.acceleration, 3.0f);
  EXPECT_EQ(t.deceleration, 4.0f);
  EXPECT_EQ(t.jumpStart, 5.0f);
  const std::string log = ReadWholeFile("log.txt").substr(before.size());
  for (const char* name : {"Walk=\"12px\"", "Run=\"nan\"", "Acceleration=\"\"",
                           "Deceleration=\"1e40\"", "Start=\"inf\""})
    EXPECT_EQ(Count(log, name), 1) << name;

  // A second read gives the same values.
  PlayerTunables again = t;
  ASSERT_TRUE(LoadPlayerTunables("values.xml", again));
  EXPECT_EQ(std::memcmp(&again, &t, sizeof t), 0);

  // No file, or a folder in its place: warned, nothing changes, and without
  // values the hero neither moves nor falls.
  fs::create_directory("folder.xml");
  for (const char* path : {"missing.xml", "folder.xml"}) {
    PlayerTunables none;
    EXPECT_FALSE(LoadPlayerTunables(path, none));
    EXPECT_EQ(none.gravity, 0.0f);
    EXPECT_NE(ReadWholeFile("log.txt").find(path), std::string::npos) << path;
  }
}

TEST(PlayerData, AnimationTimesMustBePositive) {
  BrokenGame game("times");
  Write("Values/Player Animation.xml",
        "<PlayerAnimation><Walk Speed=\"0.05\"/><Run Speed=\"0\"/><Jump Speed=\"-1\"/>"
        "<Stand Speed=\"nan\"/><Crouch/></PlayerAnimation>");
  PlayerWorld world;
  ASSERT_TRUE(world.initialised);
  const CPlayerAnimations& animations = world.player->Animations();
  const auto time = [&](A a) { return animations.Get(a).GetFrameTime(); };
  EXPECT_EQ(time(A::Walk), 0.05f);
  EXPECT_EQ(time(A::Run), CPlayerAnimations::SheetOf(A::Run).frameTime);
  EXPECT_EQ(time(A::Jump), CPlayerAnimations::SheetOf(A::Jump).frameTime);
  EXPECT_EQ(time(A::Stand), CPlayerAnimations::SheetOf(A::Stand).frameTime);
  EXPECT_EQ(time(A::Crouch), CPlayerAnimations::SheetOf(A::Crouch).frameTime);
  EXPECT_EQ(time(A::Death), CPlayerAnimations::SheetOf(A::Death).frameTime);
  const std::string log = game.Log();
  EXPECT_NE(log.find("Run Speed=\"0\""), std::string::npos);
  EXPECT_NE(log.find("Jump Speed=\"-1\""), std::string::npos);
  EXPECT_NE(log.find("Stand Speed=\"nan\""), std::string::npos);
}

TEST(PlayerData, SheetsThatCouldNeverFinishFailTheStart) {
  {
    BrokenGame game("missing");
    fs::remove("Graphics/Character/ani_death.png");
    fs::remove("Graphics/Character/ani_crouch.png");
    PlayerWorld world;
    EXPECT_FALSE(world.initialised);
    const std::string log = game.Log();
    EXPECT_NE(log.find("\"Death\" has no sheet Graphics/Character/ani_death.png"),
              std::string::npos);
    // Without its sheet the crouch's frame count is no count: the crouching
    // set still holds one record, read at once.
    EXPECT_GE(world.player->Collision().CrouchingSet().records.size(), 1u);
    EXPECT_LE(world.player->Collision().CrouchingSet().records.size(), 2u);
  }
  {
    BrokenGame game("tworows");
    // Played once along its row, a two-row jump would never end.
    ASSERT_TRUE(CDecodedImage::Filled(128 * 14, 256, 0xffffffff)
                    ->SavePng("Graphics/Character/ani_jump.png"));
    PlayerWorld world;
    EXPECT_FALSE(world.initialised);
    EXPECT_NE(game.Log().find("\"Jump\" in Graphics/Character/ani_jump.png must be one row"),
              std::string::npos);
  }
}

TEST(PlayerData, BoxSetsKeepTheirRecordsWhenAFileGoesBad) {
  BrokenGame game("boxes");
  PlayerWorld world;
  ASSERT_TRUE(world.initialised);
  const CPHBox& standing = world.player->Collision().StandingSet();
  ASSERT_EQ(standing.records.size(), 1u);
  const CHitBox top = standing.First().top;
  EXPECT_GT(top.bottom - top.top, 0.0f);
  EXPECT_EQ(world.player->Collision().CrouchingSet().records.size(), 32u) << "16 columns, 1 row";

  // The debug reload of a half-saved file keeps what was there.
  Write("Values/Player Collisions/Default.hitbox.xml", "<hitboxes><hitbox x=\"1\"");
  world.player->ReloadData();
  EXPECT_EQ(world.player->Collision().StandingSet().First().top.top, top.top);

  CPHBox empty;
  EXPECT_FALSE(LoadBoxSet("Nothing", 5, empty));
  ASSERT_EQ(empty.records.size(), 1u) << "a set always has a record to use";
  CPHBox negative;
  EXPECT_TRUE(LoadBoxSet("Crouch", -7, negative));
  EXPECT_EQ(negative.records.size(), 1u);
}

TEST(PlayerData, TheWallSlideSoundLivesAsLongAsTheHero) {
  PrepareTestGame();
  CAudioManager audio(true);
  // Every source taken: the hero's loop gets none, and a sound without a
  // source counts as finished for the manager.
  for (std::size_t i = 0; i < CAudioManager::MaxSources; ++i)
    audio.PlaySound("Audio/sfx/sfx_shuriken.wav", true)->keepAlive = true;
  {
    PlayerWorld world;
    ASSERT_TRUE(world.initialised);
    CSound* slide = world.player->Effects().wallSlideSound;
    ASSERT_NE(slide, nullptr);
    EXPECT_FALSE(slide->hasSource);
    for (int i = 0; i < 10; ++i) audio.Update();
    const auto& sounds = audio.GetSounds();
    EXPECT_NE(std::find(sounds.begin(), sounds.end(), slide), sounds.end());
    // Sliding down a wall resumes it without harm.
    world.StandAt(room::kShaftInner + 64);
    world.controller.held = STEP_RIGHT | STEP_JUMP;
    world.Steps(120);
    EXPECT_TRUE(world.State().wallContact);
    audio.Update();
    EXPECT_EQ(audio.GetSounds().size(), CAudioManager::MaxSources + 1);
  }
  EXPECT_EQ(audio.GetSounds().size(), CAudioManager::MaxSources) << "given back with the hero";
  audio.StopAll(true);
}

}  // namespace
