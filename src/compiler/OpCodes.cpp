#include "compiler/OpCodes.h"

namespace {

struct OperatorEntry {
    std::string_view token;
    uint16_t code;
};

// Every operator text the language knows, with its code. The order inside
// each group follows the codes.
constexpr OperatorEntry kOperators[] = {
    {"(", opParen}, {"[", opIndex}, {":[", opRange}, {",", opComma},
    {"..", opDotDot}, {"...", opDotDotDot}, {":>", opPair},
    {"=", opAssign},
    {"+=", opAddAssign}, {"-=", opSubAssign}, {"*=", opMulAssign},
    {"&=", opBitAndAssign}, {"|=", opBitOrAssign}, {"^=", opBitXorAssign},
    {"&&=", opAndAssign}, {"||=", opOrAssign}, {"^^=", opXorAssign},
    {"<<=", opShlAssign}, {">>=", opShrAssign}, {".=", opConcatAssign},
    {"+", opAdd}, {"-", opSub}, {"*", opMul}, {"/", opDiv}, {"/:", opIntDiv},
    {"%", opMod}, {"&", opBitAnd}, {"|", opBitOr}, {"^", opBitXor},
    {"~", opBitNot}, {"<<", opShl}, {">>", opShr}, {".+", opConcat},
    {"&&", opAnd}, {"||", opOr}, {"^^", opXor}, {"!", opNot},
    {"==", opEqual}, {"!=", opNotEqual}, {"<", opLess}, {">", opGreater},
    {"<=", opLessEqual}, {">=", opGreaterEqual}, {"===", opIdentical},
    {"!==", opNotIdentical},
    {"?", opQuestion}, {":", opColon},
    {".<<", opFirst}, {".>>", opLast}, {".>", opNext}, {".<", opPrior},
};

// The codes whose token is also their listing text.
bool IsTokenListed(uint16_t code) {
    return (code >= opAssign && code <= opConcatAssign) || (code >= opAdd && code <= opConcat) ||
           (code >= opAnd && code <= opColon) || (code >= opFirst && code <= opPrior);
}

}  // namespace

std::string_view OperatorToken(uint16_t code) {
    if (!IsTokenListed(code)) return {};
    for (const OperatorEntry& entry : kOperators)
        if (entry.code == code) return entry.token;
    return {};
}

int OperatorCode(std::string_view text) {
    for (const OperatorEntry& entry : kOperators)
        if (entry.token == text) return entry.code;
    return -1;
}

bool HasOwnOperand(uint16_t code) {
    return code <= opMember || code == opBegin || code == opGoto;
}

std::string ListingText(uint16_t code, std::string_view operand) {
    switch (code) {
        case opEnd: return ";";
        case opLiteral:
        case opString:
        case opVariable: return std::string(operand);
        case opMember: return "." + std::string(operand);
        case opParen: return "(";
        case opIndex: return "[";
        case opRange: return ":[";
        case opComma: return ",";
        case opDotDot: return "..";
        case opDotDotDot: return "...";
        case opPair: return ":>";
        case opClose: return " _])_ ";
        case opBegin: return "{";
        case opBlockEnd: return "}";
        case opIf: return "if ";
        case opThen: return " then ";
        case opElse: return " else ";
        case opGoto: return "goto " + std::string(operand);
        case opHalt: return "HALT";
        default: return std::string(OperatorToken(code));
    }
}
