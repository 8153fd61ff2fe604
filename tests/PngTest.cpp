// PNG pictures as the game reads and writes them: damaged and hostile files
// are refused at once with their reason, every colour type decodes to the
// pixels its bytes say, and what the game writes reads back.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <optional>
#include <vector>

#include "graphics/TextureManager.h"
#include "platform/DecodedImage.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ForkedReplay.h"
#include "tests/support/PngBytes.h"

using namespace PngBytes;

namespace {

// RGBA bytes of a noisy picture, so that it compresses poorly and a cut
// lands inside the image stream.
std::string Noise(int width, int height) {
  std::string pixels;
  unsigned state = 12345;
  for (int i = 0; i < width * height * 4; ++i) {
    state = state * 1103515245u + 12345u;
    pixels += static_cast<char>(state >> 16);
  }
  return pixels;
}

// A valid picture with its image stream's Adler-32 changed (the chunk's own
// CRC made right again, so only zlib can tell).
std::string WithBadZlibChecksum() {
  const std::string scanlines = std::string("\0", 1) + "\x10\x20\x30\x40";
  const std::string idat = ImageData(scanlines);
  std::string packed = idat.substr(8, idat.size() - 12);
  packed.back() = static_cast<char>(packed.back() ^ 1);
  return Signature() + Header(1, 1, 8, 6) + Chunk("IDAT", packed) + End();
}

// A chunk whose stored CRC is off by one bit.
std::string WithBadCrc(const std::string& chunk) {
  std::string damaged = chunk;
  damaged.back() = static_cast<char>(damaged.back() ^ 1);
  return damaged;
}

std::string ZeroBomb(std::size_t bytes) {
  const std::string zeros(bytes, '\0');
  uLongf size = compressBound(static_cast<uLong>(zeros.size()));
  std::string packed(size, '\0');
  compress(reinterpret_cast<Bytef*>(packed.data()), &size,
           reinterpret_cast<const Bytef*>(zeros.data()), static_cast<uLong>(zeros.size()));
  packed.resize(size);
  return packed;
}

}  // namespace

TEST(Png, DamagedAndHostileFilesAreRefusedAtOnceWithTheirReason) {
  const std::string onePixel = ImageData(std::string("\0\x10\x20\x30\x40", 5));
  const std::string valid = Rgba8(64, 64, Noise(64, 64));
  std::string manyTexts = Signature() + Header(1, 1, 8, 6);
  for (int i = 0; i < 1001; ++i) manyTexts += Chunk("tEXt", std::string("k\0v", 3));

  struct Case {
    std::string name;
    std::optional<std::string> bytes;  // none: made below
    std::string reason;
  };
  std::vector<Case> cases;
  // The chunks that hung the SDL_image + libpng loader.
  for (const char* type : {"bKGD", "cHRM", "gAMA", "pHYs", "sRGB", "tEXt", "tIME", "zTXt"})
    cases.push_back(
        {std::string("huge-") + type + ".png", HugeChunkInTruncatedFile(type), "end of stream"});
  cases.insert(
      cases.end(),
      {
          {"truncated-stream.png", valid.substr(0, valid.size() / 2), "end of stream"},
          {"no-image-data.png", Signature() + Header(1, 1, 8, 6) + End(), "invalid chunk position"},
          {"short-stream.png", Signature() + Header(2, 2, 8, 6) + onePixel + End(),
           "IDAT stream too short"},
          {"wide.png", Signature() + Header(8193, 1, 8, 6) + onePixel + End(),
           "image width exceeds user limit"},
          {"huge-size.png", Signature() + Header(100000, 100000, 8, 6) + onePixel + End(),
           "image width exceeds user limit"},
          // The largest size allowed, declared by a file of a few bytes.
          {"largest-truncated.png",
           Signature() + Header(8192, 8192, 8, 6) + U32(4096) + "IDAT" + std::string(16, '\0'),
           "end of stream"},
          {"zero-size.png", Signature() + Header(0, 0, 8, 6) + onePixel + End(),
           "invalid image width"},
          {"signature.png", "\x89PNQ" + valid.substr(4), "invalid signature"},
          {"empty.png", "", "empty file"},
          {"zlib-checksum.png", WithBadZlibChecksum(), "IDAT stream error"},
          {"header-crc.png", Signature() + WithBadCrc(Header(1, 1, 8, 6)) + onePixel + End(),
           "invalid chunk checksum"},
          {"bad-depth.png", Signature() + Header(1, 1, 7, 6) + onePixel + End(),
           "invalid bit depth"},
          {"unknown-critical.png",
           Signature() + Header(1, 1, 8, 6) + Chunk("ABCD", "x") + onePixel + End(),
           "unknown critical chunk"},
          {"chunk-length.png",
           Signature() + Header(1, 1, 8, 6) + U32(0x80000000u) + "tEXt" + std::string(16, '\0'),
           "chunk exceeds maximum standard length"},
          // 20 MiB of text from 20 kB of file.
          {"text-bomb.png",
           Signature() + Header(1, 1, 8, 6) +
               Chunk("zTXt", std::string("k\0\0", 3) + ZeroBomb(std::size_t{20} << 20)) + onePixel +
               End(),
           "reached chunk/cache limits"},
          {"many-texts.png", manyTexts + onePixel + End(), "reached chunk/cache limits"},
          {"oversized-file.png", std::nullopt, "larger than 64 MiB"},
          {"folder.png", std::nullopt, "not a regular file"},
          // Opened blocking, a FIFO without a writer would wait forever.
          {"fifo.png", std::nullopt, "not a regular file"},
      });
  ASSERT_TRUE(WriteFile("oversized-file.png", valid));
  ASSERT_EQ(truncate("oversized-file.png", (std::int64_t{64} << 20) + 1), 0);  // sparse
  ASSERT_EQ(mkdir("folder.png", 0755), 0);
  ASSERT_EQ(mkfifo("fifo.png", 0644), 0);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.bytes) {
      ASSERT_TRUE(WriteFile(c.name, *c.bytes));
    }
    const std::size_t logStart = ReadWholeFile("log.txt").size();
    // In a child with an alarm, so a file that hangs the loader fails its
    // case (killed by SIGALRM, 142) instead of stalling the whole run. The
    // hangs this guards against spin for minutes; how fast a refusal is
    // belongs to the benchmarks, not to a loaded test machine.
    const int status = RunForked(
        [&] {
          CTextureManager textures;
          const bool refused = !textures.GetTexture(c.name);
          if (!refused) std::fprintf(stderr, "loaded\n");
          return refused;
        },
        20);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadWholeFile("log.txt").substr(logStart),
              "Error: Could not load texture " + c.name + ": " + c.reason + "\n");
  }
}

