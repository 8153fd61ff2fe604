// The front end in-process, on chapters of our own: the intro, the main
// menu and its screens driven by keys, pointer and pad as the frame loop
// feeds them, the level selection, the pause menu over a level, the
// options that act at once and last, and the achievements earned in play.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/GameState.h"
#include "app/IngameHud.h"
#include "app/StateManager.h"
#include "app/UserOptions.h"
#include "audio/AudioManager.h"
#include "audio/Sound.h"
#include "frontend/AchievementBanner.h"
#include "frontend/AchievementScreen.h"
#include "frontend/CreditsScreen.h"
#include "frontend/IntroState.h"
#include "frontend/LevelFinishScreen.h"
#include "frontend/LevelLink.h"
#include "frontend/LevelSelection.h"
#include "frontend/LoadingState.h"
#include "frontend/MenuItem.h"
#include "frontend/MenuScreen.h"
#include "frontend/MenuSelection.h"
#include "frontend/MenuState.h"
#include "frontend/OptionsScreen.h"
#include "frontend/PauseMenuState.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "input/InputManager.h"
#include "platform/DecodedImage.h"
#include "platform/Events.h"
#include "platform/GameController.h"
#include "platform/Video.h"
#include "player/Player.h"
#include "progress/ProgressStore.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TestMaps.h"

namespace fs = std::filesystem;

namespace {

constexpr float kStep = 1.0f / 120.0f;
const fs::path kTestLevel = fs::path(KUROSHIN_SOURCE_DIR) / "tests/levels/Player Test.tmx";
// Where the test level's end trigger lets the hero walk into its finish.
constexpr float kBeforeTheEnd = 10840.0f;
constexpr float kFloor = 14 * 64.0f;

struct Chapter {
  std::string folder;
  std::vector<std::string> levels;
};

// A game directory of our own: the data linked in, the chapters given as
// copies of the test level, and the services of the entry.
class FrontEnd : public ::testing::Test {
protected:
  void SetUp() override {
    // The test's window never has the focus, without which a pad's presses
    // would not be delivered.
    setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
    ASSERT_TRUE(InitVideo(true));
    home = fs::current_path();
    dir = MakeTestDirectory("frontend");
    fs::current_path(dir);
    const fs::path data = fs::path(KUROSHIN_SOURCE_DIR) / "data";
    for (const char* folder : {"Graphics", "Audio"})
      fs::create_directory_symlink(data / folder, folder);
    fs::copy(data / "Values", "Values", fs::copy_options::recursive);
    Requirements({});
    CLoadingState::waitForEveryLoad = true;
  }

  void TearDown() override {
    Close();
    CLoadingState::waitForEveryLoad = false;
    fs::current_path(home);
    ShutdownVideo();
  }

  static void Chapters(const std::vector<Chapter>& chapters) {
    for (const Chapter& chapter : chapters) {
      fs::create_directories("Levels/" + chapter.folder);
      for (const std::string& level : chapter.levels)
        fs::copy_file(kTestLevel, "Levels/" + chapter.folder + "/" + level + ".tmx");
    }
  }

  // Level keys and the scrolls each needs.
  static void Requirements(const std::vector<std::pair<std::string, int>>& needs) {
    std::ofstream file("Values/Level Requirements/requirements.req", std::ios::trunc);
    file << "<Requirements>";
    for (const auto& [key, scrolls] : needs)
      file << "<Level name=\"" << key << "\" scrolls=\"" << scrolls << "\"/>";
    file << "</Requirements>";
  }

  void Open(unsigned width = 1280, unsigned height = 1024) {
    d3d = std::make_unique<CDirect3D>();
    ASSERT_TRUE(d3d->Init(d3d->CreateMainWindow(width, height), width, height, false));
    textures = std::make_unique<CTextureManager>();
    audio = std::make_unique<CAudioManager>(true);
    input = std::make_unique<CInputManager>();
    progress = std::make_unique<CProgressStore>();
    hud = std::make_unique<CIngameHud>();
    options = std::make_unique<CUserOptions>();
    states = std::make_unique<CStateManager>();
  }

  // The services in the entry's order of destruction.
  void Close() {
    states.reset();
    options.reset();
    hud.reset();
    progress.reset();
    input.reset();
    audio.reset();
    textures.reset();
    d3d.reset();
  }

