#include "shell/Shell.h"

#include <unistd.h>

#include <cstdio>
#include <exception>
#include <iostream>

#include "compiler/Tokenizer.h"
#include "shell/Pipeline.h"
#include "values/codepage.h"
#include "values/scriptvar.h"

GrafVarArray* StartupTable = nullptr;
bool ErrorFlag = false;
bool ExcelCloseFlag = false;
bool LastCommandFailed = false;

namespace {

HostCallback messageSink;
HostCallback lineSource;

void WriteStdout(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
}

std::string Lowered(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

// The further words of a command line, read one by one.
class CommandWords {
public:
    CommandWords(const std::string& line, int position) : line_(line), position_(position) {}
    std::string Word() { return Lowered(ReadToken(line_, position_, false)); }
    std::string FileWord() { return ReadToken(line_, position_, true); }
private:
    const std::string& line_;
    int position_;
};

std::string WithoutMatchingQuotes(const std::string& word) {
    if (word.size() >= 2 && word.front() == word.back() && (word.front() == '"' || word.front() == '\''))
        return word.substr(1, word.size() - 2);
    return word;
}

void ExcelCommand(CommandWords& words) {
    const std::string first = words.Word();
    const std::string second = words.Word();
    if (first != "close") {
        ShellMessage("excel [close]");
    } else if (second == "on") {
        ExcelCloseFlag = true;
    } else if (second == "off") {
        ExcelCloseFlag = false;
    } else if (second == "get") {
        ShellMessage(ExcelCloseFlag ? "ON" : "OFF");
    } else {
        ShellMessage("excel close [on|off|get]");
    }
}

void HelpCommand() {
    for (const char* line : {"", "Run <FileText>", "Compile <FileText> <ToFileBin>", "Load <FileBin>", "Help", "Exit", ""})
        ShellMessage(line);
}

void ExecuteCommand(const std::string& command, CommandWords& words) {
    if (command == "run") {
        const std::string file = WithoutMatchingQuotes(words.FileWord());
        ShellMessage("run is \"" + file + "\"");
        ProcessScript(file, kRunScript, "");
    } else if (command == "compile") {
        const std::string file = words.FileWord();
        const std::string target = words.FileWord();
        ShellMessage("compiling is \"" + file + "\"");
        ProcessScript(file, kSaveImage, target);
    } else if (command == "de") {
        const std::string file = words.FileWord();
        const std::string target = words.FileWord();
        ShellMessage("decompiling is \"" + file + "\"");
        ProcessScript(file, kWriteListing, target);
    } else if (command == "load") {
        const std::string file = words.FileWord();
        ShellMessage("Load is \"" + file + "\"");
        ProcessScript(file, kLoadImage | kRunScript, "");
    } else if (command == "excel") {
        ExcelCommand(words);
    } else if (command == "help") {
        HelpCommand();
    }
}

}  // namespace

void ShellMessage(const std::string& text) {
    if (messageSink) {
        messageSink(text);
        return;
    }
    WriteStdout(">> " + ToConsoleText(text) + "\n");
}

std::string ReadCommandLine() {
    if (lineSource) return lineSource("");
    std::string line;
    if (!std::getline(std::cin, line)) return "exit";
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

void SetHook(const std::string& name, HostCallback callback) {
    const std::string key = Lowered(name);
    if (key == "loginfo")
        messageSink = std::move(callback);
    else if (key == "console")
        lineSource = std::move(callback);
    else if (key == "input")
        InputHook = std::move(callback);
    else if (key == "output")
        OutputHook = std::move(callback);
}

std::string RunCommand(const std::string& line) {
    int position = 1;
    const std::string command = Lowered(ReadToken(line, position, false));
    CommandWords words(line, position);
    ErrorFlag = false;
    std::string error;
    bool failed = false;
    try {
        ExecuteCommand(command, words);
    } catch (const std::exception& e) {
        failed = true;
        error = e.what();
    }
    ShellMessage("end");
    WriteStdout("\n");
    LastCommandFailed = failed;
    if (failed) {
        ErrorFlag = true;
        ShellMessage("ERROR: " + error);
    }
    return command;
}
