#include "input/InputManager.h"

#include <gtest/gtest.h>

#include <memory>

#include "graphics/Direct3D.h"
#include "platform/Events.h"
#include "platform/GameController.h"
#include "platform/KeyMap.h"
#include "platform/Video.h"
#include "tests/support/ChildProcess.h"

namespace {

PlatformEvent Key(PlatformEventType type, int vk, bool alt = false, bool repeat = false) {
  PlatformEvent event;
  event.type = type;
  event.virtualKey = vk;
  event.altHeld = alt;
  event.repeat = repeat;
  return event;
}
PlatformEvent Down(int vk, bool alt = false, bool repeat = false) {
  return Key(PlatformEventType::KeyDown, vk, alt, repeat);
}
PlatformEvent Up(int vk, bool alt = false) { return Key(PlatformEventType::KeyUp, vk, alt); }

TEST(InputKeys, PressedOnlyInTheFirstStepHeldAfter) {
  CInputManager input;
  EXPECT_EQ(CInputManager::GetInstance(), &input);
  input.HandleEvent(Down(VK_SPACE));
  EXPECT_FALSE(input.IsKeyDown(VK_SPACE));  // not before the step
  input.Update();
  EXPECT_TRUE(input.IsKeyDown(VK_SPACE));
  EXPECT_TRUE(input.WasKeyPressed(VK_SPACE));
  input.Update();
  EXPECT_TRUE(input.IsKeyDown(VK_SPACE));
  EXPECT_FALSE(input.WasKeyPressed(VK_SPACE));
  input.HandleEvent(Up(VK_SPACE));
  input.Update();
  EXPECT_FALSE(input.IsKeyDown(VK_SPACE));

  // Down and up between two steps: never seen.
  input.HandleEvent(Down('A'));
  input.HandleEvent(Up('A'));
  input.Update();
  EXPECT_FALSE(input.IsKeyDown('A'));
  EXPECT_FALSE(input.WasKeyPressed('A'));
}

TEST(InputKeys, AltMakesSystemKeys) {
  CDirect3D d3d;  // not opened: the setters only record the wish
  CInputManager input;
  ASSERT_FALSE(d3d.IsFullScreen());
  input.HandleEvent(Down(VK_MENU, true));
  input.HandleEvent(Down(VK_RETURN, true));
  EXPECT_TRUE(d3d.IsFullScreen());
  EXPECT_TRUE(d3d.NeedsReset());
  input.HandleEvent(Down(VK_RETURN, true, true));  // auto-repeat: no second toggle
  EXPECT_TRUE(d3d.IsFullScreen());
  input.HandleEvent(Down('D', true));
  input.Update();
  EXPECT_FALSE(input.IsKeyDown(VK_RETURN));
  EXPECT_FALSE(input.IsKeyDown(VK_MENU));
  EXPECT_FALSE(input.IsKeyDown('D'));
  input.HandleEvent(Down(VK_RETURN, true));
  EXPECT_FALSE(d3d.IsFullScreen());

  // A key held before Alt and let go during it is released.
  input.HandleEvent(Down(VK_LEFT));
  input.Update();
  input.HandleEvent(Up(VK_LEFT, true));
  input.Update();
  EXPECT_FALSE(input.IsKeyDown(VK_LEFT));
}

TEST(InputKeys, FocusLossReleasesEverything) {
  CInputManager input;
  input.HandleEvent(Down(VK_RIGHT));
  PlatformEvent click;
  click.type = PlatformEventType::MouseButtonDown;
  click.button = MOUSE_LEFT;
  input.HandleEvent(click);
  input.Update();
  ASSERT_TRUE(input.IsKeyDown(VK_RIGHT));
  ASSERT_TRUE(input.IsButtonDown(MOUSE_LEFT));
  PlatformEvent lost;
  lost.type = PlatformEventType::FocusLost;
  input.HandleEvent(lost);
  input.Update();
  EXPECT_FALSE(input.IsKeyDown(VK_RIGHT));
  EXPECT_FALSE(input.IsButtonDown(MOUSE_LEFT));
}

TEST(InputKeys, ScancodesMapToVirtualKeys) {
  // Scancodes are USB usage numbers.
  EXPECT_EQ(VirtualKeyFromScancode(225), VK_SHIFT);  // left shift
  EXPECT_EQ(VirtualKeyFromScancode(229), VK_SHIFT);  // right shift
  EXPECT_EQ(VirtualKeyFromScancode(224), VK_CONTROL);
  EXPECT_EQ(VirtualKeyFromScancode(228), VK_CONTROL);
  EXPECT_EQ(VirtualKeyFromScancode(4), 'A');
  EXPECT_EQ(VirtualKeyFromScancode(29), 'Z');
  EXPECT_EQ(VirtualKeyFromScancode(39), '0');
  EXPECT_EQ(VirtualKeyFromScancode(80), VK_LEFT);
  EXPECT_EQ(VirtualKeyFromScancode(82), VK_UP);
  EXPECT_EQ(VirtualKeyFromScancode(44), VK_SPACE);
  EXPECT_EQ(VirtualKeyFromScancode(40), VK_RETURN);
  EXPECT_EQ(VirtualKeyFromScancode(41), VK_ESCAPE);
  EXPECT_EQ(VirtualKeyFromScancode(58), VK_F1);
  EXPECT_EQ(VirtualKeyFromScancode(64), VK_F1 + 6);  // F7
  EXPECT_EQ(VirtualKeyFromScancode(0), 0);
  EXPECT_EQ(VirtualKeyFromScancode(400), 0);
}

class InputDeviceTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(InitVideo(true)); }
  void TearDown() override {
    d3d.reset();
    ShutdownVideo();
  }
  void Open(unsigned width, unsigned height) {
    d3d = std::make_unique<CDirect3D>();
    ASSERT_TRUE(d3d->Init(d3d->CreateMainWindow(width, height), width, height));
  }
  std::unique_ptr<CDirect3D> d3d;
};

