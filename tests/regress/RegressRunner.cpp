// Feeds saved inputs to a fuzz target's entry code without the fuzzer:
//   regress_runner <kind> <file>...
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzEntries.h"
#include "values/unitUtils.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: regress_runner script|image|tree|table|text FILE...\n");
        return 2;
    }
    const FuzzEntry entry = EntryNamed(argv[1]);
    if (!entry) {
        std::fprintf(stderr, "unknown input kind \"%s\"\n", argv[1]);
        return 2;
    }
    // Read every input before the harness confines paths to its scratch
    // directory.
    std::vector<std::string> inputs;
    for (int i = 2; i < argc; ++i) inputs.push_back(ReadWholeFile(argv[i]));
    for (const std::string& bytes : inputs) entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    std::printf("%zu input(s) passed\n", inputs.size());
    return 0;
}
