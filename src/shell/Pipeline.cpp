#include "shell/Pipeline.h"

#include "values/ScriptError.h"

void ProcessScript(const std::string& fileName, int, const std::string&) {
    throw ScriptError("script pipeline is not available yet: " + fileName);
}
