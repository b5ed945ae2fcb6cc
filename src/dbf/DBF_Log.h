// The change log of a table (".log"): a text file of lines, each starting
// with the date and time "DD.MM.YYYY H:MM:SS" and ending with CR LF.
// Record events are collected as pending lines and written only when the
// record is written, so edits that are never stored leave no trace.
#pragma once

#include <string>
#include <string_view>

#include "values/unitUtils.h"

// "DD.MM.YYYY H:MM:SS" of the current local time.
std::string LogTimeText();

class TLog {
public:
    // Opens an existing log for appending; false when it cannot be opened.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_.IsOpen(); }

    // Record events: "<time> <recno>|||<event>".
    void AddPending(uint32_t recNo, std::string_view event);
    bool HasPending() const { return !pending_.empty(); }
    void DropPending() { pending_.clear(); }
    // Writes the pending lines followed by the "Write Data" line.
    void FlushPending(uint32_t recNo);
    // Writes a record event at once.
    void WriteEvent(uint32_t recNo, std::string_view event);
    // Writes "<time><message>" at once (maintenance messages begin with a
    // blank).
    void WriteMessage(std::string_view message);

private:
    void WriteRaw(std::string_view bytes);
    TFile file_;
    std::string pending_;
};

// Appends "<time><message>" CR LF to a log file; with `create`, a missing
// log file is created first, otherwise nothing happens without one.
// Throws TDBFError when the line cannot be written.
void AppendLogLine(const std::string& path, std::string_view message, bool create = false);
