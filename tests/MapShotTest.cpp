// The whole-level preview tool, run as level designers run it.
#include <gtest/gtest.h>

#include <signal.h>
#include <string.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "level/tmx/TmxMap.h"
#include "platform/DecodedImage.h"
#include "support/ChildProcess.h"
#include "support/GameDirectory.h"
#include "support/PngBytes.h"

namespace {

ChildResult MapShot(const std::vector<std::string>& arguments, const std::string& directory = "") {
  std::vector<std::string> argv{KUROSHIN_MAPSHOT};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  ChildOptions options;
  options.directory = directory;
  options.environment = {"SDL_VIDEODRIVER=dummy"};
  options.timeoutSeconds = 110;
  return RunChild(argv, options);
}

}  // namespace

TEST(MapShot, TheSampleLevelAsOnePicture) {
  // Drawn from a game directory, where its objects find their pictures.
  const std::string dir = MakeGameDirectory("shot");
  ASSERT_FALSE(dir.empty());
  const std::string sample = dir + "/" + kSampleLevel;
  Tmx::Map map;
  map.ParseFile(sample);
  ASSERT_FALSE(map.HasError()) << map.GetErrorText();
  const int width = map.GetWidth() * map.GetTileWidth();
  const int height = map.GetHeight() * map.GetTileHeight();

  ChildResult run = MapShot({sample, "sample.png", "0.25"}, dir);
  ASSERT_TRUE(run.exited && run.exitCode == 0) << run.out << run.err;
  EXPECT_EQ(run.out.find("Error"), std::string::npos) << run.out;
  auto image = CDecodedImage::Load(dir + "/sample.png");
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), (width + 2) / 4);
  EXPECT_EQ(image->Height(), (height + 2) / 4);
  // The level's floor is drawn in ink along the bottom; the sky above the
  // start is the plain backdrop.
  int dark = 0;
  for (int x = 0; x < image->Width(); ++x) {
    unsigned p = image->Pixel(x, image->Height() - 2);
    if (((p >> 16) & 0xff) < 0x50 && ((p >> 8) & 0xff) < 0x50) ++dark;
  }
  EXPECT_GT(dark, image->Width() * 9 / 10) << "a floor all the way";
  EXPECT_EQ(image->Pixel(image->Width() / 2, 2) & 0xffffff, 0x7a4a6au) << "backdrop above";
}

TEST(MapShot, FullSizeSmallMapAndFailures) {
  ASSERT_TRUE(CDecodedImage::Filled(64, 64, 0xff20c040)->SavePng("green.png"));
  std::ofstream("small.tmx")
      << "<map version=\"1.8\" orientation=\"orthogonal\" width=\"3\" height=\"2\" "
         "tilewidth=\"64\" tileheight=\"64\"><tileset firstgid=\"1\" name=\"g\" tilewidth=\"64\" "
         "tileheight=\"64\"><image source=\"green.png\" width=\"64\" height=\"64\"/></tileset>"
         "<layer name=\"RunPlane\" width=\"3\" height=\"2\"><data encoding=\"csv\">"
         "0,0,0,1,0,1</data></layer></map>";
  ChildResult run = MapShot({"small.tmx", "small.png"});
  ASSERT_TRUE(run.exited && run.exitCode == 0) << run.out << run.err;
  auto image = CDecodedImage::Load("small.png");
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Width(), 192);
  EXPECT_EQ(image->Height(), 128);
  EXPECT_EQ(image->Pixel(10, 100), 0xff20c040u);
  EXPECT_EQ(image->Pixel(138, 127), 0xff20c040u);
  EXPECT_NE(image->Pixel(100, 100), 0xff20c040u);

  std::ofstream("broken.tmx") << "<map width=\"3\"";
  run = MapShot({"broken.tmx", "broken.png"});
  EXPECT_TRUE(run.exited && run.exitCode != 0);
  EXPECT_NE(run.out.find("error code: 2"), std::string::npos) << run.out;
  EXPECT_FALSE(FileExists("broken.png"));

  std::ofstream("empty.tmx") << "<map version=\"1.8\" orientation=\"orthogonal\" width=\"3\" "
                                "height=\"2\" tilewidth=\"64\" tileheight=\"64\"/>";
  run = MapShot({"empty.tmx", "empty.png"});
  EXPECT_TRUE(run.exited && run.exitCode != 0);
  EXPECT_NE(run.err.find("no tile layers"), std::string::npos) << run.err;

  run = MapShot({"small.tmx", "small.png", "2"});
  EXPECT_TRUE(run.exited && run.exitCode == 2) << "only shrinking";
  for (const char* option : {"--time=-1", "--time=soon", "--time=601", "--box"}) {
    run = MapShot({"small.tmx", "small.png", option});
    EXPECT_TRUE(run.exited && run.exitCode == 2) << option;
  }
  run = MapShot({"--boxes", "small.tmx", "--time=0.5", "small.png", "1", "--triggers"});
  EXPECT_TRUE(run.exited && run.exitCode == 0) << "options anywhere" << run.err;
}

// SDL would turn the signal into a quit event that the tool never reads,
// so `timeout` or Ctrl+C could not stop it; it must end at once instead.
TEST(MapShot, StopSignalsEndABusyRunAtOnce) {
  // The tileset picture is one that used to hang the loader: it is refused
  // and the level, 1250 screens of it, is drawn without it.
  ASSERT_TRUE(PngBytes::WriteFile("hang.png", PngBytes::HugeChunkInTruncatedFile("zTXt")));
  std::string cells(125 * 50 * 2 - 1, ',');
  for (std::size_t i = 0; i < cells.size(); i += 2) cells[i] = '0';
  std::ofstream("busy.tmx") << "<map version=\"1.8\" orientation=\"orthogonal\" width=\"125\" "
                               "height=\"50\" tilewidth=\"512\" tileheight=\"512\"><tileset "
                               "firstgid=\"1\" name=\"h\" tilewidth=\"512\" tileheight=\"512\">"
                               "<image source=\"hang.png\" width=\"512\" height=\"512\"/>"
                               "</tileset><layer name=\"RunPlane\" width=\"125\" height=\"50\">"
                               "<data encoding=\"csv\">"
                            << cells << "</data></layer></map>";

  for (int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(strsignal(signal));
    std::chrono::steady_clock::time_point sent;
    ChildOptions options;
    options.environment = {"SDL_VIDEODRIVER=dummy"};
    options.timeoutSeconds = 60;
    options.readyText = "hang.png: end of stream";
    options.onReady = [&sent, signal](pid_t pid) {
      usleep(500 * 1000);  // well into drawing
      sent = std::chrono::steady_clock::now();
      kill(pid, signal);
    };
    ChildResult run = RunChild({KUROSHIN_MAPSHOT, "busy.tmx", "busy.png", "0.01"}, options);
    const auto took = std::chrono::steady_clock::now() - sent;
    ASSERT_FALSE(run.timedOut) << run.out << run.err;
    EXPECT_EQ(run.signal, signal) << "exit " << run.exitCode << "\n" << run.out << run.err;
    EXPECT_LT(took, std::chrono::seconds(1));
    EXPECT_FALSE(FileExists("busy.png"));
  }
}
