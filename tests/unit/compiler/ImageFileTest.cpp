#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "CompileTestHelpers.h"
#include "compiler/ImageFile.h"
#include "values/ScriptError.h"
#include "values/unitUtils.h"

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out += char(v);
    return out;
}

std::string DecodeError(std::string_view bytes) {
    try {
        DecodeImage("t", bytes);
    } catch (const ScriptError& error) {
        return error.what();
    }
    return "(loaded)";
}

const char* kProgram =
    "label Start n = 0; s = \"a b\\\"c\";\n"
    "for (i = 1, 10, 2) begin n += i; if n > 5 then goto Done; end\n"
    "each (v, k in [1, 2, 'x' :> 3]) s .= k;\n"
    "while (n < 100) do n *= 2;\n"
    "repeat n -= 1; until (n < 50);\n"
    "label Done x = a:[1..2] + b.c(1.5e-3);";

std::unique_ptr<CFuncVar> CompileQuietly(const std::string& text) {
    testing::internal::CaptureStdout();
    auto func = std::make_unique<CFuncVar>("t", text);
    testing::internal::GetCapturedStdout();
    return func;
}

TEST(ImageFile, EmptyScriptIsTwentyThreeBytes) {
    CFuncVar func("t", "");
    EXPECT_EQ(EncodeImage(func), Bytes({'s', 'B', 'D', 2, 1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0,
                                        1, 1, 0xFF, 19, 0, 0, 0}));
}

TEST(ImageFile, OperandsOnlyForTheCodesThatHaveThem) {
    CFuncVar func("t", "x = 1;");
    // Pool: "\x01", "x", "1" (the literal and the statement number share it).
    EXPECT_EQ(EncodeImage(func), Bytes({'s', 'B', 'D', 2, 5, 0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0,
                                        1, 1, 1, 'x', 1, '1',
                                        3, 1, 0, 16, 1, 2, 0, 0, 2, 0, 0xFF, 33, 0, 0, 0}));
}

TEST(ImageFile, RoundTripKeepsTheProgramByteForByte) {
    auto func = CompileQuietly(kProgram);
    const std::string image = EncodeImage(*func);
    auto loaded = DecodeImage("loaded", image);
    EXPECT_EQ(loaded->Name(), "loaded");
    EXPECT_EQ(Render(*loaded), Render(*func));
    EXPECT_EQ(Listing(*loaded), Listing(*func));
    ASSERT_EQ(loaded->LabelCount(), func->LabelCount());
    for (int32_t i = 0; i < func->LabelCount(); ++i) {
        EXPECT_EQ(loaded->Labels()[size_t(i)].name, func->Labels()[size_t(i)].name);
        EXPECT_EQ(loaded->Labels()[size_t(i)].position, func->Labels()[size_t(i)].position);
    }
    EXPECT_EQ(EncodeImage(*loaded), image);
    EXPECT_NE(loaded->Locals(), nullptr);
}

TEST(ImageFile, LabelsNoGotoNamesSurvive) {
    CFuncVar func("t", "label Lonely x;");
    auto loaded = DecodeImage("t", EncodeImage(func));
    EXPECT_EQ(loaded->FindLabel("Lonely"), 0);
    // The compiled function's own pool is left as it was.
    EXPECT_EQ(func.PoolCount(), 3);  // "\x01", "x", "1"
}

TEST(ImageFile, LongTextsAreRefusedAndNothingIsWritten) {
    const std::string path = testing::TempDir() + "image_long.bin";
    WriteWholeFile(path, "previous");
    CFuncVar func("t", "s = \"" + std::string(298, 'q') + "\";");
    try {
        SaveImage(func, path);
        FAIL() << "saved";
    } catch (const ScriptError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "cannot save: an operand text is longer than 255 bytes: \"\"" + std::string(39, 'q') + "...\"");
    }
    EXPECT_EQ(ReadWholeFile(path), "previous");
    std::remove(path.c_str());
}

