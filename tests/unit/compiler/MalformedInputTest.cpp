// Malformed scripts compile to a function or fail with a clear text; they
// never crash or hang.
#include <gtest/gtest.h>

#include "CompileTestHelpers.h"
#include "values/ScriptError.h"

namespace {

// "" when the text compiled, otherwise the error text.
std::string Outcome(const std::string& script) {
    testing::internal::CaptureStdout();
    std::string outcome;
    try {
        CFuncVar func("t", script);
        EXPECT_EQ(func.Code().back().opcode, opHalt);
    } catch (const ScriptError& error) {
        outcome = error.what();
    }
    testing::internal::GetCapturedStdout();
    return outcome;
}

TEST(MalformedInput, UnterminatedStringsAndComments) {
    EXPECT_EQ(Outcome("x = 'abc"), "compilings Error\r\n<  string not closed: 'abc");
    EXPECT_EQ(Outcome("x = \""), "compilings Error\r\n<  string not closed: \"");
    EXPECT_EQ(Outcome("x = 1; #= never closed"), "");
    EXPECT_EQ(RenderText("x = 1; # to the end"), "V:x = L:1 ;1 HALT");
}

TEST(MalformedInput, UnbalancedBracketsCompile) {
    EXPECT_EQ(Outcome("f(1, (2;"), "");
    EXPECT_EQ(Outcome("x = a]) + 1;"), "");
    EXPECT_EQ(Outcome("[[[[:[:[("), "");
}

TEST(MalformedInput, BrokenLoopHeaders) {
    EXPECT_EQ(Outcome("for"), "compilings Error\r\n<  \"for\" must be followed by a loop variable or an expression");
    EXPECT_EQ(Outcome("each ("), "compilings Error\r\n<  \"each\" must be followed by a loop variable");
    EXPECT_EQ(Outcome("for (i = 1) x;"), "compilings Error\r\n<  loop header: \",\" expected before \")\"");
    EXPECT_EQ(Outcome("for (v in a x;"), "compilings Error\r\n<  loop header without its closing \")\"");
    EXPECT_EQ(Outcome("for (v in {a}) x;"),
              "compilings Error\r\n<  a loop header may not hold blocks, labels or loops: {a }");
    // Headers nested in headers are bounded.
    std::string nested = "x";
    for (int i = 0; i < 100; ++i) nested = "for (f(" + nested + ")) y;";
    EXPECT_EQ(Outcome(nested), "compilings Error\r\n<  loop headers nested too deeply");
}

TEST(MalformedInput, SixHundredNestedBlocks) {
    std::string text;
    for (int i = 0; i < 600; ++i) text += "begin ";
    EXPECT_EQ(Outcome(text), "compilings Error\r\n<  too many nested blocks (at most 512)");
}

TEST(MalformedInput, OneMegabyteScripts) {
    // One long statement compiles.
    std::string sum = "x = 0";
    while (sum.size() < (1u << 20)) sum += " + a";
    sum += ";";
    EXPECT_EQ(Outcome(sum), "");
    // Each statement end carries its own number: past 65536 distinct operand
    // texts a function cannot be addressed, and compiling says so.
    std::string many;
    while (many.size() < (1u << 20)) many += "x=1;\n";
    EXPECT_EQ(Outcome(many),
              "compilings Error\r\n<  too many distinct operand texts in one function (at most 65536)");
}

TEST(MalformedInput, ArbitraryBytesNeverCrash) {
    uint32_t seed = 12345;
    const std::string alphabet = "ab1 .;,()[]{}=+-!<>:\"'#\\\n\tfor each while do repeat until begin end label goto in";
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int length = int(seed % 40);
        for (int i = 0; i < length; ++i) {
            seed = seed * 1103515245u + 12345u;
            text += alphabet[(seed >> 16) % alphabet.size()];
        }
        Outcome(text);  // any outcome but a crash
        seed = seed * 1103515245u + 12345u;
    }
}

}  // namespace
