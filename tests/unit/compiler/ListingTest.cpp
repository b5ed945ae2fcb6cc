#include <gtest/gtest.h>

#include <cstdio>

#include "CompileTestHelpers.h"
#include "values/unitUtils.h"

namespace {

TEST(Listing, StatementPerLineWithLabelsAndIndentation) {
    EXPECT_EQ(ListingOfText("x = 1;"), "x=1;\r\nHALT");
    EXPECT_EQ(ListingOfText("label L a.b(1, \"s\"); goto L;"),
              "label L\r\n;\r\na.b(1,\"s\" _])_ ;\r\ngoto L;\r\nHALT");
    EXPECT_EQ(ListingOfText("if a then { x[1] = -y; } else b = c:[1..2];"),
              "if a then {x[1 _])_ =-y;\r\n  } else b=c:[1..2 _])_ ;\r\nHALT");
}

TEST(Listing, WriteListingWritesTheTextWithoutALineEnd) {
    const std::string path = testing::TempDir() + "listing_test.txt";
    CFuncVar func("t", "x = 1;");
    WriteListing(func, path);
    EXPECT_EQ(ReadWholeFile(path), "x=1;\r\nHALT");
    std::remove(path.c_str());
}

}  // namespace