  // One fixed step as the frame loop runs it.
  void Step(int count = 1) {
    for (int i = 0; i < count; ++i) {
      input->Update();
      states->Update(kStep);
    }
  }
  void Send(PlatformEventType type, int key = 0) {
    PlatformEvent event;
    event.type = type;
    event.virtualKey = key;
    input->HandleEvent(event);
  }
  // Pressed in one step, let go in the next.
  void Key(int key) {
    Send(PlatformEventType::KeyDown, key);
    Step();
    Send(PlatformEventType::KeyUp, key);
    Step();
  }
  void Point(float x, float y) {
    pointer = {x, y};
    PlatformEvent motion;
    motion.type = PlatformEventType::MouseMotion;
    motion.dx = motion.dy = 1;
    motion.x = x;
    motion.y = y;
    input->HandleEvent(motion);
    Step();
  }
  void Click() {
    PlatformEvent button;
    button.x = pointer.x;
    button.y = pointer.y;
    button.type = PlatformEventType::MouseButtonDown;
    input->HandleEvent(button);
    Step();
    button.type = PlatformEventType::MouseButtonUp;
    input->HandleEvent(button);
    Step();
  }
  // One frame of the current state; returns its picture.
  std::unique_ptr<CDecodedImage> Frame() {
    d3d->BeginFrame();
    if (IState* state = states->GetCurrentState()) state->Draw();
    auto picture = d3d->ReadFrame();
    d3d->EndFrame();
    return picture;
  }
  template <typename T>
  T* Top() const {
    return dynamic_cast<T*>(states->GetTopState());
  }
  CMenuState* StartMenu() {
    states->PushState(new CMenuState);
    Step();
    return Top<CMenuState>();
  }
  // Sounds started since `before` by that file.
  std::size_t Played(const char* file) const {
    std::size_t count = 0;
    for (const CSound* sound : audio->GetSounds())
      count += sound->fileName.find(file) != std::string::npos;
    return count;
  }
  // The hero walks into the level's finish from here on.
  static void NearTheEnd(CGameState& game) {
    PlayerState& hero = game.GetPlayer()->State();
    hero.position = {kBeforeTheEnd, kFloor - 8.0f};
    hero.velocity = {};
  }

  fs::path home;
  std::string dir;
  Vector2 pointer;
  std::unique_ptr<CDirect3D> d3d;
  std::unique_ptr<CTextureManager> textures;
  std::unique_ptr<CAudioManager> audio;
  std::unique_ptr<CInputManager> input;
  std::unique_ptr<CProgressStore> progress;
  std::unique_ptr<CIngameHud> hud;
  std::unique_ptr<CUserOptions> options;
  std::unique_ptr<CStateManager> states;
};

// The pause menu shows the level as it was drawn, darkened, at the size
// that draws into the back buffer and at one that draws into the virtual
// screen.
TEST_F(FrontEnd, PauseShowsTheFrozenLevelDarkened) {
  Chapters({{"1 Tutorial", {"01 First"}}});
  for (auto [width, height] : {std::pair{1280u, 1024u}, std::pair{1024u, 768u}}) {
    SCOPED_TRACE(width);
    Open(width, height);
    states->PushState(new CLoadingState({"Levels/1 Tutorial/01 First.tmx", "", ""}));
    Step(2);
    auto* game = Top<CGameState>();
    ASSERT_NE(game, nullptr);
    Step(240);
    Key(VK_ESCAPE);
    ASSERT_NE(Top<CPauseMenuState>(), nullptr);
    ASSERT_EQ(states->GetCurrentState(), Top<CPauseMenuState>());
    // The level as it is now, and the pause menu over it.
    d3d->BeginFrame();
    game->Draw();
    auto level = d3d->ReadFrame();
    d3d->EndFrame();
    auto paused = Frame();
    ASSERT_TRUE(level && paused);
    int compared = 0;
    for (int y = 0; y < 1024; y += 8) {
      for (int x = 0; x < 1280; x += 8) {
        // Outside the menu's panel.
        if (x > 330 && x < 950 && y > 220 && y < 800) continue;
        const unsigned a = level->Pixel(x, y);
        const unsigned b = paused->Pixel(x, y);
        for (int shift : {16, 8, 0}) {
          const int expected = static_cast<int>(((a >> shift) & 0xff) * 0.6f);
          ASSERT_NEAR(static_cast<int>((b >> shift) & 0xff), expected, 3) << "at " << x << "," << y;
        }
        ++compared;
      }
    }
    EXPECT_GT(compared, 10000);
    Close();
  }
}

TEST_F(FrontEnd, TheIntroSkipsToTheMenuItBuiltOrEndsOnItsOwn) {
  Open();
  auto* intro = new CIntroState;
  states->PushState(intro);
  Step();
  EXPECT_EQ(intro->LogoIndex(), 0u);
  EXPECT_NEAR(intro->LogoAlpha(), kStep, 1e-5);
  Key(VK_RETURN);
  auto* menu = Top<CMenuState>();
  ASSERT_NE(menu, nullptr) << "Enter during the first logo";
  EXPECT_TRUE(menu->IsInitialised()) << "built while the intro started";
  EXPECT_EQ(states->GetCurrentState(), menu);

  // Untouched: two logos of a second in, two held and one out, a step more
  // at each change.
  states->PopAllStates();
  states->PushState(new CIntroState);
  int steps = 0;
  while (!Top<CMenuState>() && steps < 2000) {
    Step();
    ++steps;
  }
  EXPECT_GE(steps, 2 * (120 + 240 + 120));
  EXPECT_LE(steps, 2 * (120 + 240 + 120) + 12);
}

TEST_F(FrontEnd, TheMainMenuFadesTurnsItsSunAndStartsItsMusicAfresh) {
  Chapters({{"1 Tutorial", {"01 First"}}});
  Open();
  CMenuState* menu = StartMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->IsFading());
  Step(120);
  EXPECT_FALSE(menu->IsFading()) << "a second from black";
  EXPECT_EQ(menu->FadeAlpha(), 0.0f);
  const float angle = menu->SunAngle();
  Step(120);
  EXPECT_NEAR(menu->SunAngle() - angle, 4.0f, 1e-3f) << "four degrees a second";
  for (int i = 0; i < 95 * 120; ++i) {
    Step();
    ASSERT_LE(std::fabs(menu->SunAngle()), 360.0f);
  }
  EXPECT_NEAR(menu->SunAngle(), std::fmod(4.0f * 96.0f + angle, 360.0f), 0.05f);

