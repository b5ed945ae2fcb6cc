// File-level helpers of the whole-table operations.
#pragma once

#include <string>

#include "dbf/DBF_Maint.h"

// The three files of a table.
inline std::string DataPath(const std::string& base) { return base + ".dbf"; }
inline std::string MemoPath(const std::string& base) { return base + ".dbt"; }
inline std::string LogPath(const std::string& base) { return base + ".log"; }

// Copies a file byte for byte; throws TDBFError on failure.
void CopyFileBytes(const std::string& from, const std::string& to);
// Moves a file over another one in one step (the target is replaced, never
// missing in between); throws TDBFError on failure.
void ReplaceFile(const std::string& from, const std::string& to);

// Clears the log-on-create flag for a scope (intermediate tables get no
// log of their own) and restores it afterwards.
class LogNewTablesOff {
public:
    LogNewTablesOff() : saved_(LogNewTables) { LogNewTables = false; }
    ~LogNewTablesOff() { LogNewTables = saved_; }
    LogNewTablesOff(const LogNewTablesOff&) = delete;
    LogNewTablesOff& operator=(const LogNewTablesOff&) = delete;

private:
    bool saved_;
};
