#include <gtest/gtest.h>

#include "compiler/Tokenizer.h"

namespace {

// Tokens as text: words as written, operators in angle brackets.
std::string Show(const std::string& text) {
    std::string out;
    for (const Token& token : Tokenize(text)) {
        if (!out.empty()) out += '|';
        out += token.IsWord() ? token.text : std::string("<") + token.character + ">";
    }
    return out;
}

TEST(Tokenizer, SplitsWordsAndOperatorCharacters) {
    EXPECT_EQ(Show("x+=12;"), "x|<+>|<=>|12|<;>");
    EXPECT_EQ(Show("a.b"), "a|<.>|b");
    EXPECT_EQ(Show("1.5"), "1|<.>|5");
    EXPECT_EQ(Show("$total\t@x  _y\\z`"), "$total|@x|_y\\z`");
    EXPECT_EQ(Show("\xc8\xec\xff = 1"), "\xc8\xec\xff|<=>|1");
}

TEST(Tokenizer, QuotedStringsAreOneWordWithTheirQuotes) {
    EXPECT_EQ(Show("s = \"a b; c\";"), "s|<=>|\"a b; c\"|<;>");
    EXPECT_EQ(Show("'it \"is\"'"), "'it \"is\"'");
    // A backslash before the quote keeps the string open and stays in it.
    EXPECT_EQ(Show("\"a\\\"b\" c"), "\"a\\\"b\"|c");
    // A quote directly after a word begins the next word.
    EXPECT_EQ(Show("abc\"d e\""), "abc|\"d e\"");
}

TEST(Tokenizer, CommentsAndTheirOddCases) {
    EXPECT_EQ(Show("a # note\nb"), "a|b");
    // A comment right after a word does not end it: the line end is
    // swallowed and the word goes on with the next line.
    EXPECT_EQ(Show("ab#note\ncd e"), "abcd|e");
    EXPECT_EQ(Show("x = 1; # trailing"), "x|<=>|1|<;>");
    EXPECT_EQ(Show("a #= spans\nlines =# b"), "a|b");
    EXPECT_EQ(Show("a #=# b"), "a|b");
    // "=" later in a line comment does not make it a block comment.
    EXPECT_EQ(Show("a # x #= y\nb"), "a|b");
    EXPECT_EQ(Show("s = \"#not a comment\""), "s|<=>|\"#not a comment\"");
}

TEST(Tokenizer, EmptyAndBlankTextsGiveNoTokens) {
    EXPECT_TRUE(Tokenize("").empty());
    EXPECT_TRUE(Tokenize(" \t\r\n # only a comment").empty());
    EXPECT_TRUE(Tokenize("#= never closed").empty());
}

TEST(Tokenizer, UnterminatedStringIsMarked) {
    const auto tokens = Tokenize("x = \"abc");
    ASSERT_EQ(tokens.size(), 3u);
    EXPECT_EQ(tokens[2].text, "\"abc");
    EXPECT_TRUE(tokens[2].openString);
    EXPECT_FALSE(Tokenize("\"abc\"")[0].openString);
    // Escaped closing quote: still open at the end of the text.
    EXPECT_TRUE(Tokenize("\"abc\\\"")[0].openString);
}

TEST(ReadToken, ReportsPositionAndDelimiter) {
    const std::string line = "Run  job.txt";
    size_t position = 1;
    EXPECT_EQ(ReadToken(line, position, false), "Run");
    EXPECT_EQ(TokenDelimiter, ' ');
    EXPECT_EQ(position, 5u);
    EXPECT_EQ(ReadToken(line, position, false), "job");
    EXPECT_EQ(TokenDelimiter, '.');
    EXPECT_EQ(ReadToken(line, position, false), "txt");
    EXPECT_EQ(TokenDelimiter, 0);
    EXPECT_EQ(position, line.size() + 1);
    EXPECT_EQ(ReadToken(line, position, false), "");
}

TEST(ReadToken, FileNameModeKeepsOperatorsAndHash) {
    const std::string line = "compile C:\\dir\\x#1.txt out.bin";
    size_t position = 1;
    EXPECT_EQ(ReadToken(line, position, false), "compile");
    EXPECT_EQ(ReadToken(line, position, true), "C:\\dir\\x#1.txt");
    EXPECT_EQ(ReadToken(line, position, true), "out.bin");

    const std::string quoted = "\"my file.txt\" rest";
    position = 1;
    EXPECT_EQ(ReadToken(quoted, position, true), "\"my file.txt\"");
    EXPECT_EQ(TokenDelimiter, 0);
    EXPECT_EQ(ReadToken(quoted, position, true), "rest");
}

TEST(ReadToken, OperatorEndsAnEmptyWord) {
    size_t position = 1;
    EXPECT_EQ(ReadToken("(x", position, false), "");
    EXPECT_EQ(TokenDelimiter, '(');
    EXPECT_EQ(position, 2u);
    int shortPosition = 2;
    EXPECT_EQ(ReadToken("(x y", shortPosition, false), "x");
    EXPECT_EQ(shortPosition, 4);
}

}  // namespace