namespace {

// Adam7 pass origins and steps.
constexpr int kPassX[7] = {0, 4, 0, 2, 0, 1, 0};
constexpr int kPassY[7] = {0, 0, 4, 0, 2, 0, 1};
constexpr int kStepX[7] = {8, 8, 4, 4, 2, 2, 1};
constexpr int kStepY[7] = {8, 8, 8, 4, 4, 2, 2};

unsigned InterlacedColour(int x, int y) {
  return 0xff000000u - static_cast<unsigned>(x) * 0x01000000u +
         static_cast<unsigned>(x * 20) * 0x10000u + static_cast<unsigned>(y * 30) * 0x100u +
         static_cast<unsigned>(x + y);
}

std::string Hex(unsigned argb) {
  char text[16];
  std::snprintf(text, sizeof text, "%08x", argb);
  return text;
}

std::string RgbaOf(unsigned argb) {
  return {static_cast<char>(argb >> 16), static_cast<char>(argb >> 8), static_cast<char>(argb),
          static_cast<char>(argb >> 24)};
}

// Each pass's reduced image with its own filter bytes; empty passes have no
// rows at all.
std::string Adam7(int width, int height) {
  std::string scanlines;
  for (int pass = 0; pass < 7; ++pass) {
    for (int y = kPassY[pass]; y < height; y += kStepY[pass]) {
      std::string row;
      for (int x = kPassX[pass]; x < width; x += kStepX[pass])
        row += RgbaOf(InterlacedColour(x, y));
      if (!row.empty()) scanlines += '\0' + row;
    }
  }
  return scanlines;
}

}  // namespace

