// The feel of the hero with the shipped values, measured with the game's own
// code: a change of data or rules that ruins it fails here.
#include <gtest/gtest.h>

#include "support/ChildProcess.h"
#include "support/TestGame.h"
#include "tools/feel/FeelMeasure.h"

namespace {

constexpr float kTile = 64.0f;

TEST(PlayerFeel, ShippedValuesFeelAsDesigned) {
  PrepareTestGame();
  const FeelFigures f = MeasureFeel();
  ASSERT_TRUE(f.ok) << f.error;
  const struct {
    const char* what;
    float value;
    float low;
    float high;
  } ranges[] = {
      // A standing jump clears a three-tile ledge, a tap about half of that.
      {"standing jump, held", f.standingJumpHeld, 3.0f * kTile + 1.0f, 3.5f * kTile},
      {"standing jump, tapped", f.standingJumpTap, 0.75f * kTile, 1.75f * kTile},
      {"walking jump gap", f.walkingJumpGap, 3.0f * kTile, 4.5f * kTile},
      {"running jump gap", f.runningJumpGap, 5.5f * kTile, 6.5f * kTile},
      {"wall jump rise per kick", f.wallJumpRise, 1.5f * kTile, 3.0f * kTile},
      // Tight: full speed in a quarter of a second, stopped within two tiles.
      {"seconds to full run", f.timeToFullRun, 0.05f, 0.25f},
      {"stop from a run", f.stopFromRun, 0.5f * kTile, 2.0f * kTile},
      {"slide from a run", f.slideFromRun, 3.25f * kTile, 5.0f * kTile},
  };
  for (const auto& r : ranges) {
    EXPECT_GE(r.value, r.low) << r.what;
    EXPECT_LE(r.value, r.high) << r.what;
  }
  EXPECT_TRUE(f.slidesUnderOneTile);
  EXPECT_TRUE(f.runningJumpCrossesPit);

  // The asset tools read these figures (Player.xml's comment, the frames of
  // the finish run the art shows in the air) from the file kuroshin_feel
  // wrote; it must be what the game's code measures now.
  EXPECT_EQ(FeelJson(f, MeasureFinishRun()),
            ReadWholeFile(KUROSHIN_SOURCE_DIR "/tools/assets/hero_feel.json"))
      << "run kuroshin_feel and rebuild the hero's assets (tools/assets/README.md)";
}

}  // namespace
