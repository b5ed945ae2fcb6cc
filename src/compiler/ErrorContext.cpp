// The code shown with a runtime error: the statement around the failing
// instruction, rebuilt from listing texts.
#include "compiler/CFuncVar.h"

#include <algorithm>

namespace {

std::string ListingOf(const CFuncVar& func, int32_t index) {
    if (index < 0 || index >= func.InstructionCount()) return {};
    return ListingText(func.Code()[size_t(index)].opcode, func.OperandText(index));
}

bool IsStatementEnd(const CFuncVar& func, int32_t index) {
    return func.Code()[size_t(index)].opcode == opEnd;
}

}  // namespace

std::string CFuncVar::ErrorContext(int32_t index) const {
    // Backwards to the ";" before the failing statement (or the start).
    std::string before;
    // Indexes are taken as given (even out of range), so work in 64 bits.
    int64_t i = int64_t(index) - 1;
    if (i >= InstructionCount()) i = InstructionCount() - 1;
    while (i >= 0 && !IsStatementEnd(*this, int32_t(i))) {
        before = ListingOf(*this, int32_t(i)) + before;
        --i;
    }
    const std::string number = i >= 0 ? OperandText(int32_t(i)) : std::string("0");
    std::string text = "\";\"~>" + number + ": \r\n      " + before + "#=>";
    text += ListingOf(*this, index) + "<=#";
    // Forwards to the end of the statement.
    for (int64_t j = std::max<int64_t>(int64_t(index) + 1, 0);
         j < InstructionCount() && !IsStatementEnd(*this, int32_t(j)); ++j)
        text += ListingOf(*this, int32_t(j));
    return text;
}
