// Draws a whole level into one picture with the game's own level drawing,
// headless, so a map can be checked without playing it:
//   kuroshin-mapshot MAP.tmx OUT.png [SCALE] [--time=SECONDS] [--triggers] [--boxes]
// SCALE (0 < SCALE <= 1, default 1) shrinks the picture. --time runs the
// level that long in fixed steps first (traps that hide in walls at the
// start show then); --triggers touches every trigger in each of those steps,
// as if the hero stood in all of them (waiting traps start, doors fall,
// pictures show); --boxes outlines the objects of the "Traps" layer and the
// spawned ones (map rectangle thin and white, hit box in colour: yellow for
// triggers, with a line to their target, red for traps and arrows, cyan for
// the rest) and draws every map polyline in magenta. The game draws
// one 1280 x 1024 screen at a time, so the level is drawn screen by screen
// with a moving camera and the screens are stitched together.
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/Camera.h"
#include "app/Log.h"
#include "graphics/Direct3D.h"
#include "graphics/TextureManager.h"
#include "level/Level.h"
#include "level/ObjectLayer.h"
#include "objects/MovableObject.h"
#include "objects/Trigger.h"
#include "platform/DecodedImage.h"
#include "platform/PlatformTexture.h"
#include "platform/SpriteBatch.h"
#include "platform/Video.h"
#include "tools/common/ScratchDirectory.h"
#include "traps/OrbitalTrap.h"

namespace fs = std::filesystem;

namespace {

constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;

// Level objects name their pictures relative to the game's directory (the
// one holding "Levels", or "Graphics" for a map kept elsewhere in it, as the
// tests keep theirs), so the map is loaded from there when it lies inside one.
std::string EnterGameDirectory(const fs::path& map) {
  std::error_code error;
  fs::path absolute = fs::weakly_canonical(map, error);
  if (error) return map.string();
  for (fs::path dir = absolute.parent_path(); dir.has_relative_path(); dir = dir.parent_path()) {
    fs::path game;
    if (fs::is_directory(dir / "Graphics", error))
      game = dir;
    else if (dir.filename() == "Levels")
      game = dir.parent_path();
    if (!game.empty() && chdir(game.c_str()) == 0)
      return absolute.lexically_relative(game).generic_string();
  }
  return absolute.string();
}

// The picture being put together. Shrunk, it sums the screens' pixels per
// output pixel for an even average; at full size pixels go straight in (a
// long level's sums would take hundreds of megabytes).
struct Canvas {
  int width = 0, height = 0;  // level pixels
  int outWidth = 0, outHeight = 0;
  std::vector<std::uint64_t> sums;  // a, r, g, b per output pixel
  std::vector<std::uint32_t> counts;
  std::unique_ptr<CDecodedImage> direct;

  void Add(int x, int y, unsigned argb) {
    if (direct) {
      direct->SetPixel(x, y, argb);
      return;
    }
    const int ox = static_cast<int>(static_cast<long long>(x) * outWidth / width);
    const int oy = static_cast<int>(static_cast<long long>(y) * outHeight / height);
    const std::size_t i = static_cast<std::size_t>(oy) * outWidth + ox;
    for (int c = 0; c < 4; ++c) sums[i * 4 + c] += (argb >> (24 - 8 * c)) & 0xff;
    ++counts[i];
  }
};

// Lines and outlines over the drawn level, with a one-pixel white texture.
struct Overlay {
  CSpriteBatch& batch;
  CPlatformTexture* white;
  float thickness;
  float ox, oy;  // where the level's origin lies on the screen

