// Node names and the name macros: %NAME%, %AUTO%, %THIS%, %DATE%, %TIME%.
#include <string>

#include "tree/sTree.h"
#include "values/codepage.h"
#include "values/oledate.h"

int64_t AutoCounter = 0;

void ResetAutoCounter() { AutoCounter = 0; }

namespace {

// Longer macro names are cut to this many characters.
constexpr size_t kMaxMacroName = 25;

std::string MacroText(const TreeClass& node, const std::string& macro) {
    if (macro == "NAME") return node.ClassName();
    if (macro == "AUTO") return std::to_string(AutoCounter++);
    if (macro == "THIS") return node.Parent ? node.Parent->ClassName() : "";
    if (macro == "DATE") return DateText(OleNow());
    if (macro == "TIME") return TimeText(OleNow());
    return macro;
}

// Each "%name%" is replaced by its macro's text. A "%" without a closing
// one is kept as it stands.
std::string ExpandNameMacros(const TreeClass& node, std::string_view text) {
    std::string result(text);
    size_t from = 0;
    for (;;) {
        const size_t open = result.find('%', from);
        if (open == std::string::npos) break;
        const size_t close = result.find('%', open + 1);
        if (close == std::string::npos) break;
        std::string macro = Upper1251(std::string_view(result).substr(open + 1, close - open - 1));
        if (macro.size() > kMaxMacroName) macro.resize(kMaxMacroName);
        const std::string inserted = MacroText(node, macro);
        result.replace(open, close - open + 1, inserted);
        from = open + inserted.size();
    }
    return result;
}

}  // namespace

void TreeClass::SetName(std::string_view text) { Name = ExpandNameMacros(*this, text); }
