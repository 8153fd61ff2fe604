#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

CCommandLine Parse(std::initializer_list<const char*> args) {
  std::vector<const char*> argv{"kuroshin"};
  argv.insert(argv.end(), args);
  return CCommandLine(static_cast<int>(argv.size()), argv.data());
}

const WindowSize kScreen{1920, 1080};

WindowSize Settle(const CCommandLine& line, std::optional<WindowSize> screen = kScreen) {
  return SettleWindowSize(line.RequestedWidth(), line.RequestedHeight(), screen);
}

TEST(CommandLine, KeysValuesAndThePositionZeroArgument) {
  CCommandLine line = Parse({"width=1024", "height=768", "plain", "a=b=c"});
  const auto& args = line.Arguments();
  ASSERT_EQ(args.size(), 5u);
  EXPECT_EQ(args[0].key, "kuroshin");  // the program path counts as an argument
  EXPECT_EQ(args[0].text, "kuroshin");
  EXPECT_EQ(args[1].key, "width");
  EXPECT_EQ(args[1].value, 1024u);
  EXPECT_EQ(args[3].key, "plain");
  EXPECT_EQ(args[3].text, "plain");
  EXPECT_EQ(args[3].value, 0u);
  // Split at the first "=" only.
  EXPECT_EQ(args[4].key, "a");
  EXPECT_EQ(args[4].text, "b=c");
}

TEST(CommandLine, WindowSizeRule) {
  EXPECT_EQ(Settle(Parse({})), (WindowSize{1280, 1024}));
  // Height missing: both fall back.
  EXPECT_EQ(Settle(Parse({"width=800"})), (WindowSize{1280, 1024}));
  EXPECT_EQ(Settle(Parse({"width=1024", "height=768"})), (WindowSize{1024, 768}));
  // A later occurrence wins.
  EXPECT_EQ(Settle(Parse({"width=1024", "height=768", "width=1152"})), (WindowSize{1152, 768}));
  // Keys are case-sensitive and must be whole.
  EXPECT_EQ(Settle(Parse({"Width=1024", "height=768"})), (WindowSize{1280, 1024}));
  EXPECT_EQ(Settle(Parse({"widths=1024", "height=768"})), (WindowSize{1280, 1024}));
  // Too large in one dimension only: the screen's size in both.
  EXPECT_EQ(Settle(Parse({"width=2000", "height=600"})), kScreen);
  EXPECT_EQ(Settle(Parse({"width=800", "height=1200"})), kScreen);
  // No screen size (headless): no limit.
  EXPECT_EQ(Settle(Parse({"width=4000", "height=3000"}), std::nullopt), (WindowSize{4000, 3000}));
  // A screen smaller than the default.
  EXPECT_EQ(Settle(Parse({}), WindowSize{1024, 768}), (WindowSize{1024, 768}));
}

TEST(CommandLine, ValuesThatAreNotPlainNumbers) {
  EXPECT_EQ(Parse({"width=abc"}).RequestedWidth(), 0u);
  EXPECT_EQ(Parse({"width="}).RequestedWidth(), 0u);
  // Stream extraction takes the leading digits.
  EXPECT_EQ(Parse({"width=800px"}).RequestedWidth(), 800u);
  EXPECT_EQ(Parse({"width= 640"}).RequestedWidth(), 640u);
  // Negative values wrap and huge ones saturate; either way larger than any
  // screen, so the screen's size applies.
  EXPECT_GT(Parse({"width=-5"}).RequestedWidth(), 1920u);
  EXPECT_EQ(Parse({"width=99999999999"}).RequestedWidth(), 4294967295u);
  EXPECT_EQ(Settle(Parse({"width=-5", "height=768"})), kScreen);
  EXPECT_EQ(Settle(Parse({"width=99999999999", "height=768"})), kScreen);
  // Unreadable width after a good one overrides it with 0.
  EXPECT_EQ(Settle(Parse({"width=1024", "height=768", "width=x"})), (WindowSize{1280, 1024}));
}

TEST(CommandLine, LaunchOptions) {
  LaunchOptions none = ReadLaunchOptions(Parse({}));
  EXPECT_FALSE(none.headless);
  EXPECT_FALSE(none.windowed);
  EXPECT_FALSE(none.fixedStep);
  EXPECT_EQ(none.frames, 0u);
  EXPECT_TRUE(none.screenshot.empty());

  LaunchOptions all = ReadLaunchOptions(
      Parse({"headless=1", "windowed=1", "fixedstep=1", "frames=120", "screenshot=shots/a b.png"}));
  EXPECT_TRUE(all.headless);
  EXPECT_TRUE(all.windowed);
  EXPECT_TRUE(all.fixedStep);
  EXPECT_EQ(all.frames, 120u);
  EXPECT_EQ(all.screenshot, "shots/a b.png");

  LaunchOptions off =
      ReadLaunchOptions(Parse({"headless=1", "headless=0", "frames=12x", "windowed=yes"}));
  EXPECT_FALSE(off.headless);
  EXPECT_EQ(off.frames, 0u);
  EXPECT_FALSE(off.windowed);
}

}  // namespace
