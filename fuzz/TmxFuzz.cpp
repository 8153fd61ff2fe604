// libFuzzer target for the TMX reader; see scripts/fuzz-tmx.
#include <ftw.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/TmxFuzzInput.h"
#include "level/tmx/TmxMap.h"

namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
  ::remove(path);
  return 0;
}

// The program-wide log opens "log.txt" in the working directory during
// static initialisation; the fuzzer must not leave one wherever it was
// started, so it works in a temporary directory entered before that.
struct ScratchDirectory {
  std::string path;
  ScratchDirectory() {
    std::string pattern = "/tmp/kuroshin-fuzz-XXXXXX";
    if (char* made = mkdtemp(pattern.data())) {
      path = made;
      if (chdir(made) != 0) path.clear();
    }
  }
  ~ScratchDirectory() {
    if (!path.empty() && chdir("/") == 0) nftw(path.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
  }
};

__attribute__((init_priority(101))) ScratchDirectory scratch;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const TmxFuzz::Input input =
      TmxFuzz::Split(std::string_view(reinterpret_cast<const char*>(data), size));
  Tmx::Map map;
  TmxFuzz::Parse(input, map);
  // Whatever was read must be consistent enough for the loader to walk.
  if (!map.HasError()) {
    for (const Tmx::TileLayer& layer : map.GetTileLayers()) {
      if (layer.gids.size() !=
          static_cast<std::size_t>(layer.width) * static_cast<std::size_t>(layer.height))
        abort();
      for (std::uint32_t gid : layer.gids) {
        if (gid & Tmx::kFlagMask) abort();
      }
    }
    for (const Tmx::ObjectGroup& group : map.GetObjectGroups()) {
      for (const Tmx::Object& object : group.objects) {
        if (object.gid & Tmx::kFlagMask) abort();
      }
    }
  }
  return 0;
}
