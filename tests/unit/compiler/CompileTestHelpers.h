// Readable renderings of compiled code for the compiler tests.
#pragma once

#include <string>

#include "compiler/CFuncVar.h"
#include "compiler/Listing.h"

// One item per instruction, separated by blanks: operand-carrying codes as
// V:x (variable), L:1 (literal), S:"a" (string), M:b (member), ;1 (numbered
// statement end; a bare ";" has no number), {5 (block start linked to
// index 5), G:x (goto); other codes by their listing text without blanks
// (")" for opClose). The byte 15 of generated names shows as "~".
inline std::string Render(const CFuncVar& func) {
    std::string out;
    for (int32_t i = 0; i < func.InstructionCount(); ++i) {
        const uint16_t code = func.Code()[size_t(i)].opcode;
        std::string op = func.OperandText(i);
        if (op == kNoOperand) op.clear();
        std::string item;
        switch (code) {
            case opVariable: item = "V:" + op; break;
            case opLiteral: item = "L:" + op; break;
            case opString: item = "S:" + op; break;
            case opMember: item = "M:" + op; break;
            case opEnd: item = ";" + op; break;
            case opBegin: item = "{" + op; break;
            case opGoto: item = "G:" + op; break;
            case opClose: item = ")"; break;
            default:
                for (char c : ListingText(code, op))
                    if (c != ' ') item += c;
        }
        if (!out.empty()) out += ' ';
        out += item;
    }
    for (char& c : out)
        if (c == '\x0f') c = '~';
    return out;
}

inline std::string RenderText(const std::string& script) {
    CFuncVar func("t", script);
    return Render(func);
}

inline std::string ListingOfText(const std::string& script) {
    CFuncVar func("t", script);
    return Listing(func);
}