TEST(Png, EveryColourTypeDecodesToTheArgbItsBytesSay) {
  struct Case {
    std::string name;
    std::string bytes;
    int width;
    std::vector<unsigned> argb;  // row by row
  };
  const std::string rgbPalette = Chunk("PLTE", std::string("\xff\0\0\0\xff\0\0\0\xff", 9));
  const std::string onePixel = ImageData(std::string("\0\x10\x20\x30\x40", 5));
  const std::string split = ImageData(std::string("\0\x10\x20\x30\x40\0\x50\x60\x70\x80", 10));
  std::vector<unsigned> interlaced;
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 10; ++x) interlaced.push_back(InterlacedColour(x, y));

  const Case cases[] = {
      // Two-bit indices 0, 1, 2, 1; the third entry has no alpha, so opaque.
      {"palette-trns.png",
       Signature() + Header(4, 1, 2, 3) + rgbPalette + Chunk("tRNS", std::string("\0\x80", 2)) +
           ImageData(std::string("\0\x19", 2)) + End(),
       4,
       {0x00ff0000, 0x8000ff00, 0xff0000ff, 0x8000ff00}},
      // Grey 0x40 is the transparent one.
      {"grey-trns.png",
       Signature() + Header(3, 1, 8, 0) + Chunk("tRNS", U16(0x40)) +
           ImageData(std::string("\0\x40\x80\x00", 4)) + End(),
       3,
       {0x00404040, 0xff808080, 0xff000000}},
      {"grey-1bit.png",
       Signature() + Header(3, 1, 1, 0) + ImageData(std::string("\0\xa0", 2)) + End(),
       3,
       {0xffffffff, 0xff000000, 0xffffffff}},
      {"grey-alpha.png",
       Signature() + Header(1, 1, 8, 4) + ImageData(std::string("\0\x60\x90", 3)) + End(),
       1,
       {0x90606060}},
      // Sixteen bits keep their high byte, as SDL_image's libpng path did.
      {"rgba16.png",
       Signature() + Header(1, 1, 16, 6) +
           ImageData(std::string("\0", 1) + U16(0x12ff) + U16(0x3400) + U16(0xabcd) + U16(0x80ff)) +
           End(),
       1,
       {0x801234ab}},
      // The transparent colour must match all sixteen bits, not the high byte.
      {"rgb16-trns.png",
       Signature() + Header(2, 1, 16, 2) + Chunk("tRNS", U16(0x1111) + U16(0x2222) + U16(0x3333)) +
           ImageData(std::string("\0", 1) + U16(0x1111) + U16(0x2222) + U16(0x3333) + U16(0x1111) +
                     U16(0x2222) + U16(0x3334)) +
           End(),
       2,
       {0x00112233, 0xff112233}},
      {"interlaced.png", Signature() + Header(10, 7, 8, 6, 1) + ImageData(Adam7(10, 7)) + End(), 10,
       interlaced},
      // One zlib stream over several IDAT chunks, as many encoders write it.
      {"split-stream.png",
       Signature() + Header(1, 2, 8, 6) + Chunk("IDAT", split.substr(8, 5)) +
           Chunk("IDAT", split.substr(13, split.size() - 17)) + End(),
       1,
       {0x40102030, 0x80506070}},
      // A damaged ancillary chunk is dropped; the picture is intact.
      {"text-crc.png",
       Signature() + Header(1, 1, 8, 6) + WithBadCrc(Chunk("tEXt", std::string("k\0v", 3))) +
           onePixel + End(),
       1,
       {0x40102030}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WriteFile(c.name, c.bytes));
    std::string error;
    auto image = CDecodedImage::Load(c.name, &error);
    ASSERT_TRUE(image) << error;
    const int height = static_cast<int>(c.argb.size()) / c.width;
    ASSERT_EQ(image->Width(), c.width);
    ASSERT_EQ(image->Height(), height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < c.width; ++x)
        EXPECT_EQ(Hex(image->Pixel(x, y)), Hex(c.argb[static_cast<std::size_t>(y * c.width + x)]))
            << "at " << x << "," << y;
  }
}

TEST(Png, WrittenPicturesAreRgbaThatReadsBackAndFailuresKeepTheOldFile) {
  auto image = CDecodedImage::Filled(3, 2, 0x00000000);
  image->SetPixel(0, 0, 0x80123456);
  image->SetPixel(2, 1, 0xffabcdef);
  ASSERT_TRUE(image->SavePng("written.png"));
  const std::string bytes = ReadWholeFile("written.png");
  ASSERT_GE(bytes.size(), 33u);
  EXPECT_EQ(bytes.substr(0, 8), Signature());
  EXPECT_EQ(bytes.substr(16, 10), U32(3) + U32(2) + "\x08\x06") << "8-bit RGBA";
  auto back = CDecodedImage::Load("written.png");
  ASSERT_TRUE(back);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(back->Pixel(x, y), image->Pixel(x, y)) << x << "," << y;

  std::string error;
  EXPECT_FALSE(image->SavePng("missing/written.png", &error));
  EXPECT_NE(error.find("missing/written.png"), std::string::npos) << error;
  // The temporary file cannot replace a folder: the folder stays, no
  // temporary file is left.
  ASSERT_EQ(mkdir("taken.png", 0755), 0);
  EXPECT_FALSE(image->SavePng("taken.png", &error));
  EXPECT_FALSE(FileExists("taken.png.tmp"));
  struct stat info;
  EXPECT_TRUE(stat("taken.png", &info) == 0 && S_ISDIR(info.st_mode));
}
