// Input, Output, Include, Diap and embedded code in string literals.
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "VmFixture.h"
#include "vm/RuntimeState.h"

namespace {

// A script file in a fresh temporary directory, removed afterwards.
class ScriptFiles {
public:
    ScriptFiles() {
        char pattern[] = "/tmp/vmtest.XXXXXX";
        dir_ = mkdtemp(pattern);
    }
    ~ScriptFiles() {
        for (const auto& name : names_) std::remove(name.c_str());
        rmdir(dir_.c_str());
    }
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        names_.push_back(path);
        return path;
    }
private:
    std::string dir_;
    std::vector<std::string> names_;
};

}  // namespace

TEST_F(VmTest, DiapBuildsNumberTexts) {
    EXPECT_EQ(Out("Output(Diap(3, 1));"), "<2/3:False> 0 => Str:[ 1 ]; 1 => Str:[ 2 ]; 2 => Str:[ 3 ]; \n");
    EXPECT_EQ(Out("d = Diap(1, 3, \"000\"); Output(d[0], d[1], d[2]);"), "001002003\n");
    EXPECT_EQ(Out("d = Diap(8, 10, \"000\", on); Output(d[0], d[1], d[2]);"), "800900100\n");
    EXPECT_EQ(Out("d = Diap(9, 10, \"0\"); Output(d[0], d[1]);"), "910\n");
    EXPECT_EQ(Out("d = Diap(-1, 0); Output(d[0], d[1]);"), "-10\n");
    EXPECT_NE(ErrorOf("d = Diap(0, 2000000000);").find("Diap: 2000000001 numbers"), std::string::npos);
}

TEST_F(VmTest, OutputReturnsTheWrittenText) {
    EXPECT_EQ(Out("x = Output(1, \"a\", 2.5); Output(x.Size);"), "1a2,5\n5\n");
}

TEST_F(VmTest, InputThroughTheHostHookTypesTheAnswer) {
    std::string prompts;
    InputHook = [&prompts](const std::string& prompt) {
        prompts += prompt + ";";
        return prompt == "n" ? std::string("42") : prompt == "q" ? std::string("\"42\"") : std::string("yes");
    };
    EXPECT_EQ(Out("a = Input(\"n\"); b = Input(\"q\"); c = Input(\"b\"); Output(a.Type, b.Type, c.Type, a + 1, b);"),
              "IntStringBoolean4342\n");
    EXPECT_EQ(prompts, "n;q;b;");
}

TEST_F(VmTest, IncludedScriptsTakeArgumentsAndReturnTheirValue) {
    ScriptFiles files;
    const std::string add = files.Write("add.scr", "r = Param[0] + Param[1];");
    const std::string count = files.Write("count.scr", "n = Param.Size;");
    EXPECT_EQ(Out("inc = Include(\"" + add + "\"); Output(inc(2, 3), \" \", inc(10, 1));"), "5 11\n");
    EXPECT_EQ(Out("inc = Include(\"" + count + "\"); Output(inc(), inc(1, 2, 3));"), "03\n");
    EXPECT_EQ(Out("inc = Include(\"" + add + "\"); Output(inc.Type);"), "Include[" + add + "]\n");
    // Globals are shared with the included script; locals are not.
    const std::string globals = files.Write("globals.scr", "$seen = mine; $g = $g + 1;");
    EXPECT_EQ(Out("mine = 5; $g = 1; inc = Include(\"" + globals + "\"); inc(); Output($g, $seen);"), "2Null\n");
}

TEST_F(VmTest, IncludedScriptCanCallItself) {
    ScriptFiles files;
    const std::string path = files.Write("fact.scr", "");
    files.Write("fact.scr",
                "n = Param[0]; if (n <= 1) then r = 1 else r = n * Include(\"" + path + "\")(n - 1);");
    EXPECT_EQ(Out("fact = Include(\"" + path + "\"); Output(fact(5));"), "120\n");
    // A shared value calling itself gets fresh locals for the inner run.
    const std::string self = files.Write("self.scr",
        "n = Param[0]; if (n > 0) then $me(n - 1); $trail = $trail .+ n;");
    EXPECT_EQ(Out("$trail = \"\"; $me = Include(\"" + self + "\"); $me(3); Output($trail);"), "0123\n");
}

TEST_F(VmTest, RecursionWithoutEndFailsWithAClearError) {
    ScriptFiles files;
    const std::string path = files.Write("loop.scr", "");
    files.Write("loop.scr", "Include(\"" + path + "\")();");
    const std::string error = ErrorOf("Include(\"" + path + "\")();");
    EXPECT_NE(error.find("nesting too deep"), std::string::npos);
}

TEST_F(VmTest, EmbeddedCodeInStringLiterals) {
    EXPECT_EQ(Out("$v = 7; x = \"a#{y = $v * 2}b#{$v}c\"; Output(x);"), "a14b7c\n");
    // The code's value is its last assignment, or its first bare statement.
    EXPECT_EQ(Out("x = \"[#{1 + 2}]\"; Output(x);"), "[Null]\n");
    // Embedded code has its own locals.
    EXPECT_EQ(Out("y = 1; x = \"#{y}\"; Output(x);"), "Null\n");
    EXPECT_NE(ErrorOf("x = \"#{goto nowhere;}\";").find("label \"nowhere\""), std::string::npos);
}
