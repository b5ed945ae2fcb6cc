#include <gtest/gtest.h>

#include <cmath>

#include "odbc/odbcsqldyn.h"

namespace {

// Each test leaves the binding unloaded and the default names in place.
class BindingTest : public ::testing::Test {
protected:
    void TearDown() override {
        while (OdbcBindingUsers() > 0) OdbcBindingRelease();
        OdbcSetLibraryNames(OdbcDefaultLibraryNames());
    }
};

TEST_F(BindingTest, MissingLibraryRaisesTheLoadMessageAndCanBeRetried) {
    OdbcSetLibraryNames({"libscriptrun-no-such-odbc.so.2", "libscriptrun-no-such-odbc.so"});
    try {
        OdbcBindingAcquire();
        FAIL() << "no error raised";
    } catch (const OdbcLoadError& error) {
        EXPECT_STREQ("Can not load ODBC client. Is it installed? (libscriptrun-no-such-odbc.so.2)", error.what());
    }
    EXPECT_EQ(0, OdbcBindingUsers());
    EXPECT_FALSE(OdbcBindingLoaded());
    EXPECT_EQ(nullptr, OdbcBinding().SQLAllocHandle);
    // The count went back to 0, so the next attempt loads again.
    EXPECT_THROW(OdbcBindingAcquire(), OdbcLoadError);
    EXPECT_EQ(0, OdbcBindingUsers());
}

TEST_F(BindingTest, DefaultNamesStartWithTheRuntimeLibrary) {
    std::vector<std::string> names = OdbcDefaultLibraryNames();
    ASSERT_EQ(2u, names.size());
    EXPECT_EQ("libodbc.so.2", names[0]);
    EXPECT_EQ("libodbc.so", names[1]);
}

TEST_F(BindingTest, ReferenceCountLoadsOnceAndFreesWithTheLastUser) {
    OdbcBindingRelease();  // with nothing loaded: no effect
    EXPECT_EQ(0, OdbcBindingUsers());
    try {
        OdbcBindingAcquire();
    } catch (const OdbcLoadError&) {
        GTEST_SKIP() << "the ODBC driver manager is not installed";
    }
    EXPECT_TRUE(OdbcBindingLoaded());
    EXPECT_TRUE(OdbcMissingRequiredEntries().empty());
    auto* first = OdbcBinding().SQLGetData;
    OdbcBindingAcquire();
    EXPECT_EQ(2, OdbcBindingUsers());
    OdbcBindingRelease();
    EXPECT_TRUE(OdbcBindingLoaded());
    EXPECT_NE(nullptr, OdbcBinding().SQLStatistics);
    OdbcBindingRelease();
    EXPECT_FALSE(OdbcBindingLoaded());
    EXPECT_EQ(nullptr, OdbcBinding().SQLGetData);
    EXPECT_EQ(nullptr, OdbcBinding().SQLStatistics);
    // Loading again refills the table.
    OdbcBindingAcquire();
    EXPECT_NE(nullptr, OdbcBinding().SQLGetData);
    EXPECT_NE(nullptr, first);
}

TEST(DateStructs, TimestampIgnoresTheFraction) {
    SQL_TIMESTAMP_STRUCT stamp{2005, 3, 1, 12, 30, 15, 0};
    double whole = TimestampStructToDateTime(stamp);
    stamp.fraction = 999999999;
    EXPECT_EQ(whole, TimestampStructToDateTime(stamp));
    // 1 March 2005 is day 38412 after 30.12.1899; 12:30:15 is 45015 s.
    EXPECT_NEAR(38412 + 45015.0 / 86400, whole, 1e-9);
}

TEST(DateStructs, DateAndTimeEncodeTheirOwnPartOnly) {
    EXPECT_DOUBLE_EQ(38412, DateStructToDateTime(SQL_DATE_STRUCT{2005, 3, 1}));
    EXPECT_DOUBLE_EQ(2, DateStructToDateTime(SQL_DATE_STRUCT{1900, 1, 1}));
    EXPECT_DOUBLE_EQ(0.75, TimeStructToDateTime(SQL_TIME_STRUCT{18, 0, 0}));
    EXPECT_DOUBLE_EQ(0, TimeStructToDateTime(SQL_TIME_STRUCT{0, 0, 0}));
    EXPECT_NEAR(2958465.99998843, TimestampStructToDateTime(SQL_TIMESTAMP_STRUCT{9999, 12, 31, 23, 59, 59, 0}), 1e-6);
}

TEST(DateStructs, OutOfRangeComponentsFail) {
    EXPECT_THROW(DateStructToDateTime(SQL_DATE_STRUCT{0, 0, 0}), std::invalid_argument);
    EXPECT_THROW(DateStructToDateTime(SQL_DATE_STRUCT{2005, 2, 29}), std::invalid_argument);
    EXPECT_NO_THROW(DateStructToDateTime(SQL_DATE_STRUCT{2004, 2, 29}));
    EXPECT_THROW(DateStructToDateTime(SQL_DATE_STRUCT{2005, 13, 1}), std::invalid_argument);
    EXPECT_THROW(DateStructToDateTime(SQL_DATE_STRUCT{10000, 1, 1}), std::invalid_argument);
    EXPECT_THROW(TimeStructToDateTime(SQL_TIME_STRUCT{24, 0, 0}), std::invalid_argument);
    EXPECT_THROW(TimeStructToDateTime(SQL_TIME_STRUCT{0, 60, 0}), std::invalid_argument);
    EXPECT_THROW(TimestampStructToDateTime(SQL_TIMESTAMP_STRUCT{2005, 3, 1, 0, 0, 60, 0}), std::invalid_argument);
}

}  // namespace
