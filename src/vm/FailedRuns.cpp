#include "vm/FailedRuns.h"

#include <algorithm>
#include <vector>

#include "compiler/CFuncVar.h"
#include "vm/RuntimeState.h"

namespace {

std::vector<std::shared_ptr<CFuncVar>>& Kept() {
    static std::vector<std::shared_ptr<CFuncVar>> kept;
    return kept;
}

}  // namespace

void KeepFailedScript(std::shared_ptr<CFuncVar> script) {
    auto& kept = Kept();
    if (script && std::find(kept.begin(), kept.end(), script) == kept.end()) kept.push_back(std::move(script));
}

void ReleaseFailedScripts() {
    auto& kept = Kept();
    for (const auto& script : kept)
        if (ActiveLocals == script->Locals()) ActiveLocals = nullptr;
    kept.clear();
}