  // Every level started over the menu stops the title music; it starts
  // over on return, one stream at a time.
  class Over : public IState {
  public:
    bool Init() override { return true; }
    void Cleanup() override {}
    void Pause() override {}
    void Resume() override {}
    void Restart() override {}
    bool Update(float) override { return true; }
    void Draw() override {}
  };
  ASSERT_NE(menu->TitleMusic(), nullptr);
  for (int round = 0; round < 3; ++round) {
    states->PushState(new Over);
    Step();
    EXPECT_EQ(menu->TitleMusic(), nullptr);
    EXPECT_EQ(Played("bgm_title"), 0u) << "stopped and handed back, round " << round;
    states->PopState();
    Step();
    EXPECT_TRUE(menu->IsFading()) << "from black again";
    ASSERT_NE(menu->TitleMusic(), nullptr);
    EXPECT_EQ(Played("bgm_title"), 1u);
  }
}

// The start screen as a player reaches it with each device: every other
// screen shares the toolkit's handling.
TEST_F(FrontEnd, MenusFollowKeysPointerAndPad) {
  Open();
  CMenuState* menu = StartMenu();
  ASSERT_NE(menu, nullptr);
  CMenuNavigator& navigator = menu->navigator;
  CMenuScreen* start = navigator.current;
  ASSERT_EQ(start->name, "start");
  ASSERT_EQ(start->ItemCount(), 5u);

  const std::size_t switches = Played("sfx_menu_switch");
  for (int i = 0; i < 5; ++i) Key(VK_DOWN);
  EXPECT_EQ(start->selected, 0u) << "down past EXIT comes round to START";
  Key(VK_UP);
  EXPECT_EQ(start->selected, 4u) << "up from START is EXIT";
  Key(0x57);  // W
  EXPECT_EQ(start->selected, 3u);
  EXPECT_EQ(Played("sfx_menu_switch"), switches + 7);
  Key(VK_ESCAPE);
  EXPECT_EQ(navigator.current, start) << "nothing behind the start screen";
  EXPECT_EQ(Top<CMenuState>(), menu);

  // The pointer: onto OPTIONS switches once, about on it is silent, a click
  // beside every item does nothing, one on it opens the options.
  Frame();
  const CHitBox options = start->Item(1)->hitBox;
  const float middleX = (options.left + options.right) / 2;
  const float middleY = (options.top + options.bottom) / 2;
  const std::size_t before = Played("sfx_menu_switch");
  Point(middleX, middleY);
  EXPECT_EQ(start->selected, 1u);
  Point(middleX + 2, middleY);
  EXPECT_EQ(Played("sfx_menu_switch"), before + 1);
  Point(20, 20);
  Click();
  EXPECT_EQ(navigator.current, start);
  Point(middleX, middleY);
  const std::size_t selects = Played("sfx_menu_select");
  Click();
  EXPECT_EQ(navigator.current->name, "options");
  EXPECT_EQ(Played("sfx_menu_select"), selects + 1);
  Key(VK_ESCAPE);
  EXPECT_EQ(navigator.current, start) << "Escape goes back";

  // The pad: hat and stick move, button 0 chooses, button 1 goes back.
  const int pad = CGameController::AttachVirtual();
  ASSERT_GE(pad, 0);
  for (PlatformEvent event; PollPlatformEvent(event);) input->HandleEvent(event);
  ASSERT_TRUE(input->HasJoystick());
  start->selected = 0;
  CGameController::SetVirtualDpad(pad, false, true, false, false);
  Step();
  CGameController::SetVirtualDpad(pad, false, false, false, false);
  Step();
  EXPECT_EQ(start->selected, 1u) << "hat down";
  CGameController::SetVirtualAxis(pad, 1, 32767);
  Step(3);
  CGameController::SetVirtualAxis(pad, 1, 0);
  Step();
  EXPECT_EQ(start->selected, 2u) << "the stick down, once while it stays down";
  CGameController::SetVirtualDpad(pad, true, false, false, false);
  Step();
  CGameController::SetVirtualDpad(pad, false, false, false, false);
  Step();
  EXPECT_EQ(start->selected, 1u) << "hat up";
  CGameController::SetVirtualButton(pad, ControllerSnapshot::A, true);
  Step();
  CGameController::SetVirtualButton(pad, ControllerSnapshot::A, false);
  Step();
  EXPECT_EQ(navigator.current->name, "options");
  CGameController::SetVirtualButton(pad, ControllerSnapshot::B, true);
  Step();
  CGameController::SetVirtualButton(pad, ControllerSnapshot::B, false);
  Step();
  EXPECT_EQ(navigator.current, start);
  CGameController::DetachVirtual(pad);
}

