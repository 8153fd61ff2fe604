// Cost of reading a large level: 400 x 64 tiles of zlib data and 300
// objects with properties, parsed from memory.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "level/tmx/TmxMap.h"
#include "tests/support/Base64Encode.h"

namespace {

std::string LargeLevel() {
  const int width = 400, height = 64;
  std::vector<unsigned char> raw;
  for (int i = 0; i < width * height; ++i) {
    std::uint32_t gid = (i * 7919u) % 97u;  // varied, so compression has work to undo
    for (int shift = 0; shift < 32; shift += 8) raw.push_back(gid >> shift & 0xff);
  }
  std::vector<unsigned char> packed(compressBound(raw.size()));
  uLongf size = packed.size();
  compress(packed.data(), &size, raw.data(), raw.size());
  packed.resize(size);

  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<map version=\"1.10\" orientation=\"orthogonal\" width=\"400\" height=\"64\" "
      "tilewidth=\"32\" tileheight=\"32\" infinite=\"0\">\n"
      " <tileset firstgid=\"1\" name=\"ink\" tilewidth=\"32\" tileheight=\"32\">\n"
      "  <image source=\"ink.png\" width=\"512\" height=\"512\"/>\n </tileset>\n"
      " <layer id=\"1\" name=\"RunPlane\" width=\"400\" height=\"64\">\n"
      "  <data encoding=\"base64\" compression=\"zlib\">\n   " +
      Base64Encode(packed) + "\n  </data>\n </layer>\n <objectgroup id=\"2\" name=\"Traps\">\n";
  for (int i = 0; i < 300; ++i) {
    text += "  <object id=\"" + std::to_string(i + 3) + "\" name=\"trap" + std::to_string(i) +
            "\" type=\"trap_arrow\" x=\"" + std::to_string(i * 40) + ".5\" y=\"512\" " +
            "width=\"32\" height=\"32\">\n   <properties>\n" +
            "    <property name=\"speed\" type=\"float\" value=\"1.25\"/>\n" +
            "    <property name=\"delay\" type=\"int\" value=\"3\"/>\n   </properties>\n" +
            "   <polyline points=\"0,0 64,-16 128,0\"/>\n  </object>\n";
  }
  return text + " </objectgroup>\n</map>\n";
}

void BM_TmxParseLargeLevel(benchmark::State& state) {
  const std::string text = LargeLevel();
  for (auto _ : state) {
    Tmx::Map map;
    map.ParseText(text, "", nullptr);
    if (map.HasError()) {
      state.SkipWithError(map.GetErrorText().c_str());
      break;
    }
    benchmark::DoNotOptimize(map.GetTileLayers().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_TmxParseLargeLevel)->Unit(benchmark::kMillisecond);

}  // namespace
