// Text exchanged with ODBC drivers. The program's texts are Windows-1251;
// Linux drivers speak UTF-8 (narrow data) and UTF-16 (wide data). Setting
// SCRIPTRUN_ODBC_CHARSET=1251 passes narrow bytes unchanged, for drivers
// that speak Windows-1251 themselves.
#pragma once

#include <string>
#include <string_view>

class OdbcTextCodec {
public:
    // Reads SCRIPTRUN_ODBC_CHARSET now; a query takes one codec for its
    // whole run, so a value never mixes two conversions.
    static OdbcTextCodec FromEnvironment();
    explicit OdbcTextCodec(bool passBytes) : passBytes_(passBytes) {}

    std::string ToDriver(std::string_view text) const;    // 1251 -> driver
    std::string FromDriver(std::string_view text) const;  // driver -> 1251
    // UTF-16 units (native byte order), whatever the narrow setting.
    std::string FromDriverWide(std::u16string_view text) const;
    bool PassesBytes() const { return passBytes_; }

private:
    bool passBytes_;
};

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// Leading and trailing characters with codes 0 to 32 removed.
std::string_view TrimControlAndBlank(std::string_view text);
std::string_view TrimTrailingControlAndBlank(std::string_view text);
// Equality without regard to ASCII letter case (other bytes exactly):
// attribute keys and column names are matched this way.
bool SameAsciiText(std::string_view a, std::string_view b);