TEST_F(FrontEnd, TheLevelSelectionPagesChaptersLocksLevelsAndScrollsLongOnes) {
  Chapters({{"1 Tutorial", {"01 First", "02 Second"}},
            {"2 Basic", {"01 Open", "02 Locked"}},
            {"3 Long", {"01", "02", "03", "04", "05", "06", "07", "08"}}});
  Requirements({{"Levels/2 Basic/02 Locked", 1}, {"Levels/2 Basic/01 Open", 0}});
  Open();
  CMenuState* menu = StartMenu();
  ASSERT_NE(menu, nullptr);
  Key(VK_RETURN);  // START
  auto* levels = dynamic_cast<CLevelSelection*>(menu->navigator.current);
  ASSERT_NE(levels, nullptr);
  ASSERT_EQ(levels->ChapterCount(), 3u);
  EXPECT_EQ(levels->ItemCount(), 3u) << "two levels and BACK";

  const struct {
    int key;
    std::size_t chapter;
  } turns[] = {{VK_RIGHT, 1}, {0x44, 2}, {VK_RIGHT, 0}, {VK_LEFT, 2}, {0x41, 1}};
  for (const auto& turn : turns) {
    Key(turn.key);
    EXPECT_EQ(levels->chapter, turn.chapter);
  }
  // "2 Basic": the second level needs a scroll nobody has.
  auto* open = dynamic_cast<CLevelLink*>(levels->Item(0));
  auto* locked = dynamic_cast<CLevelLink*>(levels->Item(1));
  ASSERT_TRUE(open && locked);
  EXPECT_TRUE(open->enabled);
  EXPECT_FALSE(locked->enabled);
  EXPECT_EQ(locked->path, "Levels/2 Basic/02 Locked.tmx");
  levels->selected = 1;
  const std::size_t selects = Played("sfx_menu_select");
  Key(VK_RETURN);
  EXPECT_EQ(Top<CMenuState>(), menu) << "a locked level does not start";
  EXPECT_EQ(Played("sfx_menu_select"), selects);

  // "3 Long": five rows in view, following the selection.
  Key(VK_RIGHT);
  ASSERT_EQ(levels->ItemCount(), 9u);
  levels->selected = 0;
  for (int i = 0; i < 7; ++i) Key(VK_DOWN);
  EXPECT_EQ(levels->firstRow, 3u);
  Frame();
  for (std::size_t i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    const CHitBox& box = levels->Item(i)->hitBox;
    if (i < 3) {
      EXPECT_FALSE(levels->IsRowShown(i));
      EXPECT_EQ(box.right - box.left, 0.0f) << "out of view, out of the pointer's reach";
    } else {
      EXPECT_TRUE(levels->IsRowShown(i));
      EXPECT_GT(box.right, box.left);
    }
  }
  EXPECT_EQ(levels->Item(7)->y, 150.0f + 55.0f * 4);
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(levels->selected, 0u) << "past BACK to the first";
  EXPECT_EQ(levels->firstRow, 0u);

  // An unlocked level starts over the menu.
  Key(VK_LEFT);
  levels->selected = 0;
  Key(VK_RETURN);
  auto* game = Top<CGameState>();
  ASSERT_NE(game, nullptr);
  EXPECT_EQ(game->GetLevelName(), "Levels/2 Basic/01 Open.tmx");
  EXPECT_EQ(states->GetBottomState(), menu);
}

