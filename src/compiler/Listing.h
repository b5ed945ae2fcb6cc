// The readable listing of a compiled function (the "de" command's text).
#pragma once

#include <string>

class CFuncVar;

// One line per statement: instruction listing texts joined raw, "\r\n"
// after every ";", labels as "label <name>" lines, and two blanks of
// indentation per open block. No line end after the last instruction.
std::string Listing(const CFuncVar& func);

// Creates (or truncates) the text file and writes the listing into it.
void WriteListing(const CFuncVar& func, const std::string& fileName);
