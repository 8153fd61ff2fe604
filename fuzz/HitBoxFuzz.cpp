// libFuzzer target for the hit-box reader; see scripts/fuzz-hitbox.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/HitBoxFuzzInput.h"
// Linked for its effect: the fuzzer works in a scratch directory, so the
// program-wide log and the files read back from disk land there.
#include "tools/common/ScratchDirectory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  HitBoxFuzz::Run(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
