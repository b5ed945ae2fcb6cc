#include "values/oledate.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
double Ole(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
    DateParts p;
    p.year = y, p.month = mo, p.day = d, p.hour = h, p.minute = mi, p.second = s;
    return OleDateFromParts(p);
}
}  // namespace

TEST(OleDate, KnownDayNumbers) {
    EXPECT_EQ(Ole(1899, 12, 30), 0.0);
    EXPECT_EQ(Ole(1899, 12, 31), 1.0);
    EXPECT_EQ(Ole(1900, 1, 1), 2.0);
    EXPECT_EQ(Ole(1900, 3, 1), 61.0);  // 1900 is no leap year
    EXPECT_EQ(Ole(2000, 1, 1), 36526.0);
    EXPECT_EQ(Ole(1899, 12, 29), -1.0);
    EXPECT_EQ(Ole(100, 1, 1), -657434.0);
    EXPECT_EQ(Ole(9999, 12, 31), 2958465.0);
    EXPECT_EQ(Ole(2000, 1, 1, 12), 36526.5);
}

TEST(OleDate, NegativeDatesCountTheTimeForward) {
    EXPECT_EQ(Ole(1899, 12, 29, 6), -1.25);
    const DateParts p = PartsFromOleDate(-1.25);
    EXPECT_EQ(p.year, 1899);
    EXPECT_EQ(p.month, 12);
    EXPECT_EQ(p.day, 29);
    EXPECT_EQ(p.hour, 6);
    // -0,25 is the same moment as 0,25: 30.12.1899 6:00.
    EXPECT_EQ(DateTimeText(-0.25), "6:00:00");
    EXPECT_EQ(DateTimeText(-1.75), "29.12.1899 18:00:00");
}

TEST(OleDate, PartsRoundTripAcrossTheCalendar) {
    for (int y : {1, 4, 100, 1600, 1899, 1900, 1970, 2000, 2024, 9999}) {
        for (int m = 1; m <= 12; ++m) {
            const DateParts p = PartsFromOleDate(Ole(y, m, 28, 13, 45, 30));
            EXPECT_EQ(p.year, y);
            EXPECT_EQ(p.month, m);
            EXPECT_EQ(p.day, 28);
            EXPECT_EQ(p.hour, 13);
            EXPECT_EQ(p.minute, 45);
            EXPECT_EQ(p.second, 30);
            EXPECT_EQ(p.millisecond, 0);
        }
    }
    DateParts withMs;
    withMs.year = 2020, withMs.month = 2, withMs.day = 29, withMs.hour = 23, withMs.minute = 59;
    withMs.second = 59, withMs.millisecond = 999;
    EXPECT_EQ(PartsFromOleDate(OleDateFromParts(withMs)).millisecond, 999);
}

TEST(OleDate, Texts) {
    EXPECT_EQ(DateText(Ole(2024, 3, 5)), "05.03.2024");
    EXPECT_EQ(TimeText(Ole(2024, 3, 5, 7, 8, 9)), "7:08:09");
    EXPECT_EQ(DateTimeText(Ole(2024, 3, 5)), "05.03.2024");
    EXPECT_EQ(DateTimeText(Ole(2024, 3, 5, 14, 0, 5)), "05.03.2024 14:00:05");
    EXPECT_EQ(DateTimeText(0.5), "12:00:00");
    EXPECT_EQ(DateTimeText(0.0), "0:00:00");
    // Seconds are rounded; 23:59:59,7 becomes the next day's midnight.
    EXPECT_EQ(DateTimeText(Ole(2024, 12, 31) + (86399.7 / 86400)), "01.01.2025");
    EXPECT_EQ(TimeText(Ole(2024, 3, 5) + (30.4 / 86400)), "0:00:30");
    // No text outside the calendar's four-digit years, nor for NaN.
    EXPECT_EQ(DateText(1e12), "");
    EXPECT_EQ(DateTimeText(-1e12), "");
    EXPECT_EQ(DateTimeText(NAN), "");
    EXPECT_EQ(DateText(INFINITY), "");
}

TEST(OleDate, Validation) {
    EXPECT_TRUE(IsValidDate(2024, 2, 29));
    EXPECT_FALSE(IsValidDate(2023, 2, 29));
    EXPECT_FALSE(IsValidDate(1900, 2, 29));
    EXPECT_TRUE(IsValidDate(2000, 2, 29));
    EXPECT_FALSE(IsValidDate(2024, 4, 31));
    EXPECT_FALSE(IsValidDate(2024, 13, 1));
    EXPECT_FALSE(IsValidDate(2024, 0, 1));
    EXPECT_FALSE(IsValidDate(0, 1, 1));
    EXPECT_FALSE(IsValidDate(10000, 1, 1));
}

TEST(OleDate, ParsesTheListedForms) {
    EXPECT_EQ(ParseDateTimeText("05.03.2024"), Ole(2024, 3, 5));
    EXPECT_EQ(ParseDateTimeText("5.3.2024"), Ole(2024, 3, 5));
    EXPECT_EQ(ParseDateTimeText("05.03.2024 7:08"), Ole(2024, 3, 5, 7, 8));
    EXPECT_EQ(ParseDateTimeText("05.03.2024 17:08:09"), Ole(2024, 3, 5, 17, 8, 9));
    EXPECT_EQ(ParseDateTimeText("12:00"), 0.5);
    EXPECT_EQ(ParseDateTimeText("6:00:00"), 0.25);
    EXPECT_EQ(ParseDateTimeText("2024-03-05"), Ole(2024, 3, 5));
    EXPECT_EQ(ParseDateTimeText("2024-03-05 07:08:09"), Ole(2024, 3, 5, 7, 8, 9));
    EXPECT_EQ(ParseDateTimeText(" 2024-03-05 "), Ole(2024, 3, 5));
    EXPECT_EQ(ParseDateTimeText("29.12.1899 06:00"), -1.25);
}

TEST(OleDate, RejectsOtherTexts) {
    for (const char* bad : {"", "abc", "31.02.2024", "00.01.2024", "05.03.24", "05.03.2024x", "05.03.2024 24:00",
                            "12:60", "12:5", "1:00:61", "2024-3-5", "2024-03-05T07:08", "12", "5.03.2024 7",
                            "2024-13-01", "99999.1.1", "-1:00", "05.03.2024 7:08:"})
        EXPECT_FALSE(ParseDateTimeText(bad).has_value()) << bad;
}

TEST(OleDate, NowIsPlausible) {
    const double now = OleNow();
    EXPECT_GT(now, Ole(2020, 1, 1));
    EXPECT_LT(now, Ole(2200, 1, 1));
}
