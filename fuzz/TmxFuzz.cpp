// libFuzzer target for the TMX reader; see scripts/fuzz-tmx.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/TmxFuzzInput.h"
#include "level/tmx/TmxMap.h"
// Linked for its effect: the fuzzer works in a scratch directory, so the
// program-wide log lands there.
#include "tools/common/ScratchDirectory.h"

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
