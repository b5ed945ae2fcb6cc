// Texts and numbers as .xlsx parts hold them, and the names the file
// format gives to border and underline styles.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace xl {

// Program text (Windows-1251) to a part's UTF-8 text. Control characters,
// which XML cannot hold, become "_xHHHH_", and a literal "_x" that would
// read as such an escape has its underscore escaped as "_x005F_".
std::string ToPartText(std::string_view text);
// The inverse: decodes "_xHHHH_" and converts to Windows-1251.
std::string FromPartText(std::string_view utf8);

// Shortest text that reads back as the same double, with "." as the
// decimal point (the file format's, whatever the locale).
std::string NumberText(double value);
std::optional<double> ParseNumber(std::string_view text);
std::optional<int64_t> ParseInteger(std::string_view text);

// Border styles: a (line style, weight) pair of the model <-> the style
// attribute of <left>, <right>, ... ("thin", "mediumDashed", ...). Empty
// for no line.
std::string BorderStyleName(int lineStyle, int weight);
void ParseBorderStyleName(std::string_view name, int& lineStyle, int& weight);

// Underline constants <-> the val attribute of <u>.
std::string UnderlineName(int underline);
int UnderlineOfName(std::string_view name);

// Alignment constants <-> the horizontal and vertical attributes of <alignment>.
std::string HorizontalName(int code);
int HorizontalOfName(std::string_view name);
std::string VerticalName(int code);
int VerticalOfName(std::string_view name);

}  // namespace xl
