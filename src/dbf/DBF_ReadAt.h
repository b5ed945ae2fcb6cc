// Positioned reads of table files: one system call where a seek and a read
// took two. Every access of the engine names its offset, so no caller
// relies on the file position a read leaves behind.
#pragma once

#include <cstdint>

#include "values/unitUtils.h"

// Reads up to `count` bytes at `offset`; returns the bytes read (fewer at
// the end of the file), or -1 when the file is not open or the read fails.
int64_t ReadAt(const TFile& file, int64_t offset, void* bytes, int64_t count);
