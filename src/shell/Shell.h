// The command shell: batch runs of one script and the interactive command
// loop, with the shell's messages and the batch error log.
#pragma once

#include <string>

#include "vm/RuntimeState.h"

class GrafVarArray;

// Executes one command line; returns its first word in lower case.
std::string RunCommand(const std::string& line);

// One message line: ">> " + text (console code page) on standard output,
// or the message sink when one is hooked in.
void ShellMessage(const std::string& text);

// One command line from the line-source hook or standard input (no
// code-page conversion; a trailing "\r" is dropped). End of input reads
// as "exit".
std::string ReadCommandLine();

// Installs a host callback by name: "loginfo" (message sink), "console"
// (line source), "input", "output". Other names are ignored.
void SetHook(const std::string& name, HostCallback callback);

// The message sink of batch mode: writes ErrorScript.log when the command
// failed, else nothing.
void WriteErrorLog(const std::string& message);

// Batch mode when there are arguments, else the command loop.
int ShellMain(int argc, char** argv);

// State shared with the pipeline.
extern GrafVarArray* StartupTable;
extern bool ErrorFlag;
extern bool ExcelCloseFlag;
extern bool LastCommandFailed;  // the last RunCommand ended with an error
