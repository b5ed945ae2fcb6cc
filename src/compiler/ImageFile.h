// Binary image files: a compiled function saved without its script text.
//
// Layout (all integers little-endian, no padding):
//   0   3  magic "sBD" (0x73 0x42 0x44)
//   3   1  format version, 2
//   4   4  instruction count N
//   8   4  label count L
//   12  4  pool count P
//   16     P pool entries: 1 byte length n, then n bytes of text
//          (entry 0 is "\x01", written 0x01 0x01)
//          L label entries: 2 bytes pool index of the name, 3 bytes position
//          N instructions: 1 byte opcode, then 2 bytes pool index only for
//          the codes 0..4, 64 and 69 (others load with pool entry 0)
//   last 4 trailer: the file size before the trailer (file size - 4)
#pragma once

#include <memory>
#include <string>
#include <string_view>

class CFuncVar;

// The bytes of the image. Every label name is written into the pool (a
// label no goto names would otherwise have no index). Throws ScriptError
// when the function does not fit the format: a pool text over 255 bytes,
// more than 65536 pool entries, or a label beyond 24-bit positions.
std::string EncodeImage(const CFuncVar& func);

// Writes the image file; nothing is written when the image does not fit.
void SaveImage(const CFuncVar& func, const std::string& fileName);

// Rebuilds a function from image bytes. Without the magic and version the
// function is empty (no code, no labels, an empty pool) and no error is
// raised. A size that disagrees with the trailer fails with "Size file not
// corected save"; counts, operands, label names and block links that do
// not fit the file or the pool fail with a text naming what is wrong.
std::unique_ptr<CFuncVar> DecodeImage(const std::string& name, std::string_view bytes);

// Reads and decodes an image file; a missing file fails with the file
// system's error.
std::unique_ptr<CFuncVar> LoadImage(const std::string& name, const std::string& fileName);
