// OLE dates: days since 30.12.1899 as a double, the fraction being the
// time of day. For dates before that day the value is negative but the
// fraction still counts forward from the day's start (-1.25 is 29.12.1899
// 6:00), so the integer part and the fraction are taken apart separately.
#include "values/oledate.h"

#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int64_t kMsPerDay = 86400000;
constexpr int64_t kMsPerSecond = 1000;
// Beyond this many days the calendar arithmetic could overflow; such
// values are no dates anyway (the texts of anything outside years 1 to
// 9999 are empty).
constexpr double kDayLimit = 1e9;

// Proleptic Gregorian day number relative to 1.1.1970 (civil algorithm
// with 400-year eras).
constexpr int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, DateParts& parts) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    parts.day = int(doy - (153 * mp + 2) / 5 + 1);
    parts.month = int(mp < 10 ? mp + 3 : mp - 9);
    parts.year = int(yoe + era * 400 + (parts.month <= 2));
}

constexpr int64_t kEpochDay = DaysFromCivil(1899, 12, 30);

// Splits a date with the time of day rounded to a multiple of `unitMs`;
// a time that rounds up to midnight moves to the next calendar day.
DateParts SplitRounded(double oleDate, int64_t unitMs) {
    DateParts parts;
    if (std::isnan(oleDate)) return parts;
    oleDate = std::fmax(-kDayLimit, std::fmin(kDayLimit, oleDate));
    double whole = std::trunc(oleDate);
    const double fraction = std::fabs(oleDate - whole);
    int64_t ms = std::llround(fraction * double(kMsPerDay / unitMs)) * unitMs;
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        whole += 1;
    }
    CivilFromDays(kEpochDay + int64_t(whole), parts);
    parts.hour = int(ms / 3600000);
    parts.minute = int(ms / 60000 % 60);
    parts.second = int(ms / 1000 % 60);
    parts.millisecond = int(ms % 1000);
    return parts;
}

bool IsTextYear(const DateParts& parts) { return parts.year >= 1 && parts.year <= 9999; }

// NaN is no moment at all; it has no text, like a date outside the years.
bool HasText(double oleDate) { return !std::isnan(oleDate); }
bool IsZeroDay(const DateParts& parts) { return parts.year == 1899 && parts.month == 12 && parts.day == 30; }

std::string FormatDate(const DateParts& parts) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d.%02d.%04d", parts.day, parts.month, parts.year);
    return buffer;
}

std::string FormatTime(const DateParts& parts) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d", parts.hour, parts.minute, parts.second);
    return buffer;
}

// ---------------------------------------------------------------------------
// Parsing: a cursor over the text reading fixed runs of digits.

class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    // Reads minDigits..maxDigits decimal digits.
    bool Number(int minDigits, int maxDigits, int& out) {
        int n = 0, value = 0;
        while (n < maxDigits && pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            value = value * 10 + (text_[pos_++] - '0');
            ++n;
        }
        out = value;
        return n >= minDigits;
    }
    bool Char(char c) {
        if (pos_ >= text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    bool AtEnd() const { return pos_ == text_.size(); }
    size_t Position() const { return pos_; }
    void Rewind(size_t pos) { pos_ = pos; }

private:
    std::string_view text_;
    size_t pos_ = 0;
};

// "H:MM" or "H:MM:SS" (the hour with one or two digits).
bool ReadTime(Scanner& s, DateParts& parts) {
    if (!s.Number(1, 2, parts.hour) || !s.Char(':') || !s.Number(2, 2, parts.minute)) return false;
    if (s.Char(':') && !s.Number(2, 2, parts.second)) return false;
    return parts.hour <= 23 && parts.minute <= 59 && parts.second <= 59;
}

// "DD.MM.YYYY" (day and month with one or two digits) or "YYYY-MM-DD".
bool ReadDate(Scanner& s, DateParts& parts) {
    const size_t start = s.Position();
    if (s.Number(4, 4, parts.year) && s.Char('-'))
        return s.Number(2, 2, parts.month) && s.Char('-') && s.Number(2, 2, parts.day);
    s.Rewind(start);
    return s.Number(1, 2, parts.day) && s.Char('.') && s.Number(1, 2, parts.month) && s.Char('.') &&
           s.Number(4, 4, parts.year);
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

double OleDateFromParts(const DateParts& parts) {
    const int64_t day = DaysFromCivil(parts.year, parts.month, parts.day) - kEpochDay;
    const int64_t ms = ((int64_t(parts.hour) * 60 + parts.minute) * 60 + parts.second) * kMsPerSecond + parts.millisecond;
    const double time = double(ms) / double(kMsPerDay);
    return day >= 0 ? double(day) + time : double(day) - time;
}

DateParts PartsFromOleDate(double oleDate) { return SplitRounded(oleDate, 1); }

std::string DateText(double oleDate) {
    if (!HasText(oleDate)) return "";
    const DateParts parts = SplitRounded(oleDate, kMsPerSecond);
    return IsTextYear(parts) ? FormatDate(parts) : "";
}

std::string TimeText(double oleDate) {
    if (!HasText(oleDate)) return "";
    const DateParts parts = SplitRounded(oleDate, kMsPerSecond);
    return IsTextYear(parts) ? FormatTime(parts) : "";
}

std::string DateTimeText(double oleDate) {
    if (!HasText(oleDate)) return "";
    const DateParts parts = SplitRounded(oleDate, kMsPerSecond);
    if (!IsTextYear(parts)) return "";
    if (IsZeroDay(parts)) return FormatTime(parts);
    if (parts.hour == 0 && parts.minute == 0 && parts.second == 0) return FormatDate(parts);
    return FormatDate(parts) + " " + FormatTime(parts);
}

std::optional<double> ParseDateTimeText(std::string_view text) {
    text = Trimmed(text);
    DateParts parts;
    Scanner s(text);
    const bool timeOnly = text.find(':') != std::string_view::npos && text.find_first_of(".-") == std::string_view::npos;
    if (timeOnly) {
        if (!ReadTime(s, parts) || !s.AtEnd()) return std::nullopt;
        return OleDateFromParts(parts);
    }
    if (!ReadDate(s, parts) || !IsValidDate(parts.year, parts.month, parts.day)) return std::nullopt;
    if (!s.AtEnd()) {
        if (!s.Char(' ')) return std::nullopt;
        while (s.Char(' ')) {
        }
        if (!ReadTime(s, parts) || !s.AtEnd()) return std::nullopt;
    }
    return OleDateFromParts(parts);
}

double OleNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    DateParts parts;
    parts.year = local.tm_year + 1900;
    parts.month = local.tm_mon + 1;
    parts.day = local.tm_mday;
    parts.hour = local.tm_hour;
    parts.minute = local.tm_min;
    parts.second = std::min(local.tm_sec, 59);  // a leap second counts as :59
    parts.millisecond = int(now.tv_nsec / 1000000);
    return OleDateFromParts(parts);
}
