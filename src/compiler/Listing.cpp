#include "compiler/Listing.h"

#include <algorithm>

#include "compiler/CFuncVar.h"
#include "values/unitUtils.h"

namespace {

// Compiled code nests at most 512 blocks; a damaged image may claim more,
// and indenting beyond that would only make the text grow quadratically.
constexpr int kMaxIndentDepth = 512;

std::string Indentation(int depth) {
    return std::string(size_t(std::clamp(depth, 0, kMaxIndentDepth)) * 2, ' ');
}

}  // namespace

std::string Listing(const CFuncVar& func) {
    std::string text;
    int depth = 0;
    for (int32_t i = 0; i < func.InstructionCount(); ++i) {
        const std::string label = func.LabelAt(i);
        if (!label.empty()) text += "label " + label + "\r\n" + Indentation(depth);
        const uint16_t opcode = func.Code()[size_t(i)].opcode;
        text += ListingText(opcode, func.OperandText(i));
        if (opcode == opBegin) ++depth;
        if (opcode == opBlockEnd) --depth;
        if (opcode == opEnd) text += "\r\n" + Indentation(depth);
    }
    return text;
}

void WriteListing(const CFuncVar& func, const std::string& fileName) {
    WriteWholeFile(NativePath(fileName), Listing(func));
}
