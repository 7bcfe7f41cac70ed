// The libFuzzer entry of one target; KORVALIN_FUZZ_TARGET names its function.

#include "fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  return korvalin::fuzz::KORVALIN_FUZZ_TARGET(data, size);
}