TEST(ImageFile, SaveAndLoadThroughFiles) {
    const std::string path = testing::TempDir() + "image_roundtrip.bin";
    auto func = CompileQuietly(kProgram);
    SaveImage(*func, path);
    auto loaded = LoadImage("job", path);
    EXPECT_EQ(Render(*loaded), Render(*func));
    // One extra byte: the trailer no longer matches.
    WriteWholeFile(path, ReadWholeFile(path) + "x");
    try {
        LoadImage("job", path);
        FAIL() << "loaded";
    } catch (const ScriptError& error) {
        EXPECT_EQ(std::string(error.what()), "Size file not corected save");
    }
    std::remove(path.c_str());
    EXPECT_ANY_THROW(LoadImage("job", path));  // missing file
}

TEST(ImageFile, WithoutTheSignatureTheFunctionIsEmpty) {
    auto func = DecodeImage("t", "this is a text, not an image");
    EXPECT_EQ(func->InstructionCount(), 0);
    EXPECT_EQ(func->LabelCount(), 0);
    EXPECT_EQ(func->PoolCount(), 0);
    std::string otherVersion = EncodeImage(CFuncVar("t", "x = 1;"));
    otherVersion[3] = 3;
    EXPECT_EQ(DecodeImage("t", otherVersion)->InstructionCount(), 0);
    EXPECT_EQ(DecodeError("sBD"), "image file ends early: header at byte 3");
}

TEST(ImageFile, DamagedImagesAreRefused) {
    const std::string good = EncodeImage(CFuncVar("t", "{ x = 1; }"));
    // Header: N = 7 instructions, L = 0, P = 4 ("\x01", "x", "1", "5").
    std::string huge = good;
    huge[12] = char(0xFF), huge[13] = char(0xFF), huge[14] = char(0xFF), huge[15] = char(0x7F);
    EXPECT_EQ(DecodeError(huge).rfind("image file is damaged: its header counts 7 instructions, 0 labels and "
                                      "2147483647 pool entries", 0), 0u);

    // The first instruction's operand (opBegin's link) points past the pool.
    const size_t firstCode = 16 + 2 + 2 + 2 + 2;
    ASSERT_EQ(good[firstCode], char(opBegin));
    std::string badOperand = good;
    badOperand[firstCode + 1] = 9;
    EXPECT_EQ(DecodeError(badOperand), "image file is damaged: instruction 0 names pool entry 9 of 4");

    // The link text "5" turned into "9": beyond the 7 instructions.
    std::string badLink = good;
    badLink[16 + 2 + 2 + 2 + 1] = '9';
    EXPECT_EQ(DecodeError(badLink), "image file is damaged: block start 0 links to \"9\", outside its 7 instructions");

    std::string truncated = good.substr(0, good.size() - 6);
    EXPECT_EQ(DecodeError(truncated).rfind("image file ends early", 0), 0u);
}

TEST(ImageFile, RandomMutationsNeverCrashTheLoader) {
    auto func = CompileQuietly(kProgram);
    const std::string image = EncodeImage(*func);
    std::mt19937 random(2024);
    int loaded = 0;
    for (int round = 0; round < 10000; ++round) {
        std::string bytes = image;
        const int edits = 1 + int(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const size_t at = random() % bytes.size();
            switch (random() % 4) {
                case 0: bytes[at] = char(random()); break;
                case 1: bytes.erase(at, 1 + random() % 8); break;
                case 2: bytes.insert(at, 1, char(random())); break;
                default: bytes[at] = char(bytes[at] ^ (1 << (random() % 8))); break;
            }
            if (bytes.empty()) bytes = "s";
        }
        try {
            auto result = DecodeImage("t", bytes);
            ++loaded;
            (void)Listing(*result);
            for (int32_t i = 0; i < result->InstructionCount(); i += 7) (void)result->ErrorContext(i);
        } catch (const ScriptError&) {
        }
    }
    EXPECT_GT(loaded, 0);
}

}  // namespace