// Level names are cut before they reach the times, which line up on their
// right, selected or not; measured as the game's font draws them.
TEST_F(FrontEnd, LongLevelNamesStopShortOfTheTimes) {
  Open();
  const struct {
    std::string name;
    float bestTime;
    bool whole;
  } rows[] = {{"01 Dusk Road", 35.12f, true},
              {"02 Bamboo Gate", 0.0f, true},
              {"05 The Long Bamboo Bridge Over The River", 999.99f, false},
              {"05 The Long Bamboo Bridge Over The River", 0.0f, false},
              {"WWWWWWWWWWWWWWWWWWWWWWWW", 8.0f, false},
              {"", 0.0f, true}};
  const float screenX = 670.0f;
  float timesEnd = -1.0f;
  for (const auto& row : rows) {
    for (bool selected : {false, true}) {
      SCOPED_TRACE(row.name + (selected ? " selected" : ""));
      CLevelLink link(row.name, "x.tmx", row.bestTime, false, 0, 90.0f, 150.0f);
      link.Draw(screenX, 300.0f, selected);
      EXPECT_LE(link.nameBounds.right + CLevelLink::kGap, link.timeBounds.left + 0.01f);
      if (timesEnd < 0) timesEnd = link.timeBounds.right;
      EXPECT_NEAR(link.timeBounds.right, timesEnd, 0.01f) << "times end in one column";
      const float nameWidth = link.nameBounds.right - link.nameBounds.left;
      CBitmapFont font;
      const float whole = font.TextWidth(row.name, 0, CBitmapFont::kLeft, 0.4f);
      if (row.whole)
        EXPECT_NEAR(nameWidth, whole, 0.01f);
      else
        EXPECT_LT(nameWidth, whole);
    }
  }
}

TEST_F(FrontEnd, NextLevelFollowsTheShownChapterUntilItsEndOrALock) {
  Chapters({{"1 Tutorial", {"01 First", "02 Second", "03 Third"}}, {"2 Basic", {"01 Only"}}});
  Requirements({{"Levels/1 Tutorial/03 Third", 2}});
  Open();
  CMenuState* menu = StartMenu();
  ASSERT_NE(menu, nullptr);
  auto play = [&](const std::string& level) {
    states->PushState(new CGameState({level, "", ""}));
    Step();
    return Top<CGameState>();
  };
  auto next = [&](CGameState* game) {
    game->GetFinishScreen()->navigator.RunAction("next_level");
    Step(2);
  };
  CGameState* game = play("Levels/1 Tutorial/01 First.tmx");
  ASSERT_NE(game, nullptr);
  next(game);
  game = Top<CGameState>();
  ASSERT_NE(game, nullptr) << "loaded in its place";
  EXPECT_EQ(game->GetLevelName(), "Levels/1 Tutorial/02 Second.tmx");
  EXPECT_EQ(states->GetBottomState(), menu);
  next(game);
  EXPECT_EQ(Top<CMenuState>(), menu) << "the next one is locked";

  // The last level of its chapter, and one of a chapter not shown.
  for (const char* level : {"Levels/2 Basic/01 Only.tmx", "Levels/1 Tutorial/03 Third.tmx"}) {
    SCOPED_TRACE(level);
    auto* levels = dynamic_cast<CLevelSelection*>(menu->navigator.FindScreen("level_selection"));
    levels->ShowChapterOf("Levels/2 Basic/01 Only.tmx");
    game = play(level);
    ASSERT_NE(game, nullptr);
    next(game);
    EXPECT_EQ(Top<CMenuState>(), menu);
  }
}

TEST_F(FrontEnd, ThePauseMenuResumesRetriesOpensOptionsAndGoesBackToANewMenu) {
  Chapters({{"1 Tutorial", {"01 First"}}});
  Open();
  CMenuState* menu = StartMenu();
  states->PushState(new CLoadingState({"Levels/1 Tutorial/01 First.tmx", "", ""}));
  Step(2);
  auto* game = Top<CGameState>();
  ASSERT_NE(game, nullptr);
  PlayerState& hero = game->GetPlayer()->State();
  const Vector2 spawn = hero.spawn;
  Step(120);

  Key(VK_ESCAPE);
  auto* pause = Top<CPauseMenuState>();
  ASSERT_NE(pause, nullptr);
  EXPECT_TRUE(IsSystemCursorVisible());
  const float time = hud->time;
  Step(60);
  EXPECT_EQ(hud->time, time) << "the level stands still";
  Key(VK_RETURN);  // RESUME GAME
  EXPECT_EQ(Top<CGameState>(), game);
  EXPECT_FALSE(IsSystemCursorVisible());

  // RETRY: the pause menu goes and the level starts over.
  hero.position.x += 300.0f;
  Key(VK_ESCAPE);
  Key(VK_DOWN);
  Key(VK_RETURN);
  ASSERT_EQ(Top<CGameState>(), game);
  EXPECT_EQ(game->GetPlayer()->State().position.x, spawn.x);
  EXPECT_LT(hud->time, 0.02f);

  // OPTIONS: BACK returns to the pause screen, Escape there resumes.
  Key(VK_ESCAPE);
  pause = Top<CPauseMenuState>();
  ASSERT_NE(pause, nullptr);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_RETURN);
  ASSERT_EQ(pause->navigator.current->name, "options");
  Key(VK_UP);  // round to BACK
  Key(VK_RETURN);
  EXPECT_EQ(pause->navigator.current->name, "pause");
  Key(VK_RETURN);
  ASSERT_EQ(pause->navigator.current->name, "options");
  Key(VK_ESCAPE);
  EXPECT_EQ(Top<CGameState>(), game) << "Escape resumes from the options too";

  // The pad's start button pauses and resumes as Escape does.
  const int pad = CGameController::AttachVirtual();
  ASSERT_GE(pad, 0);
  for (PlatformEvent event; PollPlatformEvent(event);) input->HandleEvent(event);
  for (bool paused : {true, false}) {
    CGameController::SetVirtualButton(pad, ControllerSnapshot::Start, true);
    Step();
    CGameController::SetVirtualButton(pad, ControllerSnapshot::Start, false);
    Step();
    EXPECT_EQ(Top<CPauseMenuState>() != nullptr, paused);
  }
  CGameController::DetachVirtual(pad);

  // BACK TO MENU: everything goes, a fresh main menu comes.
  Key(VK_ESCAPE);
  for (int i = 0; i < 3; ++i) Key(VK_DOWN);
  Key(VK_RETURN);
  Step();
  auto* fresh = Top<CMenuState>();
  ASSERT_NE(fresh, nullptr);
  EXPECT_NE(fresh, menu);
  EXPECT_EQ(states->GetBottomState(), fresh);
  EXPECT_EQ(states->GetCurrentState(), fresh);
}

