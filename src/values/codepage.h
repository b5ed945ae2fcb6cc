// Code pages. The program's texts are Windows-1251 bytes; the console and
// dBase text fields use code page 866; Linux drivers and files speak UTF-8.
#pragma once

#include <string>
#include <string_view>

std::string ToDosText(std::string_view text);    // 1251 -> 866 (Russian letters only)
std::string FromDosText(std::string_view text);  // 866 -> 1251

std::string Cp1251ToUtf8(std::string_view text);
// Characters without a Windows-1251 form become "?".
std::string Utf8ToCp1251(std::string_view text);

// The console conversion, chosen once from SCRIPTRUN_CONSOLE: unset or
// "866" converts to code page 866; "utf-8" (or "utf8") to UTF-8; "1251"
// passes bytes unchanged. FromConsoleText is the inverse for input.
std::string ToConsoleText(std::string_view text);
std::string FromConsoleText(std::string_view text);

// Windows-1251 letter case (Latin, Cyrillic 192-255, Yo 168/184 and the
// other paired letters of the code page).
char UpperChar1251(char c);
char LowerChar1251(char c);
std::string Upper1251(std::string_view text);
std::string Lower1251(std::string_view text);
// Case-insensitive equality in Windows-1251.
bool SameText1251(std::string_view a, std::string_view b);
