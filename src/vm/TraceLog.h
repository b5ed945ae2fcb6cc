// The trace log: every instruction the machine executes, with its
// registers and variables, goes to "resultTestRunVar.log" in the current
// directory; past 250,000 bytes the log moves on to resultTestRunVar001.log,
// 002, ... (an 8-bit counter, so names are reused after 255).
//
// Writing is buffered: the trace is the dominant cost of a run, so it is
// flushed at the end of a run, on an error, before a rotation and at exit.
// SCRIPTRUN_TRACE=off in the environment turns the trace off entirely.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

class TraceLogFile {
public:
    static constexpr int64_t kRotateAbove = 250000;

    // Opens (creates or truncates) the log in the current directory and
    // resets the depth and the rotation counter.
    void Open();
    void Close();
    bool Enabled() const { return file_ != nullptr; }

    // One line: the indentation (three blanks per depth level), the text, "\n".
    void Line(std::string_view text);
    // Raw text, indentation and line ends the caller's: append to Buffer()
    // (only while Enabled), then report how many bytes went in.
    std::string& Buffer() { return buffer_; }
    void Appended(size_t bytes);
    std::string Indent() const { return std::string(size_t(Depth) * 3, ' '); }

    // Moves on to the next numbered file when the current one is too large.
    void RotateIfDue();
    void Flush();

    uint16_t Depth = 0;
    uint8_t RotationCounter = 0;

    ~TraceLogFile() { Close(); }

private:
    void Require(bool ok);
    void Unbuffer();
    std::FILE* file_ = nullptr;
    int64_t written_ = 0;  // bytes in the current file, buffered ones included
    std::string buffer_;
};

extern TraceLogFile TraceLog;