// The pause check comes first in the level's step: Escape on the very step
// the level is completed pauses it; the finish panel shows on resuming, and
// from then on Escape does nothing.
TEST_F(FrontEnd, EscapeOnTheStepTheLevelIsCompletedPauses) {
  Chapters({{"1 Tutorial", {"01 First"}}});
  Open();
  StartMenu();
  states->PushState(new CLoadingState({"Levels/1 Tutorial/01 First.tmx", "", ""}));
  Step(2);
  auto* game = Top<CGameState>();
  ASSERT_NE(game, nullptr);
  Step(60);
  NearTheEnd(*game);
  int steps = 0;
  while (!game->IsFinished() && steps < 2000) {
    Step();
    ++steps;
  }
  ASSERT_TRUE(game->IsFinished());
  game->GetFinishScreen()->navigator.RunAction("retry2");
  Step(60);
  NearTheEnd(*game);
  Step(steps - 1);
  ASSERT_FALSE(game->IsFinished());
  Send(PlatformEventType::KeyDown, VK_ESCAPE);
  Step();
  EXPECT_TRUE(game->IsFinished()) << "completed in this step";
  ASSERT_NE(Top<CPauseMenuState>(), nullptr) << "and paused in it";
  Send(PlatformEventType::KeyUp, VK_ESCAPE);
  Step();
  Key(VK_ESCAPE);
  EXPECT_EQ(Top<CGameState>(), game);
  Key(VK_ESCAPE);
  EXPECT_EQ(Top<CGameState>(), game) << "the finish panel does not pause";
  EXPECT_TRUE(game->IsFinished());
}

TEST_F(FrontEnd, OptionsActAtOnceAndLastWhileTheResolutionStaysInItsList) {
  // A window size no display mode has.
  Open(1000, 700);
  const std::vector<DisplayMode> modes = d3d->GetDisplayModes();
  ASSERT_FALSE(modes.empty()) << "the dummy display lists its own mode";
  CMenuState* menu = StartMenu();
  ASSERT_NE(menu, nullptr);
  Key(VK_DOWN);
  Key(VK_RETURN);
  auto* screen = dynamic_cast<COptionsScreen*>(menu->navigator.current);
  ASSERT_NE(screen, nullptr);
  CMenuSelection* resolution = screen->resolution;
  EXPECT_EQ(resolution->choice, -1) << "the size is not in the list";
  Key(VK_LEFT);
  EXPECT_EQ(resolution->choice, static_cast<int>(modes.size()) - 1) << "round to the last";
  Key(VK_DOWN);
  Key(VK_UP);
  EXPECT_EQ(resolution->choice, -1) << "not applied, so forgotten";
  Key(VK_RIGHT);
  EXPECT_EQ(resolution->choice, 0);
  Key(VK_RETURN);
  EXPECT_EQ(d3d->GetWindowWidth(), modes[0].width);
  EXPECT_EQ(d3d->GetWindowHeight(), modes[0].height);

  // Each switch flips at once, and both ways.
  const bool fullScreen = d3d->IsFullScreen();
  const bool vsync = d3d->IsVSync();
  screen->selected = 1;
  Key(VK_RETURN);
  EXPECT_NE(d3d->IsFullScreen(), fullScreen);
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_NE(d3d->IsVSync(), vsync);
  Key(VK_DOWN);
  CSound* music = menu->TitleMusic();
  ASSERT_NE(music, nullptr);
  EXPECT_GT(music->SourceGain(), 0.0f);
  Key(VK_RETURN);
  EXPECT_EQ(music->SourceGain(), 0.0f) << "the title music is silenced at once";
  Key(VK_DOWN);
  Key(VK_RETURN);  // SFX off
  Key(VK_UP);
  bool silent = true;
  for (const CSound* sound : audio->GetSounds())
    if (sound->fileName.find("sfx_menu_switch") != std::string::npos && sound->hasSource)
      silent = silent && sound->SourceGain() == 0.0f;
  EXPECT_TRUE(silent) << "menu sounds follow the effects switch";

  // What was chosen is in the file, and a new start reads it back.
  const OptionValues chosen = options->values;
  EXPECT_EQ(chosen.width, modes[0].width);
  EXPECT_EQ(chosen.fullScreen, !fullScreen);
  EXPECT_EQ(chosen.vsync, !vsync);
  EXPECT_FALSE(chosen.music);
  EXPECT_FALSE(chosen.effects);
  options->values = OptionValues();
  options->Load();
  EXPECT_EQ(options->values, chosen);
  Key(VK_RETURN);  // MUSIC, selected by the Up above, on again
  EXPECT_GT(music->SourceGain(), 0.0f);
  EXPECT_TRUE(options->values.music);

  // Another options screen built before the change shows the size of the
  // moment when it is entered.
  CMenuNavigator other;
  other.AddScreen(new CMenuScreen("first", &other));
  d3d->SetResolution(1000, 700);
  auto* late = new COptionsScreen(&other);
  other.AddScreen(late);
  EXPECT_EQ(late->resolution->choice, -1);
  d3d->SetResolution(modes[0].width, modes[0].height);
  other.RunAction("options");
  EXPECT_EQ(late->resolution->choice, 0);
  EXPECT_EQ(late->resolution->committedChoice, 0);
}