  void Line(float x0, float y0, float x1, float y1, std::uint32_t argb) const {
    const float dx = x1 - x0, dy = y1 - y0;
    const float length = std::sqrt(dx * dx + dy * dy);
    if (length <= 0.0f) return;
    batch.SetTransform(Matrix2D::Transformation2D({0, 0}, {length, thickness}, {0, 0},
                                                  std::atan2(dy, dx), {x0 + ox, y0 + oy}));
    batch.Draw(white, nullptr, argb);
  }
  void Box(const CHitBox& box, std::uint32_t argb) const {
    const float l = std::min(box.left, box.right), r = std::max(box.left, box.right);
    const float t = std::min(box.top, box.bottom), b = std::max(box.top, box.bottom);
    Line(l, t, r, t, argb);
    Line(r, t, r, b, argb);
    Line(r, b, l, b, argb);
    Line(l, b, l, t, argb);
  }
  void Objects(const CObjectLayer& layer) const {
    Overlay thin = *this;
    thin.thickness = std::max(1.0f, thickness / 2.0f);
    for (const auto& object : layer.Objects()) {
      const CMovableObject& o = *object;
      thin.Box(
          CHitBox(o.y, o.y + static_cast<float>(o.height), o.x, o.x + static_cast<float>(o.width)),
          0xc0ffffff);
      const CHitBox& box = o.hitBox;
      // An all-zero box is no box.
      if (box.top == 0.0f && box.bottom == 0.0f && box.left == 0.0f && box.right == 0.0f) continue;
      const bool trap = o.type.rfind("trap_", 0) == 0 || o.type == "dynamic_arrow";
      const auto* trigger = dynamic_cast<const CTrigger*>(&o);
      Box(box, trigger ? 0xffffd040 : trap ? 0xffff3030 : 0xff40e0ff);
      if (trigger && trigger->target) {
        const CMovableObject& to = *trigger->target;
        Line((box.left + box.right) / 2, (box.top + box.bottom) / 2,
             to.x + static_cast<float>(to.width) / 2, to.y + static_cast<float>(to.height) / 2,
             0xffffd040);
      }
    }
  }
  void Paths(const CObjectLayer& layer) const {
    for (const auto& object : layer.Objects()) {
      // A shuriken holds a copy of the polyline it follows, drawn where the
      // map has it.
      if (dynamic_cast<const COrbitalTrap*>(object.get())) continue;
      const auto& points = object->path;
      for (std::size_t i = 1; i < points.size(); ++i)
        Line(object->x + points[i - 1].first, object->y + points[i - 1].second,
             object->x + points[i].first, object->y + points[i].second, 0xffff40ff);
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> positional;
  double seconds = 0.0;
  bool boxes = false;
  bool triggers = false;
  bool usage = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--boxes") {
      boxes = true;
    } else if (argument == "--triggers") {
      triggers = true;
    } else if (argument.rfind("--time=", 0) == 0) {
      char* end = nullptr;
      seconds = strtod(argument.c_str() + 7, &end);
      if (!end || *end || !(seconds >= 0.0 && seconds <= 600.0)) {
        fprintf(stderr, "--time must be a number of seconds from 0 to 600\n");
        return 2;
      }
    } else if (argument.rfind("--", 0) == 0) {
      usage = true;
    } else {
      positional.push_back(argument);
    }
  }
  if (usage || positional.size() < 2 || positional.size() > 3) {
    fprintf(stderr, "usage: %s MAP.tmx OUT.png [SCALE] [--time=SECONDS] [--triggers] [--boxes]\n",
            argv[0]);
    return 2;
  }
  const std::string out = FromStartingDirectory(positional[1]);
  double scale = 1.0;
  if (positional.size() == 3) {
    char* end = nullptr;
    scale = strtod(positional[2].c_str(), &end);
    if (!end || *end || !(scale > 0.0 && scale <= 1.0)) {
      fprintf(stderr, "SCALE must be a number above 0 and at most 1\n");
      return 2;
    }
  }
  // Load errors go to the terminal as well as the log.
  if (CLogger* log = CLogger::Get()) {
    log->errorChannels |= LOG_STDOUT;
    log->warningChannels |= LOG_STDOUT;
  }
  const std::string mapPath = EnterGameDirectory(FromStartingDirectory(positional[0]));

