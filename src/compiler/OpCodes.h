// The instruction set shared by the compiler, the image file and the
// virtual machine. Codes are stored in 16 bits, but only 0..255 occur, and
// image files keep only the low byte.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

enum OpCode : uint16_t {
    opEnd = 0,          // ";" statement end; operand: statement number, or pool 0
    opLiteral = 1,      // unquoted literal (number, boolean word); operand: its text
    opString = 2,       // quoted string; operand: the text with its quotes
    opVariable = 3,     // a name; operand: the name as written
    opMember = 4,       // "." name; operand: the member name
    opParen = 5,        // "(" opens arguments or a group
    opIndex = 6,        // "[" opens an index or an array constructor
    opRange = 7,        // ":[" opens a range selection
    opComma = 8,        // ","
    opDotDot = 9,       // ".." range bounds separator
    opDotDotDot = 10,   // "..." range bounds separator, exclusive end
    opPair = 11,        // ":>" key/value separator in a constructor
    opClose = 15,       // ")" or "]": closes 5, 6 and 7
    opAssign = 16,      // "="
    // Compound assignments, in token order "+=" .. ".=".
    opAddAssign = 17,
    opSubAssign = 18,
    opMulAssign = 19,
    opBitAndAssign = 20,
    opBitOrAssign = 21,
    opBitXorAssign = 22,
    opAndAssign = 23,
    opOrAssign = 24,
    opXorAssign = 25,
    opShlAssign = 26,
    opShrAssign = 27,
    opConcatAssign = 28,
    // Arithmetic and bit operators "+" .. ".+"; "-" and "~" are also prefixes.
    opAdd = 32,
    opSub = 33,
    opMul = 34,
    opDiv = 35,
    opIntDiv = 36,
    opMod = 37,
    opBitAnd = 38,
    opBitOr = 39,
    opBitXor = 40,
    opBitNot = 41,
    opShl = 42,
    opShr = 43,
    opConcat = 44,
    // Logical and comparison operators "&&" .. "!=="; "!" is a prefix.
    opAnd = 48,
    opOr = 49,
    opXor = 50,
    opNot = 51,
    opEqual = 52,
    opNotEqual = 53,
    opLess = 54,
    opGreater = 55,
    opLessEqual = 56,
    opGreaterEqual = 57,
    opIdentical = 58,
    opNotIdentical = 59,
    opQuestion = 60,    // "?" conditional test
    opColon = 61,       // ":" conditional else part
    opBegin = 64,       // block start; operand: decimal index of its opBlockEnd
    opBlockEnd = 65,    // block end
    opIf = 66,          // start of a condition
    opThen = 67,        // end of a condition
    opElse = 68,        // else branch
    opGoto = 69,        // jump; operand: the label name
    opFirst = 160,      // ".<<" cursor to first element
    opLast = 161,       // ".>>" cursor to last element
    opNext = 162,       // ".>"  cursor to next element
    opPrior = 163,      // ".<"  cursor to prior element
    opHalt = 255,       // stop the function; always the last instruction
};

// The source token of an operator code 16..61 or 160..163 ("+=", "<<", "?",
// ".<<"); empty for other codes.
std::string_view OperatorToken(uint16_t code);

// The code an operator text compiles to, or -1 when the text is not an
// operator the language knows (such texts are dropped by the compiler).
// Covers the assignments, operators, "?", ":", the cursor moves and the
// bracket and separator texts ("(", "[", ":[", ",", "..", "...", ":>").
int OperatorCode(std::string_view text);

// Whether an instruction with this code carries its own operand; all other
// instructions have pool entry 0 and image files store no operand for them.
bool HasOwnOperand(uint16_t code);

// The listing text of one instruction: its operand text inserted raw where
// the instruction shows it ("." + name for opMember, "goto " + label).
std::string ListingText(uint16_t code, std::string_view operand);