TEST_F(FrontEnd, CreditsPagesComeRoundAndStayWhereTheyWere) {
  Open();
  CMenuState* menu = StartMenu();
  ASSERT_NE(menu, nullptr);
  menu->navigator.RunAction("credits");
  auto* credits = dynamic_cast<CCreditsScreen*>(menu->navigator.current);
  ASSERT_NE(credits, nullptr);
  ASSERT_EQ(credits->PageCount(), 9u);
  Key(VK_LEFT);
  EXPECT_EQ(credits->page, 8) << "left of the first is the last";
  Key(VK_RIGHT);
  EXPECT_EQ(credits->page, 0) << "right of the last is the first";
  for (int i = 0; i < 6; ++i) Key(0x44);
  EXPECT_EQ(credits->page, 6);
  for (int page = 0; page < 9; ++page) {
    const bool pictured = credits->GetPage(page).picture.GetTexture() != nullptr;
    EXPECT_EQ(pictured, page != 6 && page != 7) << page;
    EXPECT_FALSE(credits->GetPage(page).title.empty());
  }
  // The pad pages with its hat and its stick.
  const int pad = CGameController::AttachVirtual();
  ASSERT_GE(pad, 0);
  for (PlatformEvent event; PollPlatformEvent(event);) input->HandleEvent(event);
  CGameController::SetVirtualDpad(pad, false, false, false, true);
  Step();
  CGameController::SetVirtualDpad(pad, false, false, false, false);
  Step();
  EXPECT_EQ(credits->page, 7);
  CGameController::SetVirtualAxis(pad, 0, -32768);
  Step();
  CGameController::SetVirtualAxis(pad, 0, 0);
  Step();
  EXPECT_EQ(credits->page, 6);
  CGameController::DetachVirtual(pad);
  Key(VK_ESCAPE);
  EXPECT_EQ(menu->navigator.current->name, "start");
  menu->navigator.RunAction("credits");
  EXPECT_EQ(credits->page, 6) << "kept while away";
  Frame();  // every page's drawing reaches the end
}

// A level of our own where arrows keep coming at the hero's spawn.
void ArrowLevel(const std::string& path) {
  const fs::path folder = fs::path(path).parent_path();
  fs::create_directories(folder);
  std::vector<std::string> rows(10, std::string(24, '.'));
  rows[8] = rows[9] = std::string(24, '#');
  const std::string objects =
      MapObject("spawn", "", 4 * 64, 7 * 64, 32, 32) +
      MapObject("trap", "trap_arrow", 16 * 64, 7 * 64 + 24, 64, 16,
                {{"dir", "left"}, {"active", "1"}, {"interval", "1"}, {"speed", "900"}});
  std::ofstream(path) << GridMap(rows, objects);
  fs::rename("ground.png", folder / "ground.png");
}

