// The script pipeline behind the shell's script commands: compile a text
// or load an image, then save it, list it and run it as the flags ask.
#pragma once

#include <string>

enum ScriptFlags : int {
    kRunScript = 1,
    kLoadImage = 2,
    kSaveImage = 4,
    kWriteListing = 8,
};

void ProcessScript(const std::string& fileName, int flags, const std::string& targetName);
