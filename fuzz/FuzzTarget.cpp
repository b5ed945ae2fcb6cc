// One libFuzzer target; FUZZ_ENTRY names the entry it drives.
#include <cstddef>
#include <cstdint>

#include "entries/FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return FUZZ_ENTRY(data, size); }
