// Pictures of the hero on the player test level, drawn headless by the
// game's own drawing, for review:
//   kuroshin_playershots DATA_DIR TEST_LEVEL.tmx OUT_DIR
// writes standing.png, running.png, wall-sliding.png, sliding.png and
// dying.png (1280 x 1024 each) into OUT_DIR.
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "graphics/Direct3D.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"
#include "tools/common/ScratchDirectory.h"
#include "tools/feel/PlayerRig.h"

namespace {

struct Shot {
  const char* name;
  float x;
  std::function<void(PlayerWorld&)> play;
};

bool Draw(CDirect3D& d3d, PlayerWorld& world, const std::string& path) {
  const Vector2 target = world.player->CameraTarget();
  world.camera.SetLevelSize(world.level->GetWidthPixels(), world.level->GetHeightPixels());
  world.camera.x = target.x;
  world.camera.y = target.y - 150.0f;
  world.camera.Update(0.0f, target.x, target.y - 150.0f);
  d3d.BeginFrame();
  CSpriteBatch& batch = *d3d.GetSprite();
  batch.Begin(SpriteBlend::Alpha);
  world.level->Draw(&world.camera, false);
  world.player->Draw(&world.camera);
  world.level->Draw(&world.camera, true);
  batch.End();
  return d3d.SaveFramePng(path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s DATA_DIR TEST_LEVEL.tmx OUT_DIR\n", argv[0]);
    return 2;
  }
  const std::string out = FromStartingDirectory(argv[3]);
  PrepareGameDirectory(FromStartingDirectory(argv[1]), FromStartingDirectory(argv[2]));
  std::filesystem::create_directories(out);
  if (!InitVideo(true)) {
    std::fprintf(stderr, "no video: %s\n", PlatformError().c_str());
    return 1;
  }
  int status = 0;
  {
    CDirect3D d3d;
    if (!d3d.Init(d3d.CreateMainWindow(1280, 1024), 1280, 1024, false)) {
      ShutdownVideo();
      return 1;
    }
    d3d.clearColour = 0xff7a4a6a;
    const Shot shots[] = {
        {"standing", room::kFlatLeft + 600, [](PlayerWorld& w) { w.Steps(40); }},
        {"running", room::kFlatLeft + 200,
         [](PlayerWorld& w) {
           w.controller.held = STEP_RIGHT | STEP_SPRINT;
           w.Steps(70);
         }},
        {"wall-sliding", room::kShaftInner + 64,
         [](PlayerWorld& w) {
           w.controller.held = STEP_RIGHT | STEP_JUMP;
           w.StepUntil([&] { return w.State().wallContact; });
           w.Steps(40);
         }},
        {"sliding", room::kFlatLeft + 200,
         [](PlayerWorld& w) {
           w.controller.held = STEP_RIGHT | STEP_SPRINT;
           w.Steps(60);
           w.controller.held = STEP_CROUCH;
           w.Steps(24);
         }},
        {"dying", room::kFlatLeft + 600,
         [](PlayerWorld& w) {
           w.State().dead = true;
           w.Steps(9);
         }},
    };
    for (const Shot& shot : shots) {
      PlayerWorld world;
      if (!world.initialised) {
        std::fprintf(stderr, "the hero did not load\n");
        status = 1;
        break;
      }
      world.StandAt(shot.x);
      shot.play(world);
      const std::string path = out + "/" + shot.name + ".png";
      if (!Draw(d3d, world, path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        status = 1;
      }
    }
  }
  ShutdownVideo();
  return status;
}
