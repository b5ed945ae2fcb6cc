// Shared helpers of the table engine tests: a scratch folder per test and
// byte access to the files a test wrote.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <unistd.h>

#include "dbf/DBF_Fields.h"
#include "dbf/DBF_File.h"
#include "values/oledate.h"

class DbfTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("dbf_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" + std::to_string(getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Base(const std::string& name) const { return (dir_ / name).string(); }

    static std::string Bytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Put(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }
    static bool Exists(const std::string& path) { return std::filesystem::exists(path); }

    // A table with the given fields, created and then opened for writing.
    void Make(TDBF_Data& table, const std::string& base, const TDBF_Fields& fields, bool binary = false) {
        table.Fields = fields;
        table.CreateTable(base, binary);
        ASSERT_TRUE(table.Open(base, "rw", true, true, false));
    }

    // The stored bytes of a field of the current buffer.
    static std::string Stored(const TDBF_Data& table, const std::string& name) {
        for (const TDBF_Field& f : table.Fields.Items())
            if (f.Name == name)
                return std::string(reinterpret_cast<const char*>(table.Buffer().data()) + f.Offset, f.Size);
        return "<no field>";
    }

    static double Date(int y, int m, int d) {
        DateParts p;
        p.year = y, p.month = m, p.day = d;
        return OleDateFromParts(p);
    }

    std::filesystem::path dir_;
};

inline Variant S(const std::string& text) { return Variant::FromStr(text); }
inline Variant I(int64_t value) { return Variant::FromInt(value); }
inline Variant F(double value) { return Variant::FromDouble(value); }
