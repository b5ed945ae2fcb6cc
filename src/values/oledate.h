// Calendar helpers for OLE dates (days since 30.12.1899 as a double, the
// fraction being the time of day) and the program's date and time texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct DateParts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
    int millisecond = 0;
};

// Builds an OLE date; false-free: callers validate ranges with IsValidDate.
double OleDateFromParts(const DateParts& parts);
// Splits an OLE date, rounding the time of day to the nearest millisecond.
DateParts PartsFromOleDate(double oleDate);
bool IsValidDate(int year, int month, int day);

std::string DateText(double oleDate);       // "DD.MM.YYYY"
std::string TimeText(double oleDate);       // "H:MM:SS" (time of day, seconds rounded)
std::string DateTimeText(double oleDate);   // date, time, or both joined by a blank (as Variant::ToText)

// Parses "DD.MM.YYYY", "DD.MM.YYYY H:MM[:SS]", "H:MM[:SS]" and ISO
// "YYYY-MM-DD[ HH:MM[:SS]]"; nothing when the text is none of these.
std::optional<double> ParseDateTimeText(std::string_view text);

// The current local date and time as an OLE date.
double OleNow();
