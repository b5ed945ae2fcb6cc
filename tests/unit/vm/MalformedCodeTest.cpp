// Scripts of shuffled tokens: whatever the compiler makes of them, the
// machine ends every run with a result or an error text, never a crash or
// a hang (no jumps backwards are generated: no loops, no goto).
#include <cstdio>
#include <cstdlib>
#include <random>

#include "VmFixture.h"
#include "vm/RuntimeState.h"
#include "vm/VirtualMachine.h"

namespace {

const char* const kTokens[] = {
    "x", "y", "$g", "a", "1", "2.5", "\"s\"", "\"%s\"", "(", ")", "[", "]", ":[", "..", "...", ",", ":>",
    "+", "-", "*", "/", "=", "+=", ".=", "&&", "||", "!", "~", "==", "<", "?", ":", ".b", ".Size",
    ";", "if", "then", "else", "elsif", "begin", "end", "{", "}", "halt", ".<<", ".>", "Output",
    "Diap", "PI", "Array", "\"#{x = 1}\"",
};

std::string RandomScript(std::mt19937& random) {
    std::uniform_int_distribution<size_t> pick(0, std::size(kTokens) - 1);
    std::uniform_int_distribution<int> length(1, 40);
    std::string text;
    for (int n = length(random); n > 0; --n) {
        text += kTokens[pick(random)];
        text += ' ';
    }
    return text;
}

}  // namespace

// FUZZ_SEED and FUZZ_ROUNDS choose other and longer runs; FUZZ_PRINT shows
// each script before it runs (to find the one that fails).
TEST_F(VmTest, ShuffledTokensNeverCrashTheMachine) {
    std::mt19937 random(getenv("FUZZ_SEED") ? unsigned(atoi(getenv("FUZZ_SEED"))) : 20261208u);
    int failures = 0;
    const int rounds = getenv("FUZZ_ROUNDS") ? atoi(getenv("FUZZ_ROUNDS")) : 3000;
    for (int i = 0; i < rounds; ++i) {
        const std::string script = RandomScript(random);
        if (getenv("FUZZ_PRINT")) fprintf(stderr, "SCRIPT: %s\n", script.c_str());
        try {
            CFuncVar function("fuzz", script);
            TempRef result(::Run(function));
        } catch (const std::exception&) {
            ++failures;
            ActiveLocals = nullptr;
        }
        Globals->Clear();
    }
    // Most shuffles are nonsense; some must fail, and the run got here.
    EXPECT_GT(failures, 0);
}