PlatformEvent Motion(float x, float y, int dx, int dy) {
  PlatformEvent event;
  event.type = PlatformEventType::MouseMotion;
  event.x = x;
  event.y = y;
  event.dx = dx;
  event.dy = dy;
  return event;
}

TEST_F(InputDeviceTest, MouseMapsThroughTheLetterbox) {
  Open(1024, 768);
  CInputManager input;
  input.HandleEvent(Motion(512, 384, 3, -2));
  input.HandleEvent(Motion(512, 384, 4, 1));
  input.Update();
  EXPECT_EQ(input.mouseX, 640);
  EXPECT_EQ(input.mouseY, 512);
  EXPECT_EQ(input.mouseDX, 7);
  EXPECT_EQ(input.mouseDY, -1);
  input.HandleEvent(Motion(32, 0, 0, 0));  // the letterbox's top left corner
  input.Update();
  EXPECT_EQ(input.mouseX, 0);
  EXPECT_EQ(input.mouseY, 0);
  EXPECT_EQ(input.mouseDX, 0);  // deltas are per step
  EXPECT_EQ(input.previousDX, 7);

  PlatformEvent wheel;
  wheel.type = PlatformEventType::MouseWheel;
  wheel.wheel = 120;
  input.HandleEvent(wheel);
  input.HandleEvent(wheel);
  input.Update();
  EXPECT_EQ(input.wheelDelta, 240);
  wheel.wheel = -120;
  input.HandleEvent(wheel);
  input.Update();
  EXPECT_EQ(input.wheelDelta, -120);
  EXPECT_EQ(input.wheelTotal, 120);
  input.Update();
  EXPECT_EQ(input.wheelDelta, 0);
}

TEST_F(InputDeviceTest, MouseMapsThroughBarsAboveAndBelow) {
  Open(800, 1024);  // letterbox (0, 192, 800, 832)
  CInputManager input;
  input.HandleEvent(Motion(400, 512, 0, 0));
  input.Update();
  EXPECT_EQ(input.mouseX, 640);
  EXPECT_EQ(input.mouseY, 512);
  input.HandleEvent(Motion(0, 192, 0, 0));
  input.Update();
  EXPECT_EQ(input.mouseY, 0);
}

// Lets the platform deliver what it has queued (plug events among them).
void PumpInto(CInputManager& input) {
  PlatformEvent event;
  while (PollPlatformEvent(event)) input.HandleEvent(event);
}

TEST_F(InputDeviceTest, GameControllerStatePlugAndUnplug) {
  CInputManager input;
  std::string before = ReadWholeFile("log.txt");
  EXPECT_FALSE(input.SetupJoystick());
  EXPECT_NE(
      ReadWholeFile("log.txt").find("Error: Could not create DirectInput device.\n", before.size()),
      std::string::npos);

  int pad = CGameController::AttachVirtual();
  ASSERT_GE(pad, 0);
  PumpInto(input);  // picked up while running
  ASSERT_TRUE(input.HasJoystick());

  CGameController::SetVirtualAxis(pad, 0, -32768);
  CGameController::SetVirtualAxis(pad, 1, 32767);
  CGameController::SetVirtualDpad(pad, false, true, true, false);
  CGameController::SetVirtualButton(pad, ControllerSnapshot::A, true);
  CGameController::SetVirtualButton(pad, ControllerSnapshot::Start, true);
  input.Update();
  EXPECT_EQ(input.joyCurrent.lX, -1000);
  EXPECT_EQ(input.joyCurrent.lY, 1000);
  EXPECT_EQ(input.joyCurrent.rgdwPOV[0], 22500u);  // down and left
  EXPECT_EQ(input.joyCurrent.rgbButtons[0], 0x80);
  EXPECT_EQ(input.joyCurrent.rgbButtons[7], 0x80);
  EXPECT_EQ(input.joyCurrent.rgbButtons[1], 0);
  EXPECT_TRUE(input.WasJoyButtonPressed(0));

  CGameController::SetVirtualAxis(pad, 0, 16384);
  CGameController::SetVirtualAxis(pad, 1, 0);
  CGameController::SetVirtualDpad(pad, true, false, false, true);
  CGameController::SetVirtualButton(pad, ControllerSnapshot::X, true);
  input.Update();
  EXPECT_EQ(input.joyCurrent.lX, 500);
  EXPECT_EQ(input.joyCurrent.lY, 0);
  EXPECT_EQ(input.joyCurrent.rgdwPOV[0], 4500u);
  EXPECT_EQ(input.joyCurrent.rgbButtons[2], 0x80);
  EXPECT_TRUE(input.IsJoyButtonDown(0));
  EXPECT_FALSE(input.WasJoyButtonPressed(0));

  CGameController::SetVirtualDpad(pad, false, false, false, false);
  input.Update();
  EXPECT_EQ(input.joyCurrent.rgdwPOV[0], JoyState::kCentred);

  // Unplugged mid-run: released and centred, no crash.
  ASSERT_TRUE(CGameController::DetachVirtual(pad));
  PumpInto(input);
  input.Update();
  EXPECT_FALSE(input.HasJoystick());
  EXPECT_EQ(input.joyCurrent.lX, 0);
  EXPECT_EQ(input.joyCurrent.rgdwPOV[0], JoyState::kCentred);
  EXPECT_FALSE(input.IsJoyButtonDown(0));

  int again = CGameController::AttachVirtual();
  ASSERT_GE(again, 0);
  PumpInto(input);
  EXPECT_TRUE(input.HasJoystick());
  CGameController::DetachVirtual(again);
}

}  // namespace
