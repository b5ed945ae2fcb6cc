// Compiled functions of runs that failed. A failed run leaves its locals as
// the ActiveLocals, for the batch error log to print; the functions are
// kept here so those locals stay alive until the error has been reported.
#pragma once

#include <memory>

class CFuncVar;

void KeepFailedScript(std::shared_ptr<CFuncVar> script);
// Frees the kept functions and clears ActiveLocals when it pointed into one
// of them. Called before the next script command and at exit.
void ReleaseFailedScripts();