TEST_F(FrontEnd, AchievementsAreEarnedInPlayShownAndKept) {
  Chapters({{"1 Tutorial", {"01 First"}}});
  ArrowLevel("Levels/2 Arrows/01 Rain.tmx");
  Open();
  CMenuState* menu = StartMenu();
  ASSERT_NE(menu, nullptr);
  states->PushState(new CLoadingState({"Levels/2 Arrows/01 Rain.tmx", "", ""}));
  Step(2);
  auto* game = Top<CGameState>();
  ASSERT_NE(game, nullptr);
  const Statistics& counted = progress->statistics;
  std::string firstBanner;
  int steps = 0;
  for (; steps < 120 * 60 && counted.arrowDeaths < 5; ++steps) {
    Step();
    if (firstBanner.empty() && game->GetBanner()->IsShowing())
      firstBanner = game->GetBanner()->Shown();
  }
  ASSERT_EQ(counted.arrowDeaths, 5u) << "after " << steps << " steps";
  EXPECT_EQ(counted.deaths, 5u);
  EXPECT_EQ(firstBanner, "First Blood!");
  EXPECT_TRUE(progress->achievements[0].achieved);
  EXPECT_TRUE(progress->achievements[10].achieved) << "Arrow to the knee";
  EXPECT_FALSE(progress->achievements[1].achieved);
  EXPECT_EQ(game->GetBanner()->Shown(), "Arrow to the knee");

  // The debug key's deaths are no player's.
  Step(240);
  const std::uint32_t deaths = counted.deaths;
  Send(PlatformEventType::KeyDown, VK_F1 + 3);
  Step();
  Send(PlatformEventType::KeyUp, VK_F1 + 3);
  Step();
  EXPECT_TRUE(game->GetPlayer()->State().dead);
  EXPECT_EQ(counted.deaths, deaths);

  // Finishing the only Tutorial level completes that chapter.
  states->PopState();
  Step();
  states->PushState(new CLoadingState({"Levels/1 Tutorial/01 First.tmx", "", ""}));
  Step(2);
  game = Top<CGameState>();
  ASSERT_NE(game, nullptr);
  Step(60);
  NearTheEnd(*game);
  for (int i = 0; i < 2000 && !game->IsFinished(); ++i) Step();
  ASSERT_TRUE(game->IsFinished());
  EXPECT_TRUE(progress->achievements[3].achieved) << "Novice";
  EXPECT_EQ(counted.completedChapters, 1u);
  EXPECT_EQ(game->GetBanner()->Shown(), "Novice");

  // All of it read back as the next start reads it.
  const std::vector<Achievement> earned = progress->achievements;
  const std::uint32_t allDeaths = counted.deaths;
  states->PopAllStates();
  Step();
  CProgressStore again;
  again.LoadStatistics();
  EXPECT_EQ(again.statistics.deaths, allDeaths);
  EXPECT_EQ(again.statistics.arrowDeaths, 5u);
  for (std::size_t i = 0; i < earned.size(); ++i)
    EXPECT_EQ(again.achievements[i].achieved, earned[i].achieved) << earned[i].title;
}

TEST_F(FrontEnd, TheAchievementScreenListsEveryAchievementPageByPage) {
  Open();
  progress->achievements[4].achieved = true;
  CMenuState* menu = StartMenu();
  ASSERT_NE(menu, nullptr);
  for (int i = 0; i < 2; ++i) Key(VK_DOWN);
  Key(VK_RETURN);
  auto* screen = dynamic_cast<CAchievementScreen*>(menu->navigator.current);
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->PageCount(), 2u) << "eleven in rows of six";
  Frame();
  Key(VK_RIGHT);
  EXPECT_EQ(screen->page, 1u);
  Frame();
  Key(VK_RIGHT);
  EXPECT_EQ(screen->page, 0u);
  Key(VK_LEFT);
  EXPECT_EQ(screen->page, 1u);
  Key(VK_RETURN);  // BACK, the only item
  EXPECT_EQ(menu->navigator.current->name, "start");
}

// The panels are placed right of the title picture from their own size, in
// signed numbers: a panel wider than the screen ends up left of it, not
// four billion pixels off to the right.
TEST_F(FrontEnd, APanelWiderThanTheScreenStaysNearIt) {
  const fs::path misc = fs::read_symlink("Graphics") / "Misc";
  fs::remove("Graphics");
  fs::create_directories("Graphics/Misc");
  for (const auto& entry : fs::directory_iterator(misc.parent_path()))
    if (entry.path().filename() != "Misc")
      fs::create_directory_symlink(entry.path(), "Graphics" / entry.path().filename());
  for (const auto& entry : fs::directory_iterator(misc))
    if (entry.path().filename() != "ui_menu_bg.png")
      fs::create_symlink(entry.path(), "Graphics/Misc" / entry.path().filename());
  ASSERT_TRUE(
      CDecodedImage::Filled(1400, 540, 0xffe0c890)->SavePng("Graphics/Misc/ui_menu_bg.png"));
  Open();
  CMenuState* menu = StartMenu();
  ASSERT_NE(menu, nullptr);
  for (const char* name : {"start", "level_selection", "options", "achievements", "credits"}) {
    SCOPED_TRACE(name);
    const CMenuScreen* screen = menu->navigator.FindScreen(name);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->x, 1280.0f - 1400.0f - 30.0f);
    EXPECT_EQ(screen->y, 512.0f - 270.0f + 60.0f);
    EXPECT_EQ(screen->background.GetX(), screen->x);
  }
}

}  // namespace
