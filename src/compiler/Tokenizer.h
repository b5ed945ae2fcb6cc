// The token reader shared by the compiler and the shell's command line.
//
// Script texts are Windows-1251 byte strings. Blanks are the bytes 8, 9,
// 10, 13 and 32; the operator characters are  ! % & ( ) * + , - . / : ; < =
// > ? [ ] ^ { | } ~ ; '"' and '\'' open strings; '#' opens a comment (to the
// line end, or from "#=" to "=#"); every other byte (letters, digits, $, @,
// _, \, `, Cyrillic, control bytes) belongs to words.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What ended the last word ReadToken returned: 0 when the text ended or a
// quoted string closed (or a quote began the next word), ' ' for any blank,
// or the operator character that ended the word.
extern char TokenDelimiter;

// Reads the next word of `text` from the 1-based `position`, moving it past
// what was read. In word mode operator characters end words (the word may
// then be empty) and '#' begins a comment; in file-name mode both belong to
// the word, so C:\dir\x.txt is one word. A quoted string is one word with its
// quotes; a backslash before the closing quote keeps the string open. A
// comment does not end the word in progress. At the end of the text the
// position becomes its length + 1.
std::string ReadToken(std::string_view text, size_t& position, bool fileNameMode);
// The same with an int position (command lines are short).
std::string ReadToken(std::string_view text, int& position, bool fileNameMode);

struct Token {
    std::string text;    // a word or a quoted string; empty for an operator
    char character = 0;  // the operator character; 0 for a word
    bool openString = false;  // a quoted string the text ended inside of

    bool IsWord() const { return character == 0; }
    bool IsOperator(char c) const { return character == c; }
};

// Splits a script text into words and operator characters, in text order:
// x+=12; gives x, '+', '=', 12, ';'. Blanks and comments give no token.
std::vector<Token> Tokenize(std::string_view text);

bool IsOperatorChar(char c);
