// Runtime error texts: the statement context, the "eip: " wrappers, the
// register operation names, and the bound on nesting.
#include "VmFixture.h"

#include "vm/RuntimeState.h"
#include "vm/VirtualMachine.h"
#include "vm/VmErrors.h"

TEST_F(VmTest, MissingLabelNamesTheStatementAndTheInstruction) {
    const std::string error = ErrorOf("x = 1; goto nowhere;");
    // The context: the ";" before, then the statement with the failing
    // instruction marked; then the two instruction wrappers; then the cause.
    const std::string notFound = "label \"nowhere\" \xed\xe5 \xed\xe0\xe9\xe4\xe5\xed\xee";
    EXPECT_EQ(error, "\";\"~>1: \r\n      #=>goto nowhere<=#\r\n<  eip: 4; " + notFound + "\r\n<  eip: 4; " +
                         notFound + "\r\n<  " + notFound);
}

TEST_F(VmTest, FirstStatementContextStartsAtZero) {
    const std::string error = ErrorOf("goto nowhere;");
    EXPECT_EQ(error.rfind("\";\"~>0: \r\n      #=>goto nowhere<=#", 0), 0u) << error;
}

TEST_F(VmTest, IncludeFailureIsWrappedAsACall) {
    const std::string error = ErrorOf("x = 1;\ny = Include(\"/nonexistent/dir/file.scr\");");
    // The call's arguments moved the index onto the ")": the loop's handler
    // names that instruction, the call's own handler the "(".
    EXPECT_NE(error.find("\"~>1: \r\n      y=Include(\"/nonexistent/dir/file.scr\"#=> _])_ <=#"), std::string::npos)
        << error;
    EXPECT_NE(error.find("\r\n<  eip: 9; \"]\" or \")\" not corected\r\n<  eip: 7; "), std::string::npos) << error;
    EXPECT_NE(error.find("\r\n<  mov <obj> Error\r\n<  "), std::string::npos) << error;
    EXPECT_NE(error.find("/nonexistent/dir/file.scr"), std::string::npos) << error;
}

TEST_F(VmTest, FailedRunLeavesItsLocalsActive) {
    CFuncVar function("test", "kept = 12; goto nowhere;");
    EXPECT_THROW(::Run(function), ScriptError);
    ASSERT_EQ(ActiveLocals, function.Locals());
    EXPECT_NE(ActiveLocals->Dump().find("kept => Int:[ 12 ]"), std::string::npos);
    ActiveLocals = nullptr;
}

TEST_F(VmTest, DeepNestingFailsCleanly) {
    std::string deep = "x = ";
    for (int i = 0; i < kMaxNesting + 10; ++i) deep += "(";
    deep += "1";
    for (int i = 0; i < kMaxNesting + 10; ++i) deep += ")";
    deep += ";";
    const std::string error = ErrorOf(deep);
    EXPECT_NE(error.find("nesting too deep"), std::string::npos);
    // Below the bound the same shape evaluates.
    EXPECT_EQ(Out("x = ((((((1)))))) + 1; Output(x);"), "2\n");
}

TEST(InstructionMessages, AreTheWindows1251Texts) {
    const std::string breaks = " \xf0\xf3\xf8\xe8\xf2 \xf1\xea\xf0\xe8\xef\xf2";  // " рушит скрипт"
    EXPECT_EQ(InstructionMessage(17, ""), "\"+=\"" + breaks);
    EXPECT_EQ(InstructionMessage(61, ""), "\":\"" + breaks);
    EXPECT_EQ(InstructionMessage(9, ""), "\"..\"" + breaks);
    EXPECT_EQ(InstructionMessage(1, "1x"), "\xea\xee\xed\xf1\xf2\xe0\xed\xf2\xe0 \"1x\" \xed\xe5 \xea\xee\xf0\xe5\xea\xf2\xed\xe0");
    EXPECT_EQ(InstructionMessage(15, ""), "\"]\" or \")\" not corected");
    EXPECT_EQ(InstructionMessage(160, ""), "\".<<\" first crushed <obj>");
    EXPECT_EQ(InstructionMessage(12, "x"), "");
    EXPECT_EQ(EipText(65537, 69, "L"), "eip: 1; label \"L\" \xed\xe5 \xed\xe0\xe9\xe4\xe5\xed\xee");
}
