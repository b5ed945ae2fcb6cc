// Entry points shared by the fuzz targets and the regression runner: each
// takes one input of arbitrary bytes and must return without crashing,
// hanging or leaking, whatever the bytes are. Failures the program reports
// as errors (exceptions with a text) are the expected outcome of most
// inputs and are swallowed here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Starts the program's libraries once and moves into a fresh scratch
// directory that every later file access is confined to.
void PrepareFuzzProcess();

// A script text compiled and run, with a ceiling on executed instructions.
int RunScriptInput(const uint8_t* data, size_t size);
// The bytes of a binary image decoded and, when they load, run.
int RunImageInput(const uint8_t* data, size_t size);
// The bytes of a tree file loaded (and what loaded saved again).
int RunTreeInput(const uint8_t* data, size_t size);
// A table: a 4-byte little-endian length n, then n bytes of the data file
// and the rest as its memo file; opened and read record by record.
int RunTableInput(const uint8_t* data, size_t size);
// The text helpers: escape and format expansion, fixed-point formatting and
// literal classification.
int RunTextInput(const uint8_t* data, size_t size);

// The entry of a target by its name ("script", "image", "tree", "table",
// "text"); nullptr for an unknown name.
using FuzzEntry = int (*)(const uint8_t*, size_t);
FuzzEntry EntryNamed(const std::string& name);