  if (!InitVideo(true, StopSignals::EndAtOnce)) {
    fprintf(stderr, "no video: %s\n", PlatformError().c_str());
    return 1;
  }
  int status = 0;
  {
    CTextureManager textures;
    CDirect3D d3d;
    if (!d3d.Init(d3d.CreateMainWindow(kScreenWidth, kScreenHeight), kScreenWidth, kScreenHeight,
                  false)) {
      ShutdownVideo();
      return 1;
    }
    CCamera camera;
    CLevel level(&camera);
    if (!level.Load(mapPath)) {
      fprintf(stderr, "%s: the map does not load (see above)\n", positional[0].c_str());
      status = 1;
    } else if (level.GetWidthPixels() < 1 || level.GetHeightPixels() < 1) {
      fprintf(stderr, "%s: the map has no tile layers, so the level has no size\n",
              positional[0].c_str());
      status = 1;
    } else {
      // One step so objects stand as they do when the level starts, then as
      // many fixed steps as asked for. Not silent: a silent level is the
      // replay ghost's, which hides its pictures (there is no audio here).
      level.Update(0.0f, false);
      const long steps = std::lround(seconds * 120.0);
      for (long i = 0; i < steps; ++i) {
        if (triggers && level.GetTraps()) {
          for (const auto& object : level.GetTraps()->Objects())
            if (dynamic_cast<CTrigger*>(object.get())) object->Collide(object->hitBox, 0, nullptr);
        }
        level.Update(1.0f / 120.0f, false);
      }
      TextureHandle white = std::make_shared<TextureCell>();
      white->pending = CDecodedImage::Filled(1, 1, 0xffffffff);
      Canvas canvas;
      canvas.width = static_cast<int>(level.GetWidthPixels());
      canvas.height = static_cast<int>(level.GetHeightPixels());
      canvas.outWidth = std::max(1, static_cast<int>(std::lround(canvas.width * scale)));
      canvas.outHeight = std::max(1, static_cast<int>(std::lround(canvas.height * scale)));
      const std::size_t outPixels = static_cast<std::size_t>(canvas.outWidth) * canvas.outHeight;
      if (canvas.outWidth == canvas.width && canvas.outHeight == canvas.height) {
        canvas.direct = CDecodedImage::Filled(canvas.width, canvas.height, 0);
      } else {
        canvas.sums.assign(outPixels * 4, 0);
        canvas.counts.assign(outPixels, 0);
      }
      d3d.clearColour = 0xff7a4a6a;  // dusk mauve: ink and light both read on it
      for (int sy = 0; sy < canvas.height && status == 0; sy += kScreenHeight) {
        for (int sx = 0; sx < canvas.width && status == 0; sx += kScreenWidth) {
          camera.x = static_cast<float>(sx) + CCamera::kHalfWidth;
          camera.y = static_cast<float>(sy) + CCamera::kHalfHeight;
          d3d.BeginFrame();
          CSpriteBatch& batch = *d3d.GetSprite();
          batch.Begin(SpriteBlend::Alpha);
          level.Draw(&camera, false);
          level.Draw(&camera, true);
          if (boxes && level.GetTraps()) {
            const Overlay overlay{batch, white->Resolve(*d3d.GetRenderer()),
                                  static_cast<float>(2.0 / scale), camera.ScreenX(0.0f),
                                  camera.ScreenY(0.0f)};
            overlay.Objects(*level.GetTraps());
            overlay.Objects(level.GetDynamicObjects());
            for (const auto& layer : level.GetObjectLayers()) overlay.Paths(*layer);
          }
          batch.End();
          std::unique_ptr<CDecodedImage> screen = d3d.ReadFrame();
          if (!screen) {
            fprintf(stderr, "cannot read back the drawn screen\n");
            status = 1;
            break;
          }
          const int w = std::min(kScreenWidth, canvas.width - sx);
          const int h = std::min(kScreenHeight, canvas.height - sy);
          for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) canvas.Add(sx + x, sy + y, screen->Pixel(x, y));
        }
      }
      if (status == 0) {
        std::unique_ptr<CDecodedImage> image = std::move(canvas.direct);
        if (!image) image = CDecodedImage::Filled(canvas.outWidth, canvas.outHeight, 0);
        for (int y = 0; y < canvas.outHeight && canvas.sums.size(); ++y) {
          for (int x = 0; x < canvas.outWidth; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * canvas.outWidth + x;
            const std::uint32_t n = std::max<std::uint32_t>(1, canvas.counts[i]);
            unsigned argb = 0;
            for (int c = 0; c < 4; ++c)
              argb = (argb << 8) | static_cast<unsigned>((canvas.sums[i * 4 + c] + n / 2) / n);
            image->SetPixel(x, y, argb);
          }
        }
        std::string error;
        if (!image->SavePng(out, &error)) {
          fprintf(stderr, "cannot write %s: %s\n", out.c_str(), error.c_str());
          status = 1;
        } else {
          printf("%s: %d x %d level pixels, written %d x %d to %s\n", positional[0].c_str(),
                 canvas.width, canvas.height, canvas.outWidth, canvas.outHeight, out.c_str());
        }
      }
    }
  }
  ShutdownVideo();
  return status;
}
