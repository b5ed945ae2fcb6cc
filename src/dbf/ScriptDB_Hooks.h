// The hook through which the virtual machine tells the spreadsheet objects
// which workbook an index or a range selection was opened on. Header-only,
// so that the machine can call it without linking the table libraries; it
// does nothing until the spreadsheet module installs a recorder.
#pragma once

struct VAR_;

// Called with the value an index or range instruction opens on at
// statement level (it may be any value; the recorder picks out workbooks).
using CurrentSheetRecorder = void (*)(VAR_* value);

inline CurrentSheetRecorder RecordCurrentSheet = nullptr;

// What the machine calls: a no-op while no recorder is installed.
inline void NoteIndexedValue(VAR_* value) {
    if (RecordCurrentSheet && value) RecordCurrentSheet(value);
}
